#include "remote/powerpoint_session.h"

#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/services/event_log.h"
#include "platform/text/case.h"
#include "remote/receiver_strings.h"

namespace brevora::remote {
namespace {

using services::MsgButtons;
using services::MsgResult;

constexpr int32_t kCannotCreate = 429;

// Runs one step of ending the session; its error is logged, not raised.
template <class F>
void EndStep(const char* what, F&& step) {
  try {
    step();
  } catch (...) {
    const AutomationError error = CurrentError();
    services::WriteToEventLog(std::string("VantaPC: ") + what + ": error " +
                              std::to_string(error.number()) + ": " + error.description());
  }
}

}  // namespace

bool PresentationNameMatches(std::string_view presentationName, std::string_view requested) {
  if (text::EqualsNoCase(presentationName, requested)) return true;
  constexpr std::string_view kExtension = ".ppt";
  if (presentationName.size() <= kExtension.size()) return false;
  const std::string_view tail =
      presentationName.substr(presentationName.size() - kExtension.size());
  return text::EqualsNoCase(tail, kExtension) &&
         text::EqualsNoCase(presentationName.substr(0, presentationName.size() - kExtension.size()),
                            requested);
}

PowerPointSession::PowerPointSession(ShowPrompts& prompts) : prompts_(prompts) {}

PowerPointSession::~PowerPointSession() { Release(); }

void PowerPointSession::ResetPowerPointState(std::string name) {
  requestedName_ = std::move(name);
  chosenFile_.clear();
  attached_ = false;
  index_ = 0;
}

void PowerPointSession::Release() {
  current_.Reset();
  presentations_.Reset();
  application_.Reset();
  attached_ = false;
}

bool PowerPointSession::AttachPowerPoint() {
  if (attached_) return true;
  PptApplication application;
  try {
    application = PptApplication::Create();
  } catch (const AutomationError& e) {
    if (e.number() == kCannotCreate) return false;
    throw;
  }
  PptPresentations presentations = application.GetPresentations();
  application_ = std::move(application);
  presentations_ = std::move(presentations);
  current_.Reset();
  attached_ = true;
  startedByUs_ = false;
  return true;
}

bool PowerPointSession::OpenChosenFile() {
  const std::optional<std::string> file = prompts_.ChooseFile(fs::FileNamePart(requestedName_));
  if (!file) return false;
  current_ = presentations_.Open(*file);
  chosenFile_ = *file;
  return true;
}

bool PowerPointSession::OpenPresentationShow(const std::string& name) {
  if (attached_ && current_ && presentations_.GetCount() > 0 &&
      PresentationNameMatches(current_.GetName(), name)) {
    current_.GetSlideShowSettings().Run();
    return true;
  }
  EndPowerPointSession();
  requestedName_ = name;
  chosenFile_.clear();
  index_ = 0;

  if (!AttachPowerPoint()) return false;
  const int32_t count = presentations_.GetCount();
  for (int32_t i = 1; i <= count; ++i) {
    PptPresentation presentation = presentations_.Item(i);
    if (PresentationNameMatches(presentation.GetName(), requestedName_)) {
      current_ = std::move(presentation);
      index_ = i;
      break;
    }
  }

  if (!current_) {
    if (count > 0) {
      const MsgResult answer = prompts_.Ask(kMsgUseActivePresentation, MsgButtons::YesNoCancel);
      if (answer == MsgResult::Yes) {
        current_ = presentations_.Item(1);
        index_ = 1;
      } else if (answer != MsgResult::No || !OpenChosenFile()) {
        EndPowerPointSession();
        return false;
      }
    } else {
      startedByUs_ = true;
      if (prompts_.Ask(kMsgSelectPresentation, MsgButtons::OkCancel) != MsgResult::Ok ||
          !OpenChosenFile()) {
        EndPowerPointSession();
        return false;
      }
    }
  }
  current_.GetSlideShowSettings().Run();
  return true;
}

std::string PowerPointSession::FileToReopen() const {
  if (!chosenFile_.empty()) return chosenFile_;
  // A name from the handheld opens only as a plain file name, never a path.
  return fs::IsPlainName(requestedName_) ? requestedName_ : std::string();
}

bool PowerPointSession::ShowWindowOpen() const {
  return application_.GetSlideShowWindows().GetCount() > 0;
}

bool PowerPointSession::GotoShowSlide(uint32_t target, uint32_t mode) {
  if (!attached_) {
    if (!AttachPowerPoint()) return false;
    if (index_ > 0) {
      if (presentations_.GetCount() < index_) {
        EndPowerPointSession();
        return false;
      }
      current_ = presentations_.Item(index_);
    } else {
      const std::string file = FileToReopen();
      if (file.empty()) {
        EndPowerPointSession();
        return false;
      }
      current_ = presentations_.Open(file);
    }
    current_.GetSlideShowSettings().Run();
  }
  if (!current_ || !ShowWindowOpen()) {
    EndPowerPointSession();
    return false;
  }

  const PptSlides slides = current_.GetSlides();
  const int64_t count = slides.GetCount();
  int64_t index = 0;
  if (mode != 0) {
    index = target;
  } else {
    for (int32_t i = 1; i <= count; ++i) {
      if (static_cast<uint32_t>(slides.Item(i).GetSlideID()) == target) {
        index = i;
        break;
      }
    }
  }
  if (index < 1 || index > count) return false;
  current_.GetSlideShowWindow().GetView().GotoSlide(static_cast<int32_t>(index));
  return true;
}

uint32_t PowerPointSession::GetCurrentShowSlide(uint32_t mode) {
  if (!attached_) return 0;
  if (!current_ || !ShowWindowOpen()) {
    EndPowerPointSession();
    return 0;
  }
  const PptSlideShowView view = current_.GetSlideShowWindow().GetView();
  const int32_t position = view.GetCurrentShowPosition();
  if (position < 1 || position > current_.GetSlides().GetCount()) return 0;
  if (mode != 0) return static_cast<uint32_t>(position);
  return static_cast<uint32_t>(view.GetSlide().GetSlideID());
}

void PowerPointSession::EndPowerPointSession() {
  if (attached_) {
    EndStep("ending the slide show", [&] {
      if (current_ && ShowWindowOpen()) current_.GetSlideShowWindow().GetView().Exit();
    });
    if (startedByUs_) EndStep("quitting PowerPoint", [&] { application_.Quit(); });
  }
  Release();
}

}  // namespace brevora::remote
