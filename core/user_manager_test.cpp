#include "core/user_manager.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <functional>

#include "core/users_test_support.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/hotsync/user_list.h"
#include "platform/registry/registry.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using ::brevora::testing::ErrorOf;

// Two phones and two Palm users.
void SeedPhonesAndPalmUsers() {
  registry::ImportRegedit(test::kNokiaSuite);
  test::SeedPalmDesktop(test::PalmFolder());
  test::AddPalmUser(42, "smith j", "SmithJ");
  test::AddPalmUser(7, "Anna K", "AnnaK");
}

std::vector<std::string> NamesOf(const UserCollection& users) {
  std::vector<std::string> names;
  for (const Ref<DeviceUser>& user : users) names.push_back(user->UserName());
  return names;
}

TEST(UserManager, PhonesComeFirstThenPalmUsers) {
  SeedPhonesAndPalmUsers();
  auto manager = MakeRef<UserManager>();
  EXPECT_EQ(NamesOf(*manager->GetUsers()),
            (std::vector<std::string>{"Nokia 3650 Anna", "Ben's phone", "smith j", "Anna K"}));
  EXPECT_EQ(manager->GetUsers(), manager->GetUsers());  // the object itself
  EXPECT_TRUE(manager->GetNokiaDesktop()->IsInstalled());
  EXPECT_TRUE(manager->GetPalmDesktop()->IsInstalled());
}

TEST(UserManager, NothingInstalledGivesAnEmptyList) {
  auto manager = MakeRef<UserManager>();
  EXPECT_EQ(manager->GetUsers()->Count(), 0);
  EXPECT_FALSE(manager->GetNokiaDesktop()->IsInstalled());
  EXPECT_FALSE(manager->GetPalmDesktop()->IsInstalled());
}

TEST(UserManager, GetUserByNameIgnoresCaseAndSurroundingBlanks) {
  SeedPhonesAndPalmUsers();
  auto manager = MakeRef<UserManager>();
  const struct {
    const char* name;
    const char* found;  // nullptr: none
  } cases[] = {{"  SMITH J  ", "smith j"}, {"anna k", "Anna K"}, {"ben's PHONE", "Ben's phone"},
               {"smith", nullptr},         {"", nullptr},        {"smithj", nullptr}};
  for (const auto& c : cases) {
    Ref<DeviceUser> user = manager->GetUserByName(c.name);
    if (c.found) {
      ASSERT_TRUE(user) << c.name;
      EXPECT_EQ(user->UserName(), c.found);
    } else {
      EXPECT_FALSE(user) << c.name;
    }
  }
}

TEST(UserManager, GetUserByIDFindsTheFirstMatch) {
  SeedPhonesAndPalmUsers();
  auto manager = MakeRef<UserManager>();
  ASSERT_TRUE(manager->GetUserByID(42));
  EXPECT_EQ(manager->GetUserByID(42)->UserName(), "smith j");
  ASSERT_TRUE(manager->GetUserByID(34567890));
  EXPECT_EQ(manager->GetUserByID(34567890)->UserType(), DeviceUser::kPhoneDevice);
  EXPECT_FALSE(manager->GetUserByID(99));
}

TEST(UserManager, AnUnmatchedUserLeavesAnEmptyCurrentUser) {
  SeedPhonesAndPalmUsers();
  auto manager = MakeRef<UserManager>();
  Ref<DeviceUser> empty = manager->CurrentUser();
  ASSERT_TRUE(empty);
  EXPECT_EQ(empty->UID(), 0);
  EXPECT_EQ(manager->CurrentUser(), empty);  // created once and kept

  manager->SetCurrentUser(manager->GetUserByID(42));
  EXPECT_EQ(manager->CurrentUser()->UID(), 42);
  manager->SetCurrentUser(manager->GetUserByID(99));  // none: the current user is cleared
  EXPECT_EQ(manager->CurrentUser()->UID(), 0);
  EXPECT_EQ(manager->CurrentUser()->UserName(), "");
}

TEST(UserManager, NoDeDuplication) {
  registry::ImportRegedit(test::kNokiaSuite);
  test::SeedPalmDesktop(test::PalmFolder());
  test::AddPalmUser(34567890, "Nokia 3650 Anna", "Anna");
  auto manager = MakeRef<UserManager>();
  ASSERT_EQ(manager->GetUsers()->Count(), 3);
  EXPECT_EQ(manager->GetUserByName("nokia 3650 anna")->UserType(), DeviceUser::kPhoneDevice);
  EXPECT_EQ(manager->GetUserByID(34567890)->UserType(), DeviceUser::kPhoneDevice);
}

