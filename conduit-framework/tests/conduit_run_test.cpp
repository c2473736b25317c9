// Runs of the framework, in process, with the TextTest conduit.
#include <gtest/gtest.h>
#include <poll.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "conduit-framework/category_block.h"
#include "conduit-framework/conduit_run.h"
#include "conduit-framework/sync_state.h"
#include "conduit-framework/test_conduit/text_conduit.h"
#include "conduit-framework/tests/texttest_fixture.h"
#include "platform/fs/files.h"
#include "platform/hotsync/conduit_api.h"
#include "platform/hotsync/hotsync_log.h"
#include "platform/registry/registry.h"
#include "platform/windows/window_directory.h"
#include "testing/temp_home.h"

namespace brevora::texttest {

using conduit::CategoryBlock;
using conduit::ConverterBridge;
using conduit::GetSyncMode;
using conduit::SyncMode;
using conduit::SyncState;
namespace {

using brevora::testing::TestDatabase;
using testing::DesktopText;
using testing::Handheld;
using testing::TextTest;
namespace stdfs = std::filesystem;

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The main database's sync state and categories as the device holds them.
struct MainState {
  SyncState state;
  CategoryBlock categories;
};

class Runs : public TextTest {
 protected:
  std::optional<MainState> Main() const {
    const auto db = HandheldDatabase("MainTextTestDB");
    if (!db) return std::nullopt;
    const auto state = SyncState::Parse(
        std::span(reinterpret_cast<const uint8_t*>(db->sortInfo.data()), db->sortInfo.size()));
    const auto block = CategoryBlock::Parse(
        std::span(reinterpret_cast<const uint8_t*>(db->appInfo.data()), db->appInfo.size()));
    if (!state || !block) return std::nullopt;
    return MainState{*state, *block};
  }

  // A completed first run, so that the next one is an ordinary one.
  void FirstRun() {
    stdfs::create_directories(desktop_ + "Unfiled");
    Run(kSyncTypeSynchronize);
    ASSERT_EQ(LogActivities().back(), kLogConduitDone) << ::testing::PrintToString(LogTexts());
    ClearLog();
  }
};

TEST_F(Runs, SyncModesAndTheirLines) {
  struct Case {
    int32_t type;
    bool newDesktop;
    SyncMode mode;
    bool slow;
    std::string line;
  };
  const std::string kNew =
      "TextTest - sync configured to Synchronize (new desktop - Handheld overwrites desktop)";
  const Case cases[] = {
      {0, true, SyncMode::HandheldOverwrites, false, kNew},
      {0, false, SyncMode::Synchronize, false, "TextTest - sync configured to Synchronize"},
      {1, true, SyncMode::HandheldOverwrites, true, kNew},
      {1, false, SyncMode::Synchronize, true,
       "TextTest - sync configured to Synchronize (alternate desktop)"},
      {2, false, SyncMode::HandheldOverwrites, false,
       "TextTest - sync configured to Device overwrites desktop"},
      {3, true, SyncMode::DesktopOverwrites, false,
       "TextTest - sync configured to Desktop overwrites device"},
      {6, false, SyncMode::DoNothing, false, "TextTest - sync configured to Do Nothing"},
      {5, false, SyncMode::Synchronize, false, "TextTest - Default: Synchronize the workbooks..."},
      {7, true, SyncMode::Synchronize, false, "TextTest - Default: Synchronize the workbooks..."},
  };
  for (const Case& c : cases) {
    ClearLog();
    bool slow = !c.slow;
    EXPECT_EQ(GetSyncMode(TextTestProduct(), c.type, c.newDesktop, slow), c.mode) << c.type;
    EXPECT_EQ(slow, c.slow) << c.type;
    EXPECT_EQ(LogTexts(), std::vector<std::string>{c.line});
  }
}

TEST_F(Runs, AFirstRunIntoAMissingFolderTakesTheHandheldsFiles) {
  PutHandheld("Plan", {kBusiness, false, false, "the plan"});
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(
      LogTexts(),
      (std::vector<std::string>{
          "TextTest - Creating user workbook directory: " + desktop_,
          "TextTest - sync configured to Synchronize (new desktop - Handheld overwrites desktop)",
          "TextTest - Copy Plan to PC.", "TextTest"}));
  EXPECT_EQ(LogActivities().back(), kLogConduitDone);
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText("the plan", false));
  for (const char* category : {"Unfiled", "Business", "Personal"}) {
    EXPECT_TRUE(stdfs::is_directory(desktop_ + category)) << category;
  }
  EXPECT_EQ(Main()->state, (SyncState{1, 0, 0, 0, 0}));
}

TEST_F(Runs, InstallAndDoNothingOnlyLog) {
  Run(kSyncTypeInstall);
  Run(kSyncTypeDoNothing);
  const auto entries = log_->entries();
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0], (hotsync::LogEntry{"TextTest - Installed", kLogConduitDone, true}));
  EXPECT_EQ(entries[1], (hotsync::LogEntry{"TextTest - sync configured to do nothing",
                                           kLogConduitDone, false}));
  EXPECT_TRUE(brevora::testing::DatabaseNames(device_).empty());
}

