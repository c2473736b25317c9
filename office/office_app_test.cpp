#include "office/office_app.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"
#include "platform/automation/running_objects.h"
#include "testing/caught_error.h"

namespace brevora::office {
namespace {

// Every call the fakes receive, in order.
std::vector<std::string> calls;

using ::brevora::testing::ErrorOf;

// An Office application: "Run" stands for a macro, "Fail" for one that fails.
class FakeOfficeApp : public Dispatchable<FakeOfficeApp> {
 public:
  static const MemberTable<FakeOfficeApp>& Members() {
    static const MemberTable<FakeOfficeApp> table{
        {"Run", CallKind::Method, [](FakeOfficeApp&, Args) { calls.push_back("Run"); }},
        {"Fail", CallKind::Method,
         [](FakeOfficeApp&, Args) {
           calls.push_back("Fail");
           RaiseError(1004, "Excel", "Macro failed.");
         }},
        {"Quit", CallKind::Method, [](FakeOfficeApp&, Args) { calls.push_back("Quit"); }}};
    return table;
  }
};

// One application lent by the pool.
class FakePoolEntry : public Dispatchable<FakePoolEntry> {
 public:
  static const MemberTable<FakePoolEntry>& Members() {
    static const MemberTable<FakePoolEntry> table{
        {"ServerObject", CallKind::Get,
         [](FakePoolEntry& e, Args) {
           calls.push_back("ServerObject");
           if (e.failServerObject) RaiseError(70, "Pool", "Busy.");
           return Variant(MakeRef<FakeOfficeApp>());
         }},
        {"ReleaseServer", CallKind::Method, [](FakePoolEntry& e, Args) {
           calls.push_back("ReleaseServer");
           if (e.failRelease) RaiseError(71, "Pool", "Cannot release.");
         }}};
    return table;
  }
  bool failServerObject = false;
  bool failRelease = false;
};

// The server pool, registered only in this test program.
class FakeServerPool : public Dispatchable<FakeServerPool> {
 public:
  static const MemberTable<FakeServerPool>& Members() {
    static const MemberTable<FakeServerPool> table{
        {"GetServer", CallKind::Method,
         [](FakeServerPool& p, Args a) { return Variant(p.GetServer(CStr(a[0]))); }, 1}};
    return table;
  }
  Ref<FakePoolEntry> GetServer(const std::string& progId) {
    calls.push_back("GetServer " + progId);
    Ref<FakePoolEntry> entry = MakeRef<FakePoolEntry>();
    entry->failServerObject = failServerObject;
    entry->failRelease = failRelease;
    return entry;
  }
  bool failServerObject = false;
  bool failRelease = false;
};

const ClassRegistration poolClass("BrevoraTest.ServerPool", "",
                                  [] { return Ref<Dispatch>(MakeRef<FakeServerPool>()); });

constexpr const char* kExcel = "Excel.Application";

// Sets a fresh fake pool as this thread's gServerPool.
Ref<FakeServerPool> InstallPool() {
  Ref<FakeServerPool> pool = RefCast<FakeServerPool>(CreateObject("BrevoraTest.ServerPool"));
  core::SetServerPool(pool);
  return pool;
}

class OfficeAppTest : public ::testing::Test {
 protected:
  void SetUp() override { calls.clear(); }
};

TEST_F(OfficeAppTest, PoolApplicationIsReleasedToThePoolNeverQuit) {
  core::OnFreshThread([] {
    InstallPool();
    {
      OfficeApp app = AcquireOfficeApplication(kExcel, true);
      EXPECT_EQ(app.Origin(), OfficeAppOrigin::Pool);
      EXPECT_FALSE(app.WasAlreadyRunning());
      CallByName(app.App(), "Run", CallKind::Method);
      app.Release();
      EXPECT_FALSE(app.App());
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"GetServer Excel.Application", "ServerObject", "Run",
                                               "ReleaseServer"}));
  });
}

TEST_F(OfficeAppTest, PoolApplicationIsReleasedWhenTheConversionFails) {
  core::OnFreshThread([] {
    InstallPool();
    const AutomationError error = ErrorOf([] {
      OfficeApp app = AcquireOfficeApplication("Word.Application", true);
      CallByName(app.App(), "Fail", CallKind::Method);
      app.Release();
    });
    EXPECT_EQ(error.number(), 1004);
    EXPECT_EQ(calls, (std::vector<std::string>{"GetServer Word.Application", "ServerObject", "Fail",
                                               "ReleaseServer"}));
  });
}

