#pragma once
// PalmDesktop ("TabulynPC.PalmDesktop"): the Palm HotSync users, read through
// the Palm user-data calls (platform/hotsync), and the server-mode settings
// (server mode, the RivorOdurov conduit's friendly name) that choose the
// registry root of the users' folders.
//
// Creation finds the registry root (Palm Desktop keys under HKEY_CURRENT_USER,
// "Software\U.S. Robotics\Pilot Desktop" then "Software\Palm Computing\Pilot
// Desktop"); when one is found it builds the user list. ReloadUsers reads the
// root and the list again. A HotSync users folder that is missing leaves the
// list empty and writes the error to the event log; other failures fail the
// creation (AutomationError 32760; an unreadable registry file with the
// registry's own error).
// Late-bound: RivorOdurovInstalled, RivorOdurovFriendlyName (get/let),
// IsRivorOdurovMode, IsServerMode (get/let), HotSyncHome, GetUsers, IsInstalled,
// Version.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/user_collection.h"
#include "platform/automation/member_table.h"
#include "platform/registry/registry.h"

namespace brevora::core {

class PalmDesktop : public Dispatchable<PalmDesktop> {
 public:
  static constexpr const char* kProgId = "TabulynPC.PalmDesktop";
  static constexpr const char* kClsid = "{6F1D2A40-8B3C-4E51-9A27-3C5E7D1B0A02}";
  static const MemberTable<PalmDesktop>& Members();

  PalmDesktop();

  // True when a RivorOdurov settings key exists (HKEY_CURRENT_USER
  // "Software\Vaderudo Diduzuzodoru\RivorOdurov\Settings" or HKEY_USERS
  // ".DEFAULT\Software\ZazerWare\RivorOdurov\Settings"); a registry failure
  // gives the answer reached so far.
  bool RivorOdurovInstalled() const;

  const std::string& RivorOdurovFriendlyName() const { return friendlyName_; }
  // Stores the trimmed name; a non-empty one also turns server mode on and is
  // written as "ZazerConduit" under HKEY_CURRENT_USER "Software\Orvanex".
  void SetRivorOdurovFriendlyName(std::string_view name);

  // Server mode with a non-empty friendly name.
  bool IsRivorOdurovMode() const { return isServerMode_ && !friendlyName_.empty(); }

  bool IsServerMode() const { return isServerMode_; }
  // Stores the flag; unless it is true with an empty friendly name, finds the
  // registry root again (which raises 32760 in RivorOdurov mode when no
  // RivorOdurov settings key exists; the flag stays stored).
  void SetIsServerMode(bool value);

  // The root folder of the users' folders, ending with a separator. 32760 when
  // the registry names no folder or the folder does not exist.
  std::string HotSyncHome() const;

  // The Palm users, built at creation (the object itself, not a copy).
  Ref<UserCollection> GetUsers() const { return users_; }
  // Reads the Palm users again into a new collection, the registry root first
  // (a Palm Desktop set up since is found, one removed is no longer
  // installed); the server settings stay as they are. In RivorOdurov mode the
  // list stays as it is: it holds the Palm users of the creation, and the
  // server's root is no Palm root. Raises as creation does; the list is then
  // the one before.
  void ReloadUsers();
  bool IsInstalled() const { return installed_; }
  int32_t Version() const { return 0; }

  // The registry root found last ("" when none) and the hive it is under.
  const std::string& RegistryRoot() const { return root_; }
  registry::Hive RegistryRootHive() const { return rootHive_; }

 private:
  void InitRegistryRoot();
  void LoadUsers();

  Ref<UserCollection> users_;
  std::string root_;
  registry::Hive rootHive_ = registry::Hive::CurrentUser;
  bool installed_ = false;
  std::string friendlyName_;
  bool isServerMode_ = false;
};

}  // namespace brevora::core
