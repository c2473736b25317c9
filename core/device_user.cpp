#include "core/device_user.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"

namespace brevora::core {

const MemberTable<DeviceUser>& DeviceUser::Members() {
  using U = DeviceUser;
  static const MemberTable<DeviceUser> table{
      {"IDString", CallKind::Let, [](U& u, Args a) { u.SetIDString(CStr(a[0])); }},
      {"IDString", CallKind::Get, [](U& u, Args) { return Variant(u.IDString()); }},
      {"UID", CallKind::Let, [](U& u, Args a) { u.SetUID(CLng(a[0])); }},
      {"UID", CallKind::Get, [](U& u, Args) { return Variant(u.UID()); }},
      {"Path", CallKind::Let, [](U& u, Args a) { u.SetPath(CStr(a[0])); }},
      {"Path", CallKind::Get, [](U& u, Args) { return Variant(u.Path()); }},
      {"UserName", CallKind::Let, [](U& u, Args a) { u.SetUserName(CStr(a[0])); }},
      {"UserName", CallKind::Get, [](U& u, Args) { return Variant(u.UserName()); }},
      {"UserType", CallKind::Let, [](U& u, Args a) { u.SetUserType(CInt(a[0])); }},
      {"UserType", CallKind::Get, [](U& u, Args) { return Variant(u.UserType()); }},
  };
  return table;
}

Ref<DeviceUser> DeviceUserOf(const Variant& v) {
  if (!v.IsObject()) RaiseRuntimeError(424);
  Ref<DeviceUser> user = RefCast<DeviceUser>(v.AsObject());
  if (v.AsObject() && !user) RaiseRuntimeError(13);
  return user;
}

namespace {
const ClassRegistration registration(DeviceUser::kProgId, DeviceUser::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<DeviceUser>()); });
}  // namespace

}  // namespace brevora::core
