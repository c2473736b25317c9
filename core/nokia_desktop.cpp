#include "core/nokia_desktop.h"

#include "core/registry_helpers.h"
#include "core/text_cleanup.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/registry/registry.h"

namespace brevora::core {
namespace {

using registry::Hive;

constexpr const char* kNokiaKey = "Software\\Nokia";
// The suite versions, in the order they are looked for.
constexpr const char* kSuiteNames[] = {"PCSuiteForNokia7650", "PCSuiteForNokia3650",
                                       "PCSuiteForNokiaORX"};
constexpr const char* kDevicesKey = "EPOCDevices";

// FNV-1a over the bytes of the text.
uint32_t HashText(std::string_view text) {
  uint32_t hash = 2166136261u;
  for (unsigned char c : text) {
    hash ^= c;
    hash *= 16777619u;
  }
  return hash;
}

}  // namespace

NokiaDesktop::NokiaDesktop() : users_(MakeRef<UserCollection>()) {
  FindSuiteKey();
  if (installed_) LoadUsers();
}

int32_t NokiaDesktop::DeviceIDToUID(std::string_view id) {
  const std::string_view digits = id.size() < 8 ? id : id.substr(id.size() - 8);
  try {
    return CLng(Variant(digits));
  } catch (const AutomationError&) {
    // Not a number: a stable stand-in id, the same for the same text every time.
    return static_cast<int32_t>(HashText(id) % 32001u);
  }
}

void NokiaDesktop::ReloadUsers() {
  FindSuiteKey();
  if (installed_) {
    LoadUsers();
  } else {
    users_ = MakeRef<UserCollection>();
  }
}

void NokiaDesktop::FindSuiteKey() {
  installed_ = false;
  suiteKey_.clear();
  if (!registry::KeyExists(Hive::CurrentUser, kNokiaKey)) return;
  for (const char* suite : kSuiteNames) {
    const std::string key = std::string(kNokiaKey) + "\\" + suite;
    if (registry::KeyExists(Hive::CurrentUser, key)) {
      suiteKey_ = key;
      break;
    }
  }
  if (suiteKey_.empty()) return;
  if (registry::KeyExists(Hive::CurrentUser, suiteKey_ + "\\" + kDevicesKey)) installed_ = true;
}

void NokiaDesktop::LoadUsers() {
  const std::string devicesKey = suiteKey_ + "\\" + kDevicesKey;
  std::vector<std::string> devices;
  try {
    if (registry::KeyExists(Hive::CurrentUser, devicesKey))
      devices = registry::SubKeys(Hive::CurrentUser, devicesKey);
  } catch (const AutomationError&) {
    // the key can't be read: no devices
  }
  // The list is replaced only when read whole.
  auto users = MakeRef<UserCollection>();
  for (const std::string& device : devices) {
    auto user = MakeRef<DeviceUser>();
    user->SetUserName(TrimAtNull(device));
    users->Add(std::move(user));
  }
  for (const Ref<DeviceUser>& user : *users) {
    const std::string key = devicesKey + "\\" + user->UserName();
    user->SetPath(GetRegistryString(key, "DataPath"));
    user->SetIDString(GetRegistryString(key, "UID"));
    user->SetUID(DeviceIDToUID(user->IDString()));
    user->SetUserType(DeviceUser::kPhoneDevice);
  }
  users_ = std::move(users);
}

const MemberTable<NokiaDesktop>& NokiaDesktop::Members() {
  using N = NokiaDesktop;
  static const MemberTable<NokiaDesktop> table{
      {"GetUsers", CallKind::Get, [](N& n, Args) { return Variant(n.GetUsers()); }},
      {"IsInstalled", CallKind::Get, [](N& n, Args) { return Variant(n.IsInstalled()); }},
      {"Version", CallKind::Get, [](N& n, Args) { return Variant(n.Version()); }},
  };
  return table;
}

namespace {
const ClassRegistration registration(NokiaDesktop::kProgId, NokiaDesktop::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<NokiaDesktop>()); });
}  // namespace

}  // namespace brevora::core
