// The engine over its conduits: the order of the runs, the message boxes,
// what reaches the caller, Install, and the late-bound members. (Creation by
// CLSID and a missing connectivity module: clsid_test.cpp.)
#include "phonesync/sync_engine.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/on_fresh_thread.h"
#include "phonesync/sync_slidora.h"
#include "phonesync/sync_test_support.h"
#include "platform/automation/class_registry.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "testing/temp_home.h"

namespace brevora::bvsync {
namespace {

using services::Message;
using services::MsgButtons;

// A conduit that says what it was told to and records what it got.
class RecordingConduit : public IBVSync {
 public:
  RecordingConduit(std::string id, bool initOk, bool syncOk, std::string error)
      : initOk_(initOk), syncOk_(syncOk), error_(std::move(error)) {
    SetId(std::move(id));
  }
  bool Init(const std::string& userName, SyncDir direction, const Ref<Dispatch>& core,
            const Ref<ISyncProgress>& progress) override {
    calls.push_back("Init " + userName + " " + std::to_string(static_cast<int>(direction)));
    gotCore = core != nullptr;
    gotProgress = progress;
    SetErrorDesc(initOk_ ? "" : error_);
    return initOk_;
  }
  bool Sync() override {
    calls.push_back("Sync");
    SetErrorDesc(syncOk_ ? "" : error_);
    return syncOk_;
  }
  void Cleanup() override { calls.push_back("Cleanup"); }

  std::vector<std::string> calls;
  bool gotCore = false;
  Ref<ISyncProgress> gotProgress;

 private:
  bool initOk_;
  bool syncOk_;
  std::string error_;
};

class Engine : public ::testing::Test {
 protected:
  void SetUp() override { test::SeedPhone("Anna", phone_); }

  std::string ProbeLauncher() const {
    const std::string path = test::SendToFolder() + "/Bluetooth/Phone.desktop";
    test::WriteLauncher(path, std::string(SEND_PROBE) + " %f");
    return path;
  }
  std::string Deck(const std::string& name) const { return phone_ + "/slidr/Talks/" + name; }
  void WriteDecks(const std::vector<std::string>& names) const {
    core::OnFreshThread([&] {
      const Ref<Dispatch> session = CreateObject("TabulynPC.Session");
      for (const std::string& n : names) test::WriteDeck(session, Deck(n), true);
    });
  }
  bool Modified(const std::string& name) const {
    bool modified = false;
    core::OnFreshThread(
        [&] { modified = test::IsMarkedModified(CreateObject("TabulynPC.Session"), Deck(name)); });
    return modified;
  }

