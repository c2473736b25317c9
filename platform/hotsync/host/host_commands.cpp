#include "platform/hotsync/host/host_commands.h"

#include <sys/random.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/action_dialog.h"
#include "platform/hotsync/conduit_api.h"
#include "platform/hotsync/device_file_io.h"
#include "platform/hotsync/device_identity.h"
#include "platform/hotsync/host/conduit_library.h"
#include "platform/hotsync/hotsync_log.h"
#include "platform/hotsync/run_lock.h"
#include "platform/hotsync/user_list.h"
#include "platform/registry/registry.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::hotsync::host {
namespace {

using registry::Hive;

constexpr const char* kPalmRootKey = "Software\\Palm Computing\\Pilot Desktop\\Core";

// A failure the command reports in one line and ends with status 1.
struct Failure {
  std::string reason;  // code page
};

int Fail(std::FILE* err, const std::string& reason) {
  std::fprintf(err, "hotsync: %s\n", text::CpToUtf8(reason).c_str());
  return 1;
}

// Another run holds a lock this one needs: nothing was done.
int Busy(std::FILE* err, const std::string& who) {
  std::fprintf(err, "hotsync: %s Nothing was synchronized; try again when it has finished.\n",
               text::CpToUtf8(who).c_str());
  return kBusyStatus;
}

void CopyText(const std::string& text, char* field, std::size_t size) {
  std::memset(field, 0, size);
  std::memcpy(field, text.data(), std::min(text.size(), size - 1));
}

uint32_t Code(const std::string& four) {
  uint32_t code = 0;
  for (const char c : four) code = code << 8 | static_cast<uint8_t>(c);
  return code;
}

std::string SyncTypeText(int32_t type) {
  switch (type) {
    case kSyncTypeSynchronize:
      return ActionChoiceText(0);
    case kSyncTypeDesktopOverwrites:
      return ActionChoiceText(1);
    case kSyncTypeHandheldOverwrites:
      return ActionChoiceText(2);
    case kSyncTypeDoNothing:
      return ActionChoiceText(3);
    default:
      return "sync type " + std::to_string(type);
  }
}

// Whether a conduit takes `type` for a fast synchronize: 0, and any number that is
// none of the other types (the registry may hold any), which a conduit runs as
// its default, a synchronize.
bool IsFastSynchronize(int32_t type) {
  switch (type) {
    case kSyncTypeSlow:
    case kSyncTypeHandheldOverwrites:
    case kSyncTypeDesktopOverwrites:
    case kSyncTypeInstall:
    case kSyncTypeDoNothing:
      return false;
    default:
      return true;
  }
}

// The HotSync folder, set up (and named in the registry) when there is none.
std::string HotSyncRoot() {
  if (auto root = RootDirectory()) return *root;
  const std::string root = fs::JoinPath(fs::StateDir(), "HotSync");
  fs::MakeFolder(root);
  registry::SetValue(Hive::CurrentUser, kPalmRootKey, "Path", registry::Value::String(root));
  return root;
}

std::optional<PalmUser> UserNamed(const std::vector<PalmUser>& users, const std::string& name) {
  for (const PalmUser& u : users) {
    if (text::EqualsNoCase(u.name, name)) return u;
  }
  return std::nullopt;
}

// A new user of this desktop, added to the HotSync users.
PalmUser AddNewUser(const std::vector<PalmUser>& users, const std::string& name,
                    std::optional<int32_t> wantedId) {
  PalmUser user;
  user.name = name;
  const auto taken = [&](int32_t id) {
    return std::any_of(users.begin(), users.end(), [&](const PalmUser& u) { return u.id == id; });
  };
  if (wantedId && !taken(*wantedId)) {
    user.id = *wantedId;
  } else {
    int32_t highest = 0;
    for (const PalmUser& u : users) highest = std::max(highest, u.id);
    if (highest == INT32_MAX) throw Failure{"No user id is left for a new user."};
    user.id = highest + 1;
  }
  const bool nameFree = std::none_of(users.begin(), users.end(), [&](const PalmUser& u) {
    return text::EqualsNoCase(u.directory, name);
  });
  const bool nameFits = fs::IsPlainName(name) && name.find_first_of("\\\t") == std::string::npos;
  user.directory = nameFits && nameFree ? name : "User" + std::to_string(user.id);
  HotSyncRoot();
  AddUser(user);
  return user;
}

// The handheld's user: named by --user or by the identity, added when new.
PalmUser HandheldUser(const SyncOptions& options, const std::optional<DeviceIdentity>& identity) {
  const std::vector<PalmUser> users = ReadUsers();
  if (!options.user.empty()) {
    if (identity && !text::EqualsNoCase(identity->userName, options.user)) {
      throw Failure{"This handheld belongs to " + identity->userName + ", not " + options.user +
                    "."};
    }
    if (auto user = UserNamed(users, options.user)) return *user;
    return AddNewUser(users, options.user,
                      identity ? std::optional(identity->userId) : std::nullopt);
  }
  if (!identity) throw Failure{"This handheld has no user yet: name one with --user."};
  for (const PalmUser& u : users) {
    if (u.id == identity->userId && text::EqualsNoCase(u.name, identity->userName)) return u;
  }
  if (auto user = UserNamed(users, identity->userName)) return *user;
  return AddNewUser(users, identity->userName, identity->userId);
}

}  // namespace

