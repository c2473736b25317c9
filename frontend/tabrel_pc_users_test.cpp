// The application object's user members over the HotSync user list and the
// registry fixtures (Palm desktop, phone suite, RivorOdurov), the cell warning
// threshold and the installed products.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/users_test_support.h"
#include "frontend/frontend_test_support.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/registry/registry.h"

namespace brevora::frontend {
namespace {

using core::OnFreshThread;
using registry::Hive;
using test::ErrorOf;

constexpr const char* kSettingsKey = "Software\\Orvanex\\Tabulyn";

std::optional<std::string> Stored(const char* name) {
  const auto value = registry::QueryValue(Hive::CurrentUser, kSettingsKey, name);
  if (!value) return std::nullopt;
  return value->type == registry::ValueType::DWord ? std::to_string(value->dword) : value->text;
}

// Palm desktop with the users 3 "Smith J" and 7 "Anna".
void SeedPalmUsers() {
  core::test::SeedPalmDesktop(core::test::PalmFolder());
  core::test::AddPalmUser(3, "Smith J", "SmithJ");
  core::test::AddPalmUser(7, "Anna", "Anna");
}

TEST(TabrelPCUserName, LetOnlyInServerModeOrWithThePhoneSuite) {
  SeedPalmUsers();
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    const AutomationError e = ErrorOf([&] { CallByName(app, "UserName", CallKind::Let, "Anna"); });
    EXPECT_EQ(e.number(), 380);
    EXPECT_EQ(e.source(), "Brevora");
    EXPECT_EQ(e.description(),
              "Do not Let the UserName property unless using RivorOdurov or Nokia Desktop.");
    EXPECT_FALSE(Stored("UserName"));
    EXPECT_EQ(app->Session()->UserName(), "");

    app->Session()->SetIsServerMode(true);
    app->SetUserName("Anna");
    EXPECT_EQ(Stored("UserName"), "Anna");
    EXPECT_EQ(app->Session()->UserID(), 7);
  });
  registry::ImportRegedit(core::test::kNokiaSuite);
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    app->SetUserName("Nokia 3650 Anna");
    EXPECT_EQ(Stored("UserName"), "Nokia 3650 Anna");
    EXPECT_EQ(app->Session()->UserName(), "Nokia 3650 Anna");
  });
}

TEST(TabrelPCUserName, GetFallsBackToTheStoredName) {
  SeedPalmUsers();
  registry::SetValue(Hive::CurrentUser, kSettingsKey, "UserName",
                     registry::Value::String("smith j"));
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_EQ(CallByName(app, "UserName", CallKind::Get), Variant("Smith J"));
    EXPECT_EQ(app->Session()->UserID(), 3);
    app->SetCurrentUser("Anna");
    EXPECT_EQ(app->UserName(), "Anna");  // the Session's user comes first
  });
}

TEST(TabrelPCUserID, LetSelectsAListedUser) {
  SeedPalmUsers();
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    CallByName(app, "UserID", CallKind::Let, 7);
    EXPECT_EQ(Stored("UserID"), "7");
    EXPECT_EQ(app->Session()->UserName(), "Anna");
    EXPECT_EQ(CallByName(app, "UserID", CallKind::Get), Variant(int32_t{7}));
  });
}

TEST(TabrelPCUserID, LetOfAnUnlistedUserFailsAndLeavesNoUser) {
  SeedPalmUsers();
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    app->SetCurrentUser("Anna");
    const AutomationError e = ErrorOf([&] { app->SetUserID(9); });
    EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040001u));
    EXPECT_EQ(e.source(), "Brevora");
    EXPECT_EQ(
        e.description(),
        "This user id '9' is not properly installed.  Try changing to a different user in the "
        "'User:' list and check the user configuration using Palm Desktop.");
    EXPECT_EQ(Stored("UserID"), "9");
    EXPECT_EQ(app->Session()->UserID(), 0);
    // Read back: the stored id is no Palm user, so there is none.
    EXPECT_EQ(app->UserID(), 0);
    EXPECT_EQ(app->Session()->UserID(), 0);
  });
}

TEST(TabrelPCUserID, PhonesAndServerModeAreNotCheckedAgainstThePalmList) {
  SeedPalmUsers();
  registry::ImportRegedit(core::test::kNokiaSuite);
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_NO_THROW(app->SetUserID(9));
    EXPECT_EQ(Stored("UserID"), "9");
    EXPECT_EQ(app->UserID(), 0);
  });
  registry::DeleteKey(Hive::CurrentUser, "Software\\Nokia");
  registry::ImportRegedit(core::test::kRivorOdurovUserKey);
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    app->Session()->SetRivorOdurovFriendlyName("Main Server");
    EXPECT_NO_THROW(app->SetUserID(9));
  });
}

TEST(TabrelPCUserID, GetReadsTheStoredIdOfAListedUser) {
  SeedPalmUsers();
  const struct {
    const char* stored;
    int32_t expected;
  } cases[] = {{"7", 7}, {" 7abc", 7}, {"3", 3}, {"", 0}, {"9", 0}, {"x7", 0}, {"99999999999", 0}};
  for (const auto& c : cases) {
    registry::SetValue(Hive::CurrentUser, kSettingsKey, "UserID",
                       registry::Value::String(c.stored));
    OnFreshThread([&] {
      Ref<TabrelPC> app = MakeRef<TabrelPC>();
      EXPECT_EQ(app->UserID(), c.expected) << c.stored;
      EXPECT_EQ(app->Session()->UserID(), c.expected) << c.stored;
    });
  }
}

TEST(TabrelPCUserID, GetWithoutThePalmDesktopIsZero) {
  registry::SetValue(Hive::CurrentUser, kSettingsKey, "UserID", registry::Value::String("7"));
  OnFreshThread([] { EXPECT_EQ(MakeRef<TabrelPC>()->UserID(), 0); });
}

TEST(TabrelPC, WarnThresholdDefaultsTo1500) {
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_EQ(CallByName(app, "WarnThreshold", CallKind::Get), Variant(int32_t{1500}));
    CallByName(app, "WarnThreshold", CallKind::Let, 2000);
    EXPECT_EQ(Stored("CellWarn"), "2000");
    EXPECT_EQ(app->WarnThreshold(), 2000);
    app->SetWarnThreshold(0);  // a stored 0 reads as the default
    EXPECT_EQ(app->WarnThreshold(), 1500);
  });
}

TEST(TabrelPC, InstalledProductsHaveAVersion) {
  registry::ImportRegedit(
      "REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanex\\Tabulyn]\n\"Version\"=\"7.1\"\n\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanex\\Scrivane]\n\"Version\"=\"\"\n\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanex\\Slidora]\n\"Version\"=dword:00000007\n");
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_EQ(CallByName(app, "InstalledTabulyn", CallKind::Get), Variant(true));
    EXPECT_EQ(CallByName(app, "InstalledScrivane", CallKind::Get), Variant(false));
    EXPECT_EQ(CallByName(app, "InstalledSlidora", CallKind::Get), Variant(false));  // not a text
  });
}

}  // namespace
}  // namespace brevora::frontend