TEST_F(Runs, AFolderWithOnlyExamplesIsANewDesktop) {
  stdfs::create_directories(desktop_ + "EXAMPLES");
  PutDesktop("EXAMPLES", "Sample", DesktopText("sample", false));
  PutHandheld("Plan", {kBusiness, false, false, "the plan"});
  Run(kSyncTypeSynchronize);
  EXPECT_TRUE(Contains(
      LogTexts(),
      "TextTest - sync configured to Synchronize (new desktop - Handheld overwrites desktop)"));
  // Handheld overwrites desktop: the desktop-only category is emptied of the product's files.
  EXPECT_FALSE(stdfs::exists(desktop_ + "EXAMPLES"));
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText("the plan", false));
}

TEST_F(Runs, TheHomePathOverridesTheFolderWhenUseHomePathIsSet) {
  const std::string home = brevora::testing::MakeTempDir("home-path") + "/";
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Brevora\\TextTest", "UseHomePath",
                     registry::Value::DWord(7));
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Brevora\\TextTest", "HomePath",
                     registry::Value::String(home));
  PutHandheld("Plan", {kBusiness, false, false, "the plan"});
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(LogTexts()[0],
            "TextTest - Sync set to override user directory and use workbook path: " + home);
  EXPECT_TRUE(stdfs::exists(home + "Business/Plan.ttx"));
  EXPECT_FALSE(stdfs::exists(desktop_));

  // An existing but empty home folder is a new desktop too: nothing on the
  // handheld is deleted for being absent there.
  ClearLog();
  const std::string other = brevora::testing::MakeTempDir("other-home") + "/";
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Brevora\\TextTest", "HomePath",
                     registry::Value::String(other));
  Run(kSyncTypeSynchronize);
  EXPECT_TRUE(Contains(
      LogTexts(),
      "TextTest - sync configured to Synchronize (new desktop - Handheld overwrites desktop)"));
  EXPECT_TRUE(HandheldCopy("Plan"));
  EXPECT_TRUE(stdfs::exists(other + "Business/Plan.ttx"));

  ClearLog();
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Brevora\\TextTest", "HomePath",
                     registry::Value::String("/" + std::string(300, 'p')));
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(LogActivities().back(), kLogConduitFailed);
}

TEST_F(Runs, TheOlderMainDatabaseIsMigrated) {
  CategoryBlock old = CategoryBlock::Defaults();
  old.labels[3] = "Travel";
  TestDatabase oldDb = brevora::testing::Database("OldTextTestDB");
  oldDb.type = "Main";
  oldDb.creator = "TxtT";
  const auto bytes = old.Bytes();
  oldDb.appInfo.assign(bytes.begin(), bytes.end());
  PutHandheld(oldDb);
  Run(kSyncTypeSynchronize);
  EXPECT_FALSE(HandheldDatabase("OldTextTestDB"));
  ASSERT_TRUE(Main());
  EXPECT_EQ(Main()->categories.labels[3], "Travel");
  EXPECT_TRUE(stdfs::is_directory(desktop_ + "Travel"));
}

