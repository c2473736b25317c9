#include "frontend/tabrel_pc.h"

#include <filesystem>
#include <system_error>

#include "core/module_state.h"
#include "core/registry_helpers.h"
#include "core/session.h"
#include "core/user_manager.h"
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

// `path` with a backslash at its end unless it already ends with a separator.
std::string WithSeparator(std::string_view path) {
  std::string result(path);
  if (result.empty() || !fs::IsSeparator(result.back())) result += '\\';
  return result;
}

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

}  // namespace

const MemberTable<TabrelPC>& TabrelPC::Members() {
  using M = CallKind;
  static const MemberTable<TabrelPC> table{
      {"ApplicationTitle", M::Get, [](TabrelPC& t, Args) { return Variant(t.ApplicationTitle()); }},
      {"Session", M::Set, [](TabrelPC& t, Args a) { t.SetSession(SessionOf(a[0])); }},
      {"Session", M::Get, [](TabrelPC& t, Args) { return Variant(t.Session()); }},
      {"ShutdownPooling", M::Method, [](TabrelPC& t, Args) { t.ShutdownPooling(); }},
      {"SetCurrentUser", M::Method,
       [](TabrelPC& t, Args a) { return Variant(t.SetCurrentUser(CStr(a[0]))); }, 1},
      {"SetFileMode", M::Method,
       [](TabrelPC& t, Args a) { return Variant(t.SetFileMode(CInt(a[0]))); }, 1},
      {"HomeDirectory", M::Let, [](TabrelPC& t, Args a) { t.SetHomeDirectory(CStr(a[0])); }},
      {"HomeDirectory", M::Get, [](TabrelPC& t, Args) { return Variant(t.HomeDirectory()); }}};
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
  if (fileMode < 0 || fileMode > 2) {
    RaiseError(kWrapError, "TabrelPC.SetFileMode", "Invalid File Mode.");
  }
  S().SetFileMode(fileMode);
  return true;
}

std::string TabrelPC::HomeDirectory() const {
  try {
    const std::string& key = S().RegistryKey();
    const std::string home = core::GetRegistryString(key, kHomePath);
    if (home.empty() || core::GetRegistryWord(key, kUseHomePath, 0) == 0) return SyncHome();
    const std::string folder = WithSeparator(home);
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
  core::Session& session = S();
  const std::string userFolder = session.GetUserManager()->CurrentUser()->Path();
  // No current user: there is no folder to build on (never the file system's root).
  if (userFolder.empty()) RaiseRuntimeError(91);
  std::string folder = WithSeparator(userFolder) + FileModeFolder(session.FileMode());
  if (fs::IsSeparator(folder.back())) folder.pop_back();
  if (!fs::FolderExists(folder)) MakeOneFolder(folder);
  return folder + '\\';
}

void TabrelPC::SetHomeDirectory(std::string_view path) {
  try {
    const std::string folder = WithSeparator(path);
    if (path.empty() || !fs::FolderExists(folder)) {
      RaiseError(kWrapError, "HomeDirectory", "Invalid Directory.");
    }
    core::SetRegistryString(S().RegistryKey(), kHomePath, Variant(folder));
  } catch (...) {
    throw Wrap32760(CurrentError(), kHomeSource, "Could not set home directory");
  }
}

void TabrelPC::ShutdownPooling() { core::SetServerPool(nullptr); }

std::string TabrelPC::FileModeFolder(int32_t fileMode) {
  switch (fileMode) {
    case 0:
      return "tabrel";
    case 1:
      return "scriv";
    case 2:
      return "slidr";
    default:
      return "";
  }
}

}  // namespace brevora::frontend
