#pragma once
// Thin typed handles on the PowerPoint objects the slide-show control uses,
// reached late-bound through the automation layer by their member names:
//
//   Application     Presentations, SlideShowWindows, Quit
//   Presentations   Count, Item(index), Open(file, 1, 0, 0)
//   Presentation    Slides, SlideShowSettings, Name, SlideShowWindow
//   SlideShowSettings  Run (gives the show's window)
//   SlideShowWindow View
//   SlideShowView   Slide, GotoSlide(index, 0), Exit, CurrentShowPosition
//   Slides          Count, Item(index)
//   Slide           SlideID
//   SlideShowWindows  Count
//
// A handle holds one reference; a default handle is empty. Every call may raise
// the AutomationError the application raised, or 424 when a member that should
// give an object gave none.
#include <cstdint>
#include <string>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::remote {

class PptHandle {
 public:
  PptHandle() = default;
  explicit PptHandle(Ref<Dispatch> object) : object_(std::move(object)) {}
  explicit operator bool() const { return static_cast<bool>(object_); }
  void Reset() { object_.Reset(); }

 protected:
  Ref<Dispatch> GetObject(const char* member) const;
  Ref<Dispatch> CallObject(const char* member, int32_t index) const;
  int32_t GetLong(const char* member) const;
  Dispatch& Object() const;

  Ref<Dispatch> object_;
};

class PptSlide : public PptHandle {
 public:
  using PptHandle::PptHandle;
  int32_t GetSlideID() const { return GetLong("SlideID"); }
};

class PptSlides : public PptHandle {
 public:
  using PptHandle::PptHandle;
  int32_t GetCount() const { return GetLong("Count"); }
  PptSlide Item(int32_t index) const { return PptSlide(CallObject("Item", index)); }
};

class PptSlideShowView : public PptHandle {
 public:
  using PptHandle::PptHandle;
  PptSlide GetSlide() const { return PptSlide(GetObject("Slide")); }
  void GotoSlide(int32_t index) const;
  void Exit() const;
  int32_t GetCurrentShowPosition() const { return GetLong("CurrentShowPosition"); }
};

class PptSlideShowWindow : public PptHandle {
 public:
  using PptHandle::PptHandle;
  PptSlideShowView GetView() const { return PptSlideShowView(GetObject("View")); }
};

class PptSlideShowSettings : public PptHandle {
 public:
  using PptHandle::PptHandle;
  PptSlideShowWindow Run() const;
};

// SlideShowWindows: only its count is used.
class PptSlideShowWindows : public PptHandle {
 public:
  using PptHandle::PptHandle;
  int32_t GetCount() const { return GetLong("Count"); }
};

class PptPresentation : public PptHandle {
 public:
  using PptHandle::PptHandle;
  PptSlides GetSlides() const { return PptSlides(GetObject("Slides")); }
  PptSlideShowSettings GetSlideShowSettings() const {
    return PptSlideShowSettings(GetObject("SlideShowSettings"));
  }
  std::string GetName() const;
  PptSlideShowWindow GetSlideShowWindow() const {
    return PptSlideShowWindow(GetObject("SlideShowWindow"));
  }
};

class PptPresentations : public PptHandle {
 public:
  using PptHandle::PptHandle;
  int32_t GetCount() const { return GetLong("Count"); }
  PptPresentation Item(int32_t index) const { return PptPresentation(CallObject("Item", index)); }
  // Opens `file` read-only, untitled, without a window, as the receiver always has.
  PptPresentation Open(const std::string& file) const;
};

class PptApplication : public PptHandle {
 public:
  using PptHandle::PptHandle;
  // CreateObject of PowerPoint's application class; raises 429 when there is none.
  static PptApplication Create();
  PptPresentations GetPresentations() const { return PptPresentations(GetObject("Presentations")); }
  PptSlideShowWindows GetSlideShowWindows() const {
    return PptSlideShowWindows(GetObject("SlideShowWindows"));
  }
  void Quit() const;
};

inline constexpr const char* kPowerPointProgId = "Powerpoint.Application";

}  // namespace brevora::remote
