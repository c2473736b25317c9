#include "conduit-framework/conduit_run.h"

#include <algorithm>
#include <cstring>

#include "conduit-framework/conduit_log.h"
#include "conduit-framework/local_file.h"
#include "conduit-framework/main_db.h"
#include "conduit-framework/product.h"
#include "conduit-framework/sync_mgr.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/hotsync_log.h"
#include "platform/hotsync/sync_manager.h"
#include "platform/registry/registry.h"
#include "platform/text/case.h"
#include "platform/windows/window_directory.h"

namespace brevora::conduit {
namespace {

constexpr std::size_t kMaxPath = 255;

std::optional<uint32_t> Number(const Product& product, const char* name) {
  const auto value = registry::QueryValue(registry::Hive::CurrentUser, product.registryKey, name);
  if (!value || value->type != registry::ValueType::DWord) return std::nullopt;
  return value->dword;
}

// Registration with the Sync Manager for the length of a run.
class ConduitRegistration {
 public:
  explicit ConduitRegistration(const Product& product) {
    if (product.registersWithSyncManager) registered_ = SyncRegisterConduit(&handle_) == kSyncOk;
  }
  ~ConduitRegistration() {
    if (registered_) SyncUnRegisterConduit(handle_);
  }
  ConduitRegistration(const ConduitRegistration&) = delete;
  ConduitRegistration& operator=(const ConduitRegistration&) = delete;

