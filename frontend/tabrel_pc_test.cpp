#include "frontend/tabrel_pc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

using core::GlobalSession;
using core::OnFreshThread;
using core::Session;
using registry::Hive;

constexpr const char* kSettingsKey = "Software\\Orvanex\\Tabulyn";

using ::brevora::testing::ErrorOf;

// Adds a user with this folder to the thread's user list.
Ref<core::DeviceUser> AddUser(Session& session, int32_t id, std::string name, std::string path) {
  Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
  user->SetUID(id);
  user->SetUserName(std::move(name));
  user->SetPath(std::move(path));
  session.GetUserManager()->GetUsers()->Add(user);
  return user;
}

void SetHomeValues(const std::string& homePath, int useHomePath) {
  registry::SetValue(Hive::CurrentUser, kSettingsKey, "HomePath",
                     registry::Value::String(homePath));
  registry::SetValue(Hive::CurrentUser, kSettingsKey, "UseHomePath",
                     registry::Value::DWord(static_cast<uint32_t>(useHomePath)));
}

std::string StoredHomePath() {
  auto v = registry::QueryValue(Hive::CurrentUser, kSettingsKey, "HomePath");
  return v ? v->text : "<none>";
}

TEST(TabrelPC, TakesTheGlobalSessionUntilAnotherIsSet) {
  OnFreshThread([] {
    Ref<Dispatch> app = CreateObject("TabulynPC.TabrelPC");
    ASSERT_TRUE(RefCast<TabrelPC>(app));
    EXPECT_EQ(RefCast<TabrelPC>(app)->Session(), GlobalSession());
    Ref<Session> other = MakeRef<Session>();
    CallByName(app, "Session", CallKind::Set, other);
    EXPECT_EQ(CallByName(app, "Session", CallKind::Get), Variant(other));
    EXPECT_EQ(ErrorOf([&] { CallByName(app, "Session", CallKind::Set, app); }).number(), 13);
    EXPECT_EQ(ErrorOf([&] { CallByName(app, "Session", CallKind::Set, "x"); }).number(), 424);
    CallByName(app, "Session", CallKind::Set, Variant::Nothing());
    EXPECT_EQ(ErrorOf([&] { CallByName(app, "ApplicationTitle", CallKind::Get); }).number(), 91);
  });
}

TEST(TabrelPC, SetFileModeTakesOnlyTheThreeModes) {
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    for (int16_t mode : {0, 1, 2}) {
      EXPECT_EQ(CallByName(app, "SetFileMode", CallKind::Method, mode), Variant(true));
      EXPECT_EQ(app->Session()->FileMode(), mode);
    }
    for (int16_t mode : {3, -1, 7, 32767}) {
      const AutomationError e = ErrorOf([&] { app->SetFileMode(mode); });
      EXPECT_EQ(e.number(), 32760) << mode;
      EXPECT_EQ(e.source(), "TabrelPC.SetFileMode");
      EXPECT_EQ(e.description(), "Invalid File Mode.");
      EXPECT_EQ(app->Session()->FileMode(), 2);
    }
  });
}

TEST(TabrelPC, ApplicationTitleFollowsRivorOdurovMode) {
  registry::ImportRegedit(
      "REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Vaderudo Diduzuzodoru\\RivorOdurov\\Settings]\n");
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_EQ(app->ApplicationTitle(), "Brevora Desktop");
    app->Session()->SetIsServerMode(true);  // server mode without a conduit name
    EXPECT_EQ(app->ApplicationTitle(), "Brevora Desktop");
    app->Session()->SetRivorOdurovFriendlyName("Srv");
    EXPECT_EQ(CallByName(app, "ApplicationTitle", CallKind::Get), Variant("Brevora Server"));
  });
}

TEST(TabrelPC, SetCurrentUserSelectsByNameAndAlwaysAnswersFalse) {
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    Session& session = *app->Session();
    AddUser(session, 4, "Anna", "/a");
    AddUser(session, 5, "Bert", "/b");
    session.SetUserName("Anna");
    EXPECT_EQ(CallByName(app, "SetCurrentUser", CallKind::Method, ""), Variant(false));
    EXPECT_EQ(session.UserName(), "Anna");
    EXPECT_FALSE(app->SetCurrentUser(" BERT "));
    EXPECT_EQ(session.UserID(), 5);
    EXPECT_FALSE(app->SetCurrentUser("Nobody"));
    EXPECT_EQ(session.UserName(), "");
    app->SetSession(nullptr);  // errors end the call silently
    EXPECT_FALSE(app->SetCurrentUser("Anna"));
  });
}

TEST(TabrelPC, ShutdownPoolingDropsThisThreadsPool) {
  OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    core::SetServerPool(MakeRef<TabrelPC>());  // any object stands for the pool here
    CallByName(app, "ShutdownPooling", CallKind::Method);
    EXPECT_FALSE(core::ServerPool());
  });
}