TEST_F(Runs, WhatCantBeReadIsLeftAloneOnBothSides) {
  FirstRun();
  // A damaged handheld file, a database of an unknown version, one of a
  // version too old, a name with a separator, one that is not a one-record
  // database; each with a desktop namesake where that can be.
  session_.reset();
  std::ofstream(device_ + "/Broken.pdb") << "not a database";
  PutDesktop("Business", "Broken", DesktopText("desktop broken", false));
  PutHandheld("Future", {kBusiness, false, false, "future", 7});
  PutDesktop("Business", "Future", DesktopText("desktop future", false));
  PutHandheld("Ancient", {kBusiness, true, false, "ancient", 1});
  PutHandheld("a/b", {kBusiness, true, false, "slash"});
  Handheld two{kBusiness, true, false, "two"};
  TestDatabase twoRecords = testing::HandheldDatabase("Two", two);
  twoRecords.records.push_back({kBusiness, 2, "-\nmore"});
  PutHandheld(twoRecords);
  PutDesktop("Business", "Two", DesktopText("desktop two", false));
  PutDesktop("Business", "Unreadable", "no header at all");
  PutDesktop("Business", std::string(32, 'L'), DesktopText("long", true));
  const auto before = State();

  Run(kSyncTypeSynchronize);
  EXPECT_EQ(State().desktop, before.desktop);
  for (const auto& [name, db] : before.handheld) {
    if (name != "MainTextTestDB") {
      EXPECT_EQ(HandheldDatabase(name), db) << name;
    }
  }
  const auto log = LogTexts();
  EXPECT_EQ(LogActivities().back(), kLogConduitFailed);
  EXPECT_TRUE(Contains(
      log, "TextTest - Broken: the handheld's copy can't be read -- left as it is on both sides."));
  EXPECT_TRUE(Contains(
      log, "TextTest - Future: database version 7 is not known -- left as it is on both sides."));
  EXPECT_TRUE(Contains(log,
                       "TextTest - a/b: this name can't be a desktop file name -- please rename it "
                       "on the handheld."));
  EXPECT_TRUE(Contains(log, "TextTest - Two: the handheld's copy holds 2 records, not one."));
  EXPECT_TRUE(Contains(log, "TextTest - Could not read header for:Unreadable"));
  EXPECT_TRUE(Contains(log, "TextTest - " + std::string(32, 'L') +
                                ": this name can't be a handheld database name -- left as it is."));
}

TEST_F(Runs, BadDataFoundInACopyLeavesBothSidesAndTheNextRunIsFresh) {
  FirstRun();
  PutHandheld("Plan", {kBusiness, false, false, "plan v1"});
  PutDesktop("Business", "Plan", DesktopText(std::string("line one\nline\0two", 17), true));
  PutDesktop("Business", "Other", DesktopText("other", true));
  Run(kSyncTypeSynchronize);
  EXPECT_TRUE(Contains(LogTexts(), "TextTest - Plan: " + desktop_ +
                                       "Business/Plan.ttx, line 5: a NUL byte in the text."));
  EXPECT_EQ(LogActivities().back(), kLogConduitFailed);
  EXPECT_EQ(HandheldCopy("Plan"), (Handheld{kBusiness, false, false, "plan v1"}));
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText(std::string("line one\nline\0two", 17), true));
  EXPECT_TRUE(HandheldCopy("Other"));  // the others are synchronized

  // Put right, the next run in the same process ends well: nothing of the
  // last run's state is left over.
  ClearLog();
  PutDesktop("Business", "Plan", DesktopText("line one\nline two", true));
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(LogActivities().back(), kLogConduitDone);
  EXPECT_EQ(HandheldCopy("Plan")->body, "line one\nline two");
}