std::string DesktopId() {
  const auto value = registry::QueryValue(Hive::CurrentUser, kHotSyncKey, "DesktopID");
  if (value && value->type == registry::ValueType::String && IsDesktopId(value->text))
    return value->text;
  uint8_t bytes[8] = {};
  if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
    RaiseError(5, "DesktopId", "No random bytes for this desktop's id.");
  }
  std::string id;
  static constexpr char kHex[] = "0123456789abcdef";
  for (const uint8_t b : bytes) {
    id.push_back(kHex[b >> 4]);
    id.push_back(kHex[b & 0xF]);
  }
  registry::SetValue(Hive::CurrentUser, kHotSyncKey, "DesktopID", registry::Value::String(id));
  return id;
}

int Sync(const SyncOptions& options, std::FILE* err) {
  try {
    DeviceSession session(options.device, options.faults);
    // One HotSync of this handheld at a time; the run that holds the lock
    // clears what killed runs left.
    const auto deviceLock = RunLock::TryTake(options.device);
    if (!deviceLock) return Busy(err, "Another HotSync of this handheld is running.");
    RemoveDeviceLeftovers(options.device);
    const std::optional<DeviceIdentity> identity = ReadIdentity(options.device);
    const PalmUser user = HandheldUser(options, identity);
    const std::string root = HotSyncRoot();
    fs::RemoveAbandonedTemporaries(
        root, [](std::string_view target) { return target == kUsersFileName; });
    const std::string userFolder = fs::JoinPath(root, user.directory);
    fs::MakeFolder(userFolder);
    // And one at a time of this user's desktop folders (another handheld of
    // the same user syncs them too).
    const std::string nativeUserFolder = fs::NativePath(userFolder);
    const auto userLock = RunLock::TryTake(nativeUserFolder);
    if (!userLock) return Busy(err, "Another HotSync of " + user.name + " is running.");
    RemoveAbandonedWholeFiles(nativeUserFolder,
                              [](std::string_view target) { return target == kLogFileName; });
    const std::string desktop = DesktopId();
    const bool sameDesktop =
        identity && identity->userId == user.id && identity->desktop == desktop;

    bool hostFailed = false;
    bool conduitFailed = false;
    std::string logPath;
    {
      LogRun log(userFolder, "of " + user.name);
      logPath = log.path();
      for (const ConduitRegistration& conduit : RegisteredConduits()) {
        SyncAction action = ReadSyncAction(user.id, conduit.name);
        const bool alternate = !sameDesktop || action.alternateDesktop;
        std::string error;
        const auto library = ConduitLibrary::Load(fs::NativePath(conduit.library), error);
        const std::string folder = fs::JoinPath(userFolder, conduit.directory) + "/";
        if (!library || folder.size() >= kConduitPathSize) {
          const std::string why = library ? "its folder's path is too long: " + folder
                                          : "it could not be loaded: " + text::Utf8ToCp(error);
          LogAddEntry((conduit.name + " - " + why).c_str(), kLogConduitFailed, 0);
          Fail(err, conduit.name + ": " + why);
          hostFailed = true;
          // The handheld will name this desktop: the run this conduit missed
          // is owed to it.
          if (alternate && !action.alternateDesktop) {
            action.alternateDesktop = true;
            WriteSyncAction(user.id, conduit.name, action);
          }
          continue;
        }
        int32_t type = action.Next();
        // With an alternate desktop a synchronize is the slow one: the other
        // desktop cleared the handheld's marks of change, and a fast one would
        // take what it put on the handheld for deleted here.
        if (alternate && IsFastSynchronize(type)) type = kSyncTypeSlow;
        CSyncProperties properties{};
        properties.syncType = type;
        CopyText(folder, properties.localDirectory, sizeof properties.localDirectory);
        const uint64_t failuresBefore = session.failures();
        bool threw = false;
        try {
          library->openConduit(nullptr, &properties);
        } catch (...) {
          threw = true;
          LogAddEntry((conduit.name + " - the conduit ended with an exception.").c_str(),
                      kLogConduitFailed, 0);
        }
        session.CloseLeftOpen();
        // The one-time choice was given to the conduit: used up. A conduit
        // repeats a run it could not finish from the state it keeps on the
        // handheld; but when the handheld failed it, that state may not have
        // been written: a synchronize with an alternate desktop stays owed
        // until one runs with the handheld answering.
        action = ReadSyncAction(user.id, conduit.name);
        const bool synchronized = type != kSyncTypeInstall && type != kSyncTypeDoNothing;
        const bool handheldFailed = threw || session.failures() != failuresBefore;
        const bool owed = synchronized ? alternate && handheldFailed : action.alternateDesktop;
        if (action.once || owed != action.alternateDesktop) {
          action.once.reset();
          action.alternateDesktop = owed;
          WriteSyncAction(user.id, conduit.name, action);
        }
      }
      conduitFailed = log.anyFailure();
      // The conduits were reached: the handheld names this desktop now. A
      // conduit that failed takes up again from its own pending state, which
      // it keeps on the handheld; one that could not run, or that the
      // handheld failed, is owed its alternate desktop's synchronize (above).
      const DeviceIdentity next{user.name, user.id, desktop};
      if (identity != next) WriteIdentity(options.device, next);
    }
    const Faults& f = options.faults;
    if (f.failCall || f.deviceFullAfter || f.cutListAfter || f.killCall) {
      std::string report =
          "fault injection: " + std::to_string(session.calls()) + " Sync Manager calls";
      if (f.failCall) {
        report += session.faultReached()
                      ? "; call " + std::to_string(*f.failCall) + " failed"
                      : "; call " + std::to_string(*f.failCall) + " was not reached";
      }
      if (f.killCall) report += "; call " + std::to_string(*f.killCall) + " was not reached";
      std::fprintf(err, "hotsync: %s\n", report.c_str());
    }
    if (hostFailed) return 1;
    if (conduitFailed) {
      std::fprintf(err, "hotsync: a conduit failed; %s says which and why\n",
                   text::CpToUtf8(fs::NativePath(logPath)).c_str());
      return kConduitFailedStatus;
    }
    return 0;
  } catch (const Failure& f) {
    return Fail(err, f.reason);
  } catch (const AutomationError& e) {
    return Fail(err, e.description());
  } catch (const std::exception& e) {
    return Fail(err, e.what());
  }
}

