#pragma once
// XTestInputSink: delivers synthesised keyboard and mouse events to the X11
// display named by $DISPLAY through the XTest extension. Keys are mapped to the
// keysyms of the US layout (the unshifted symbol of each key: Shift travels as
// its own event, as the keystroke table sends it) and then to the display's
// keycodes; absolute positions are turned back from 0..65535 into pixels.
//
// The display is opened on first use, on the thread that injects (the sink is
// used from one thread at a time). Without a display or without XTest, nothing
// is sent and one line goes to the event log. Only the receiver program links
// this backend; everything else works on InputSink.
#include <memory>
#include <optional>

#include "platform/input/input_events.h"

namespace brevora::input {

class XTestInputSink : public InputSink {
 public:
  XTestInputSink();
  ~XTestInputSink() override;
  XTestInputSink(const XTestInputSink&) = delete;
  XTestInputSink& operator=(const XTestInputSink&) = delete;

  void SendKey(const KeyEvent& event) override;
  void SendMouse(const MouseEvent& event) override;
  std::optional<ScreenSize> Screen() override;

 private:
  struct Connection;
  Connection* Connect();

  std::unique_ptr<Connection> connection_;
  bool tried_ = false;
};

// The X keysym of a virtual-key code (US layout, unshifted); 0 for a code the
// keystroke table never sends.
unsigned long KeysymOfKey(uint8_t key);

// The pixel of an absolute position 0..65535 on a side of `pixels`: the
// inverse of the scaling that made it, limited to the screen.
int32_t PixelOfNormalised(int32_t normalised, uint32_t pixels);

}  // namespace brevora::input
