#include "remote/keystrokes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/input/recording_input.h"

namespace brevora::remote {
namespace {

namespace vk = input::vk;
using Lines = std::vector<std::string>;

TEST(KeystrokeTable, GivesEveryCharacterItsUsKey) {
  // What each of the 128 characters types: its key and whether Shift goes with it.
  std::array<KeyStroke, 128> expected{};
  const std::string plain = "abcdefghijklmnopqrstuvwxyz0123456789 ;=,-./`[\\]'";
  const std::string shifted = "ABCDEFGHIJKLMNOPQRSTUVWXYZ)!@#$%^&*( :+<_>?~{|}\"";
  const uint8_t keys[] = {'A',
                          'B',
                          'C',
                          'D',
                          'E',
                          'F',
                          'G',
                          'H',
                          'I',
                          'J',
                          'K',
                          'L',
                          'M',
                          'N',
                          'O',
                          'P',
                          'Q',
                          'R',
                          'S',
                          'T',
                          'U',
                          'V',
                          'W',
                          'X',
                          'Y',
                          'Z',
                          '0',
                          '1',
                          '2',
                          '3',
                          '4',
                          '5',
                          '6',
                          '7',
                          '8',
                          '9',
                          vk::kSpace,
                          vk::kSemicolon,
                          vk::kEquals,
                          vk::kComma,
                          vk::kMinus,
                          vk::kPeriod,
                          vk::kSlash,
                          vk::kBackquote,
                          vk::kLeftBracket,
                          vk::kBackslash,
                          vk::kRightBracket,
                          vk::kQuote};
  ASSERT_EQ(plain.size(), std::size(keys));
  ASSERT_EQ(shifted.size(), std::size(keys));
  for (size_t i = 0; i < plain.size(); ++i) {
    expected[static_cast<uint8_t>(plain[i])] = {keys[i], false};
    if (shifted[i] != ' ') expected[static_cast<uint8_t>(shifted[i])] = {keys[i], true};
  }
  const std::pair<uint8_t, uint8_t> controls[] = {
      {2, vk::kHome},         {3, vk::kEnd},           {8, vk::kBack},      {9, vk::kTab},
      {10, vk::kReturn},      {11, vk::kPageUp},       {12, vk::kPageDown}, {13, vk::kReturn},
      {23, vk::kLeftWindows}, {24, vk::kApplications}, {26, vk::kInsert},   {27, vk::kEscape},
      {28, vk::kLeft},        {29, vk::kRight},        {30, vk::kUp},       {31, vk::kDown},
      {127, vk::kDelete}};
  for (auto [c, key] : controls) expected[c] = {key, false};

  for (int c = 0; c < 128; ++c) {
    const KeyStroke got = KeystrokeOf(static_cast<uint8_t>(c));
    EXPECT_EQ(got.key, expected[c].key) << "character " << c;
    EXPECT_EQ(got.shift, expected[c].shift) << "character " << c;
  }
  for (int c = 128; c < 256; ++c) EXPECT_EQ(KeystrokeOf(static_cast<uint8_t>(c)).key, 0) << c;
}

TEST(InjectKeystrokes, PressesAndReleasesEveryKeyItPresses) {
  struct Case {
    std::string name;
    std::vector<uint8_t> bytes;
    Lines events;
  };
  const Case cases[] = {
      {"capital letter", {'A'}, {"Shift down", "A down", "A up", "Shift up"}},
      {"control c", {0x82, 'c'}, {"Control down", "C down", "C up", "Control up"}},
      {"alt with a key", {0x83, 9}, {"Alt down", "Tab down", "Tab up", "Alt up"}},
      {"control and a capital: both released, in reverse",
       {0x82, 'A'},
       {"Control down", "Shift down", "A down", "A up", "Shift up", "Control up"}},
      {"shift prefix and a capital: Shift once",
       {0x81, '?'},
       {"Shift down", "0xBF down", "0xBF up", "Shift up"}},
      {"shift prefix with a plain key", {0x81, '1'}, {"Shift down", "1 down", "1 up", "Shift up"}},
      {"prefix before a character with no key presses nothing", {0x82, 1, 'x'}, {"X down", "X up"}},
      {"prefix before a byte above 127 presses nothing", {0x82, 0xC4}, {}},
      {"prefix as the last byte presses nothing", {'x', 0x82}, {"X down", "X up"}},
      {"escaped Windows and Applications keys",
       {0x80, 23, 0x80, 24},
       {"Windows down", "Windows up", "Applications down", "Applications up"}},
      {"an escape skips any other byte with it", {0x80, 'a', 'b'}, {"B down", "B up"}},
      {"escape as the last byte", {'b', 0x80}, {"B down", "B up"}},
      {"bytes of 128 and above and keyless characters are skipped",
       {0x84, 0xFF, 0, 1, 4, 0x7F},
       {"Delete down", "Delete up"}},
      {"enter, tab and arrows",
       {13, 10, 9, 28, 29, 30, 31},
       {"Enter down", "Enter up", "Enter down", "Enter up", "Tab down", "Tab up", "Left down",
        "Left up", "Right down", "Right up", "Up down", "Up up", "Down down", "Down up"}},
  };
  for (const Case& c : cases) {
    input::RecordingInputSink sink;
    EXPECT_EQ(InjectKeystrokes(sink, c.bytes), c.bytes.size()) << c.name;
    EXPECT_EQ(sink.Described(), c.events) << c.name;
  }
}

TEST(InjectKeystrokes, LeavesNoKeyDownForAnyTwoBytes) {
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; ++b) {
      input::RecordingInputSink sink;
      const uint8_t bytes[] = {static_cast<uint8_t>(a), static_cast<uint8_t>(b)};
      InjectKeystrokes(sink, bytes);
      std::array<int, 256> down{};
      for (const input::InputEvent& e : sink.Events()) {
        const auto& key = std::get<input::KeyEvent>(e);
        down[key.key] += key.down ? 1 : -1;
        ASSERT_GE(down[key.key], 0) << a << " " << b;
      }
      for (int k = 0; k < 256; ++k) ASSERT_EQ(down[k], 0) << a << " " << b << " key " << k;
    }
  }
}

