// The phone sync call with a fake engine registered under the engine's class
// identifier, and without one.
#include "frontend/phone_sync.h"

#include <gtest/gtest.h>

#include "frontend/frontend_test_support.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"

namespace brevora::frontend {
namespace {

// Records the late-bound call and reports progress through the sink it got.
class FakeEngine : public Dispatch {
 public:
  Variant Invoke(std::string_view name, CallKind kind, Args args) override {
    calls.push_back(std::string(name) + "(" + CStr(args[0]) + ", " + std::to_string(CLng(args[1])) +
                    ", " + (args[2].IsObject() ? "<object>" : "?") + ")");
    CallByName(ObjectOf(args[2]), "Update", CallKind::Method, "Sending Review.pdb", int16_t{100});
    (void)kind;
    return Variant();
  }
  std::vector<std::string> calls;
};

TEST(PhoneSync, TheEngineGetsTheUserDirectionZeroAndTheWindowsSink) {
  const auto engine = MakeRef<FakeEngine>();
  RegisterClass("Test.FakeBVSyncEngine", kPhoneSyncEngineClsid,
                [&] { return Ref<Dispatch>(engine); });
  std::vector<std::string> status;
  const auto sink = MakeRef<SyncProgressSink>([&](const std::string& message, int16_t percentage) {
    status.push_back(SyncProgressText(message, percentage));
  });
  test::RecordedMessages messages;
  SynchronizePhone("Nokia 6600", sink);
  UnregisterClass("Test.FakeBVSyncEngine");
  EXPECT_EQ(engine->calls, std::vector<std::string>{"Synchronize(Nokia 6600, 0, <object>)"});
  EXPECT_EQ(status, std::vector<std::string>{"Sending Review.pdb  100% complete."});
  EXPECT_TRUE(messages->shown().empty());
}

TEST(PhoneSync, AnEngineThatCannotBeCreatedIsReported) {
  test::RecordedMessages messages;
  SynchronizePhone("Nokia 6600", MakeRef<SyncProgressSink>([](const std::string&, int16_t) {}));
  EXPECT_EQ(messages->shown(),
            (std::vector<services::Message>{
                {"Error synchronizing for Nokia device.  \r\nActiveX component can't "
                 "create object",
                 "", services::MsgButtons::Ok}}));
}

}  // namespace
}  // namespace brevora::frontend
