#pragma once
// SlideShowControl: what the remote-control commands ask of the slide show
// (PowerPointSession drives PowerPoint; tests use a recording fake). All calls
// come from the serial worker's thread. A call may raise AutomationError when
// the presentation program fails; the dispatcher answers for it.
#include <cstdint>
#include <string>

namespace brevora::remote {

class SlideShowControl {
 public:
  virtual ~SlideShowControl() = default;
  // Command 2: opens the named presentation (code page) and starts its show;
  // true when a show was started.
  virtual bool OpenPresentationShow(const std::string& name) = 0;
  // Command 4: `mode` non-zero: `target` is a 1-based position in the show;
  // 0: a slide ID. True when the show went there.
  virtual bool GotoShowSlide(uint32_t target, uint32_t mode) = 0;
  // Commands 18 and 19: the current position (mode non-zero) or the current
  // slide's ID (mode 0); 0 when there is no show or no valid slide.
  virtual uint32_t GetCurrentShowSlide(uint32_t mode) = 0;
  // Command 5 and the worker's end: ends the show and lets the program go.
  virtual void EndPowerPointSession() = 0;
};

}  // namespace brevora::remote
