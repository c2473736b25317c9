// HotSyncs through the `hotsync` program with the TextTest plug-in: sync
// types, first sync, deletions, conflicts, alternate desktops, the action
// dialog, the log, and what faults of the handheld leave behind.
#include <gtest/gtest.h>
#include <poll.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <set>
#include <thread>

#include "conduit-framework/category_block.h"
#include "conduit-framework/tests/fault_sweeps.h"
#include "conduit-framework/tests/texttest_fixture.h"
#include "platform/hotsync/device_identity.h"
#include "platform/hotsync/host/conduit_registry.h"
#include "platform/hotsync/host/host_commands.h"
#include "platform/hotsync/run_lock.h"
#include "platform/registry/registry.h"
#include "platform/windows/window_directory.h"
#include "testing/handheld_folder.h"
#include "testing/temp_home.h"

namespace brevora::texttest {

using conduit::CategoryBlock;
namespace {

using brevora::testing::TestDatabase;
using conduit::testing::Untimed;
using testing::DesktopText;
using testing::Handheld;
using testing::HostResult;
using testing::HostTest;
using testing::RunHotSync;
namespace stdfs = std::filesystem;

class Host : public HostTest {
 protected:
  // A first HotSync that leaves both sides in step with `files` (name, category ID).
  void InStep(const std::vector<std::pair<std::string, uint8_t>>& files) {
    for (const auto& [name, category] : files)
      PutHandheld(name, {category, false, false, name + " v1"});
    const HostResult first = Sync();
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_NE(LogFile().find("OK TextTest\n"), std::string::npos) << LogFile();
  }

  // The state before the HotSync under test, kept and put back.
  void Save() { saved_.Save(device_); }
  void Restore() {
    session_.reset();
    saved_.Restore();
  }

  std::vector<std::string> Leftovers() const {
    return conduit::testing::HotSyncLeftovers(device_, userFolder_);
  }

  void AddHandheldCategory(std::size_t slot, const std::string& label) {
    TestDatabase main = *HandheldDatabase("MainTextTestDB");
    auto block = *CategoryBlock::Parse(
        std::span(reinterpret_cast<const uint8_t*>(main.appInfo.data()), main.appInfo.size()));
    block.labels[slot] = label;
    const auto bytes = block.Bytes();
    main.appInfo.assign(bytes.begin(), bytes.end());
    PutHandheld(main);
  }

  conduit::testing::SavedHotSync saved_;
};

TEST_F(Host, AFirstSyncIntoAnEmptyFolderAndItsLog) {
  PutHandheld("Plan", {kBusiness, false, false, "the plan"});
  PutHandheld("Diary", {kPersonal, true, false, "dear diary"});
  const HostResult r = Sync();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText("the plan", false));
  EXPECT_EQ(Desktop("Personal", "Diary"), DesktopText("dear diary", false));
  EXPECT_EQ(HandheldCopy("Diary")->modified, false);

