// TabrelPC: the window entry points. The one window frmSave is the
// stand-alone main window (DoOpenStandAloneEX) or a modal Open or Save dialog
// for one file mode (GetFileToOpenEX, GetFileToSaveEx and their per-mode
// wrappers). The window comes from the form factory (form_factory.h); its
// members are set and read by name. Main windows of other processes (and of
// this one) are found through the window directory by class and title.
#include <optional>
#include <string>
#include <vector>

#include "core/file_mode.h"
#include "core/module_state.h"
#include "core/session.h"
#include "frontend/command_line.h"
#include "frontend/form_factory.h"
#include "frontend/show_dialog.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/folder_lock.h"
#include "platform/services/message_box.h"
#include "platform/windows/window_directory.h"

namespace brevora::frontend {
namespace {

constexpr const char* kMainWindowClass = "ThunderRT5Form";
constexpr const char* kMainForm = "frmSave";

void ShowError(const AutomationError& error) {
  services::ShowMessage(
      {error.description(), "Brevora", services::MsgButtons::Ok, services::MsgIcon::Critical});
}

// This thread's first loaded frmSave that is visible and whose owner's Session
// is (or is not) in server mode. Only windows that exist are looked at: without
// a form factory there are none.
Ref<Form> FindMainWindow(bool server) {
  const std::shared_ptr<FormFactory> factory = LoadedFormFactory();
  if (!factory) return nullptr;
  for (const Ref<Form>& form : factory->LoadedForms()) {
    if (form->Name() != kMainForm || !form->Visible()) continue;
    const Variant owner = CallByName(form, "oTabrelPC", CallKind::Get);
    const Variant session = CallByName(ObjectOf(owner), "Session", CallKind::Get);
    if (CBool(CallByName(ObjectOf(session), "IsServerMode", CallKind::Get)) == server) return form;
  }
  return nullptr;
}

// Brings the first main window found (of any process) to the front: the server
// window before the desktop one. False when there is none.
bool ActivateExistingWindow() {
  for (const char* title : {"Brevora Server", "Brevora Desktop"}) {
    const std::vector<windows::WindowEntry> found = windows::Find(kMainWindowClass, title);
    if (!found.empty()) {
      windows::Post(found.front().handle, windows::WindowMessage::Activate());
      return true;
    }
  }
  return false;
}

// The main window to show: this thread's own of that server mode, else nothing
// when another main window was activated instead, else a new, unloaded one.
Ref<Form> GetMainWindow(bool server) {
  if (Ref<Form> window = FindMainWindow(server)) return window;
  if (ActivateExistingWindow()) return nullptr;
  return Forms()->Create(kMainForm);
}

// The window directory's lock; nothing when the directory can't be made (then
// no window can be registered either, and the window says so when it loads).
std::optional<fs::FolderLock> LockWindowDirectory() {
  std::string folder;
  try {
    folder = windows::DirectoryPath();
  } catch (...) {
    return std::nullopt;
  }
  return std::optional<fs::FolderLock>(std::in_place, folder);
}

// Minimises every main window titled `title`, so a dialog is not hidden behind one.
void MinimizeMainWindows(const std::string& title) {
  for (const windows::WindowEntry& entry : windows::Find(kMainWindowClass, title)) {
    windows::Post(entry.handle, windows::WindowMessage::Minimize());
  }
}

// Dialogs have no minimise button (their close box stays: it cancels).
void RemoveMinimizeBox(Form& window) {
  try {
    window.RemoveMinimizeBox();
  } catch (...) {
    ShowError(CurrentError());
  }
}

void Put(Form& form, const char* name, Variant value) {
  CallByName(form, name, value.IsObject() ? CallKind::Set : CallKind::Let, std::move(value));
}

}  // namespace

void TabrelPC::DoOpenStandAloneEX(std::string_view command, Ref<Dispatch> callback) {
  OpenStandAlone(command, std::move(callback));
}

TabrelPC::StandAloneResult TabrelPC::OpenStandAlone(std::string_view command,
                                                    Ref<Dispatch> callback) {
  try {
    callback_ = std::move(callback);
    SetFileMode(core::kTabulynMode);
    const CommandLine parsed = ParseCommandLine(command);
    core::Session& session = S();
    session.SetIsServerMode(parsed.server);
    session.SetRivorOdurovFriendlyName(parsed.server ? parsed.serverName : std::string());
    core::Module().gSession = session_;

    Ref<Form> window;
    {
      // Looking for a main window and registering a new one (its load does)
      // must be one step: another program doing the same at this moment waits
      // here, then finds this window.
      const std::optional<fs::FolderLock> lock = LockWindowDirectory();
      window = GetMainWindow(parsed.server);
      if (!window) return StandAloneResult::kActivatedOther;  // nothing is imported
      const std::string title = ApplicationTitle();
      Put(*window, "SaveMode", Variant(false));
      Put(*window, "StandAlone", Variant(true));
      Put(*window, "oTabrelPC", Variant(Ref<Dispatch>(this)));
      Put(*window, "Caption", Variant(title));
      Put(*window, "Tag", Variant(title));
      window->Show(/*modal=*/false);
    }
    Forms()->DoEvents();
    if (!parsed.rest.empty()) {
      CallByName(*window, "BringFileIn", CallKind::Method, fs::WithStoredCase(parsed.rest));
    }
    return StandAloneResult::kShown;
  } catch (...) {
    ShowError(CurrentError());
    return StandAloneResult::kFailed;
  }
}

void TabrelPC::DoOpenStandAlone(std::string_view) {
  RaiseError(380, "Tabrelpc",
             "Depreciated Function.  Please get updated version of Brevora Desktop");
}

bool TabrelPC::ShowFileDialog(int16_t fileType, bool save, std::string& file,
                              bool& openAsTemplate) {
  SetFileMode(fileType);
  const std::shared_ptr<FormFactory> forms = Forms();
  const Ref<Form> window = forms->Create(kMainForm);
  Put(*window, "FileName", Variant(file));
  Put(*window, "SaveMode", Variant(save));
  Put(*window, "StandAlone", Variant(false));
  Put(*window, "oTabrelPC", Variant(Ref<Dispatch>(this)));
  MinimizeMainWindows(ApplicationTitle());
  forms->DoEvents();
  RemoveMinimizeBox(*window);
  Utility::ShowDialog(*window);
  if (core::Module().gDialogCancelled) {
    file.clear();
    openAsTemplate = false;
    return false;
  }
  file = CStr(CallByName(*window, "FileName", CallKind::Get));
  if (!save) openAsTemplate = CBool(CallByName(*window, "OpenAsTemplate", CallKind::Get));
  return true;
}

bool TabrelPC::GetFileToOpenEX(int16_t fileType, std::string& file, bool& openAsTemplate) {
  return RunWrapped("TabrelPC.GetFileToOpenEx", "Could not get file to open",
                    [&] { return ShowFileDialog(fileType, /*save=*/false, file, openAsTemplate); });
}

bool TabrelPC::GetFileToSaveEx(int16_t fileType, std::string& file) {
  bool unused = false;
  return RunWrapped("TabrelPC.GetFileToSaveEx", "Could not get file to save",
                    [&] { return ShowFileDialog(fileType, /*save=*/true, file, unused); });
}

void TabrelPC::NotifyFinished() {
  if (!callback_) return;
  try {
    CallByName(callback_, "Finished", CallKind::Method);
  } catch (...) {
    // The host's trouble is its own; the window closes regardless.
  }
}

void TabrelPC::RefreshDisplay() {
  try {
    const Ref<Form> window = FindMainWindow(S().IsServerMode());
    if (!window || !window->Visible()) return;
    const Variant button = CallByName(*window, "btnRefresh", CallKind::Get);
    CallByName(ObjectOf(button), "Value", CallKind::Let, true);
  } catch (...) {
    // Nothing to refresh then.
  }
}

}  // namespace brevora::frontend
