#pragma once
// Converter: what the three Office converters (the spreadsheet, document and
// presentation SDK objects) share: the Session a caller hands over and the
// application object that comes with it, the Session the conversions work in,
// the refresh of the desktop windows after a change to a user's files, and the
// removal of a file from a user's store.
//
// A converter class derives from Dispatchable<Its, office::Converter>; its own
// member table names these members for late-bound callers.
#include <string>
#include <string_view>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::core {
class Application;
class Session;
}  // namespace brevora::core

namespace brevora::office {

class Converter : public Dispatch {
 public:
  const Ref<core::Session>& Session() const { return session_; }

 protected:
  Converter();
  ~Converter() override;

  // Stores `session` (nothing included) and, for a Session, takes the
  // application object it hands out; nothing is stored when that fails.
  void HoldSession(Ref<core::Session> session);
  // The application object: the held Session's, else one made on first need.
  core::Application& App();
  // The application object's Session, the one the conversions work in; 91
  // when it has none.
  core::Session& OperationSession();

  // Calls Refresh1 on every open desktop window (office/desktop_windows.h). A
  // failure is raised as 32760 with `source` and "Could not refresh <title>."
  // + `reopen` + "<title>.", CR LF and the inner description (an error already
  // numbered 32760 passes unchanged); <title> is the application object's
  // title, "Brevora Desktop" when it has none to give.
  void RefreshDesktop(const std::string& source,
                      std::string_view reopen = "  Please close and reopen ");

  // Removes the file `path` names, found as Windows finds it (its last part in
  // any case), under the name the folder holds; nothing when there is none.
  static void RemoveStoredFile(const std::string& path);

 private:
  Ref<core::Session> session_;
  Ref<core::Application> app_;
};

}  // namespace brevora::office