int Configure(const std::string& userName, const std::string& conduitName, std::FILE* out,
              std::FILE* err) {
  try {
    const auto user = UserNamed(ReadUsers(), userName);
    if (!user) return Fail(err, "No HotSync user is named " + userName + ".");
    const auto conduit = FindConduit(conduitName);
    if (!conduit) return Fail(err, "No conduit is registered as " + conduitName + ".");
    std::string error;
    const auto library = ConduitLibrary::Load(fs::NativePath(conduit->library), error);
    if (!library) return Fail(err, conduit->name + ": " + text::Utf8ToCp(error));

    SyncAction action = ReadSyncAction(user->id, conduit->name);
    int32_t type = 0;
    int32_t preference = 0;
    int32_t rc = 0;
    if (library->cfgConduit) {
      CfgConduitRecord record{};
      record.version = 1;
      record.size = sizeof record;
      record.creator = Code(conduit->creator);
      record.userId = static_cast<uint32_t>(user->id);
      CopyText(user->name, record.userName, sizeof record.userName);
      record.syncType = action.Next();
      uint32_t size = sizeof record;
      rc = library->cfgConduit(0, &record, &size);
      type = record.newSyncType;
      preference = record.preference;
    } else if (library->configureConduit) {
      CSyncPreference request{};
      const std::string folder =
          fs::JoinPath(fs::JoinPath(HotSyncRoot(), user->directory), conduit->directory) + "/";
      CopyText(folder, request.path, sizeof request.path);
      CopyText(std::string(kHotSyncKey) + "\\Conduits\\" + conduit->name, request.registryPath,
               sizeof request.registryPath);
      request.syncType = action.Next();
      rc = library->configureConduit(&request);
      type = request.syncType;
      preference = request.preference;
    } else {
      return Fail(err, conduit->name + " has no settings to change.");
    }
    if (rc == -1) {
      std::fprintf(out, "%s: nothing changed.\n", text::CpToUtf8(conduit->name).c_str());
      return 0;
    }
    if (rc != 0)
      return Fail(err, conduit->name + " refused its settings (" + std::to_string(rc) + ").");
    if (preference == kPreferencePermanent) {
      action.permanent = type;
      action.once.reset();
    } else if (preference == kPreferenceTemporary) {
      action.once = type;
    } else {
      return Fail(err, conduit->name + " answered with no preference (" +
                           std::to_string(preference) + ").");
    }
    WriteSyncAction(user->id, conduit->name, action);
    std::fprintf(out, "%s: %s %s.\n", text::CpToUtf8(conduit->name).c_str(),
                 SyncTypeText(type).c_str(),
                 preference == kPreferencePermanent ? "for every HotSync" : "for the next HotSync");
    return 0;
  } catch (const AutomationError& e) {
    return Fail(err, e.description());
  } catch (const std::exception& e) {
    return Fail(err, e.what());
  }
}

int Register(const ConduitRegistration& conduit, std::FILE* out, std::FILE* err) {
  try {
    const std::string problem = RegistrationProblem(conduit);
    if (!problem.empty()) return Fail(err, problem);
    std::string error;
    if (!ConduitLibrary::Load(fs::NativePath(conduit.library), error))
      return Fail(err, text::Utf8ToCp(error));
    RegisterConduit(conduit);
    std::fprintf(out, "%s: registered.\n", text::CpToUtf8(conduit.name).c_str());
    return 0;
  } catch (const AutomationError& e) {
    return Fail(err, e.description());
  }
}

}  // namespace brevora::hotsync::host