  PutDesktop("Business", "Plan", DesktopText("the plan, changed", true));
  PutHandheld("Notes", {kPersonal, true, false, "notes"});
  ASSERT_EQ(Sync().status, 0);
  const std::string golden =
      "--- HotSync of Alice <date> ---\n"
      "Info TextTest - Creating user workbook directory: " +
      desktop_ +
      "\n"
      "Info TextTest - sync configured to Synchronize (new desktop - Handheld overwrites desktop)\n"
      "Info TextTest - Copy Diary to PC.\n"
      "Info TextTest - Copy Plan to PC.\n"
      "OK TextTest\n"
      "--- HotSync of Alice <date> ---\n"
      "Info TextTest - sync configured to Synchronize\n"
      "Info TextTest - Copy Notes to PC.\n"
      "Info TextTest - Copy Plan to Device.\n"
      "OK TextTest\n";
  EXPECT_EQ(Untimed(LogFile()), golden);
  const auto identity = hotsync::ReadIdentity(device_);
  ASSERT_TRUE(identity);
  EXPECT_EQ(identity->userName, "Alice");
  EXPECT_EQ(identity->userId, kAlice);
  EXPECT_FALSE(identity->desktop.empty());
}

TEST_F(Host, SyncTypesZeroToSeven) {
  InStep({{"Plan", kBusiness}, {"Diary", kPersonal}});
  struct Case {
    int32_t type;
    std::string line;
  };
  const Case cases[] = {
      {0, "Info TextTest - sync configured to Synchronize"},
      {1, "Info TextTest - sync configured to Synchronize (alternate desktop)"},
      {2, "Info TextTest - sync configured to Device overwrites desktop"},
      {3, "Info TextTest - sync configured to Desktop overwrites device"},
      {4, "OK TextTest - Installed"},
      {5, "Info TextTest - Default: Synchronize the workbooks..."},
      {6, "OK TextTest - sync configured to do nothing"},
      {7, "Info TextTest - Default: Synchronize the workbooks..."},
  };
  for (const Case& c : cases) {
    SetOnce(c.type);
    // A desktop-only file and a handheld-only one, both changed: what each
    // type does with them tells the mode.
    PutDesktop("Business", "FromDesktop", DesktopText("desktop side", true));
    PutHandheld("FromHandheld", {kBusiness, true, false, "handheld side"});
    const HostResult r = Sync();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(LastRunHas(c.line)) << c.type << ::testing::PrintToString(LastRun());
    const bool desktopKept = Desktop("Business", "FromDesktop").has_value();
    const bool handheldKept = HandheldCopy("FromHandheld").has_value();
    const bool synchronized = HandheldCopy("FromDesktop") && Desktop("Business", "FromHandheld");
    switch (c.type) {
      case 2:  // the handheld overwrites: the desktop-only file goes
        EXPECT_FALSE(desktopKept);
        EXPECT_TRUE(Desktop("Business", "FromHandheld"));
        break;
      case 3:  // the desktop overwrites: the handheld-only file goes
        EXPECT_FALSE(handheldKept);
        EXPECT_TRUE(HandheldCopy("FromDesktop"));
        break;
      case 4:
      case 6:  // nothing happens
        EXPECT_FALSE(HandheldCopy("FromDesktop"));
        EXPECT_FALSE(Desktop("Business", "FromHandheld"));
        break;
      default:
        EXPECT_TRUE(synchronized) << c.type;
    }
    // The one-time choice is used up.
    EXPECT_FALSE(hotsync::host::ReadSyncAction(kAlice, "TextTest").once) << c.type;
    // Back in step for the next case.
    stdfs::remove(desktop_ + "Business/FromDesktop.ttx");
    stdfs::remove(desktop_ + "Business/FromHandheld.ttx");
    session_.reset();
    stdfs::remove(device_ + "/FromDesktop.pdb");
    stdfs::remove(device_ + "/FromHandheld.pdb");
  }
}

// A sync type the conduit does not know, as the registry may hold any number:
// the conduit synchronizes, and from another desktop that synchronize is the
// slow one. A fast one would take a file the other desktop put on the
// handheld (marked as changed nowhere) for one deleted here, and delete it.
TEST_F(Host, ATypeTheConduitDoesNotKnowSynchronizesSlowlyFromAnotherDesktop) {
  InStep({{"Plan", kBusiness}});
  for (const int32_t type : {5, 7, -1, 255, INT32_MAX, INT32_MIN}) {
    for (const bool permanent : {false, true}) {
      SCOPED_TRACE(std::to_string(type) + (permanent ? " for every HotSync" : " once"));
      hotsync::host::SyncAction action;
      (permanent ? action.permanent : action.once) = type;
      hotsync::host::WriteSyncAction(kAlice, "TextTest", action);
      FromAnotherDesktop();
      PutHandheld("Other", {kPersonal, false, false, "from the other desktop"});
      HostResult r = Sync();
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_TRUE(LastRunHas("Info TextTest - sync configured to Synchronize (alternate desktop)"))
          << ::testing::PrintToString(LastRun());
      EXPECT_TRUE(HandheldCopy("Other"));
      EXPECT_EQ(Desktop("Personal", "Other"), DesktopText("from the other desktop", false));
      EXPECT_FALSE(hotsync::host::ReadSyncAction(kAlice, "TextTest").alternateDesktop);

      // From this desktop: the conduit's own default, a synchronize.
      if (!permanent) hotsync::host::WriteSyncAction(kAlice, "TextTest", action);
      PutDesktop("Business", "Plan", DesktopText("changed here", true));
      r = Sync();
      ASSERT_EQ(r.status, 0) << r.err;
      EXPECT_TRUE(LastRunHas("Info TextTest - Default: Synchronize the workbooks..."))
          << ::testing::PrintToString(LastRun());
      EXPECT_EQ(HandheldCopy("Plan")->body, "changed here");
      EXPECT_TRUE(HandheldCopy("Other"));
      EXPECT_FALSE(hotsync::host::ReadSyncAction(kAlice, "TextTest").once);

      stdfs::remove(desktop_ + "Personal/Other.ttx");
      session_.reset();
      stdfs::remove(device_ + "/Other.pdb");
    }
  }
}

TEST_F(Host, DeletionsOnEitherSideAreCarriedOver) {
  InStep({{"Plan", kBusiness}, {"Diary", kPersonal}});
  stdfs::remove(desktop_ + "Business/Plan.ttx");
  session_.reset();
  stdfs::remove(device_ + "/Diary.pdb");
  ASSERT_EQ(Sync().status, 0);
  EXPECT_FALSE(HandheldCopy("Plan"));
  EXPECT_FALSE(Desktop("Personal", "Diary"));
}

TEST_F(Host, ConflictsGoByThePrevailSetting) {
  InStep({{"Plan", kBusiness}});
  PutDesktop("Business", "Plan", DesktopText("desktop change", true));
  PutHandheld("Plan", {kBusiness, true, false, "handheld change"});
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas(
      "Info TextTest - Plan modified on desktop and device.  Device overwriting desktop."));
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText("handheld change", false));

  registry::SetValue(registry::Hive::CurrentUser, "Software\\Brevora\\TextTest", "SyncPrevail",
                     registry::Value::DWord(1));
  PutDesktop("Business", "Plan", DesktopText("desktop change", true));
  PutHandheld("Plan", {kBusiness, true, false, "handheld change"});
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas(
      "Info TextTest - Plan modified on desktop and device.  Desktop overwriting device."));
  EXPECT_EQ(HandheldCopy("Plan")->body, "desktop change");
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText("desktop change", false));
}