TEST(InjectMouse, SendsOneEventPerAction) {
  struct Case {
    uint16_t x, y, action;
    Lines events;
  };
  const Case cases[] = {
      {100, 200, 1, {"move to 6399,17066"}},
      {0, 0, 2, {"left down to 0,0"}},
      {1023, 767, 3, {"left up to 65471,65449"}},
      {1024, 768, 4, {"right down to 65535,65535"}},
      {60000, 60000, 5, {"right up to 65535,65535"}},  // limited to the screen
      {0xFFFB, 0, 7, {"left down by -5,0"}},
      {3, 0xFFFF, 6, {"move by 3,-1"}},
      {10, 10, 8, {"left up by 10,10"}},
      {0x8000, 0x7FFF, 9, {"right down by -32768,32767"}},
      {1, 1, 10, {"right up by 1,1"}},
      {5, 5, 0, {}},
      {5, 5, 11, {}},
      {5, 5, 0xFFFF, {}},
  };
  for (const Case& c : cases) {
    input::RecordingInputSink sink;
    InjectMouse(sink, c.x, c.y, c.action);
    EXPECT_EQ(sink.Described(), c.events) << c.action << " " << c.x << "," << c.y;
  }
}

TEST(InjectMouse, SendsNoAbsoluteMoveWithoutAScreen) {
  input::RecordingInputSink sink;
  sink.SetScreen(std::nullopt);
  InjectMouse(sink, 10, 10, 1);
  sink.SetScreen(input::ScreenSize{0, 0});
  InjectMouse(sink, 10, 10, 2);
  EXPECT_EQ(sink.Count(), 0u);
  InjectMouse(sink, 10, 10, 6);  // relative moves need no screen size
  EXPECT_EQ(sink.Described(), Lines{"move by 10,10"});
}

}  // namespace
}  // namespace brevora::remote
