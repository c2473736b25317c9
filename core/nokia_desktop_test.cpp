#include "core/nokia_desktop.h"

#include <gtest/gtest.h>

#include "core/users_test_support.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/registry/registry.h"

namespace brevora::core {
namespace {

TEST(NokiaDesktop, NotInstalledWithoutTheSuiteKeys) {
  const char* fixtures[] = {
      "REGEDIT4\n",
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Nokia]\n",
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia9999\\EPOCDevices\\X]\n",
  };
  for (const char* fixture : fixtures) {
    registry::ImportRegedit(fixture);
    auto nokia = MakeRef<NokiaDesktop>();
    EXPECT_FALSE(nokia->IsInstalled());
    EXPECT_EQ(nokia->SuiteKey(), "");
    EXPECT_EQ(nokia->GetUsers()->Count(), 0);
  }
}

TEST(NokiaDesktop, ASuiteWithoutDevicesKeyIsFoundButNotInstalled) {
  registry::ImportRegedit("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokiaORX]\n");
  auto nokia = MakeRef<NokiaDesktop>();
  EXPECT_EQ(nokia->SuiteKey(), "Software\\Nokia\\PCSuiteForNokiaORX");
  EXPECT_FALSE(nokia->IsInstalled());
  EXPECT_EQ(nokia->GetUsers()->Count(), 0);
}

TEST(NokiaDesktop, ListsTheDevicesInStoredOrder) {
  registry::ImportRegedit(test::kNokiaSuite);
  auto nokia = MakeRef<NokiaDesktop>();
  ASSERT_TRUE(nokia->IsInstalled());
  EXPECT_EQ(nokia->SuiteKey(), "Software\\Nokia\\PCSuiteForNokia3650");
  Ref<UserCollection> users = nokia->GetUsers();
  ASSERT_EQ(users->Count(), 2);
  const Ref<DeviceUser>& anna = users->Item(1);
  EXPECT_EQ(anna->UserName(), "Nokia 3650 Anna");
  EXPECT_EQ(anna->Path(), "/phones/anna");
  EXPECT_EQ(anna->IDString(), "1234567890");
  EXPECT_EQ(anna->UID(), 34567890);
  EXPECT_EQ(anna->UserType(), DeviceUser::kPhoneDevice);
  const Ref<DeviceUser>& ben = users->Item(2);
  EXPECT_EQ(ben->UserName(), "Ben's phone");
  EXPECT_EQ(ben->IDString(), "0x10005E33");
  EXPECT_EQ(ben->UID(), NokiaDesktop::DeviceIDToUID("0x10005E33"));
  EXPECT_EQ(nokia->GetUsers(), users);  // the object itself
  EXPECT_EQ(CallByName(nokia, "IsInstalled", CallKind::Get), Variant(true));
  EXPECT_EQ(CallByName(nokia, "Version", CallKind::Get), Variant(int32_t{0}));
  EXPECT_EQ(CallByName(nokia, "GetUsers", CallKind::Get).AsObject(), Ref<Dispatch>(users));
}

TEST(NokiaDesktop, TheFirstSuiteVersionWins) {
  registry::ImportRegedit(test::kNokiaSuite);
  registry::ImportRegedit(
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia7650\\EPOCDevices\\Old "
      "phone]\n"
      "\"DataPath\"=\"/phones/old\"\n");
  auto nokia = MakeRef<NokiaDesktop>();
  EXPECT_EQ(nokia->SuiteKey(), "Software\\Nokia\\PCSuiteForNokia7650");
  ASSERT_EQ(nokia->GetUsers()->Count(), 1);
  EXPECT_EQ(nokia->GetUsers()->Item(1)->UserName(), "Old phone");
  EXPECT_EQ(nokia->GetUsers()->Item(1)->IDString(), "");  // missing "UID" reads as empty
  EXPECT_EQ(nokia->GetUsers()->Item(1)->UID(), NokiaDesktop::DeviceIDToUID(""));
}

TEST(NokiaDesktop, DeviceIDToUID) {
  const struct {
    const char* id;
    int32_t uid;
  } numbers[] = {{"1234567890", 34567890}, {"12345678", 12345678}, {"42", 42}, {"  42", 42},
                 {"x00000042", 42},        {"-1234567", -1234567}};
  for (const auto& c : numbers) EXPECT_EQ(NokiaDesktop::DeviceIDToUID(c.id), c.uid) << c.id;

  // Not a number: a stable number from 0 to 32000, the same on every call.
  const char* others[] = {"", "abc", "0x10005E33", "1234567x", "IMEI 35-209900-176148-1"};
  for (const char* id : others) {
    const int32_t uid = NokiaDesktop::DeviceIDToUID(id);
    EXPECT_GE(uid, 0) << id;
    EXPECT_LE(uid, 32000) << id;
    EXPECT_EQ(NokiaDesktop::DeviceIDToUID(id), uid) << id;
  }
  EXPECT_NE(NokiaDesktop::DeviceIDToUID("abc"), NokiaDesktop::DeviceIDToUID("abd"));
}

}  // namespace
}  // namespace brevora::core