TEST_F(Host, AFileMovedToAnotherCategory) {
  InStep({{"Plan", kBusiness}});
  PutHandheld("Plan", {kPersonal, false, false, "Plan v1"});
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas(
      "Info TextTest - Plan modified on desktop and device.  Device overwriting desktop."));
  EXPECT_FALSE(Desktop("Business", "Plan"));
  EXPECT_EQ(Desktop("Personal", "Plan"), DesktopText("Plan v1", false));
}

TEST_F(Host, AnotherDesktopMakesASlowSync) {
  InStep({{"Plan", kBusiness}});
  // The handheld comes back from another desktop with a different text,
  // marked as changed nowhere.
  PutHandheld("Plan", {kBusiness, false, false, "from the other desktop"});
  auto identity = *hotsync::ReadIdentity(device_);
  identity.desktop = "00000000000000ff";
  hotsync::WriteIdentity(device_, identity);
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info TextTest - sync configured to Synchronize (alternate desktop)"));
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText("from the other desktop", false));
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info TextTest - sync configured to Synchronize"));
}

// A HotSync in which the conduit failed still makes the handheld name this
// desktop: the next ones are normal HotSyncs, so a file deleted on the desktop
// is deleted on the handheld (a HotSync with an alternate desktop would bring
// it back from there), on a handheld's first HotSync as on one from another
// desktop.
TEST_F(Host, AHotSyncInWhichAConduitFailedLeavesTheNextOnesNormal) {
  for (const bool first : {true, false}) {
    SCOPED_TRACE(first ? "a first HotSync" : "a HotSync from another desktop");
    session_.reset();
    stdfs::remove_all(device_);
    stdfs::create_directories(device_);
    stdfs::remove_all(desktop_);
    if (first) {
      PutHandheld("Plan", {kBusiness, false, false, "the plan"});
      PutHandheld("Diary", {kPersonal, false, false, "dear diary"});
    } else {
      InStep({{"Plan", kBusiness}, {"Diary", kPersonal}});
      FromAnotherDesktop();
    }
    // A desktop file the conduit can't read: it fails every HotSync.
    PutDesktop("Business", "Broken", "not a desktop file");
    EXPECT_EQ(Sync().status, hotsync::host::kConduitFailedStatus);
    EXPECT_TRUE(LastRunHas("Failed TextTest"));
    EXPECT_EQ(hotsync::ReadIdentity(device_)->desktop, hotsync::host::DesktopId());
    ASSERT_TRUE(Desktop("Business", "Plan"));

    stdfs::remove(desktop_ + "Business/Plan.ttx");
    for (int run = 0; run < 2; ++run) {
      EXPECT_EQ(Sync().status, hotsync::host::kConduitFailedStatus);
      EXPECT_TRUE(LastRunHas("Info TextTest - sync configured to Synchronize"))
          << ::testing::PrintToString(LastRun());
      EXPECT_FALSE(Desktop("Business", "Plan")) << run;
      EXPECT_FALSE(HandheldCopy("Plan")) << run;
      EXPECT_TRUE(Desktop("Personal", "Diary")) << run;
      EXPECT_TRUE(HandheldCopy("Diary")) << run;
    }
  }
}

