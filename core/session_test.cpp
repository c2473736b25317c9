#include "core/session.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <latch>
#include <memory>
#include <string>
#include <thread>

#include "core/application.h"
#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/palm_desktop.h"
#include "core/user_manager.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"
#include "platform/fs/paths.h"
#include "platform/registry/hive_store.h"
#include "platform/registry/registry.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using registry::Hive;

using ::brevora::testing::ErrorOf;

// Adds a user to the thread's combined user list.
Ref<DeviceUser> AddUser(Session& session, int32_t id, std::string name) {
  Ref<DeviceUser> user = MakeRef<DeviceUser>();
  user->SetUID(id);
  user->SetUserName(std::move(name));
  session.GetUserManager()->GetUsers()->Add(user);
  return user;
}

// A RivorOdurov server installed, its conduit named "Srv".
constexpr const char* kRivorOdurovInstalled =
    "REGEDIT4\n\n"
    "[HKEY_CURRENT_USER\\Software\\Vaderudo Diduzuzodoru\\RivorOdurov\\Settings]\n"
    "\"UsersPath\"=\"/nowhere\"\n\n"
    "[HKEY_CURRENT_USER\\Software\\Orvanex]\n"
    "\"ZazerConduit\"=\"Srv\"\n";

TEST(Session, FirstSessionOfAThreadStartsEmpty) {
  OnFreshThread([] {
    Ref<Session> global = GlobalSession();
    ASSERT_TRUE(global);
    EXPECT_EQ(global->FileMode(), 0);
    EXPECT_EQ(global->UserID(), 0);
    EXPECT_EQ(global->UserName(), "");
    EXPECT_TRUE(global->Parameter1().IsEmpty());
    EXPECT_TRUE(global->Parameter2().IsEmpty());
    EXPECT_TRUE(global->Parameter3().IsEmpty());
    EXPECT_EQ(global->ErrorNumber(), 0);
    EXPECT_EQ(global->ErrorMessage(), "");
    EXPECT_EQ(global->RegistryKey(), "Software\\Orvanex\\Tabulyn");
    // No RivorOdurov installed.
    EXPECT_EQ(global->RivorOdurovFriendlyName(), "");
    EXPECT_FALSE(global->IsServerMode());
    EXPECT_FALSE(global->IsRivorOdurovMode());
    EXPECT_EQ(GlobalSession(), global);
  });
}

TEST(Session, FirstSessionTakesTheConduitNameWhenRivorOdurovIsInstalled) {
  registry::ImportRegedit(kRivorOdurovInstalled);
  OnFreshThread([] {
    Ref<Session> global = GlobalSession();
    ASSERT_TRUE(global);
    EXPECT_EQ(global->RivorOdurovFriendlyName(), "Srv");
    EXPECT_TRUE(global->IsServerMode());
    EXPECT_TRUE(global->IsRivorOdurovMode());
  });
}

TEST(Session, FurtherSessionsCopyTheGlobalSettingsAndShareItsUsers) {
  OnFreshThread([] {
    Ref<Session> global = GlobalSession();
    AddUser(*global, 7, "Anna");
    global->SetFileMode(2);
    global->SetUserName("Anna");
    global->SetParameter1(Variant("kept apart"));
    global->SetErrorNumber(5);

    Ref<Session> second = MakeRef<Session>();
    EXPECT_NE(second, global);
    EXPECT_EQ(second->FileMode(), 2);
    EXPECT_EQ(second->GetUserManager(), global->GetUserManager());
    EXPECT_EQ(second->RegistryKey(), global->RegistryKey());
    EXPECT_EQ(second->UserID(), 7);
    EXPECT_EQ(second->UserName(), "Anna");
    // Parameters and the error slot belong to each Session.
    EXPECT_TRUE(second->Parameter1().IsEmpty());
    EXPECT_EQ(second->ErrorNumber(), 0);
    // Its own file mode from then on.
    second->SetFileMode(1);
    EXPECT_EQ(global->FileMode(), 2);
  });
}

TEST(Session, TheUserIsSharedByAllSessionsOfTheThread) {
  OnFreshThread([] {
    Ref<Session> global = GlobalSession();
    AddUser(*global, 7, "Anna");
    AddUser(*global, 9, "Bert");
    Ref<Session> second = MakeRef<Session>();
    second->SetUserName("bert");
    EXPECT_EQ(global->UserName(), "Bert");
    EXPECT_EQ(global->UserID(), 9);
    second->SetUserID(7);
    EXPECT_EQ(global->UserName(), "Anna");
  });
}

