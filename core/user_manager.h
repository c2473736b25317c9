#pragma once
// UserManager ("TabulynPC.UserManager"): the combined list of handheld users
// (the phones of NokiaDesktop first, then the Palm users of PalmDesktop) and
// the current user. Creating it creates both desktop objects, which build their
// lists then, and combines them; a failure there fails the creation (with
// the desktop object's error). ReloadUsers reads both lists again, for a window
// that must show the users as they are now. One UserManager is shared by the
// Sessions of a thread.
// Late-bound: CurrentUser (set/get), GetUserByID, GetUserByName, GetUsers,
// NokiaDesktop (get), PalmDesktop (get), LoadUsers.
#include <cstdint>
#include <string_view>

#include "core/device_user.h"
#include "core/nokia_desktop.h"
#include "core/palm_desktop.h"
#include "core/user_collection.h"
#include "platform/automation/member_table.h"

namespace brevora::core {

class UserManager : public Dispatchable<UserManager> {
 public:
  static constexpr const char* kProgId = "TabulynPC.UserManager";
  static constexpr const char* kClsid = "{6F1D2A40-8B3C-4E51-9A27-3C5E7D1B0A01}";
  static const MemberTable<UserManager>& Members();

  UserManager();

  // Rebuilds the combined list (a new collection object) from the two desktop
  // objects' lists as they are; does not re-read them. No de-duplication.
  void LoadUsers();
  // Reads the phones and the Palm users again (NokiaDesktop::ReloadUsers,
  // PalmDesktop::ReloadUsers: the server settings stay), then LoadUsers. A
  // current user taken from the list stays current as the new entry of the
  // same id and type (of the same name too, when there is one); when the new
  // list has no such entry it stays as it was. Errors as LoadUsers raises them;
  // the combined list is then the one before.
  void ReloadUsers();
  // The combined list (the object itself, not a copy).
  Ref<UserCollection> GetUsers() const { return users_; }
  // The first user, in list order, whose UID is `id`; null when none.
  Ref<DeviceUser> GetUserByID(int32_t id) const;
  // The first user whose UserName equals `name`, both trimmed of blanks and
  // compared without regard to case; null when none.
  Ref<DeviceUser> GetUserByName(std::string_view name) const;

  // The current user. Reading it while none is set creates and keeps an empty
  // DeviceUser (UID 0, empty strings), so it is never null.
  Ref<DeviceUser> CurrentUser();
  // Sets the current user; null is allowed (the next read makes an empty one).
  void SetCurrentUser(Ref<DeviceUser> user) { currentUser_ = std::move(user); }

  Ref<NokiaDesktop> GetNokiaDesktop() const { return nokia_; }
  Ref<PalmDesktop> GetPalmDesktop() const { return palm_; }

 private:
  Ref<UserCollection> users_;
  Ref<DeviceUser> currentUser_;
  Ref<NokiaDesktop> nokia_;
  Ref<PalmDesktop> palm_;
};

}  // namespace brevora::core
