#include "frontend/tabrel_pc.h"

#include <filesystem>
#include <system_error>

#include "core/file_mode.h"
#include "core/module_state.h"
#include "core/registry_helpers.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace brevora::frontend {

namespace {

constexpr const char* kHomePath = "HomePath";
constexpr const char* kUseHomePath = "UseHomePath";
constexpr const char* kHomeSource = "TabrelPC.HomeDirectory";

const ClassRegistration registration(TabrelPC::kProgId, TabrelPC::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<TabrelPC>()); });

// Creates one folder; its parent must exist (76 "Path not found" otherwise).
void MakeOneFolder(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directory(fs::NativePath(path), ec);
  if (ec) fs::RaiseErrno(ec.value(), true);
}

Ref<core::Session> SessionOf(const Variant& value) {
  if (!value.IsObject()) RaiseRuntimeError(424);
  const Ref<Dispatch>& object = value.AsObject();
  if (!object) return nullptr;
  Ref<core::Session> session = RefCast<core::Session>(object);
  if (!session) RaiseRuntimeError(13);
  return session;
}

// A by-reference text argument written back after the call.
void PutText(Variant& argument, std::string text) { argument = Variant(std::move(text)); }

// The Open dialog members: (file ByRef, openAsTemplate ByRef optional) at `first`.
Variant OpenDialog(TabrelPC& t, int16_t fileMode, Args a, size_t first) {
  std::string file = CStr(a[first]);
  bool openAsTemplate = a[first + 1].IsMissing() ? false : CBool(a[first + 1]);
  const bool chosen = t.GetFileToOpenEX(fileMode, file, openAsTemplate);
  PutText(a[first], std::move(file));
  a[first + 1] = Variant(openAsTemplate);
  return Variant(chosen);
}

Variant SaveDialog(TabrelPC& t, int16_t fileMode, Args a, size_t first) {
  std::string file = CStr(a[first]);
  const bool chosen = t.GetFileToSaveEx(fileMode, file);
  PutText(a[first], std::move(file));
  return Variant(chosen);
}

}  // namespace

