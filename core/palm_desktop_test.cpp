#include "core/palm_desktop.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <functional>

#include "core/registry_helpers.h"
#include "core/users_test_support.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/registry/registry.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using registry::Hive;

using ::brevora::testing::ErrorOf;

std::string CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? buffer : "";
}

TEST(PalmDesktop, NoPalmDesktopKeysMeansNotInstalledAndNoUsers) {
  auto palm = MakeRef<PalmDesktop>();
  EXPECT_FALSE(palm->IsInstalled());
  EXPECT_EQ(palm->GetUsers()->Count(), 0);
  EXPECT_FALSE(palm->IsServerMode());
  EXPECT_EQ(palm->RivorOdurovFriendlyName(), "");
  EXPECT_EQ(palm->Version(), 0);
}

TEST(PalmDesktop, ListsTheHotSyncUsers) {
  const std::string folder = test::SeedPalmDesktop(test::PalmFolder());
  test::AddPalmUser(42, "Smith J", "SmithJ");
  test::AddPalmUser(7, "Anna K", "AnnaK");
  auto palm = MakeRef<PalmDesktop>();
  ASSERT_TRUE(palm->IsInstalled());
  EXPECT_EQ(palm->RegistryRoot(), test::kUsRoboticsKey);
  Ref<UserCollection> users = palm->GetUsers();
  ASSERT_EQ(users->Count(), 2);
  EXPECT_EQ(users->Item(1)->UserName(), "Smith J");
  EXPECT_EQ(users->Item(1)->UID(), 42);
  EXPECT_EQ(users->Item(1)->Path(), folder + "\\SmithJ");
  EXPECT_EQ(users->Item(1)->UserType(), DeviceUser::kPalmUser);
  EXPECT_EQ(users->Item(1)->IDString(), "");
  EXPECT_EQ(users->Item(2)->UserName(), "Anna K");
  EXPECT_EQ(users->Item(2)->UID(), 7);
  EXPECT_EQ(palm->HotSyncHome(), folder + "\\");
}

TEST(PalmDesktop, TheSecondRootKeyIsUsedWhenTheFirstIsMissing) {
  test::SeedPalmDesktop(test::PalmFolder(), test::kPalmComputingKey);
  test::AddPalmUser(1, "Only", "Only");
  auto palm = MakeRef<PalmDesktop>();
  EXPECT_TRUE(palm->IsInstalled());
  EXPECT_EQ(palm->RegistryRoot(), test::kPalmComputingKey);
  EXPECT_EQ(palm->GetUsers()->Count(), 1);
}

TEST(PalmDesktop, OneSeparatorBetweenRootAndUserFolder) {
  const std::string base = testing::TempHome() + "/Palm";
  const struct {
    std::string rootValue;
    std::string path;
    std::string home;
  } cases[] = {
      {base, base + "\\SmithJ", base + "\\"},
      {base + "\\", base + "\\SmithJ", base + "\\"},
      {base + "/", base + "/SmithJ", base + "/"},
  };
  for (const auto& c : cases) {
    test::SeedPalmDesktop(c.rootValue);
    test::AddPalmUser(42, "Smith J", "SmithJ");
    auto palm = MakeRef<PalmDesktop>();
    ASSERT_EQ(palm->GetUsers()->Count(), 1) << c.rootValue;
    EXPECT_EQ(palm->GetUsers()->Item(1)->Path(), c.path);
    EXPECT_EQ(palm->HotSyncHome(), c.home);
  }
}

TEST(PalmDesktop, ARootFolderLongerThanTheOldBufferStillFormsTheWholePath) {
  std::string folder = testing::TempHome() + "/";
  while (folder.size() < 300) folder += "a-rather-long-folder-name/";
  folder += "Palm";
  test::SeedPalmDesktop(folder);
  test::AddPalmUser(42, "Smith J", "SmithJ");
  auto palm = MakeRef<PalmDesktop>();
  ASSERT_EQ(palm->GetUsers()->Count(), 1);
  EXPECT_EQ(palm->GetUsers()->Item(1)->Path(), folder + "\\SmithJ");
}