// The handheld failing in a HotSync with an alternate desktop: the conduit may
// have kept nothing of it, so its next HotSync is one with an alternate
// desktop again, and only the one after that is a normal one.
TEST_F(Host, AHandheldThatFailedOwesTheConduitItsAlternateDesktop) {
  InStep({{"Plan", kBusiness}});
  FromAnotherDesktop();
  ASSERT_EQ(Sync({"--cut-list", "1"}).status, hotsync::host::kConduitFailedStatus);
  EXPECT_TRUE(hotsync::host::ReadSyncAction(kAlice, "TextTest").alternateDesktop);
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info TextTest - sync configured to Synchronize (alternate desktop)"));
  EXPECT_FALSE(hotsync::host::ReadSyncAction(kAlice, "TextTest").alternateDesktop);
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info TextTest - sync configured to Synchronize"));
}

// One HotSync at a time of a handheld, and of a user's folders: while another
// process holds either lock, a HotSync says so, exits 4 and touches nothing.
TEST_F(Host, AHotSyncOfAHandheldOrUserThatIsSyncingIsRefused) {
  InStep({{"Plan", kBusiness}});
  PutDesktop("Business", "Plan", DesktopText("changed on the desktop", true));
  const auto before = State();
  const std::string log = LogFile();
  const struct {
    std::string folder;
    std::string message;
  } cases[] = {
      {device_,
       "hotsync: Another HotSync of this handheld is running. Nothing was synchronized; try again "
       "when "
       "it has finished.\n"},
      {userFolder_,
       "hotsync: Another HotSync of Alice is running. Nothing was synchronized; try again when it "
       "has finished.\n"},
  };
  for (const auto& c : cases) {
    const auto other = hotsync::RunLock::TryTake(c.folder);
    ASSERT_TRUE(other);
    const HostResult r = Sync();
    EXPECT_EQ(r.status, hotsync::host::kBusyStatus);
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(State(), before);
    EXPECT_EQ(LogFile(), log);
  }
  ASSERT_EQ(Sync().status, 0);
  EXPECT_EQ(HandheldCopy("Plan")->body, "changed on the desktop");
  EXPECT_NE(RunHotSync({"--help"})
                .out.find("4 another HotSync of this handheld or of its user is running"),
            std::string::npos);
}

// Two HotSyncs of one handheld started at once: one runs, the other says that
// it can't (or, when the first was done already, runs after it); nothing is
// lost and a third ends where one HotSync alone would have.
TEST_F(Host, TwoHotSyncsAtOnceLoseNothing) {
  std::vector<std::pair<std::string, uint8_t>> files;
  for (int i = 0; i < 60; ++i)
    files.emplace_back("File" + std::to_string(i), i % 2 ? kBusiness : kPersonal);
  InStep(files);
  for (int i = 0; i < 60; i += 3) {
    const auto& [name, category] = files[static_cast<std::size_t>(i)];
    PutDesktop(category == kBusiness ? "Business" : "Personal", name,
               DesktopText(name + " desktop v2", true));
    PutHandheld(files[static_cast<std::size_t>(i + 1)].first,
                {files[static_cast<std::size_t>(i + 1)].second, true, false, "handheld v2"});
  }
  for (int i = 0; i < 60; ++i)
    PutDesktop("Work", "New" + std::to_string(i), DesktopText("new " + std::to_string(i), true));
  Save();
  ASSERT_EQ(Sync().status, 0);
  const auto expected = State();
  for (int trial = 0; trial < 3; ++trial) {
    Restore();
    HostResult results[2];
    const std::vector<std::string> args = {"sync", "--device", device_, "--user", "Alice"};
    std::thread second([&] { results[1] = RunHotSync(args); });
    results[0] = RunHotSync(args);
    second.join();
    int ran = 0;
    for (const HostResult& r : results) {
      if (r.status == 0) {
        ++ran;
      } else {
        EXPECT_EQ(r.status, hotsync::host::kBusyStatus) << r.err;
        EXPECT_NE(r.err.find("Another HotSync of this handheld is running."), std::string::npos)
            << r.err;
      }
    }
    EXPECT_GE(ran, 1);
    EXPECT_EQ(State(), expected) << trial;
    ASSERT_EQ(Sync().status, 0);
    EXPECT_EQ(State(), expected) << trial;
    EXPECT_TRUE(Leftovers().empty()) << ::testing::PrintToString(Leftovers());
  }
}

