#pragma once
// DeviceUser: one handheld user or phone for which the system keeps a desktop
// folder; a plain holder of five properties ("TabulynPC.DeviceUser").
// Late-bound: IDString, UID, Path, UserName, UserType (each Let and Get).
#include <cstdint>
#include <string>
#include <utility>

#include "platform/automation/member_table.h"

namespace brevora::core {

class DeviceUser : public Dispatchable<DeviceUser> {
 public:
  static constexpr const char* kProgId = "TabulynPC.DeviceUser";
  static constexpr const char* kClsid = "{6F1D2A40-8B3C-4E51-9A27-3C5E7D1B0A04}";
  static const MemberTable<DeviceUser>& Members();

  // UserType values.
  static constexpr int16_t kPalmUser = 0;
  static constexpr int16_t kPhoneDevice = 1;

  // The phone's identifier text (registry value "UID"); empty for Palm users.
  const std::string& IDString() const { return idString_; }
  void SetIDString(std::string value) { idString_ = std::move(value); }
  // The Palm user id, or the number made from a phone's IDString.
  int32_t UID() const { return uid_; }
  void SetUID(int32_t value) { uid_ = value; }
  // The user's desktop folder, as formed or read (no separator added at its end).
  const std::string& Path() const { return path_; }
  void SetPath(std::string value) { path_ = std::move(value); }
  // The display name: Palm user name, or the phone's device key name.
  const std::string& UserName() const { return userName_; }
  void SetUserName(std::string value) { userName_ = std::move(value); }
  // kPalmUser or kPhoneDevice.
  int16_t UserType() const { return userType_; }
  void SetUserType(int16_t value) { userType_ = value; }

 private:
  std::string idString_;
  int32_t uid_ = 0;
  std::string path_;
  std::string userName_;
  int16_t userType_ = 0;
};

// The DeviceUser a late-bound argument holds (null for Nothing): 424 "Object
// required" when it holds no object, 13 "Type mismatch" for another class.
Ref<DeviceUser> DeviceUserOf(const Variant& v);

}  // namespace brevora::core