 private:
  int32_t handle_ = 0;
  bool registered_ = false;
};

bool ValidMode(uint16_t mode) { return mode >= 1 && mode <= 3; }

// Whether `type` is run as a synchronize: 0 and 1, and any number that is none
// of the types (GetSyncMode's default).
bool IsSynchronize(int32_t type) {
  switch (type) {
    case kSyncTypeHandheldOverwrites:
    case kSyncTypeDesktopOverwrites:
    case kSyncTypeInstall:
    case kSyncTypeDoNothing:
      return false;
    default:
      return true;
  }
}

// Steps 3 to 8 of a run; true when it succeeded.
bool Run(const Product& p, const CSyncProperties& properties, RunErrors& errors) {
  const int32_t type = properties.syncType;
  CMainDB main(p);
  if (!main.Open(p.mainDatabase, "")) return false;
  if (!main.Close() || !main.MigrateOldMainDB() || !main.ReadHandheldList(errors) ||
      !main.Open(p.mainDatabase, "")) {
    return false;
  }

  // A state that can't be read now is not the same as none: the run would take
  // itself for a first one and copy back what was deleted.
  std::optional<SyncState> saved;
  if (!main.ReadSyncState(saved)) return false;
  bool newDesktop = saved && saved->pendingNewDesktop != 0;
  const auto folder = GetUserFolder(p, properties, newDesktop);
  if (!folder) return false;
  RemoveAbandonedDesktopWrites(p, *folder);

  SyncMode mode = SyncMode::Synchronize;
  bool slow = false;
  if (IsSynchronize(type) && saved && ValidMode(saved->pendingMode)) {
    mode = static_cast<SyncMode>(saved->pendingMode);
    slow = saved->pendingSlow != 0;
  } else {
    mode = GetSyncMode(p, type, newDesktop, slow);
  }
  const int32_t prevail = GetSyncPrevail(p);

  // What this run is to do is saved before it does anything, so that a run
  // that breaks off is repeated by the next one.
  SyncState pending = saved.value_or(SyncState{});
  if (newDesktop) pending.pendingNewDesktop = 1;
  pending.pendingMode = static_cast<uint16_t>(mode);
  pending.pendingSlow = slow ? 1 : 0;
  if (!main.WriteSyncState(pending)) return false;

  CSyncMgr sync(p, errors);
  bool ok = sync.BuildLists(*folder, main);
  if (ok) {
    sync.ApplyMode(mode);
    ok = sync.SyncCategories(main);
  }
  if (!main.Close()) ok = false;
  if (!ok) return false;
  const bool firstSync = !(saved && saved->syncedBefore != 0);
  if (!sync.SyncFiles(main, mode, prevail, slow, firstSync)) return false;

  if (!main.Open(p.mainDatabase, "")) return false;
  SyncState done;
  done.syncedBefore = 1;
  done.reserved = pending.reserved;
  const bool written = main.WriteSyncState(done);
  return main.Close() && written;
}

}  // namespace

SyncMode GetSyncMode(const Product& product, int32_t syncType, bool newDesktop, bool& slow) {
  slow = false;
  constexpr const char* kNewDesktop =
      "sync configured to Synchronize (new desktop - Handheld overwrites desktop)";
  switch (syncType) {
    case kSyncTypeSynchronize:
      LogHotSync(product, newDesktop ? kNewDesktop : "sync configured to Synchronize");
      return newDesktop ? SyncMode::HandheldOverwrites : SyncMode::Synchronize;
    case kSyncTypeSlow:
      slow = true;
      LogHotSync(product,
                 newDesktop ? kNewDesktop : "sync configured to Synchronize (alternate desktop)");
      return newDesktop ? SyncMode::HandheldOverwrites : SyncMode::Synchronize;
    case kSyncTypeHandheldOverwrites:
      LogHotSync(product, "sync configured to Device overwrites desktop");
      return SyncMode::HandheldOverwrites;
    case kSyncTypeDesktopOverwrites:
      LogHotSync(product, "sync configured to Desktop overwrites device");
      return SyncMode::DesktopOverwrites;
    case kSyncTypeDoNothing:
      LogHotSync(product, "sync configured to Do Nothing");
      return SyncMode::DoNothing;
    default:
      LogHotSync(product, "Default: Synchronize the workbooks...");
      return SyncMode::Synchronize;
  }
}

int32_t GetSyncPrevail(const Product& product) {
  try {
    const auto value = Number(product, "SyncPrevail");
    return value && *value == 1 ? 0 : 1;
  } catch (const AutomationError&) {
    return 1;
  }
}

std::optional<std::string> GetUserFolder(const Product& product, const CSyncProperties& properties,
                                         bool& newDesktop) {
  const std::size_t length = strnlen(properties.localDirectory, sizeof properties.localDirectory);
  if (length == sizeof properties.localDirectory) {
    LogHotSync(product, "The conduit's folder is longer than 255 characters.");
    return std::nullopt;
  }
  std::string folder(properties.localDirectory, length);
  try {
    if (Number(product, "UseHomePath").value_or(0) != 0) {
      const auto home =
          registry::QueryValue(registry::Hive::CurrentUser, product.registryKey, "HomePath");
      if (home && home->type == registry::ValueType::String && !home->text.empty()) {
        if (home->text.size() > kMaxPath) {
          LogHotSync(product, "The workbook path is longer than 255 characters: " + home->text);
          return std::nullopt;
        }
        folder = home->text;
      }
      LogHotSync(product, "Sync set to override user directory and use workbook path: " + folder);
    }
  } catch (const AutomationError&) {
    // An unreadable registry: no override.
  }
  if (folder.empty()) {
    LogHotSync(product, "The conduit was given no folder.");
    return std::nullopt;
  }
  try {
    if (!fs::FolderExists(folder)) {
      LogHotSync(product, "Creating user workbook directory: " + folder);
      fs::MakeFolder(folder);
      newDesktop = true;
    } else if (!newDesktop) {
      newDesktop = true;
      const auto& own = product.ownFolders;
      for (const std::string& name : fs::ListFolder(folder, fs::ListKind::Folders)) {
        const bool ours = std::any_of(own.begin(), own.end(), [&](const std::string& f) {
          return text::EqualsNoCase(name, f);
        });
        if (!ours && !text::EqualsNoCase(name, "examples")) {
          newDesktop = false;
          break;
        }
      }
    }
  } catch (const AutomationError& e) {
    LogHotSync(product, "The folder " + folder + " can't be used: " + e.description());
    return std::nullopt;
  }
  return folder;
}

void RefreshDesktopWindows() {
  for (const windows::WindowEntry& window : windows::Find("ThunderRT5Form", "Brevora Desktop")) {
    windows::Post(window.handle,
                  windows::WindowMessage::Click("ThunderRT5CommandButton", "Refresh"));
  }
}

int32_t OpenConduit(const Product& p, void* /*window*/, CSyncProperties* properties) {
  try {
    const ConduitRegistration registration(p);
    if (properties == nullptr) {
      LogAddEntry((p.name + " - not all workbooks were synchronized.").c_str(), kLogConduitFailed,
                  0);
      return 0;
    }
    if (properties->syncType == kSyncTypeInstall) {
      LogAddEntry((p.name + " - Installed").c_str(), kLogConduitDone, 1);
      return 0;
    }
    if (properties->syncType == kSyncTypeDoNothing) {
      LogAddEntry((p.name + " - sync configured to do nothing").c_str(), kLogConduitDone, 0);
      return 0;
    }
    RunErrors errors(p);
    const bool ok = Run(p, *properties, errors);
    LogAddEntry(p.name.c_str(), ok && !errors.any() ? kLogConduitDone : kLogConduitFailed, 0);
    RefreshDesktopWindows();
  } catch (...) {
    LogAddEntry((p.name + " - not all workbooks were synchronized.").c_str(), kLogConduitFailed, 0);
  }
  return 0;
}

}  // namespace brevora::conduit