TEST(PalmDesktop, AMissingUsersFolderLeavesTheListEmptyAndIsLogged) {
  test::RecordedEventLog log;
  const std::string folder = testing::TempHome() + "/NoSuchFolder";
  test::SeedPalmDesktop(folder, test::kUsRoboticsKey, /*create=*/false);
  auto palm = MakeRef<PalmDesktop>();  // does not fail
  EXPECT_TRUE(palm->IsInstalled());
  EXPECT_EQ(palm->GetUsers()->Count(), 0);
  const std::string message =
      "Pilot Desktop is not configured properly.  The directory '" + folder +
      "\\' found in key Path in Software\\U.S. Robotics\\Pilot Desktop is not present.";
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_EQ(log.entries()[0], message);

  const AutomationError e = ErrorOf([&] { palm->HotSyncHome(); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "TabrelPC.HotSyncHome");
  EXPECT_EQ(e.description(), message);
}

TEST(PalmDesktop, AnEmptyPathValueNamesNoFolder) {
  test::RecordedEventLog log;
  test::SeedPalmDesktop("", test::kUsRoboticsKey, /*create=*/false);
  auto palm = MakeRef<PalmDesktop>();
  EXPECT_EQ(palm->GetUsers()->Count(), 0);
  const AutomationError e = ErrorOf([&] { palm->HotSyncHome(); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "TabrelPC.HotSyncHome");
  EXPECT_EQ(log.entries().size(), 1u);
}

TEST(PalmDesktop, LoadingUsersNeverChangesTheCurrentDirectory) {
  test::SeedPalmDesktop(test::PalmFolder());
  test::AddPalmUser(42, "Smith J", "SmithJ");
  const std::string elsewhere = testing::MakeTempDir("elsewhere");
  const std::string before = CurrentDirectory();
  ASSERT_EQ(chdir(elsewhere.c_str()), 0);
  auto palm = MakeRef<PalmDesktop>();
  const std::string during = CurrentDirectory();
  ASSERT_EQ(chdir(before.c_str()), 0);
  EXPECT_EQ(palm->GetUsers()->Count(), 1);
  EXPECT_EQ(during, elsewhere);
}

TEST(PalmDesktop, AnUnreadableUserNameFailsTheCreation) {
  const std::string folder = test::SeedPalmDesktop(test::PalmFolder());
  test::AddPalmUser(42, std::string(51, 'n'), "Long");  // longer than the 50-character name buffer
  const AutomationError e = ErrorOf([] { MakeRef<PalmDesktop>(); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "frmSave.LoadUsers");
  EXPECT_EQ(
      e.description(),
      "One of the user names could not be read.  Please check your user configuration using Palm "
      "desktop.\r\nReading the users of the directory " +
          folder + "\\");
}

TEST(PalmDesktop, RivorOdurovInstalled) {
  EXPECT_FALSE(MakeRef<PalmDesktop>()->RivorOdurovInstalled());
  registry::ImportRegedit(test::kRivorOdurovUserKey);
  EXPECT_TRUE(MakeRef<PalmDesktop>()->RivorOdurovInstalled());
  registry::DeleteKey(Hive::CurrentUser, "Software\\Vaderudo Diduzuzodoru");
  registry::ImportRegedit(test::kRivorOdurovDefaultKey);
  EXPECT_TRUE(MakeRef<PalmDesktop>()->RivorOdurovInstalled());
}

TEST(PalmDesktop, ABlankFriendlyNameChangesNothingElse) {
  test::SeedPalmDesktop(test::PalmFolder());
  registry::ImportRegedit(test::kRivorOdurovUserKey);
  auto palm = MakeRef<PalmDesktop>();
  palm->SetRivorOdurovFriendlyName("    ");
  EXPECT_EQ(palm->RivorOdurovFriendlyName(), "");
  EXPECT_FALSE(palm->IsServerMode());
  EXPECT_FALSE(palm->IsRivorOdurovMode());
  EXPECT_FALSE(registry::QueryValue(Hive::CurrentUser, "Software\\Orvanex", "ZazerConduit"));
  EXPECT_EQ(palm->RegistryRoot(), test::kUsRoboticsKey);
}

TEST(PalmDesktop, AFriendlyNameTurnsOnServerModeAndIsStored) {
  test::SeedPalmDesktop(test::PalmFolder());
  registry::ImportRegedit(test::kRivorOdurovUserKey);
  const std::string usersFolder = testing::MakeTempDir("ServerUsers");
  SetRegistryString("Software\\Vaderudo Diduzuzodoru\\RivorOdurov\\Settings", "UsersPath",
                    usersFolder);
  auto palm = MakeRef<PalmDesktop>();
  CallByName(palm, "RivorOdurovFriendlyName", CallKind::Let, "  Server A ");
  EXPECT_EQ(palm->RivorOdurovFriendlyName(), "Server A");
  EXPECT_TRUE(palm->IsServerMode());
  EXPECT_TRUE(palm->IsRivorOdurovMode());
  EXPECT_TRUE(palm->IsInstalled());
  EXPECT_EQ(palm->RegistryRoot(), "Software\\Vaderudo Diduzuzodoru\\RivorOdurov\\Settings");
  EXPECT_EQ(GetRegistryString("Software\\Orvanex", "ZazerConduit"), "Server A");
  EXPECT_EQ(palm->HotSyncHome(), usersFolder + "\\");
  EXPECT_EQ(palm->GetUsers()->Count(), 0);  // the list is not rebuilt
}

TEST(PalmDesktop, TheDefaultUsersRivorOdurovKeyComesFirst) {
  registry::ImportRegedit(test::kRivorOdurovUserKey);
  registry::ImportRegedit(test::kRivorOdurovDefaultKey);
  const std::string usersFolder = testing::MakeTempDir("DefaultUsers");
  registry::SetValue(Hive::Users, ".DEFAULT\\Software\\ZazerWare\\RivorOdurov\\Settings",
                     "UsersPath", registry::Value::String(usersFolder + "/"));
  auto palm = MakeRef<PalmDesktop>();
  palm->SetRivorOdurovFriendlyName("Server B");
  EXPECT_EQ(palm->RegistryRoot(), ".DEFAULT\\Software\\ZazerWare\\RivorOdurov\\Settings");
  EXPECT_EQ(palm->RegistryRootHive(), Hive::Users);
  EXPECT_EQ(palm->HotSyncHome(), usersFolder + "/");
}

TEST(PalmDesktop, ServerUsersFolderMustBeNamed) {
  registry::ImportRegedit(test::kRivorOdurovUserKey);
  auto palm = MakeRef<PalmDesktop>();
  palm->SetRivorOdurovFriendlyName("Server A");
  const AutomationError e = ErrorOf([&] { palm->HotSyncHome(); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Tabrelpc");
  EXPECT_EQ(e.description(), "Unable to locate ZazerSync Server Users directory.");
}

TEST(PalmDesktop, AFriendlyNameWithoutRivorOdurovFailsAndIsLogged) {
  test::SeedPalmDesktop(test::PalmFolder());
  test::RecordedEventLog log;
  auto palm = MakeRef<PalmDesktop>();
  const AutomationError e = ErrorOf([&] { palm->SetRivorOdurovFriendlyName("Server A"); });
  const std::string text =
      "You must install Zizizo RivorOdurov or Palm HotSync Server before using Brevora Server";
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "InitRegistryRoot");
  EXPECT_EQ(e.description(), text);
  ASSERT_EQ(log.entries().size(), 1u);
  EXPECT_EQ(log.entries()[0], "ERROR:  Server A,True," + text);
  // The name and flag stay stored; the installed flag is cleared; nothing is written.
  EXPECT_EQ(palm->RivorOdurovFriendlyName(), "Server A");
  EXPECT_TRUE(palm->IsServerMode());
  EXPECT_FALSE(palm->IsInstalled());
  EXPECT_FALSE(registry::QueryValue(Hive::CurrentUser, "Software\\Orvanex", "ZazerConduit"));
}

TEST(PalmDesktop, ServerModeWithoutFriendlyNameKeepsTheRoot) {
  test::SeedPalmDesktop(test::PalmFolder());
  registry::ImportRegedit(test::kRivorOdurovUserKey);
  auto palm = MakeRef<PalmDesktop>();
  CallByName(palm, "IsServerMode", CallKind::Let, true);
  EXPECT_TRUE(palm->IsServerMode());
  EXPECT_FALSE(palm->IsRivorOdurovMode());
  EXPECT_EQ(palm->RegistryRoot(), test::kUsRoboticsKey);
  EXPECT_TRUE(palm->IsInstalled());

  // Back off server mode with a friendly name set: the Palm root is found again.
  palm->SetRivorOdurovFriendlyName("Server A");
  EXPECT_EQ(palm->RegistryRoot(), "Software\\Vaderudo Diduzuzodoru\\RivorOdurov\\Settings");
  palm->SetIsServerMode(false);
  EXPECT_FALSE(palm->IsRivorOdurovMode());
  EXPECT_EQ(palm->RegistryRoot(), test::kUsRoboticsKey);
  EXPECT_TRUE(palm->IsInstalled());
}

TEST(PalmDesktop, LateBoundMembers) {
  test::SeedPalmDesktop(test::PalmFolder());
  auto palm = MakeRef<PalmDesktop>();
  EXPECT_EQ(CallByName(palm, "IsInstalled", CallKind::Get), Variant(true));
  EXPECT_EQ(CallByName(palm, "Version", CallKind::Get), Variant(int32_t{0}));
  EXPECT_EQ(CallByName(palm, "RivorOdurovInstalled", CallKind::Get), Variant(false));
  EXPECT_EQ(CallByName(palm, "IsRivorOdurovMode", CallKind::Get), Variant(false));
  EXPECT_EQ(CallByName(palm, "IsServerMode", CallKind::Get), Variant(false));
  EXPECT_EQ(CallByName(palm, "RivorOdurovFriendlyName", CallKind::Get), Variant(""));
  EXPECT_EQ(CStr(CallByName(palm, "HotSyncHome", CallKind::Get)), test::PalmFolder() + "\\");
  EXPECT_EQ(CallByName(palm, "GetUsers", CallKind::Get).AsObject(),
            Ref<Dispatch>(palm->GetUsers()));
}

}  // namespace
}  // namespace brevora::core