TEST(Session, ZeroIdAndEmptyNameLeaveTheUserUnmatchedOnesClearIt) {
  OnFreshThread([] {
    Ref<Session> session = GlobalSession();
    AddUser(*session, 7, "Anna");
    session->SetUserID(7);
    session->SetUserID(0);
    session->SetUserName("");
    EXPECT_EQ(session->UserName(), "Anna");
    session->SetUserID(12345);  // no such user: none is current
    EXPECT_EQ(session->UserID(), 0);
    EXPECT_EQ(session->UserName(), "");
    session->SetUserName("Anna");
    session->SetUserName("Nobody");
    EXPECT_EQ(session->UserID(), 0);
  });
}

// A new Session used to assign the global Session's server settings through the
// setters: that switched server mode back on for the whole thread and wrote
// "ZazerConduit" again on every creation.
TEST(Session, NewSessionsNeitherSwitchServerModeNorWriteTheRegistry) {
  registry::ImportRegedit(kRivorOdurovInstalled);
  OnFreshThread([] {
    Ref<Session> global = GlobalSession();
    ASSERT_TRUE(global->IsServerMode());
    global->SetIsServerMode(false);
    ASSERT_TRUE(registry::DeleteValue(Hive::CurrentUser, "Software\\Orvanex", "ZazerConduit"));

    Ref<Session> second = MakeRef<Session>();
    EXPECT_FALSE(second->IsServerMode());
    EXPECT_FALSE(global->IsServerMode());
    EXPECT_EQ(second->RivorOdurovFriendlyName(), "Srv");
    EXPECT_FALSE(registry::QueryValue(Hive::CurrentUser, "Software\\Orvanex", "ZazerConduit"));

    second->LoadGlobalSettings();
    EXPECT_FALSE(global->IsServerMode());
    EXPECT_FALSE(registry::QueryValue(Hive::CurrentUser, "Software\\Orvanex", "ZazerConduit"));
  });
}

TEST(Session, LoadGlobalSettingsTakesTheGlobalFileModeAgain) {
  OnFreshThread([] {
    Ref<Session> global = GlobalSession();
    Ref<Session> second = MakeRef<Session>();
    global->SetFileMode(1);
    EXPECT_EQ(second->FileMode(), 0);
    CallByName(second, "LoadGlobalSettings", CallKind::Method);
    EXPECT_EQ(second->FileMode(), 1);
    global->LoadGlobalSettings();  // from itself: nothing changes
    EXPECT_EQ(global->FileMode(), 1);
  });
}

TEST(Session, TwoThreadsGetTwoGlobalSessions) {
  Session* seen[2] = {nullptr, nullptr};
  int32_t modes[2] = {-1, -1};
  std::latch bothStarted(2);
  auto work = [&](int i) {
    Ref<Session> global = GlobalSession();
    seen[i] = global.get();
    global->SetFileMode(i + 1);
    bothStarted.arrive_and_wait();  // both threads' Sessions alive at once
    Ref<Session> another = MakeRef<Session>();
    modes[i] = another->FileMode();
    EXPECT_EQ(GlobalSession(), global);
  };
  std::thread a(work, 0);
  std::thread b(work, 1);
  a.join();
  b.join();
  ASSERT_NE(seen[0], nullptr);
  ASSERT_NE(seen[1], nullptr);
  EXPECT_NE(seen[0], seen[1]);
  EXPECT_EQ(modes[0], 1);
  EXPECT_EQ(modes[1], 2);
}

TEST(Session, AFailedStartShowsTheMessageOnceAndLeavesNoGlobalSession) {
  {
    // A hive file that cannot be read fails the user manager.
    const std::filesystem::path path = fs::NativePath(registry::HiveFilePath(Hive::CurrentUser));
    std::filesystem::create_directories(path.parent_path());
    std::ofstream hive(path);
    hive << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\n\"broken\n";
  }
  ASSERT_EQ(ErrorOf([] { registry::KeyExists(Hive::CurrentUser, "Software"); }).number(), 32759);
  auto box = std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> scoped(services::InstallMessageBox, box);
  OnFreshThread([] {
    EXPECT_FALSE(GlobalSession());
    EXPECT_FALSE(GlobalSession());
    // The application object then has no Session.
    Ref<Application> app = NewApplication();
    EXPECT_FALSE(app->Session());
  });
  const std::vector<services::Message> shown = box->shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].title, "Brevora");
  EXPECT_EQ(shown[0].icon, services::MsgIcon::Critical);
  EXPECT_EQ(shown[0].text.rfind("Could not load TabulynPC.\r\n", 0), 0u) << shown[0].text;
  EXPECT_GT(shown[0].text.size(), std::string("Could not load TabulynPC.\r\n").size());
}