TEST_F(Runs, TheHandheldsListIsReadToItsEnd) {
  FirstRun();
  session_.reset();
  for (int i = 0; i < 1100; ++i) {
    brevora::testing::PutDatabase(
        device_, testing::HandheldDatabase("N" + std::to_string(i), {kPersonal, true, false, "n"}));
  }
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(LogActivities().back(), kLogConduitDone);
  EXPECT_EQ(
      std::distance(stdfs::directory_iterator(desktop_ + "Personal"), stdfs::directory_iterator()),
      1100);
}

TEST_F(Runs, NamesOtherDatabasesHoldAreNeverWrittenOver) {
  FirstRun();
  TestDatabase memo = brevora::testing::Database("Memo", {{0, 1, "a memo of another program"}});
  PutHandheld(memo);
  PutDesktop("Business", "Memo", DesktopText("a text file", true));
  PutDesktop("Business", "MainTextTestDB", DesktopText("pretends to be the main database", true));
  PutDesktop("Business", "TextTest1DB", DesktopText("a reserved name", true));
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(HandheldDatabase("Memo"), memo);
  EXPECT_FALSE(HandheldDatabase("TextTest1DB"));
  EXPECT_TRUE(Main());
  EXPECT_EQ(Desktop("Business", "Memo"), DesktopText("a text file", true));
  EXPECT_EQ(Desktop("Business", "MainTextTestDB"),
            DesktopText("pretends to be the main database", true));
  EXPECT_EQ(LogActivities().back(), kLogConduitFailed);
}

TEST_F(Runs, CategoriesMatchWithoutCaseAndKeepTheDesktopSpelling) {
  FirstRun();
  stdfs::rename(desktop_ + "Business", desktop_ + "business");
  PutDesktop("business", "Plan", DesktopText("plan", true));
  PutHandheld("Notes", {kBusiness, true, false, "notes"});
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(HandheldCopy("Plan"), (Handheld{kBusiness, false, false, "plan"}));
  EXPECT_EQ(Desktop("business", "Notes"), DesktopText("notes", false));
  EXPECT_FALSE(stdfs::exists(desktop_ + "Business"));
  EXPECT_EQ(Main()->categories.labels[kBusiness], "Business");
  EXPECT_EQ(LogActivities().back(), kLogConduitDone);
}

TEST_F(Runs, ACopyThatChangesCategoryLeavesNoOldCopy) {
  FirstRun();
  PutDesktop("Business", "Plan", DesktopText("plan", false));
  PutHandheld("Plan", {kPersonal, true, false, "plan, moved and changed"});
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(Desktop("Personal", "Plan"), DesktopText("plan, moved and changed", false));
  EXPECT_FALSE(Desktop("Business", "Plan"));
  EXPECT_EQ(HandheldCopy("Plan"), (Handheld{kPersonal, false, false, "plan, moved and changed"}));
}

TEST_F(Runs, ALabelThatCantBeAFolderIsLeftAlone) {
  FirstRun();
  CategoryBlock block = CategoryBlock::Defaults();
  block.labels[4] = "..";
  block.labels[5] = "a/b";
  TestDatabase main = *HandheldDatabase("MainTextTestDB");
  const auto bytes = block.Bytes();
  main.appInfo.assign(bytes.begin(), bytes.end());
  PutHandheld(main);
  PutHandheld("Up", {4, true, false, "up"});
  PutHandheld("Slash", {5, true, false, "slash"});
  // A desktop file of the same name elsewhere is left alone with it.
  PutDesktop("Business", "Up", DesktopText("up on the desktop", false));
  // So are a file in a category without a name, and its desktop namesake.
  PutHandheld("Nameless", {9, false, false, "nameless"});
  PutDesktop("Personal", "Nameless", DesktopText("nameless on the desktop", false));
  // And a folder that can't be a category, with a namesake on the handheld.
  PutDesktop("A very long category", "Plan", DesktopText("plan", true));
  PutHandheld("Plan", {kBusiness, false, false, "plan on the handheld"});
  const auto before = State();
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(State().desktop, before.desktop);
  for (const char* name : {"Up", "Slash", "Nameless", "Plan"}) {
    EXPECT_EQ(HandheldDatabase(name), before.handheld.at(name)) << name;
  }
  EXPECT_EQ(Main()->categories.labels[4], "..");
  EXPECT_FALSE(stdfs::exists(desktop_ + "a"));
  EXPECT_EQ(LogActivities().back(), kLogConduitFailed);
  const auto log = LogTexts();
  EXPECT_TRUE(Contains(
      log, "TextTest - The category a/b can't be a desktop folder -- it was left as it is."));
  EXPECT_TRUE(Contains(log,
                       "TextTest - The folder A very long category can't be a handheld category -- "
                       "it was left as it is."));
  EXPECT_TRUE(Contains(
      log, "TextTest - Nameless: its category has no name -- left as it is on both sides."));
}

