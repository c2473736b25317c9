#include "core/device_user.h"

#include <gtest/gtest.h>

#include "core/nokia_desktop.h"
#include "core/palm_desktop.h"
#include "core/user_collection.h"
#include "core/user_manager.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using ::brevora::testing::NumberOf;

TEST(DeviceUser, StartsEmptyAndHoldsItsProperties) {
  auto user = MakeRef<DeviceUser>();
  EXPECT_EQ(user->UID(), 0);
  EXPECT_EQ(user->UserType(), 0);
  EXPECT_EQ(user->IDString(), "");
  EXPECT_EQ(user->Path(), "");
  EXPECT_EQ(user->UserName(), "");

  CallByName(user, "IDString", CallKind::Let, "1234567890");
  CallByName(user, "uid", CallKind::Let, int32_t{34567890});
  CallByName(user, "Path", CallKind::Let, "/phones/anna");
  CallByName(user, "UserName", CallKind::Let, "Anna");
  CallByName(user, "UserType", CallKind::Let, int16_t{1});
  EXPECT_EQ(CStr(CallByName(user, "IDString", CallKind::Get)), "1234567890");
  EXPECT_EQ(CallByName(user, "UID", CallKind::Get), Variant(int32_t{34567890}));
  EXPECT_EQ(CStr(CallByName(user, "PATH", CallKind::Get)), "/phones/anna");
  EXPECT_EQ(user->UserName(), "Anna");
  EXPECT_EQ(CallByName(user, "UserType", CallKind::Get), Variant(int16_t{1}));
  EXPECT_EQ(NumberOf([&] { CallByName(user, "UserType", CallKind::Let, int32_t{40000}); }), 6);
  EXPECT_EQ(NumberOf([&] { CallByName(user, "Password", CallKind::Get); }), 438);
}

TEST(DeviceUser, EveryUserClassIsCreatableByProgId) {
  const struct {
    const char* progId;
    const char* clsid;
  } classes[] = {{DeviceUser::kProgId, DeviceUser::kClsid},
                 {UserManager::kProgId, UserManager::kClsid},
                 {PalmDesktop::kProgId, PalmDesktop::kClsid},
                 {NokiaDesktop::kProgId, NokiaDesktop::kClsid}};
  for (const auto& c : classes) {
    Ref<Dispatch> object = CreateObject(c.progId);
    ASSERT_TRUE(object) << c.progId;
    EXPECT_EQ(ClsidFromProgId(c.progId), std::string(c.clsid));
    EXPECT_TRUE(CreateObjectFromClsid(c.clsid)) << c.clsid;
  }
  EXPECT_TRUE(RefCast<UserManager>(CreateObject("tabulynpc.usermanager")));
}

TEST(UserCollection, LateBoundCountItemAddRemove) {
  auto users = MakeRef<UserCollection>();
  auto anna = MakeRef<DeviceUser>();
  anna->SetUserName("Anna");
  auto ben = MakeRef<DeviceUser>();
  ben->SetUserName("Ben");
  CallByName(users, "Add", CallKind::Method, anna);
  CallByName(users, "Add", CallKind::Method, ben, "B");
  EXPECT_EQ(CallByName(users, "Count", CallKind::Get), Variant(int32_t{2}));
  EXPECT_EQ(CallByName(users, "Item", CallKind::Method, int32_t{1}).AsObject(),
            Ref<Dispatch>(anna));
  EXPECT_EQ(CallByName(users, "Item", CallKind::Get, "b").AsObject(), Ref<Dispatch>(ben));
  EXPECT_EQ(NumberOf([&] { CallByName(users, "Item", CallKind::Method, int32_t{3}); }), 9);
  EXPECT_EQ(NumberOf([&] { CallByName(users, "Item", CallKind::Method, "x"); }), 5);
  EXPECT_EQ(NumberOf([&] { CallByName(users, "Add", CallKind::Method, "not an object"); }), 424);
  EXPECT_EQ(
      NumberOf([&] { CallByName(users, "Add", CallKind::Method, MakeRef<UserCollection>()); }), 13);
  CallByName(users, "Remove", CallKind::Method, int32_t{1});
  ASSERT_EQ(users->Count(), 1);
  EXPECT_EQ(users->Item(1), ben);
}

}  // namespace
}  // namespace brevora::core
