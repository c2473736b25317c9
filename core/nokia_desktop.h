#pragma once
// NokiaDesktop ("TabulynPC.NokiaDesktop"): the phones registered with the Nokia
// PC Suite, read from HKEY_CURRENT_USER "Software\Nokia\PCSuiteForNokia7650"
// (or ...3650, ...ORX) "\EPOCDevices\<device>" values "DataPath" and "UID".
// The list is built at creation and again by ReloadUsers; a failure reading a
// device's values fails the creation (AutomationError 32760), as does a
// registry file that can't be read.
// Late-bound: GetUsers, IsInstalled, Version.
#include <cstdint>
#include <string>
#include <string_view>

#include "core/user_collection.h"
#include "platform/automation/member_table.h"

namespace brevora::core {

class NokiaDesktop : public Dispatchable<NokiaDesktop> {
 public:
  static constexpr const char* kProgId = "TabulynPC.NokiaDesktop";
  static constexpr const char* kClsid = "{6F1D2A40-8B3C-4E51-9A27-3C5E7D1B0A03}";
  static const MemberTable<NokiaDesktop>& Members();

  NokiaDesktop();

  // The phones (the object itself, not a copy).
  Ref<UserCollection> GetUsers() const { return users_; }
  // Finds the suite key and reads the phones again into a new collection.
  // Raises as creation does; the list is then the one before.
  void ReloadUsers();
  // True when a suite key with an "EPOCDevices" sub-key was found.
  bool IsInstalled() const { return installed_; }
  int32_t Version() const { return 0; }
  // The suite key found ("" when none).
  const std::string& SuiteKey() const { return suiteKey_; }

  // A phone's numeric id: the last 8 characters of `id` (all of it when
  // shorter) as a decimal number; when they are not one, a stable number from
  // 0 to 32000 made from a hash of the whole text.
  static int32_t DeviceIDToUID(std::string_view id);

 private:
  void FindSuiteKey();
  void LoadUsers();

  Ref<UserCollection> users_;
  std::string suiteKey_;
  bool installed_ = false;
};

}  // namespace brevora::core