TEST_F(Runs, EmptyingADesktopOnlyCategoryRemovesOnlyTheProductsFiles) {
  FirstRun();
  PutDesktop("Work", "Plan", DesktopText("plan", true));
  std::ofstream(desktop_ + "Work/letter.doc") << "not ours";
  PutDesktop("Gone", "Old", DesktopText("old", false));
  Run(kSyncTypeHandheldOverwrites);
  EXPECT_FALSE(Desktop("Work", "Plan"));
  EXPECT_TRUE(stdfs::exists(desktop_ + "Work/letter.doc"));
  EXPECT_FALSE(stdfs::exists(desktop_ + "Gone"));
}

TEST_F(Runs, DesktopOverwritesNeverClearsUnfiled) {
  FirstRun();
  stdfs::remove_all(desktop_ + "Unfiled");
  PutHandheld("Loose", {kUnfiled, true, false, "loose"});
  Run(kSyncTypeDesktopOverwrites);
  EXPECT_FALSE(HandheldCopy("Loose"));
  EXPECT_EQ(Main()->categories.labels[0], "Unfiled");
  EXPECT_EQ(Main()->categories.labels[1], "Business");
}

TEST_F(Runs, SeventeenCategoriesAreTooManySixteenPass) {
  FirstRun();
  for (int i = 0; i < 13; ++i) stdfs::create_directories(desktop_ + "Cat" + std::to_string(i));
  PutDesktop("Cat0", "Plan", DesktopText("plan", true));
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(LogActivities().back(), kLogConduitDone);
  EXPECT_TRUE(HandheldCopy("Plan"));

  ClearLog();
  stdfs::create_directories(desktop_ + "Cat13");
  PutDesktop("Cat13", "Late", DesktopText("late", true));
  Run(kSyncTypeSynchronize);
  EXPECT_TRUE(Contains(
      LogTexts(), "TextTest - There are too many categories.  A maximum of 15 are supported."));
  EXPECT_EQ(LogActivities().back(), kLogConduitFailed);
  EXPECT_FALSE(HandheldCopy("Late"));
  EXPECT_EQ(Main()->categories.labels[15], "Cat9");  // written by the first run, not by this one
}

// The next synchronize: type 0, 1, or a number no type has, which the conduit
// runs as its default synchronize.
class RunsAfterAFailure : public Runs, public ::testing::WithParamInterface<int32_t> {};