// What killed HotSyncs left, the temporary files of their writes, the next
// HotSync removes: in the device folder, the user's folder and the category
// folders. Nothing else: the lock, other hidden files, other names.
TEST_F(Host, WhatKilledHotSyncsLeftTheNextOneRemoves) {
  InStep({{"Plan", kBusiness}});
  const auto put = [](const std::string& path) { std::ofstream(path, std::ios::binary) << "left"; };
  const std::vector<std::string> leftovers = {
      device_ + "/.Plan.pdb.0a1b2c3d.tmp", device_ + "/.identity.txt.tmp0a1b2c3d",
      userFolder_ + ".hotsync.log.00ff00ff.tmp", desktop_ + "Business/.Plan.ttx.tmpk3x0a9zq",
      desktop_ + "Business/.Gone.ttx.tmp00000000"};
  const std::vector<std::string> kept = {
      device_ + "/.notes", device_ + "/.Plan.pdb.tmp", desktop_ + "Business/.Plan.ttx",
      desktop_ + "Business/.Plan.txt.tmpk3x0a9zq", userFolder_ + ".profile"};
  for (const auto& path : leftovers) put(path);
  for (const auto& path : kept) put(path);
  ASSERT_EQ(Sync().status, 0);
  for (const auto& path : leftovers) EXPECT_FALSE(stdfs::exists(path)) << path;
  for (const auto& path : kept) EXPECT_TRUE(stdfs::exists(path)) << path;
  EXPECT_TRUE(stdfs::exists(device_ + "/.hotsync.lock"));
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText("Plan v1", false));
}

