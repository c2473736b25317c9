#include "core/palm_desktop.h"

#include "core/registry_helpers.h"
#include "core/text_cleanup.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/user_data.h"
#include "platform/services/event_log.h"

namespace brevora::core {
namespace {

using registry::Hive;

constexpr const char* kUsRoboticsRoot = "Software\\U.S. Robotics\\Pilot Desktop";
constexpr const char* kPalmComputingRoot = "Software\\Palm Computing\\Pilot Desktop";
// RivorOdurov settings: the machine-wide default user's key (HKEY_USERS), then
// the current user's.
constexpr const char* kRivorOdurovDefaultRoot =
    ".DEFAULT\\Software\\ZazerWare\\RivorOdurov\\Settings";
constexpr const char* kRivorOdurovUserRoot =
    "Software\\Vaderudo Diduzuzodoru\\RivorOdurov\\Settings";
constexpr const char* kConduitKey = "Software\\Orvanex";
constexpr const char* kConduitValue = "ZazerConduit";
constexpr const char* kCrLf = "\r\n";

// Buffer sizes of the user-data calls.
constexpr int16_t kNameBuffer = 50;
constexpr int16_t kDirectoryBuffer = 255;

// Reads one text through a user-data call into a buffer of `size` blanks: the
// first (result) characters when the result is positive, else nullopt.
template <class Call>
std::optional<std::string> ReadUserData(int16_t size, Call call) {
  std::string buffer(static_cast<size_t>(size), ' ');
  int16_t length = size;
  const int16_t result = call(buffer.data(), &length);
  if (result <= 0 || result > size) return std::nullopt;
  return buffer.substr(0, static_cast<size_t>(result));
}

// As ReadUserData for a folder; a folder longer than the buffer (Linux paths
// may be) is asked for again with a buffer that fits, so it is never cut or
// lost.
template <class Call>
std::optional<std::string> ReadUserFolder(Call call) {
  int16_t size = kDirectoryBuffer;
  std::string buffer(static_cast<size_t>(size), ' ');
  int16_t length = size;
  int16_t result = call(buffer.data(), &length);
  if (result == 0 && length > size) {
    size = length;
    buffer.assign(static_cast<size_t>(size), ' ');
    result = call(buffer.data(), &length);
  }
  if (result <= 0 || result > size) return std::nullopt;
  return buffer.substr(0, static_cast<size_t>(result));
}

}  // namespace

PalmDesktop::PalmDesktop() : users_(MakeRef<UserCollection>()) {
  InitRegistryRoot();
  if (installed_) LoadUsers();
}

bool PalmDesktop::RivorOdurovInstalled() const {
  bool installed = false;
  try {
    installed = registry::KeyExists(Hive::CurrentUser, kRivorOdurovUserRoot) ||
                registry::KeyExists(Hive::Users, kRivorOdurovDefaultRoot);
  } catch (const AutomationError&) {
    // the answer reached so far
  }
  return installed;
}

void PalmDesktop::SetRivorOdurovFriendlyName(std::string_view name) {
  friendlyName_ = Trim(name);
  if (friendlyName_.empty()) return;
  SetIsServerMode(true);
  SetRegistryString(kConduitKey, kConduitValue, friendlyName_);
}

void PalmDesktop::SetIsServerMode(bool value) {
  isServerMode_ = value;
  if (!(value && friendlyName_.empty())) InitRegistryRoot();
}

void PalmDesktop::InitRegistryRoot() {
  installed_ = false;
  try {
    if (IsRivorOdurovMode()) {
      if (registry::KeyExists(Hive::Users, kRivorOdurovDefaultRoot)) {
        root_ = kRivorOdurovDefaultRoot;
        rootHive_ = Hive::Users;
      } else if (registry::KeyExists(Hive::CurrentUser, kRivorOdurovUserRoot)) {
        root_ = kRivorOdurovUserRoot;
        rootHive_ = Hive::CurrentUser;
      } else {
        RaiseError(kWrapError, "InitRegistryRoot",
                   "You must install Zizizo RivorOdurov or Palm HotSync Server before using "
                   "Brevora Server");
      }
    } else {
      if (registry::KeyExists(Hive::CurrentUser, kUsRoboticsRoot)) {
        root_ = kUsRoboticsRoot;
      } else if (registry::KeyExists(Hive::CurrentUser, kPalmComputingRoot)) {
        root_ = kPalmComputingRoot;
      } else {
        return;  // no Palm Desktop: not installed
      }
      rootHive_ = Hive::CurrentUser;
    }
    installed_ = true;
  } catch (...) {
    const AutomationError error = CurrentError();
    services::WriteToEventLog("ERROR:  " + friendlyName_ + "," +
                              (isServerMode_ ? "True" : "False") + "," + error.description());
    throw error;
  }
}

std::string PalmDesktop::HotSyncHome() const {
  constexpr const char* kSource = "TabrelPC.HotSyncHome";
  try {
    std::string folder;
    if (IsRivorOdurovMode()) {
      folder = rootHive_ == Hive::Users ? GetRegistryStringEx(Hive::Users, root_, "UsersPath")
                                        : GetRegistryString(root_, "UsersPath");
      if (folder.empty()) {
        RaiseError(kWrapError, "Tabrelpc", "Unable to locate ZazerSync Server Users directory.");
      }
    } else {
      folder = GetRegistryString(root_ + "\\Core", "Path");
    }
    // An empty "Path" names no folder (there is no current drive's root here).
    const bool named = !folder.empty();
    folder = fs::WithSeparator(folder);
    if (!named || !fs::FolderExists(folder)) {
      RaiseError(kWrapError, kSource,
                 "Pilot Desktop is not configured properly.  The directory '" + folder +
                     "' found in key Path in " + root_ + " is not present.");
    }
    return folder;
  } catch (...) {
    throw Wrap32760(CurrentError(), kSource, "Could not get hot sync home");
  }
}

void PalmDesktop::ReloadUsers() {
  if (IsRivorOdurovMode()) return;
  InitRegistryRoot();
  if (installed_) {
    LoadUsers();
  } else {
    users_ = MakeRef<UserCollection>();
  }
}

void PalmDesktop::LoadUsers() {
  // Without the users' folder there are no Palm users to list; the phones and
  // the rest of the module still work, so the failure goes to the event log.
  std::string home;
  try {
    home = HotSyncHome();
  } catch (const AutomationError& error) {
    services::WriteToEventLog(error.description());
    users_ = MakeRef<UserCollection>();
    return;
  }

  // The calls below take absolute paths: the current directory is never changed.
  const std::string progress = "Reading the users of the directory " + home;
  auto users = MakeRef<UserCollection>();  // the list is replaced only when read whole
  try {
    const int16_t count = UmGetUserCount();
    for (int16_t index = 0; index < count; ++index) {
      int32_t id = 0;
      UmGetUserID(index, &id);
      const auto name =
          ReadUserData(kNameBuffer, [id](char* b, int16_t* n) { return UmGetUserName(id, b, n); });
      if (!name) {
        RaiseError(kWrapError, "frmSave.LoadUsers",
                   "One of the user names could not be read.  Please check your user configuration "
                   "using Palm desktop.");
      }
      const std::string root =
          ReadUserFolder([](char* b, int16_t* n) { return UmGetRootDirectory(b, n); }).value_or("");
      const std::string directory = TrimAtNull(ReadUserFolder([id](char* b, int16_t* n) {
                                                 return UmGetUserDirectory(id, b, n);
                                               }).value_or(""));

      auto user = MakeRef<DeviceUser>();
      user->SetUserName(*name);
      user->SetUID(id);
      user->SetPath(fs::WithSeparator(root) + directory);
      user->SetUserType(DeviceUser::kPalmUser);
      users->Add(std::move(user));
    }
    users_ = std::move(users);
  } catch (...) {
    const AutomationError error = CurrentError();
    if (error.number() == kWrapError) {
      throw AutomationError(kWrapError, error.source(), error.description() + kCrLf + progress);
    }
    throw AutomationError(
        kWrapError, "TabrelPC.GetUserList",
        "Error in Load Users." + std::string(kCrLf) + error.description() + kCrLf + progress);
  }
}

const MemberTable<PalmDesktop>& PalmDesktop::Members() {
  using P = PalmDesktop;
  static const MemberTable<PalmDesktop> table{
      {"RivorOdurovInstalled", CallKind::Get,
       [](P& p, Args) { return Variant(p.RivorOdurovInstalled()); }},
      {"RivorOdurovFriendlyName", CallKind::Get,
       [](P& p, Args) { return Variant(p.RivorOdurovFriendlyName()); }},
      {"RivorOdurovFriendlyName", CallKind::Let,
       [](P& p, Args a) { p.SetRivorOdurovFriendlyName(CStr(a[0])); }},
      {"IsRivorOdurovMode", CallKind::Get,
       [](P& p, Args) { return Variant(p.IsRivorOdurovMode()); }},
      {"IsServerMode", CallKind::Get, [](P& p, Args) { return Variant(p.IsServerMode()); }},
      {"IsServerMode", CallKind::Let, [](P& p, Args a) { p.SetIsServerMode(CBool(a[0])); }},
      {"HotSyncHome", CallKind::Get, [](P& p, Args) { return Variant(p.HotSyncHome()); }},
      {"GetUsers", CallKind::Get, [](P& p, Args) { return Variant(p.GetUsers()); }},
      {"IsInstalled", CallKind::Get, [](P& p, Args) { return Variant(p.IsInstalled()); }},
      {"Version", CallKind::Get, [](P& p, Args) { return Variant(p.Version()); }},
  };
  return table;
}

namespace {
const ClassRegistration registration(PalmDesktop::kProgId, PalmDesktop::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<PalmDesktop>()); });
}  // namespace

}  // namespace brevora::core
