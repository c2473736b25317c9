#include "office/converter.h"

#include "core/application.h"
#include "core/session.h"
#include "office/desktop_windows.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"

namespace brevora::office {

Converter::Converter() = default;
Converter::~Converter() = default;

void Converter::HoldSession(Ref<core::Session> session) {
  Ref<core::Application> app = session ? session->GetTabrelPC() : nullptr;
  session_ = std::move(session);
  if (session_) app_ = std::move(app);
}

core::Application& Converter::App() {
  if (!app_) app_ = core::NewApplication();
  return *app_;
}

core::Session& Converter::OperationSession() {
  const Ref<core::Session>& session = App().Session();
  if (!session) RaiseRuntimeError(91);
  return *session;
}

void Converter::RefreshDesktop(const std::string& source, std::string_view reopen) {
  try {
    RefreshDesktopWindows();
  } catch (...) {
    const AutomationError inner = CurrentError();
    std::string title = "Brevora Desktop";
    try {
      title = App().ApplicationTitle();
    } catch (const AutomationError&) {
      // The title is only for the message.
    }
    throw Wrap32760(inner, source,
                    "Could not refresh " + title + "." + std::string(reopen) + title + ".");
  }
}

void Converter::RemoveStoredFile(const std::string& path) {
  if (const auto found = fs::FindFileNoCase(path)) fs::RemoveFile(*found);
}

}  // namespace brevora::office
