#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/input/recording_input.h"
#include "platform/input/xtest_input.h"
#include "platform/services/event_log.h"
#include "platform/services/service_slot.h"

namespace brevora::input {
namespace {

TEST(RecordingInputSink, KeepsEventsInOrderAndDescribesThem) {
  RecordingInputSink sink;
  sink.SendKey({vk::kShift, true});
  sink.SendKey({'A', true});
  sink.SendKey({vk::kSemicolon, false});
  sink.SendMouse({MouseAction::Move, true, 6399, 17066});
  sink.SendMouse({MouseAction::LeftDown, false, -5, 0});
  const std::vector<std::string> expected = {"Shift down", "A down", "0xBA up",
                                             "move to 6399,17066", "left down by -5,0"};
  EXPECT_EQ(sink.Described(), expected);
  EXPECT_TRUE(sink.WaitForCount(5, std::chrono::milliseconds(0)));
  EXPECT_LE(sink.ArrivedAt(0), sink.ArrivedAt(4));
  EXPECT_EQ(sink.Screen(), (ScreenSize{1024, 768}));
  sink.SetScreen(std::nullopt);
  EXPECT_FALSE(sink.Screen());
  sink.Clear();
  EXPECT_EQ(sink.Count(), 0u);
}

TEST(XTestInput, MapsEveryKeyOfTheKeystrokeTableToAKeysym) {
  std::vector<uint8_t> keys = {
      vk::kBack,      vk::kTab,       vk::kReturn,      vk::kShift,       vk::kControl,
      vk::kAlt,       vk::kEscape,    vk::kSpace,       vk::kPageUp,      vk::kPageDown,
      vk::kEnd,       vk::kHome,      vk::kLeft,        vk::kUp,          vk::kRight,
      vk::kDown,      vk::kInsert,    vk::kDelete,      vk::kLeftWindows, vk::kApplications,
      vk::kSemicolon, vk::kEquals,    vk::kComma,       vk::kMinus,       vk::kPeriod,
      vk::kSlash,     vk::kBackquote, vk::kLeftBracket, vk::kBackslash,   vk::kRightBracket,
      vk::kQuote};
  for (uint8_t c = '0'; c <= '9'; ++c) keys.push_back(c);
  for (uint8_t c = 'A'; c <= 'Z'; ++c) keys.push_back(c);
  for (uint8_t key : keys) EXPECT_NE(KeysymOfKey(key), 0u) << int(key);
  EXPECT_EQ(KeysymOfKey('A'), 0x61u);  // "a": Shift comes as its own event
  EXPECT_EQ(KeysymOfKey(vk::kSemicolon), 0x3Bu);
  EXPECT_EQ(KeysymOfKey(0), 0u);
  EXPECT_EQ(KeysymOfKey(0xFF), 0u);
}

TEST(XTestInput, TurnsNormalisedPositionsBackIntoTheSamePixels) {
  for (uint32_t width : {1u, 640u, 1024u, 1366u, 1920u, 3840u, 65535u}) {
    for (uint32_t x = 0; x < width; x += (width / 97) + 1) {
      const auto normalised = static_cast<int32_t>(uint64_t{x} * 65535 / width);
      EXPECT_EQ(PixelOfNormalised(normalised, width), static_cast<int32_t>(x)) << width << " " << x;
    }
    EXPECT_EQ(PixelOfNormalised(65535, width), static_cast<int32_t>(width - 1));
  }
  EXPECT_EQ(PixelOfNormalised(-3, 800), 0);
  EXPECT_EQ(PixelOfNormalised(70000, 800), 799);
  EXPECT_EQ(PixelOfNormalised(100, 0), 0);
}

TEST(XTestInput, WithoutADisplaySendsNothingAndLogsOneLine) {
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  setenv("DISPLAY", ":32761", 1);  // no server there
  auto log = std::make_shared<services::RecordingEventLog>();
  {
    services::ScopedService<services::EventLog> scoped(services::InstallEventLog, log);
    XTestInputSink sink;
    sink.SendKey({'A', true});
    sink.SendKey({'A', false});
    sink.SendMouse({MouseAction::Move, true, 100, 100});
    EXPECT_FALSE(sink.Screen());
  }
  if (display)
    setenv("DISPLAY", saved.c_str(), 1);
  else
    unsetenv("DISPLAY");
  ASSERT_EQ(log->entries().size(), 1u);
  EXPECT_NE(log->entries()[0].find("no X display"), std::string::npos);
}

}  // namespace
}  // namespace brevora::input
