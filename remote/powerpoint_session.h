#pragma once
// PowerPointSession: the slide show the remote control steers, in PowerPoint,
// reached through the automation layer (ppt_objects.h). One per program, used
// only on the serial worker's thread (ResetPowerPointState is called before a
// worker starts).
//
// It remembers whether it holds PowerPoint (attached), whether it made
// PowerPoint open the presentation itself (started by us: then PowerPoint is
// quit when the session ends), the presentation name the handheld asked for,
// the position of the matching presentation among the open ones (0: none) and
// the file the user chose for it, if any.
//
// Questions and the file choice go to ShowPrompts. Automation errors raised by
// PowerPoint pass to the caller, except in EndPowerPointSession, which always
// lets go of PowerPoint and logs what failed on the way.
#include <cstdint>
#include <string>

#include "remote/ppt_objects.h"
#include "remote/show_prompts.h"
#include "remote/slide_show_control.h"

namespace brevora::remote {

class PowerPointSession : public SlideShowControl {
 public:
  // `prompts` must outlive the session.
  explicit PowerPointSession(ShowPrompts& prompts);
  ~PowerPointSession() override;
  PowerPointSession(const PowerPointSession&) = delete;
  PowerPointSession& operator=(const PowerPointSession&) = delete;

  // Stores the requested name and forgets the attachment and the remembered
  // presentation (a new worker is about to start).
  void ResetPowerPointState(std::string name);
  // Gets PowerPoint and its presentations when not attached; false when
  // PowerPoint cannot be created.
  bool AttachPowerPoint();

  bool OpenPresentationShow(const std::string& name) override;
  bool GotoShowSlide(uint32_t target, uint32_t mode) override;
  uint32_t GetCurrentShowSlide(uint32_t mode) override;
  void EndPowerPointSession() override;

  bool IsAttached() const { return attached_; }
  bool StartedByUs() const { return startedByUs_; }
  int32_t RememberedIndex() const { return index_; }

 private:
  // Asks for a file and opens it as the current presentation; false when cancelled.
  bool OpenChosenFile();
  // The file to open again when the session was lost: the chosen file, else
  // the requested name when it is a plain file name; "" for none.
  std::string FileToReopen() const;
  bool ShowWindowOpen() const;
  void Release();

  ShowPrompts& prompts_;
  bool attached_ = false;
  bool startedByUs_ = false;
  std::string requestedName_;
  std::string chosenFile_;
  int32_t index_ = 0;

  PptApplication application_;
  PptPresentations presentations_;
  PptPresentation current_;
};

// True when the open presentation called `presentationName` is the one
// requested: the same name, or the same once a trailing ".ppt" is taken off
// it, without regard to case.
bool PresentationNameMatches(std::string_view presentationName, std::string_view requested);

}  // namespace brevora::remote
