#include "platform/qt/qt_help_viewer.h"

#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"

namespace brevora::qt {

void QtHelpViewer::Show(const services::HelpRequest& request) {
  try {
    if (!request.file.empty() && fs::FileExists(request.file)) {
      opener_->Show(request);
      return;
    }
    const std::string name =
        request.file.empty() ? std::string("(none)") : fs::FileNamePart(request.file);
    services::ShowMessage(
        {"Help is not available: the help file \"" + name + "\" is not installed.", "Brevora",
         services::MsgButtons::Ok, services::MsgIcon::Information});
  } catch (...) {
    // Help is a convenience: a failing check or box leaves the caller's work alone.
  }
}

}  // namespace brevora::qt