TEST(UserManager, LoadUsersRebuildsOnlyTheCombinedList) {
  SeedPhonesAndPalmUsers();
  auto manager = MakeRef<UserManager>();
  Ref<UserCollection> before = manager->GetUsers();
  test::AddPalmUser(8, "Added later", "Later");  // the Palm list is not read again
  CallByName(manager, "LoadUsers", CallKind::Method);
  Ref<UserCollection> after = manager->GetUsers();
  EXPECT_NE(after, before);
  EXPECT_EQ(NamesOf(*after), NamesOf(*before));
  EXPECT_EQ(after->Item(1), before->Item(1));  // the same user objects
}

// A window reads the users when it opens: users and phones made since the
// manager was, a Palm Desktop set up since, and the current user kept.
TEST(UserManager, ReloadUsersReadsBothListsAgainAndKeepsTheCurrentUser) {
  auto manager = MakeRef<UserManager>();  // nothing installed yet
  const Ref<DeviceUser> none = manager->CurrentUser();
  SeedPhonesAndPalmUsers();
  manager->ReloadUsers();
  EXPECT_EQ(NamesOf(*manager->GetUsers()),
            (std::vector<std::string>{"Nokia 3650 Anna", "Ben's phone", "smith j", "Anna K"}));
  EXPECT_TRUE(manager->GetPalmDesktop()->IsInstalled());
  EXPECT_TRUE(manager->GetNokiaDesktop()->IsInstalled());
  EXPECT_EQ(manager->CurrentUser(), none);  // an unlisted current user stays as it was

  manager->SetCurrentUser(manager->GetUserByID(7));
  const Ref<DeviceUser> anna = manager->CurrentUser();
  test::AddPalmUser(8, "Added later", "Later");
  registry::ImportRegedit(
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia3650\\EPOCDevices\\Carl]\n"
      "\"DataPath\"=\"/phones/carl\"\n\"UID\"=\"77\"\n");
  manager->ReloadUsers();
  EXPECT_EQ(NamesOf(*manager->GetUsers()),
            (std::vector<std::string>{"Nokia 3650 Anna", "Ben's phone", "Carl", "smith j", "Anna K",
                                      "Added later"}));
  EXPECT_NE(manager->CurrentUser(), anna);  // the new list's entry of that user
  EXPECT_EQ(manager->CurrentUser(), manager->GetUserByID(7));

  // A current user no longer listed stays current.
  fs::AtomicWrite(test::PalmFolder() + "/" + hotsync::kUsersFileName,
                  std::string_view("42\tsmith j\tSmithJ\n"));
  const Ref<DeviceUser> gone = manager->CurrentUser();
  manager->ReloadUsers();
  EXPECT_EQ(NamesOf(*manager->GetUsers()),
            (std::vector<std::string>{"Nokia 3650 Anna", "Ben's phone", "Carl", "smith j"}));
  EXPECT_EQ(manager->CurrentUser(), gone);
}