TEST_P(RunsAfterAFailure, AFailedRunIsRepeatedByTheNextSynchronize) {
  FirstRun();
  PutDesktop("Business", "Plan", DesktopText("plan", true));
  PutHandheld("Notes", {kBusiness, true, false, "notes"});
  // Desktop overwrites handheld, broken off at its first database write.
  // Room for the pending state (10 bytes), not for the category block.
  hotsync::Faults faults;
  faults.deviceFullAfter = 10;
  Run(kSyncTypeDesktopOverwrites, faults);
  EXPECT_EQ(LogActivities().back(), kLogConduitFailed);
  EXPECT_EQ(Main()->state.pendingMode, static_cast<uint16_t>(SyncMode::DesktopOverwrites));
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopText("plan", true));

  // A synchronize takes the pending mode without asking for one.
  ClearLog();
  Run(GetParam());
  for (const char* line : {"TextTest - sync configured to Synchronize",
                           "TextTest - sync configured to Synchronize (alternate desktop)",
                           "TextTest - Default: Synchronize the workbooks..."}) {
    EXPECT_FALSE(Contains(LogTexts(), line)) << line;
  }
  EXPECT_EQ(LogActivities().back(), kLogConduitDone);
  EXPECT_EQ(HandheldCopy("Plan"), (Handheld{kBusiness, false, false, "plan"}));
  EXPECT_FALSE(HandheldCopy("Notes"));  // desktop overwrote the handheld
  EXPECT_EQ(Main()->state, (SyncState{1, 0, 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P(SyncTypes, RunsAfterAFailure,
                         ::testing::Values(kSyncTypeSynchronize, kSyncTypeSlow, 5, 7, -1,
                                           INT32_MAX));

TEST_F(Runs, ACutListFailsTheRunBeforeAnyFileStep) {
  FirstRun();
  for (int i = 0; i < 5; ++i) PutHandheld("N" + std::to_string(i), {kBusiness, false, false, "n"});
  PutDesktop("Business", "Plan", DesktopText("plan", true));
  const auto before = State();
  hotsync::Faults faults;
  faults.cutListAfter = 3;
  Run(kSyncTypeSynchronize, faults);
  EXPECT_EQ(State(), before);
  EXPECT_TRUE(Contains(
      LogTexts(), "TextTest - The list of the handheld's databases could not be read to its end."));
  EXPECT_EQ(LogActivities().back(), kLogConduitFailed);
}

// A converter that records its calls and writes what the test says.
class RecordingBridge : public ConverterBridge {
 public:
  bool OfficeToDesktop(const std::string& office, const std::string& desktop,
                       const std::string& options) override {
    calls.push_back("in " + office + " " + desktop + " " + options);
    if (succeed)
      std::ofstream(desktop, std::ios::binary) << DesktopText("converted in", false, linkLine);
    return succeed;
  }
  bool DesktopToOffice(const std::string& desktop, const std::string& office,
                       const std::string& options) override {
    calls.push_back("out " + desktop + " " + office + " " + options);
    if (succeed) std::ofstream(office) << "converted out";
    return succeed;
  }
  bool succeed = true;
  std::string linkLine;
  std::vector<std::string> calls;
};

TEST_F(Runs, LinkedOfficeFilesAreKeptInStepThroughTheConverter) {
  FirstRun();
  auto bridge = std::make_shared<RecordingBridge>();
  InstallTestBridge(bridge);
  const std::string office = brevora::testing::MakeTempDir("office") + "/plan.txt";
  std::ofstream(office) << "office text";
  const double officeTime = fs::FileDateTime(office);
  // The link date is a day older than the office file: it is converted in.
  const int64_t older = std::llround((officeTime - 1) * 86400);
  bridge->linkLine = "link 0 2 " + std::to_string(older) + " " + office;
  PutDesktop("Business", "Plan", DesktopText("plan", false, bridge->linkLine));
  Run(kSyncTypeSynchronize);
  ASSERT_EQ(bridge->calls.size(), 1u);
  EXPECT_EQ(bridge->calls[0], "in " + office + " " + desktop_ + "Business/Plan.ttx 1");
  EXPECT_EQ(HandheldCopy("Plan")->body, "converted in");

  // A failed conversion marks nothing: the unmodified file stays where it is.
  ClearLog();
  bridge->calls.clear();
  bridge->succeed = false;
  PutDesktop("Business", "Plan", DesktopText("plan again", false, bridge->linkLine));
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(bridge->calls.size(), 1u);
  EXPECT_EQ(HandheldCopy("Plan")->body, "converted in");
  EXPECT_TRUE(
      Contains(LogTexts(), "TextTest - Linked file '" + office + "' could not be converted."));
  PutDesktop("Business", "Plan", DesktopText("plan again", false));

  // Out to the office file: its time is set to the link date only when the
  // conversion succeeded.
  bridge->calls.clear();
  const std::string out = brevora::testing::MakeTempDir("office") + "/out.txt";
  const int64_t date = 3'800'000'000;
  const std::string link = "link 1 3 " + std::to_string(date) + " " + out;
  TestDatabase db = testing::HandheldDatabase("Report", {kBusiness, true, false, "report"});
  db.records[0].data = link + "\nreport";
  PutHandheld(db);
  Run(kSyncTypeSynchronize);
  EXPECT_EQ(bridge->calls,
            std::vector<std::string>{"out " + desktop_ + "Business/Report.ttx " + out + " 3"});
  EXPECT_FALSE(stdfs::exists(out));
  bridge->succeed = true;
  bridge->calls.clear();
  PutHandheld(db);
  Run(kSyncTypeSynchronize);
  ASSERT_EQ(bridge->calls.size(), 1u);
  EXPECT_EQ(std::llround(fs::FileDateTime(out) * 86400), date);

  // A link to a file that is not an office file is never converted.
  bridge->calls.clear();
  const std::string script = brevora::testing::MakeTempDir("office") + "/evil.sh";
  db.records[0].data = "link 1 0 " + std::to_string(date) + " " + script + "\nreport";
  PutHandheld(db);
  Run(kSyncTypeSynchronize);
  EXPECT_TRUE(bridge->calls.empty());
  EXPECT_FALSE(stdfs::exists(script));
  InstallTestBridge(nullptr);
}

TEST_F(Runs, TheDesktopWindowIsAskedToRefresh) {
  windows::RegisteredWindow window("ThunderRT5Form", "Brevora Desktop",
                                   {{"ThunderRT5CommandButton", "Refresh"}});
  windows::RegisteredWindow other("ThunderRT5Form", "Brevora Server",
                                  {{"ThunderRT5CommandButton", "Refresh"}});
  Run(kSyncTypeSynchronize);
  pollfd p{window.fd(), POLLIN, 0};
  ASSERT_EQ(poll(&p, 1, 5000), 1);
  std::vector<windows::WindowMessage> received;
  window.HandlePending([&](const windows::WindowMessage& m) { received.push_back(m); });
  EXPECT_EQ(received, std::vector<windows::WindowMessage>{
                          windows::WindowMessage::Click("ThunderRT5CommandButton", "Refresh")});
  EXPECT_EQ(other.HandlePending([](const windows::WindowMessage&) {}), 0u);
}

TEST_F(Runs, DeviceFullMidCopyLeavesNoHalfDatabase) {
  FirstRun();
  for (int i = 0; i < 4; ++i)
    PutDesktop("Business", "F" + std::to_string(i), DesktopText(std::string(100, 'a' + i), true));
  hotsync::Faults faults;
  // The pending state (10) and the category block (278), then per file a new
  // database (78), its default block (4), its record (102) and its block (4):
  // two files fit, the third breaks off.
  faults.deviceFullAfter = 10 + 278 + 2 * (78 + 4 + 102 + 4) + 50;
  Run(kSyncTypeSynchronize, faults);
  EXPECT_TRUE(Contains(LogTexts(), "TextTest - Out of Memory on Device."));
  int complete = 0;
  for (int i = 0; i < 4; ++i) {
    const std::string name = "F" + std::to_string(i);
    EXPECT_EQ(Desktop("Business", name),
              DesktopText(std::string(100, 'a' + i), HandheldCopy(name) ? false : true));
    if (const auto db = HandheldDatabase(name)) {
      ASSERT_TRUE(HandheldCopy(name)) << name << " is half written";
      ++complete;
    }
  }
  EXPECT_EQ(complete, 2);
  ClearLog();
  Run(kSyncTypeSynchronize);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(HandheldCopy("F" + std::to_string(i)));
}

}  // namespace
}  // namespace brevora::texttest
