#pragma once
// The remote control's keystrokes (command 18) and mouse events (command 19),
// turned into events on an InputSink.
//
// KeystrokeTable: for each 7-bit character, the virtual key that types it on a
// US keyboard (0: none) and whether Shift goes with it. Control characters name
// keys: 2 Home, 3 End, 8 Backspace, 9 Tab, 10 and 13 Enter, 11 Page Up, 12 Page
// Down, 23 left Windows key, 24 Applications, 26 Insert, 27 Escape, 28-31 the
// arrows (left, right, up, down), 127 Delete.
//
// InjectKeystrokes reads the bytes in turn: 0x80 escapes the next byte, which is
// typed when it is 23 or 24 and otherwise skipped with it; 0x81, 0x82 and 0x83
// hold Shift, Control or Alt while the next byte is typed; a byte of 128 or more,
// or a character without a key, types nothing. Every key pressed for a character
// is released, in reverse order, and a prefix with no character after it (or
// before one that has no key) presses nothing at all.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/input/input_events.h"

namespace brevora::remote {

struct KeyStroke {
  uint8_t key = 0;     // virtual key; 0: the character has none
  bool shift = false;  // Shift goes with it
};

// The key of a character; {0, false} for 128 and above.
KeyStroke KeystrokeOf(uint8_t character);

inline constexpr uint8_t kKeyEscapePrefix = 0x80;
inline constexpr uint8_t kShiftPrefix = 0x81;
inline constexpr uint8_t kControlPrefix = 0x82;
inline constexpr uint8_t kAltPrefix = 0x83;

// Types `bytes`; returns the number of bytes consumed (all of them).
size_t InjectKeystrokes(input::InputSink& sink, std::span<const uint8_t> bytes);

// One mouse event: actions 1-5 move, press left, release left, press right,
// release right with (x, y) absolute screen pixels (unsigned), scaled to
// 0..65535 over the screen and limited to it; 6-10 the same with (x, y) a
// relative move in pixels (signed). 0 and above 10 send nothing, and so does an
// absolute action without a screen.
void InjectMouse(input::InputSink& sink, uint16_t x, uint16_t y, uint16_t action);

}  // namespace brevora::remote
