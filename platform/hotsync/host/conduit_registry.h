#pragma once
// The conduits the host runs and the sync action of each user's conduits, in
// the registry (HKEY_CURRENT_USER):
//   Software\Brevora\HotSync\Conduits\<name>    "Library" (path of the plug-in),
//                                               "Directory" (its folder in the user folder),
//                                               "Creator" (four characters)
//   Software\Brevora\HotSync\Actions\<user id>\<name>
//                                               "Permanent", "Once" (sync types, DWORD),
//                                               "AlternateDesktop" (DWORD 1: owed a
//                                               synchronize with an alternate desktop)
// Conduits run in the order they were registered.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brevora::hotsync::host {

inline constexpr const char* kHotSyncKey = "Software\\Brevora\\HotSync";

struct ConduitRegistration {
  std::string name;       // plain name without '\'
  std::string library;    // path of the plug-in (system path)
  std::string directory;  // plain folder name
  std::string creator;    // four characters
  bool operator==(const ConduitRegistration&) const = default;
};

// Why a registration can't be kept; empty when it can.
std::string RegistrationProblem(const ConduitRegistration& conduit);
// Adds or replaces a conduit (AutomationError 5 for one RegistrationProblem refuses).
void RegisterConduit(const ConduitRegistration& conduit);
// The registered conduits whose values are all present and valid, in order.
std::vector<ConduitRegistration> RegisteredConduits();
std::optional<ConduitRegistration> FindConduit(const std::string& name);

struct SyncAction {
  std::optional<int32_t> permanent;
  std::optional<int32_t> once;
  // Owed a synchronize with an alternate desktop: the conduit was due one and
  // could not be run, or the handheld failed in its run (it may have kept no
  // state of it). Its next synchronize is one, though the handheld names this
  // desktop by then.
  bool alternateDesktop = false;
  // The type of the next HotSync: the one-time choice, else the permanent one,
  // else synchronize (0).
  int32_t Next() const;
};

SyncAction ReadSyncAction(int32_t userId, const std::string& conduit);
void WriteSyncAction(int32_t userId, const std::string& conduit, const SyncAction& action);

}  // namespace brevora::hotsync::host
