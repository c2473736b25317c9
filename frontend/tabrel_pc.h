#pragma once
// TabrelPC ("TabulynPC.TabrelPC"): the application object of the connectivity
// module. It works on one Session, the thread's global Session unless a caller
// sets another (Session.GetTabrelPC sets the Session that made it), and answers
// from it: the application title, the current user, the file mode and the base
// folder of the current user's files for that mode (the home directory).
//
// Settings read and written under the Session's settings key (HKEY_CURRENT_USER):
// "HomePath" (a custom home folder, stored with a trailing backslash) and
// "UseHomePath" (non-zero: use it), "UserName", "UserID" (decimal text) and
// "CellWarn"; each product's "Version" under "Software\Orvanex\<product>" says
// it is installed.
//
// The members are implemented by topic: the users (tabrel_pc_users.cpp), the
// small utilities (tabrel_pc_utilities.cpp), the windows it opens
// (tabrel_pc_windows.cpp), the property files (tabrel_pc_properties.cpp) and
// the about box and help (tabrel_pc_about.cpp).
#include <cstdint>
#include <string>
#include <string_view>

#include "core/application.h"
#include "core/session.h"
#include "platform/automation/member_table.h"

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

  // ---- Folder paths ----
  // The current user's folder, a backslash and the mode's sub-folder; nothing
  // is made or tested. No current user (no folder): 91.
  std::string GetSyncPath(int32_t fileType) const;
  // "UseHomePath" is not 0 and "HomePath" not empty; the folder is not tested.
  bool IsCustomHomeDirectory() const;
  // Withdrawn: always raises 380 "Function Depreciated".
  [[noreturn]] std::string HotSyncHome() const;

  // ---- Users and settings (tabrel_pc_users.cpp) ----
  // Allowed in server mode or with the Nokia desktop installed, else 380
  // "Brevora"; stores "UserName" and selects that user.
  void SetUserName(std::string_view name);
  // The Session's user, else the one stored as "UserName" (selected then).
  std::string UserName();
  // Stores "UserID" and selects that user; with the Palm desktop (not in
  // RivorOdurov mode, no Nokia desktop) a user the Palm user list does not hold
  // raises 0x80040001 "Brevora" and leaves no user selected.
  void SetUserID(int32_t id);
  // The Session's user id, else the stored "UserID" when the Palm user list
  // holds it; 0 otherwise.
  int32_t UserID();
  // "CellWarn"; 1500 when it is absent or 0.
  int32_t WarnThreshold() const;
  void SetWarnThreshold(int32_t value);
  // A non-empty "Version" under the product's key; any failure gives false.
  bool InstalledTabulyn() const;
  bool InstalledScrivane() const;
  bool InstalledSlidora() const;

  // ---- Utilities (tabrel_pc_utilities.cpp) ----
  // Marks a desktop file modified: a presentation database (.pdb) through its
  // header, any other file by the character "1" at offset 0. A folder or a
  // read-only file raises 32760 "TabrelPC.MakeDirty" "This file is a directory
  // or is read only.  Cannot complete operation."; other failures 32760 "Could
  // not set modified for this sheet.  " CR LF <description>. True when marked.
  bool MakeDirty(std::string_view fileName);
  // The bitwise AND of two unsigned decimal numbers.
  double ORX_BitAndEx(std::string_view a, std::string_view b) const;
  // The components of a handheld palette entry (0, 0, 0 outside 0..255).
  void tbPalmIndexToRGB(int32_t index, int32_t& red, int32_t& green, int32_t& blue) const;
  // The nearest handheld palette entry.
  int16_t tbRBGToPalmIndex(int32_t red, int32_t green, int32_t blue) const;
  // Sets the title of window `hWnd` (a window-directory handle) to "Microsoft
  // Excel - " and the trimmed title ("Untitled" when blank); a failure raises
  // 32760 "TabrelPC.SetTitle" "Could not set title" CR LF <description>.
  void SetTitle(int32_t hWnd, std::string_view title);
  // A new empty file "tbr..." in the temporary folder, its whole path; failure
  // raises 32760 "TabrelPC.GetTempFile" "Could not get temp file".
  std::string GetTempFile();
  // The path when a file or folder of that name exists, else "".
  std::string LongPathToShort(std::string_view path) const;
  // Presses the refresh button of this Session's visible main window in this
  // thread, when there is one; errors are ignored.
  void RefreshDisplay();

  // ---- Windows (tabrel_pc_windows.cpp) ----
  // Opens the stand-alone main window (or reuses this thread's visible one of
  // the same server mode) for the command text `command` (a file to import and
  // the server switch, command_line.h); keeps `callback`, whose "Finished" is
  // called when the window unloads. When another program's main window was
  // activated instead nothing is imported. Errors are shown, not raised.
  // The look for a main window and the registration of a new one hold the
  // window directory's lock, so two programs started at once never both open
  // one: the second finds the first's window.
  void DoOpenStandAloneEX(std::string_view command, Ref<Dispatch> callback);
  // What DoOpenStandAloneEX came to, for a host that must tell its user: the
  // window shown, another main window brought to the front instead, or a
  // failure (already shown in a message box).
  enum class StandAloneResult { kShown, kActivatedOther, kFailed };
  StandAloneResult OpenStandAlone(std::string_view command, Ref<Dispatch> callback);
  // Withdrawn: always raises 380 "Tabrelpc".
  [[noreturn]] void DoOpenStandAlone(std::string_view file);
  // The modal Open and Save dialogs for one file mode. `file` comes in as the
  // suggestion and goes out as the chosen file ("" after Cancel, and then the
  // result is false). Errors raise 32760 "TabrelPC.GetFileToOpenEx" "Could not
  // get file to open" (GetFileToSaveEx, "Could not get file to save").
  bool GetFileToOpenEX(int16_t fileType, std::string& file, bool& openAsTemplate);
  bool GetFileToSaveEx(int16_t fileType, std::string& file);
  // Called by the main window when it unloads: "Finished" on the callback
  // object, errors ignored.
  void NotifyFinished();

  // ---- Property files (tabrel_pc_properties.cpp) ----
  std::string GetPropertyFile();
  std::string GetProperty(std::string_view fileName, std::string_view key);
  void SetProperty(std::string_view fileName, std::string_view key, std::string_view value);
  // Deletes the property file (a regular file only).
  void ResetAllProperties(std::string_view fileName);

  // ---- About box and help (tabrel_pc_about.cpp) ----
  const std::string& MacroVersion() const { return macroVersion_; }
  void SetMacroVersion(std::string version) { macroVersion_ = std::move(version); }
  // Shows the about box modally with `macroVersion` ("" gives this module's
  // version in braces, written back). Errors are shown, not raised.
  void DoAbout(std::string& macroVersion);
  // Opens the help file's contents; nothing is reported.
  void DoHelp(int32_t hWnd, std::string_view helpFile, int32_t command, int32_t data);

 private:
  core::Session& S() const;  // 91 when no Session is set
  std::string SyncHome() const;
  bool ShowFileDialog(int16_t fileType, bool save, std::string& file, bool& openAsTemplate);

  std::string macroVersion_;
  Ref<core::Session> session_;
  Ref<Dispatch> callback_;
};

}  // namespace brevora::frontend