TEST(UserManager, AFailedReloadKeepsTheListItHad) {
  SeedPhonesAndPalmUsers();
  auto manager = MakeRef<UserManager>();
  const Ref<UserCollection> before = manager->GetUsers();
  const Ref<UserCollection> palmBefore = manager->GetPalmDesktop()->GetUsers();
  test::AddPalmUser(9, std::string(60, 'x'), "Long");  // a name the user-data call can't hand out
  const AutomationError e = ErrorOf([&] { manager->ReloadUsers(); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "frmSave.LoadUsers");
  EXPECT_EQ(manager->GetUsers(), before);
  EXPECT_EQ(manager->GetPalmDesktop()->GetUsers(), palmBefore);
}

// The server settings are not read again; in RivorOdurov mode the Palm list
// of the creation stays.
TEST(UserManager, AReloadKeepsTheServerSettings) {
  SeedPhonesAndPalmUsers();
  registry::ImportRegedit(test::kRivorOdurovUserKey);
  auto manager = MakeRef<UserManager>();
  PalmDesktop& palm = *manager->GetPalmDesktop();
  palm.SetIsServerMode(true);  // no friendly name: the Palm root stays
  test::AddPalmUser(8, "Added later", "Later");
  manager->ReloadUsers();
  EXPECT_TRUE(palm.IsServerMode());
  EXPECT_EQ(palm.GetUsers()->Count(), 3);

  palm.SetRivorOdurovFriendlyName("Server A");
  const std::string root = palm.RegistryRoot();
  const Ref<UserCollection> list = palm.GetUsers();
  test::AddPalmUser(9, "Added last", "Last");
  manager->ReloadUsers();
  EXPECT_TRUE(palm.IsRivorOdurovMode());
  EXPECT_EQ(palm.RivorOdurovFriendlyName(), "Server A");
  EXPECT_EQ(palm.RegistryRoot(), root);
  EXPECT_EQ(palm.GetUsers(), list);
}

TEST(UserManager, AMissingHotSyncFolderStillListsThePhones) {
  test::RecordedEventLog log;
  registry::ImportRegedit(test::kNokiaSuite);
  test::SeedPalmDesktop(testing::TempHome() + "/Gone", test::kUsRoboticsKey, /*create=*/false);
  auto manager = MakeRef<UserManager>();
  EXPECT_EQ(NamesOf(*manager->GetUsers()),
            (std::vector<std::string>{"Nokia 3650 Anna", "Ben's phone"}));
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_NE(log.entries()[0].find("Pilot Desktop is not configured properly."), std::string::npos);
}

TEST(UserManager, CreationNeverChangesTheCurrentDirectory) {
  SeedPhonesAndPalmUsers();
  char buffer[PATH_MAX];
  const std::string before = getcwd(buffer, sizeof buffer);
  auto manager = MakeRef<UserManager>();
  EXPECT_EQ(std::string(getcwd(buffer, sizeof buffer)), before);
  EXPECT_EQ(manager->GetUsers()->Count(), 4);
}

TEST(UserManager, AFailingPalmListFailsTheCreation) {
  test::SeedPalmDesktop(test::PalmFolder());
  test::AddPalmUser(42, std::string(60, 'x'), "Long");
  const AutomationError e = ErrorOf([] { CreateObject(UserManager::kProgId); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "frmSave.LoadUsers");
}

TEST(UserManager, LateBoundAsThePhoneSyncEngineUsesIt) {
  SeedPhonesAndPalmUsers();
  Ref<Dispatch> manager = CreateObject("TabulynPC.UserManager");
  Variant user = CallByName(manager, "GetUserByName", CallKind::Method, " Nokia 3650 ANNA ");
  ASSERT_TRUE(user.IsObject());
  EXPECT_EQ(CStr(CallByName(ObjectOf(user), "Path", CallKind::Get)), "/phones/anna");
  EXPECT_FALSE(CallByName(manager, "GetUserByName", CallKind::Method, "nobody").AsObject());
  EXPECT_FALSE(CallByName(manager, "GetUserByID", CallKind::Method, int32_t{99}).AsObject());

  Variant byId = CallByName(manager, "GetUserByID", CallKind::Method, int32_t{7});
  CallByName(manager, "CurrentUser", CallKind::Set, byId);
  Variant current = CallByName(manager, "CurrentUser", CallKind::Get);
  EXPECT_EQ(current.AsObject(), byId.AsObject());
  CallByName(manager, "CurrentUser", CallKind::Set, Variant::Nothing());
  EXPECT_EQ(
      CallByName(ObjectOf(CallByName(manager, "CurrentUser", CallKind::Get)), "UID", CallKind::Get),
      Variant(int32_t{0}));
  EXPECT_EQ(ErrorOf([&] { CallByName(manager, "CurrentUser", CallKind::Set, manager); }).number(),
            13);

  EXPECT_EQ(
      CallByName(ObjectOf(CallByName(manager, "GetUsers", CallKind::Get)), "Count", CallKind::Get),
      Variant(int32_t{4}));
  EXPECT_EQ(CallByName(ObjectOf(CallByName(manager, "PalmDesktop", CallKind::Get)), "IsInstalled",
                       CallKind::Get),
            Variant(true));
  EXPECT_EQ(CallByName(ObjectOf(CallByName(manager, "NokiaDesktop", CallKind::Get)), "IsInstalled",
                       CallKind::Get),
            Variant(true));
}

}  // namespace
}  // namespace brevora::core