// Each factory creates its class by ProgID: a class that is not available fails
// with 429 (no stand-in object); one that is comes back bound to this Session.
TEST(Session, DocumentAndConverterFactoriesCreateTheirClassesByProgId) {
  OnFreshThread([] {
    Ref<Session> session = MakeRef<Session>();
    const struct {
      const char* member;
      const char* progId;
      std::function<Ref<Dispatch>()> call;
    } factories[] = {
        {"GetWorkbook", "TabulynPC.Workbook", [&] { return session->GetWorkbook(); }},
        {"GetDocument", "TabulynPC.Document", [&] { return session->GetDocument(); }},
        {"GetPresentation", "TabulynPC.Presentation", [&] { return session->GetPresentation(); }},
        {"GetSDK", "TabulynPC.SDK", [&] { return session->GetSDK(); }},
        {"GetSDK_Document", "TabulynPC.SDK_Document", [&] { return session->GetSDKDocument(); }}};
    for (const auto& f : factories) {
      if (!ClsidFromProgId(f.progId)) {
        EXPECT_EQ(ErrorOf([&] { f.call(); }).number(), 429) << f.member;
        EXPECT_EQ(ErrorOf([&] { CallByName(session, f.member, CallKind::Method); }).number(), 429)
            << f.member;
        continue;
      }
      Ref<Dispatch> made = f.call();
      ASSERT_TRUE(made) << f.member;
      EXPECT_EQ(CallByName(made, "Session", CallKind::Get), Variant(session)) << f.member;
      Variant late = CallByName(session, f.member, CallKind::Method);
      EXPECT_NE(late.AsObject(), made) << f.member;
    }
  });
}

// Stands in for a document class: records the Session it was given.
class FakeDocument : public Dispatchable<FakeDocument> {
 public:
  static const MemberTable<FakeDocument>& Members() {
    static const MemberTable<FakeDocument> table{
        {"Session", CallKind::Set,
         [](FakeDocument& d, Args a) { d.session = RefCast<Session>(a[0].AsObject()); }}};
    return table;
  }
  Ref<Session> session;
};

TEST(Session, FactoriesMakeANewObjectEachCallBoundToThisSession) {
  if (ClsidFromProgId("TabulynPC.Workbook")) GTEST_SKIP() << "the real Workbook class exists";
  RegisterClass("TabulynPC.Workbook", "", [] { return Ref<Dispatch>(MakeRef<FakeDocument>()); });
  OnFreshThread([] {
    Ref<Session> second = MakeRef<Session>();
    Ref<FakeDocument> a = RefCast<FakeDocument>(second->GetWorkbook());
    Ref<FakeDocument> b =
        RefCast<FakeDocument>(CallByName(second, "GetWorkbook", CallKind::Method).AsObject());
    ASSERT_TRUE(a);
    ASSERT_TRUE(b);
    EXPECT_NE(a, b);
    EXPECT_EQ(a->session, second);
    EXPECT_EQ(b->session, second);
  });
  UnregisterClass("TabulynPC.Workbook");
}

TEST(Session, GetTabrelPCHandsOutANewApplicationObjectOnThisSession) {
  OnFreshThread([] {
    Ref<Session> second = MakeRef<Session>();
    Ref<Application> a = second->GetTabrelPC();
    Ref<Application> b = second->GetTabrelPC();
    EXPECT_NE(a, b);
    EXPECT_EQ(a->Session(), second);
    Variant late = CallByName(second, "GetTabrelPC", CallKind::Method);
    EXPECT_EQ(CallByName(ObjectOf(late), "Session", CallKind::Get), Variant(second));
  });
}

TEST(Session, LateBoundMembersStoreAndReturnTheirValues) {
  OnFreshThread([] {
    Ref<Dispatch> session = CreateObject("TabulynPC.Session");
    ASSERT_TRUE(RefCast<Session>(session));
    const std::pair<const char*, Variant> values[] = {{"ErrorMessage", Variant("add-in failed")},
                                                      {"ErrorNumber", Variant(int32_t{1234})},
                                                      {"FileMode", Variant(int32_t{2})},
                                                      {"Parameter1", Variant(3.5)},
                                                      {"Parameter2", Variant("two")},
                                                      {"Parameter3", Variant(true)}};
    for (const auto& [name, value] : values) {
      CallByName(session, name, CallKind::Let, value);
      EXPECT_EQ(CallByName(session, name, CallKind::Get), value) << name;
    }
    EXPECT_EQ(CallByName(session, "FileMode", CallKind::Get), Variant(int32_t{2}));
    EXPECT_EQ(CallByName(session, "IsServerMode", CallKind::Get), Variant(false));
    EXPECT_EQ(CallByName(session, "UserID", CallKind::Get), Variant(int32_t{0}));
    EXPECT_TRUE(RefCast<UserManager>(CallByName(session, "UserManager", CallKind::Get).AsObject()));
    EXPECT_EQ(ErrorOf([&] { CallByName(session, "RegistryKey", CallKind::Get); }).number(), 438);
  });
}

}  // namespace
}  // namespace brevora::core
