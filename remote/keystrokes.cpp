#include "remote/keystrokes.h"

#include <vector>

namespace brevora::remote {
namespace {

namespace vk = input::vk;

struct Table {
  std::array<KeyStroke, 128> keys{};

  constexpr Table() {
    for (uint8_t c = 'a'; c <= 'z'; ++c) keys[c] = {static_cast<uint8_t>(c - 'a' + 'A'), false};
    for (uint8_t c = 'A'; c <= 'Z'; ++c) keys[c] = {c, true};
    for (uint8_t c = '0'; c <= '9'; ++c) keys[c] = {c, false};
    keys[' '] = {vk::kSpace, false};
    // The shifted number row.
    const char* shifted = ")!@#$%^&*(";
    for (uint8_t d = 0; d < 10; ++d)
      keys[static_cast<uint8_t>(shifted[d])] = {static_cast<uint8_t>('0' + d), true};
    Pair(';', ':', vk::kSemicolon);
    Pair('=', '+', vk::kEquals);
    Pair(',', '<', vk::kComma);
    Pair('-', '_', vk::kMinus);
    Pair('.', '>', vk::kPeriod);
    Pair('/', '?', vk::kSlash);
    Pair('`', '~', vk::kBackquote);
    Pair('[', '{', vk::kLeftBracket);
    Pair('\\', '|', vk::kBackslash);
    Pair(']', '}', vk::kRightBracket);
    Pair('\'', '"', vk::kQuote);
    keys[2] = {vk::kHome, false};
    keys[3] = {vk::kEnd, false};
    keys[8] = {vk::kBack, false};
    keys[9] = {vk::kTab, false};
    keys[10] = {vk::kReturn, false};
    keys[11] = {vk::kPageUp, false};
    keys[12] = {vk::kPageDown, false};
    keys[13] = {vk::kReturn, false};
    keys[23] = {vk::kLeftWindows, false};
    keys[24] = {vk::kApplications, false};
    keys[26] = {vk::kInsert, false};
    keys[27] = {vk::kEscape, false};
    keys[28] = {vk::kLeft, false};
    keys[29] = {vk::kRight, false};
    keys[30] = {vk::kUp, false};
    keys[31] = {vk::kDown, false};
    keys[127] = {vk::kDelete, false};
  }

  constexpr void Pair(char plain, char withShift, uint8_t key) {
    keys[static_cast<uint8_t>(plain)] = {key, false};
    keys[static_cast<uint8_t>(withShift)] = {key, true};
  }
};

constexpr Table kKeystrokeTable;

uint8_t PrefixKey(uint8_t prefix) {
  switch (prefix) {
    case kShiftPrefix:
      return vk::kShift;
    case kControlPrefix:
      return vk::kControl;
    case kAltPrefix:
      return vk::kAlt;
    default:
      return 0;
  }
}

// Presses the modifier (if any), Shift (when the character needs it and the
// modifier is not Shift already) and the key, then releases them in reverse.
void Type(input::InputSink& sink, uint8_t modifier, uint8_t character) {
  const KeyStroke stroke = KeystrokeOf(character);
  if (stroke.key == 0) return;
  uint8_t held[2];
  size_t count = 0;
  if (modifier != 0) held[count++] = modifier;
  if (stroke.shift && modifier != vk::kShift) held[count++] = vk::kShift;
  for (size_t i = 0; i < count; ++i) sink.SendKey({held[i], true});
  sink.SendKey({stroke.key, true});
  sink.SendKey({stroke.key, false});
  while (count > 0) sink.SendKey({held[--count], false});
}

}  // namespace

KeyStroke KeystrokeOf(uint8_t character) {
  return character < 128 ? kKeystrokeTable.keys[character] : KeyStroke{};
}

size_t InjectKeystrokes(input::InputSink& sink, std::span<const uint8_t> bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    const uint8_t b = bytes[i++];
    if (b == kKeyEscapePrefix) {
      if (i >= bytes.size()) break;
      const uint8_t next = bytes[i++];
      if (next == 23 || next == 24) Type(sink, 0, next);
      continue;
    }
    if (const uint8_t modifier = PrefixKey(b); modifier != 0) {
      if (i >= bytes.size()) break;  // nothing to hold it for
      Type(sink, modifier, bytes[i++]);
      continue;
    }
    Type(sink, 0, b);
  }
  return bytes.size();
}

void InjectMouse(input::InputSink& sink, uint16_t x, uint16_t y, uint16_t action) {
  if (action == 0 || action > 10) return;
  static constexpr input::MouseAction kActions[] = {
      input::MouseAction::Move, input::MouseAction::LeftDown, input::MouseAction::LeftUp,
      input::MouseAction::RightDown, input::MouseAction::RightUp};
  input::MouseEvent event;
  event.action = kActions[(action - 1) % 5];
  event.absolute = action <= 5;
  if (event.absolute) {
    const std::optional<input::ScreenSize> screen = sink.Screen();
    if (!screen || screen->width == 0 || screen->height == 0) return;
    const auto scale = [](uint32_t value, uint32_t pixels) {
      const uint64_t scaled = uint64_t{value} * input::kNormalisedMax / pixels;
      return static_cast<int32_t>(scaled > input::kNormalisedMax ? input::kNormalisedMax : scaled);
    };
    event.x = scale(x, screen->width);
    event.y = scale(y, screen->height);
  } else {
    event.x = static_cast<int16_t>(x);
    event.y = static_cast<int16_t>(y);
  }
  sink.SendMouse(event);
}

}  // namespace brevora::remote
