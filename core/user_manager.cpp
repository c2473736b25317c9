#include "core/user_manager.h"

#include <algorithm>

#include "core/text_cleanup.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/text/case.h"

namespace brevora::core {

UserManager::UserManager()
    : users_(MakeRef<UserCollection>()),
      nokia_(MakeRef<NokiaDesktop>()),
      palm_(MakeRef<PalmDesktop>()) {
  LoadUsers();
}

void UserManager::LoadUsers() {
  try {
    auto all = MakeRef<UserCollection>();
    for (const Ref<DeviceUser>& user : *nokia_->GetUsers()) all->Add(user);
    for (const Ref<DeviceUser>& user : *palm_->GetUsers()) all->Add(user);
    users_ = std::move(all);
  } catch (...) {
    throw Wrap32760(CurrentError(), "UserManager.LoadUsers", "Error in Load Users.");
  }
}

void UserManager::ReloadUsers() {
  const Ref<DeviceUser> previous = currentUser_;
  const bool listed =
      previous && std::any_of(users_->begin(), users_->end(),
                              [&](const Ref<DeviceUser>& u) { return u == previous; });
  try {
    nokia_->ReloadUsers();
    palm_->ReloadUsers();
  } catch (...) {
    throw Wrap32760(CurrentError(), "UserManager.LoadUsers", "Error in Load Users.");
  }
  LoadUsers();
  if (!listed) return;
  Ref<DeviceUser> same;
  for (const Ref<DeviceUser>& user : *users_) {
    if (user->UID() != previous->UID() || user->UserType() != previous->UserType()) continue;
    if (user->UserName() == previous->UserName()) {
      same = user;
      break;
    }
    if (!same) same = user;
  }
  if (same) currentUser_ = same;
}

Ref<DeviceUser> UserManager::GetUserByID(int32_t id) const {
  for (const Ref<DeviceUser>& user : *users_) {
    if (user->UID() == id) return user;
  }
  return nullptr;
}

Ref<DeviceUser> UserManager::GetUserByName(std::string_view name) const {
  const std::string wanted = text::LCase(Trim(name));
  for (const Ref<DeviceUser>& user : *users_) {
    if (text::LCase(Trim(user->UserName())) == wanted) return user;
  }
  return nullptr;
}

Ref<DeviceUser> UserManager::CurrentUser() {
  if (!currentUser_) currentUser_ = MakeRef<DeviceUser>();
  return currentUser_;
}

const MemberTable<UserManager>& UserManager::Members() {
  using M = UserManager;
  static const MemberTable<UserManager> table{
      {"CurrentUser", CallKind::Set, [](M& m, Args a) { m.SetCurrentUser(DeviceUserOf(a[0])); }},
      {"CurrentUser", CallKind::Get, [](M& m, Args) { return Variant(m.CurrentUser()); }},
      {"GetUserByID", CallKind::Method,
       [](M& m, Args a) { return Variant(m.GetUserByID(CLng(a[0]))); }, 1},
      {"GetUserByName", CallKind::Method,
       [](M& m, Args a) { return Variant(m.GetUserByName(CStr(a[0]))); }, 1},
      {"GetUsers", CallKind::Get, [](M& m, Args) { return Variant(m.GetUsers()); }},
      {"NokiaDesktop", CallKind::Get, [](M& m, Args) { return Variant(m.GetNokiaDesktop()); }},
      {"PalmDesktop", CallKind::Get, [](M& m, Args) { return Variant(m.GetPalmDesktop()); }},
      {"LoadUsers", CallKind::Method, [](M& m, Args) { m.LoadUsers(); }},
  };
  return table;
}

namespace {
const ClassRegistration registration(UserManager::kProgId, UserManager::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<UserManager>()); });
}  // namespace

}  // namespace brevora::core