// In the order of the interface's slots.
const MemberTable<TabrelPC>& TabrelPC::Members() {
  using M = CallKind;
  static const MemberTable<TabrelPC> table{
      {"m_MacroVersion", M::Get, [](TabrelPC& t, Args) { return Variant(t.MacroVersion()); }},
      {"m_MacroVersion", M::Let, [](TabrelPC& t, Args a) { t.SetMacroVersion(CStr(a[0])); }},
      {"ApplicationTitle", M::Get, [](TabrelPC& t, Args) { return Variant(t.ApplicationTitle()); }},
      {"DoHelp", M::Method,
       [](TabrelPC& t, Args a) { t.DoHelp(CLng(a[0]), CStr(a[1]), CLng(a[2]), CLng(a[3])); }, 4},
      {"DoOpenStandAloneEX", M::Method,
       [](TabrelPC& t, Args a) {
         t.DoOpenStandAloneEX(CStr(a[0]), ObjectOrNothing<Dispatch>(a[1]));
       },
       2},
      {"GetFileToOpenEX", M::Method,
       [](TabrelPC& t, Args a) { return OpenDialog(t, CInt(a[0]), a, 1); }, 2, 3},
      {"GetFileToSaveEx", M::Method,
       [](TabrelPC& t, Args a) { return SaveDialog(t, CInt(a[0]), a, 1); }, 2},
      {"GetSyncPath", M::Method,
       [](TabrelPC& t, Args a) { return Variant(t.GetSyncPath(CLng(a[0]))); }, 1},
      {"MakeDirty", M::Method, [](TabrelPC& t, Args a) { return Variant(t.MakeDirty(CStr(a[0]))); },
       1},
      {"ORX_BitAndEx", M::Method,
       [](TabrelPC& t, Args a) { return Variant(t.ORX_BitAndEx(CStr(a[0]), CStr(a[1]))); }, 2},
      {"RefreshDisplay", M::Method, [](TabrelPC& t, Args) { t.RefreshDisplay(); }},
      {"Session", M::Set, [](TabrelPC& t, Args a) { t.SetSession(SessionOf(a[0])); }},
      {"Session", M::Get, [](TabrelPC& t, Args) { return Variant(t.Session()); }},
      {"ShutdownPooling", M::Method, [](TabrelPC& t, Args) { t.ShutdownPooling(); }},
      {"UserName", M::Let, [](TabrelPC& t, Args a) { t.SetUserName(CStr(a[0])); }},
      {"UserName", M::Get, [](TabrelPC& t, Args) { return Variant(t.UserName()); }},
      {"UserID", M::Let, [](TabrelPC& t, Args a) { t.SetUserID(CLng(a[0])); }},
      {"UserID", M::Get, [](TabrelPC& t, Args) { return Variant(t.UserID()); }},
      {"SetCurrentUser", M::Method,
       [](TabrelPC& t, Args a) { return Variant(t.SetCurrentUser(CStr(a[0]))); }, 1},
      {"GetTabulynPath", M::Get, [](TabrelPC& t, Args) { return Variant(t.GetSyncPath(0)); }},
      {"GetScrivanePath", M::Get, [](TabrelPC& t, Args) { return Variant(t.GetSyncPath(1)); }},
      {"GetSlidoraPath", M::Get, [](TabrelPC& t, Args) { return Variant(t.GetSyncPath(2)); }},
      {"SetTitle", M::Method, [](TabrelPC& t, Args a) { t.SetTitle(CLng(a[0]), CStr(a[1])); }, 2},
      {"GetTempFile", M::Method, [](TabrelPC& t, Args) { return Variant(t.GetTempFile()); }},
      {"BringToFront", M::Method, [](TabrelPC&, Args) {}},
      {"ResetAllProperties", M::Method,
       [](TabrelPC& t, Args a) { t.ResetAllProperties(CStr(a[0])); }, 1},
      {"GetPropertyFile", M::Method,
       [](TabrelPC& t, Args) { return Variant(t.GetPropertyFile()); }},
      {"LongPathToShort", M::Method,
       [](TabrelPC& t, Args a) { return Variant(t.LongPathToShort(CStr(a[0]))); }, 1},
      {"GetProperty", M::Method,
       [](TabrelPC& t, Args a) { return Variant(t.GetProperty(CStr(a[0]), CStr(a[1]))); }, 2},
      {"SetProperty", M::Method,
       [](TabrelPC& t, Args a) { t.SetProperty(CStr(a[0]), CStr(a[1]), CStr(a[2])); }, 3},
      {"DoAbout", M::Method,
       [](TabrelPC& t, Args a) {
         std::string version = a[0].IsMissing() ? std::string() : CStr(a[0]);
         t.DoAbout(version);
         if (!a[0].IsMissing()) PutText(a[0], std::move(version));
       },
       0, 1},
      {"DoOpenStandAlone", M::Method, [](TabrelPC& t, Args a) { t.DoOpenStandAlone(CStr(a[0])); },
       1},
      {"SetFileMode", M::Method,
       [](TabrelPC& t, Args a) { return Variant(t.SetFileMode(CInt(a[0]))); }, 1},
      {"GetFileToSave_Scrivane", M::Method,
       [](TabrelPC& t, Args a) { return SaveDialog(t, 1, a, 0); }, 1},
      {"GetFileToSave_Slidora", M::Method,
       [](TabrelPC& t, Args a) { return SaveDialog(t, 2, a, 0); }, 1},
      {"GetFileToSave", M::Method, [](TabrelPC& t, Args a) { return SaveDialog(t, 0, a, 0); }, 1},
      {"GetFileToOpen", M::Method, [](TabrelPC& t, Args a) { return OpenDialog(t, 0, a, 0); }, 1,
       2},
      {"GetFileToOpen_Scrivane", M::Method,
       [](TabrelPC& t, Args a) { return OpenDialog(t, 1, a, 0); }, 1, 2},
      {"GetFileToOpen_Slidora", M::Method,
       [](TabrelPC& t, Args a) { return OpenDialog(t, 2, a, 0); }, 1, 2},
      {"WarnThreshold", M::Let, [](TabrelPC& t, Args a) { t.SetWarnThreshold(CLng(a[0])); }},
      {"WarnThreshold", M::Get, [](TabrelPC& t, Args) { return Variant(t.WarnThreshold()); }},
      {"HomeDirectory", M::Let, [](TabrelPC& t, Args a) { t.SetHomeDirectory(CStr(a[0])); }},
      {"IsCustomHomeDirectory", M::Get,
       [](TabrelPC& t, Args) { return Variant(t.IsCustomHomeDirectory()); }},
      {"HomeDirectory", M::Get, [](TabrelPC& t, Args) { return Variant(t.HomeDirectory()); }},
      {"HotSyncHome", M::Get, [](TabrelPC& t, Args) { return Variant(t.HotSyncHome()); }},
      {"InstalledTabulyn", M::Get, [](TabrelPC& t, Args) { return Variant(t.InstalledTabulyn()); }},
      {"InstalledScrivane", M::Get,
       [](TabrelPC& t, Args) { return Variant(t.InstalledScrivane()); }},
      {"InstalledSlidora", M::Get, [](TabrelPC& t, Args) { return Variant(t.InstalledSlidora()); }},
      {"tbPalmIndexToRGB", M::Method,
       [](TabrelPC& t, Args a) {
         int32_t red = 0, green = 0, blue = 0;
         t.tbPalmIndexToRGB(CLng(a[0]), red, green, blue);
         a[1] = Variant(red);
         a[2] = Variant(green);
         a[3] = Variant(blue);
       },
       4},
      {"tbRBGToPalmIndex", M::Method,
       [](TabrelPC& t, Args a) {
         return Variant(t.tbRBGToPalmIndex(CLng(a[0]), CLng(a[1]), CLng(a[2])));
       },
       3}};
  return table;
}