TEST(TabrelPC, HomeDirectoryIsTheUsersFolderForTheFileMode) {
  const std::string user = testing::MakeTempDir("Anna");
  const struct {
    int32_t mode;
    std::string expected;
  } cases[] = {
      {0, user + "\\tabrel\\"}, {1, user + "\\scriv\\"}, {2, user + "\\slidr\\"}, {7, user + "\\"}};
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    AddUser(*app->Session(), 4, "Anna", user);
    app->SetCurrentUser("Anna");
    for (const auto& c : cases) {
      app->Session()->SetFileMode(c.mode);
      EXPECT_EQ(app->HomeDirectory(), c.expected) << c.mode;
      EXPECT_TRUE(std::filesystem::is_directory(fs::NativePath(c.expected))) << c.mode;
    }
    // Asked again, the folder is simply there.
    app->Session()->SetFileMode(0);
    EXPECT_EQ(CallByName(app, "HomeDirectory", CallKind::Get), Variant(user + "\\tabrel\\"));
  });
}

TEST(TabrelPC, HomeDirectoryUsesTheCustomFolderOnlyWhenSwitchedOn) {
  const std::string user = testing::MakeTempDir("Anna");
  const std::string custom = testing::MakeTempDir("Custom");
  const struct {
    const char* name;
    std::string homePath;
    int use;  // -1: "UseHomePath" absent
    std::string expected;
  } cases[] = {
      {"on, no backslash", custom, 1, custom + "\\"},
      {"on, with backslash", custom + "\\", 5, custom + "\\"},
      {"on, with slash", custom + "/", 1, custom + "/"},
      {"switched off", custom, 0, user + "\\tabrel\\"},
      {"switch absent", custom, -1, user + "\\tabrel\\"},
      {"empty path", "", 1, user + "\\tabrel\\"},
  };
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    AddUser(*app->Session(), 4, "Anna", user);
    app->SetCurrentUser("Anna");
    for (const auto& c : cases) {
      registry::DeleteKey(Hive::CurrentUser, kSettingsKey);
      if (c.use < 0) {
        registry::SetValue(Hive::CurrentUser, kSettingsKey, "HomePath",
                           registry::Value::String(c.homePath));
      } else {
        SetHomeValues(c.homePath, c.use);
      }
      EXPECT_EQ(app->HomeDirectory(), c.expected) << c.name;
    }
  });
}

TEST(TabrelPC, HomeDirectoryReportsAMissingCustomFolder) {
  const std::string gone = testing::MakeTempDir("gone");
  std::filesystem::remove(gone);
  SetHomeValues(gone, 1);
  OnFreshThread([&] {
    const AutomationError e = ErrorOf([] { MakeRef<TabrelPC>()->HomeDirectory(); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "TabrelPC.HomeDirectory");
    EXPECT_EQ(e.description(), "Brevora is not configured properly.  The directory '" + gone +
                                   "\\' found in key HomePath in Software\\Orvanex\\Tabulyn is "
                                   "not present.");
  });
}

TEST(TabrelPC, HomeDirectoryNeedsTheUsersFolderAndAUser) {
  const std::string missing = testing::TempHome() + "/no-such-user";
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    // No current user: no folder is made anywhere.
    AutomationError e = ErrorOf([&] { app->HomeDirectory(); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "TabrelPC.HomeDirectory");
    EXPECT_EQ(e.description().rfind("Error getting home directory.\r\n", 0), 0u) << e.description();
    // The user's folder itself is not made: one level only.
    AddUser(*app->Session(), 4, "Anna", missing);
    app->SetCurrentUser("Anna");
    e = ErrorOf([&] { app->HomeDirectory(); });
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.description(), "Error getting home directory.\r\nPath not found");
    EXPECT_FALSE(std::filesystem::exists(missing));
  });
}

TEST(TabrelPC, LettingHomeDirectoryStoresAnExistingFolderWithABackslash) {
  const std::string user = testing::MakeTempDir("Anna");
  const std::string custom = testing::MakeTempDir("Custom");
  OnFreshThread([&] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    AddUser(*app->Session(), 4, "Anna", user);
    app->SetCurrentUser("Anna");
    CallByName(app, "HomeDirectory", CallKind::Let, custom);
    EXPECT_EQ(StoredHomePath(), custom + "\\");
    // "UseHomePath" is not touched, so the custom folder is not in use yet.
    EXPECT_FALSE(registry::QueryValue(Hive::CurrentUser, kSettingsKey, "UseHomePath"));
    EXPECT_EQ(app->HomeDirectory(), user + "\\tabrel\\");

    for (const std::string& bad : {testing::TempHome() + "/absent", std::string()}) {
      const AutomationError e = ErrorOf([&] { app->SetHomeDirectory(bad); });
      EXPECT_EQ(e.number(), 32760) << bad;
      EXPECT_EQ(e.source(), "HomeDirectory");
      EXPECT_EQ(e.description(), "Invalid Directory.");
      EXPECT_EQ(StoredHomePath(), custom + "\\");
    }
  });
}

}  // namespace
}  // namespace brevora::frontend
