#pragma once
// TabrelPC ("TabulynPC.TabrelPC"): the application object of the connectivity
// module. It works on one Session, the thread's global Session unless a caller
// sets another (Session.GetTabrelPC sets the Session that made it), and answers
// from it: the application title, the current user, the file mode and the base
// folder of the current user's files for that mode (the home directory).
//
// Settings read and written under the Session's settings key (HKEY_CURRENT_USER):
// "HomePath" (a custom home folder, stored with a trailing backslash) and
// "UseHomePath" (non-zero: use it).
#include <cstdint>
#include <string>
#include <string_view>

#include "core/application.h"
#include "platform/automation/member_table.h"

namespace brevora::core {
class Session;
}

namespace brevora::frontend {

class TabrelPC : public Dispatchable<TabrelPC, core::Application> {
 public:
  static constexpr const char* kProgId = core::Application::kProgId;
  static constexpr const char* kClsid = "{3C0F6A52-8E1B-4D27-9A64-2B5E7C1D0A03}";

  static const MemberTable<TabrelPC>& Members();

  // Takes the thread's global Session (starting the module first when needed);
  // null when the module could not start.
  TabrelPC();
  ~TabrelPC() override;

  const Ref<core::Session>& Session() const override { return session_; }
  void SetSession(Ref<core::Session> session) override { session_ = std::move(session); }

  // "Brevora Server" in RivorOdurov mode, else "Brevora Desktop".
  std::string ApplicationTitle() const override;

  // A non-empty name selects that user as the Session's current user; an empty
  // one changes nothing. Errors are not reported; the result is always false.
  bool SetCurrentUser(std::string_view userName) override;

  // Sets the Session's file mode for 0, 1 and 2 and returns true; any other value
  // raises 32760 "TabrelPC.SetFileMode" "Invalid File Mode." and changes nothing.
  bool SetFileMode(int16_t fileMode) override;

  // The base folder of the current user's files for the Session's file mode,
  // ending with a separator: the custom "HomePath" when it is set and
  // "UseHomePath" is not 0 (32760 when that folder does not exist), otherwise the
  // current user's folder and the mode's sub-folder ("tabrel", "scriv", "slidr"),
  // which is created when missing (the user's folder itself must exist). Other
  // failures: 32760 "TabrelPC.HomeDirectory" "Error getting home directory."
  std::string HomeDirectory() const override;
  // Stores `path` (a backslash added when it ends without a separator) as
  // "HomePath"; a folder that does not exist raises 32760 "HomeDirectory"
  // "Invalid Directory." and stores nothing. "UseHomePath" is not touched.
  void SetHomeDirectory(std::string_view path);

  // Drops this thread's server pool (gServerPool becomes nothing).
  void ShutdownPooling();

  // The sub-folder of a file mode's files: "tabrel", "scriv", "slidr"; "" for
  // any other mode.
  static std::string FileModeFolder(int32_t fileMode);

 private:
  core::Session& S() const;  // 91 when no Session is set
  std::string SyncHome() const;

  Ref<core::Session> session_;
};

}  // namespace brevora::frontend