TabrelPC::TabrelPC() : session_(core::GlobalSession()) {}

TabrelPC::~TabrelPC() = default;

core::Session& TabrelPC::S() const {
  if (!session_) RaiseRuntimeError(91);
  return *session_;
}

std::string TabrelPC::ApplicationTitle() const {
  return S().IsRivorOdurovMode() ? "Brevora Server" : "Brevora Desktop";
}

bool TabrelPC::SetCurrentUser(std::string_view userName) {
  try {
    if (!userName.empty()) S().SetUserName(userName);
  } catch (...) {
    // The caller learns the outcome from the Session's user.
  }
  return false;
}

bool TabrelPC::SetFileMode(int16_t fileMode) {
  return RunWrapped("TabrelPC.SetFileMode", "Could not set file mode", [&] {
    if (fileMode < 0 || fileMode > 2) {
      RaiseError(kWrapError, "TabrelPC.SetFileMode", "Invalid File Mode.");
    }
    S().SetFileMode(fileMode);
    return true;
  });
}

std::string TabrelPC::HomeDirectory() const {
  try {
    const std::string& key = S().RegistryKey();
    const std::string home = core::GetRegistryString(key, kHomePath);
    if (home.empty() || core::GetRegistryWord(key, kUseHomePath, 0) == 0) return SyncHome();
    const std::string folder = fs::WithSeparator(home);
    if (!fs::FolderExists(folder)) {
      RaiseError(kWrapError, kHomeSource,
                 "Brevora is not configured properly.  The directory '" + folder +
                     "' found in key " + kHomePath + " in " + key + " is not present.");
    }
    return folder;
  } catch (...) {
    throw Wrap32760(CurrentError(), kHomeSource, "Error getting home directory.");
  }
}

// The current user's folder and the file mode's sub-folder, made when missing.
std::string TabrelPC::SyncHome() const {
  std::string folder = GetSyncPath(S().FileMode());
  if (fs::IsSeparator(folder.back())) folder.pop_back();
  if (!fs::FolderExists(folder)) MakeOneFolder(folder);
  return folder + '\\';
}

void TabrelPC::SetHomeDirectory(std::string_view path) {
  try {
    const std::string folder = fs::WithSeparator(path);
    if (path.empty() || !fs::FolderExists(folder)) {
      RaiseError(kWrapError, "HomeDirectory", "Invalid Directory.");
    }
    core::SetRegistryString(S().RegistryKey(), kHomePath, Variant(folder));
  } catch (...) {
    throw Wrap32760(CurrentError(), kHomeSource, "Could not set home directory");
  }
}

std::string TabrelPC::GetSyncPath(int32_t fileType) const {
  const std::string userFolder = S().GetUserManager()->CurrentUser()->Path();
  // No current user: there is no folder to build on (never the file system's root).
  if (userFolder.empty()) RaiseRuntimeError(91);
  return fs::WithSeparator(userFolder) + core::FileModeFolder(fileType);
}

bool TabrelPC::IsCustomHomeDirectory() const {
  const std::string& key = S().RegistryKey();
  return core::GetRegistryWord(key, kUseHomePath, 0) != 0 &&
         !core::GetRegistryString(key, kHomePath).empty();
}

std::string TabrelPC::HotSyncHome() const {
  RaiseError(380, "TabrelPC.HotSyncHome", "Function Depreciated");
}

void TabrelPC::ShutdownPooling() { core::SetServerPool(nullptr); }

}  // namespace brevora::frontend