  std::string phone_ = brevora::testing::TempHome() + "/phones/anna";
  std::shared_ptr<test::ScriptedPicker> picker_ = std::make_shared<test::ScriptedPicker>();
  std::shared_ptr<services::RecordingMessageBox> box_ =
      std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> scope_{services::InstallMessageBox, box_};
};

TEST_F(Engine, HoldsOnePresentationConduitByDefault) {
  const auto engine = MakeRef<BVSyncEngine>(picker_);
  ASSERT_EQ(engine->Conduits().Count(), 1);
  EXPECT_NE(RefCast<SyncSlidora>(engine->Conduits().Item("slidora")), nullptr);
  EXPECT_EQ(engine->Conduits().Item(1)->Description(), "Slidora synchronization conduit");
}

// Each conduit runs Init, Sync, Cleanup in turn; one that ends with a text
// has its own box, one that ends without says nothing, and the next still runs.
TEST_F(Engine, EveryConduitRunsWithItsOwnBox) {
  WriteDecks({"a.pdb"});
  test::ProbeScript probe({"1"});
  picker_->Answer(ProbeLauncher());
  const auto second = MakeRef<RecordingConduit>("Second", true, false, "\r\nSecond failed");
  const auto silent = MakeRef<RecordingConduit>("Silent", false, false, "");
  const auto fine = MakeRef<RecordingConduit>("Fine", true, true, "");
  const auto engine = MakeRef<BVSyncEngine>(
      picker_, std::vector<Ref<IBVSync>>{MakeRef<SyncSlidora>(picker_), second, silent, fine});
  const auto progress = MakeRef<test::CountingProgress>();
  core::OnFreshThread([&] { engine->Synchronize("Anna", SyncDir::sdPCOverwrites, progress); });

  EXPECT_EQ(
      box_->shown(),
      (std::vector<Message>{{"\r\nUnable to install file", "Error Synchronizing", MsgButtons::Ok},
                            {"\r\nSecond failed", "Error Synchronizing", MsgButtons::Ok}}));
  EXPECT_EQ(second->calls, (std::vector<std::string>{"Init Anna 1", "Sync", "Cleanup"}));
  EXPECT_EQ(silent->calls, (std::vector<std::string>{"Init Anna 1", "Cleanup"}));
  EXPECT_EQ(fine->calls, (std::vector<std::string>{"Init Anna 1", "Sync", "Cleanup"}));
  EXPECT_TRUE(second->gotCore);
  EXPECT_EQ(second->gotProgress, Ref<ISyncProgress>(progress));
  EXPECT_EQ(progress->updates, 0) << "no progress is reported";
  EXPECT_TRUE(Modified("a.pdb"));
}

// A late-bound caller (the desktop window) hands a sink of its own kind: the
// conduits get it as an ISyncProgress whose Update reaches it by name.
TEST_F(Engine, ALateBoundSinkOfAnotherKindIsCalledByName) {
  class Sink : public Dispatch {
   public:
    Variant Invoke(std::string_view name, CallKind kind, Args args) override {
      if (name != "Update" || kind != CallKind::Method || args.size() != 2)
        return Dispatch::Invoke(name, kind, args);
      lines.push_back(CStr(args[0]) + " " + std::to_string(CInt(args[1])));
      return Variant();
    }
    std::vector<std::string> lines;
  };
  const auto conduit = MakeRef<RecordingConduit>("Only", false, false, "");
  const auto engine = MakeRef<BVSyncEngine>(picker_, std::vector<Ref<IBVSync>>{conduit});
  const auto sink = MakeRef<Sink>();
  core::OnFreshThread([&] {
    CallByName(*engine, "Synchronize", CallKind::Method, "Anna", int32_t{0}, Ref<Dispatch>(sink));
  });
  ASSERT_TRUE(conduit->gotProgress);
  conduit->gotProgress->Update("Sending", 100);
  EXPECT_EQ(sink->lines, std::vector<std::string>{"Sending 100"});
  core::OnFreshThread([&] {
    CallByName(*engine, "Synchronize", CallKind::Method, "Anna", int32_t{0}, Variant::Nothing());
  });
  EXPECT_FALSE(conduit->gotProgress);
}

TEST_F(Engine, ConduitIdsAreKeys) {
  try {
    MakeRef<BVSyncEngine>(
        picker_, std::vector<Ref<IBVSync>>{MakeRef<RecordingConduit>("X", true, true, ""),
                                           MakeRef<RecordingConduit>("x", true, true, "")});
    ADD_FAILURE() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 457);
  }
}

// A user the user manager does not know: the picker is shown, then the run
// ends without a box.
TEST_F(Engine, AnUnknownUserEndsSilently) {
  picker_->Answer(ProbeLauncher());
  const auto engine = MakeRef<BVSyncEngine>(picker_);
  core::OnFreshThread([&] { engine->Synchronize("Nobody", SyncDir::sdSynchronize, nullptr); });
  EXPECT_EQ(picker_->asked(), 1);
  EXPECT_TRUE(box_->shown().empty());
}

// The second run on one engine shows only its own errors.
TEST_F(Engine, TwoRunsOnOneEngine) {
  WriteDecks({"a.pdb", "b.pdb"});
  test::ProbeScript probe({"0", "1", "0"});
  const auto engine = MakeRef<BVSyncEngine>(picker_);
  picker_->Answer(ProbeLauncher());
  core::OnFreshThread([&] { engine->Synchronize("Anna", SyncDir::sdSynchronize, nullptr); });
  ASSERT_EQ(box_->shown().size(), 1u);
  EXPECT_EQ(box_->shown()[0].text, "\r\nUnable to install file");
  EXPECT_FALSE(Modified("a.pdb"));
  EXPECT_TRUE(Modified("b.pdb"));

  picker_->Answer(ProbeLauncher());
  core::OnFreshThread([&] { engine->Synchronize("Anna", SyncDir::sdSynchronize, nullptr); });
  EXPECT_EQ(box_->shown().size(), 1u) << "nothing new to show";
  EXPECT_FALSE(Modified("b.pdb"));
  EXPECT_EQ(probe.Runs().size(), 3u);
}

// Install sends one file through a fresh conduit; a failed send reaches the
// caller as an error, a cancelled pick does not.
TEST_F(Engine, Install) {
  WriteDecks({"a.pdb"});
  test::ProbeScript probe({"0", "1"});
  const auto engine = MakeRef<BVSyncEngine>(picker_);
  engine->Install(Deck("a.pdb"));  // cancelled
  picker_->Answer(ProbeLauncher());
  engine->Install(Deck("a.pdb"));
  picker_->Answer(ProbeLauncher());
  try {
    engine->Install(Deck("a.pdb"));
    ADD_FAILURE() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "BVSyncEngine.Install");
    EXPECT_EQ(e.description(), "Unable to install file");
  }
  EXPECT_EQ(probe.Runs().size(), 2u);
  EXPECT_TRUE(box_->shown().empty());
  EXPECT_TRUE(Modified("a.pdb")) << "Install marks nothing";
  EXPECT_EQ(engine->Conduits().Item(1)->ErrorDesc(), "") << "not the engine's own conduit";
}

TEST_F(Engine, LateBoundMembers) {
  WriteDecks({"a.pdb"});
  test::ProbeScript probe;
  const auto engine = MakeRef<BVSyncEngine>(picker_);
  Dispatch& late = *engine;
  picker_->Answer(ProbeLauncher());
  core::OnFreshThread([&] {
    CallByName(late, "synchronize", CallKind::Method, "Anna", int32_t{0}, Variant::Nothing());
  });
  EXPECT_FALSE(Modified("a.pdb"));
  picker_->Answer(ProbeLauncher());
  CallByName(late, "INSTALL", CallKind::Method, Deck("a.pdb"));
  EXPECT_EQ(probe.Runs().size(), 2u);
  const auto progress = MakeRef<test::CountingProgress>();
  Dispatch& sink = *progress;
  CallByName(sink, "Update", CallKind::Method, "Sending", int16_t{50});
  EXPECT_EQ(progress->updates, 1);
  try {
    CallByName(late, "Refresh", CallKind::Method);
    ADD_FAILURE() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 438);
  }
}

}  // namespace
}  // namespace brevora::bvsync