TEST_F(Host, TheActionDialogsAnswerIsKept) {
  InStep({{"Plan", kBusiness}});
  HostResult r = RunHotSync(
      {"configure", "--user", "alice", "--conduit", "texttest", "--choice", "2", "--default"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "TextTest: Handheld overwrites Desktop for every HotSync.\n");
  r = RunHotSync({"configure", "--user", "Alice", "--conduit", "TextTest", "--choice", "1"});
  EXPECT_EQ(r.out, "TextTest: Desktop overwrites handheld for the next HotSync.\n");
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info TextTest - sync configured to Desktop overwrites device"));
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info TextTest - sync configured to Device overwrites desktop"));
  r = RunHotSync({"configure", "--user", "Alice", "--conduit", "TextTest", "--cancel"});
  EXPECT_EQ(r.out, "TextTest: nothing changed.\n");
  // Without a terminal and without an answer, the dialog is cancelled.
  r = RunHotSync({"configure", "--user", "Alice", "--conduit", "TextTest"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(hotsync::host::ReadSyncAction(kAlice, "TextTest").permanent, 2);
}

TEST_F(Host, BadCommandsAndUnknownNames) {
  EXPECT_EQ(RunHotSync({}).status, 2);
  EXPECT_EQ(RunHotSync({"sync"}).status, 2);
  EXPECT_EQ(RunHotSync({"sync", "--device", device_, "--fail-call", "0"}).status, 2);
  EXPECT_EQ(RunHotSync({"frobnicate"}).status, 2);
  EXPECT_EQ(
      RunHotSync({"configure", "--user", "Nobody", "--conduit", "TextTest", "--cancel"}).status, 1);
  EXPECT_EQ(RunHotSync({"register", "--name", "Bad", "--library", "/nonexistent.so", "--directory",
                        "Bad", "--creator", "Badd"})
                .status,
            1);
  const HostResult noUser = RunHotSync({"sync", "--device", device_});
  EXPECT_EQ(noUser.status, 1);
  EXPECT_EQ(noUser.err, "hotsync: This handheld has no user yet: name one with --user.\n");
  EXPECT_EQ(RunHotSync({"sync", "--device", device_ + "/missing", "--user", "Alice"}).status, 1);
  ASSERT_EQ(Sync().status, 0);
  const HostResult other = RunHotSync({"sync", "--device", device_, "--user", "Bob"});
  EXPECT_EQ(other.status, 1);
  EXPECT_EQ(other.err, "hotsync: This handheld belongs to Alice, not Bob.\n");
}

TEST_F(Host, TheDesktopWindowGetsTheRefreshClick) {
  windows::RegisteredWindow window("ThunderRT5Form", "Brevora Desktop",
                                   {{"ThunderRT5CommandButton", "Refresh"}});
  ASSERT_EQ(Sync().status, 0);
  pollfd p{window.fd(), POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 5000), 1);
  std::vector<windows::WindowMessage> received;
  window.HandlePending([&](const windows::WindowMessage& m) { received.push_back(m); });
  EXPECT_EQ(received, std::vector<windows::WindowMessage>{
                          windows::WindowMessage::Click("ThunderRT5CommandButton", "Refresh")});
}

// What the faults of the handheld (fault_sweeps.h) do to a HotSync of text
// files that changed on both sides in every way: changed, new, deleted and
// moved files, a new folder and a new label.
class TextTestFaults : public Host {
 public:
  static constexpr const char* kProduct = "TextTest";
  static std::vector<uint64_t> RoomSizes() {
    std::vector<uint64_t> sizes;
    for (uint64_t room = 0; room < 10000; room += 40) sizes.push_back(room);
    return sizes;
  }
  static constexpr int kFullRuns = 11;

  void Prepare() {
    InStep({{"Same", kBusiness},
            {"DeskChanged", kBusiness},
            {"HandChanged", kBusiness},
            {"Both", kBusiness},
            {"DeskDeleted", kBusiness},
            {"HandDeleted", kBusiness},
            {"Moved", kBusiness}});
    PutDesktop("Business", "DeskChanged", DesktopText("DeskChanged v2", true));
    PutHandheld("HandChanged", {kBusiness, true, false, "HandChanged v2"});
    PutDesktop("Business", "Both", DesktopText("Both desktop v2", true));
    PutHandheld("Both", {kBusiness, true, false, "Both handheld v2"});
    PutDesktop("Business", "DeskNew", DesktopText("DeskNew v1", true));
    PutHandheld("HandNew", {kPersonal, true, false, "HandNew v1"});
    stdfs::remove(desktop_ + "Business/DeskDeleted.ttx");
    session_.reset();
    stdfs::remove(device_ + "/HandDeleted.pdb");
    PutHandheld("Moved", {kPersonal, false, false, "Moved v1"});
    PutDesktop("Work", "InNewFolder", DesktopText("InNewFolder v1", true));
    AddHandheldCategory(3, "Travel");
    PutHandheld("InNewLabel", {3, true, false, "InNewLabel v1"});
  }

  testing::Snapshot Outcome() const { return State(); }

  // Every text that the uninterrupted HotSync keeps is still somewhere.
  void ExpectNothingLost(const testing::Snapshot& uninterrupted, const std::string& what) const {
    std::set<std::string> present;
    const auto now = State();
    for (const auto& [path, text] : now.desktop)
      present.insert(text.substr(std::min<std::size_t>(text.size(), 6)));
    for (const auto& [name, db] : now.handheld) {
      if (const auto h = testing::ReadHandheld(db)) present.insert(h->body);
    }
    for (const auto& [path, text] : uninterrupted.desktop) {
      if (text.empty()) continue;
      EXPECT_TRUE(present.contains(text.substr(6))) << what << ": " << path << " lost";
    }
  }

  // Every text database of the handheld holds together.
  void ExpectNoHalfDatabase(const std::string& what) const {
    for (const auto& [name, db] : State().handheld) {
      if (db.type == "Text") {
        EXPECT_TRUE(testing::ReadHandheld(db)) << what << ": " << name << " is half written";
      }
    }
  }
};

}  // namespace
}  // namespace brevora::texttest

namespace brevora::conduit::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(TextTest, FaultSweeps, FaultSweepsOf<texttest::TextTestFaults>,
                               FaultSweepNames);

}  // namespace brevora::conduit::testing