TEST_F(OfficeAppTest, EntryIsReleasedWhenItsApplicationCannotBeHad) {
  core::OnFreshThread([] {
    InstallPool()->failServerObject = true;
    EXPECT_EQ(ErrorOf([] { AcquireOfficeApplication(kExcel, true); }).number(), 70);
    EXPECT_EQ(calls, (std::vector<std::string>{"GetServer Excel.Application", "ServerObject",
                                               "ReleaseServer"}));
  });
}

TEST_F(OfficeAppTest, AFailingReleaseIsRaisedOnceOnTheNormalPath) {
  core::OnFreshThread([] {
    InstallPool()->failRelease = true;
    const AutomationError error = ErrorOf([] {
      OfficeApp app = AcquireOfficeApplication(kExcel, true);
      app.Release();
    });
    EXPECT_EQ(error.number(), 71);
    EXPECT_EQ(calls, (std::vector<std::string>{"GetServer Excel.Application", "ServerObject",
                                               "ReleaseServer"}));
  });
}

TEST_F(OfficeAppTest, ServerModeWithoutAPoolRaises91) {
  core::OnFreshThread([] {
    EXPECT_EQ(ErrorOf([] { AcquireOfficeApplication(kExcel, true); }).number(), 91);
    InstallPool();
    core::SetServerPool(nullptr);
    EXPECT_EQ(ErrorOf([] { AcquireOfficeApplication(kExcel, true); }).number(), 91);
    EXPECT_TRUE(calls.empty());
  });
}

TEST_F(OfficeAppTest, TheServerPoolBelongsToItsThread) {
  InstallPool();
  core::OnFreshThread([] { EXPECT_FALSE(core::ServerPool()); });
  EXPECT_TRUE(core::ServerPool());
  core::SetServerPool(nullptr);
}

TEST_F(OfficeAppTest, AnApplicationWeStartedIsQuitOnEveryPath) {
  RegisterClass("Word.Application", "", [] { return Ref<Dispatch>(MakeRef<FakeOfficeApp>()); });
  {
    OfficeApp app = AcquireOfficeApplication("Word.Application", false);
    EXPECT_EQ(app.Origin(), OfficeAppOrigin::Started);
    CallByName(app.App(), "Run", CallKind::Method);
    app.Release();
  }
  EXPECT_EQ(ErrorOf([] {
              OfficeApp app = AcquireOfficeApplication("Word.Application", false);
              CallByName(app.App(), "Fail", CallKind::Method);
              app.Release();
            }).number(),
            1004);
  UnregisterClass("Word.Application");
  EXPECT_EQ(calls, (std::vector<std::string>{"Run", "Quit", "Fail", "Quit"}));
}

TEST_F(OfficeAppTest, ARunningApplicationIsAttachedToAndLeftRunning) {
  Ref<FakeOfficeApp> running = MakeRef<FakeOfficeApp>();
  RegisterActive("PowerPoint.Application", running);
  EXPECT_EQ(ErrorOf([] {
              OfficeApp app = AcquireOfficeApplication("PowerPoint.Application", false);
              EXPECT_EQ(app.Origin(), OfficeAppOrigin::Attached);
              EXPECT_TRUE(app.WasAlreadyRunning());
              CallByName(app.App(), "Fail", CallKind::Method);
            }).number(),
            1004);
  {
    OfficeApp app = AcquireOfficeApplication("PowerPoint.Application", false);
    EXPECT_EQ(app.App(), Ref<Dispatch>(running));
    app.Release();
  }
  RevokeActive("PowerPoint.Application");
  EXPECT_EQ(calls, (std::vector<std::string>{"Fail"}));
}

TEST_F(OfficeAppTest, LeftRunningForTheUserUnlessItCameFromThePool) {
  RegisterClass("Word.Application", "", [] { return Ref<Dispatch>(MakeRef<FakeOfficeApp>()); });
  {
    OfficeApp app = AcquireOfficeApplication("Word.Application", false);
    app.LeaveRunning();
    EXPECT_FALSE(app.App());
  }
  UnregisterClass("Word.Application");
  EXPECT_TRUE(calls.empty());  // started, but not quit
  core::OnFreshThread([] {
    InstallPool();
    OfficeApp app = AcquireOfficeApplication("Word.Application", true);
    app.LeaveRunning();
    EXPECT_EQ(calls.back(), "ReleaseServer");
  });
}

TEST_F(OfficeAppTest, NoApplicationAnywhereRaises429) {
  EXPECT_EQ(ErrorOf([] { AcquireOfficeApplication("Excel.Application", false); }).number(), 429);
}

}  // namespace
}  // namespace brevora::office
