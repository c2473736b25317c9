// The presentation conduit over a fixture home: a phone with presentations
// written by the presentation class, sends through the send probe, marks read
// back from the files.
#include "phonesync/sync_slidora.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/handheld_database.h"
#include "core/on_fresh_thread.h"
#include "phonesync/library_folder.h"
#include "phonesync/sync_test_support.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/files.h"
#include "platform/services/event_log.h"
#include "platform/services/service_slot.h"
#include "slides/pictures_test_support.h"
#include "testing/temp_home.h"

namespace brevora::bvsync {
namespace {

namespace stdfs = std::filesystem;
using Words = std::vector<std::string>;

std::vector<std::string> Names(const std::vector<InstallFile>& files) {
  std::vector<std::string> names;
  for (const InstallFile& f : files) names.push_back(f.fileName);
  return names;
}

class SlidoraSync : public ::testing::Test {
 protected:
  void SetUp() override { test::SeedPhone("Anna", phone_); }

  std::string Slidr(const std::string& relative) const { return phone_ + "/slidr/" + relative; }

  // A Send To launcher that runs the probe with the file.
  std::string ProbeLauncher() const {
    const std::string path = test::SendToFolder() + "/Bluetooth/Phone.desktop";
    test::WriteLauncher(path, std::string(SEND_PROBE) + " %f");
    return path;
  }

  // A picture for slides (made once per test).
  std::string Picture() {
    const std::string path = brevora::testing::TempHome() + "/slide.png";
    if (!fs::FileExists(path)) slides::testing::WriteTestPicture(path, 96, 72, 24);
    return path;
  }

  Ref<SyncSlidora> Conduit() const { return MakeRef<SyncSlidora>(picker_); }
  static Ref<Dispatch> NewSession() { return CreateObject("TabulynPC.Session"); }

  std::string phone_ = brevora::testing::TempHome() + "/phones/anna";
  std::shared_ptr<test::ScriptedPicker> picker_ = std::make_shared<test::ScriptedPicker>();
};

TEST_F(SlidoraSync, DescriptionAndIdAndCollectedErrors) {
  Ref<SyncSlidora> conduit = Conduit();
  EXPECT_EQ(conduit->Description(), "Slidora synchronization conduit");
  EXPECT_EQ(conduit->id(), "Slidora");
  EXPECT_EQ(conduit->ErrorDesc(), "");
  conduit->AddError("first");
  conduit->AddError("second");
  EXPECT_EQ(conduit->ErrorDesc(), "\r\nfirst\r\nsecond");
  conduit->AddError("");
  EXPECT_EQ(conduit->ErrorDesc(), "");
}

// Two category folders with a modified and an unmodified presentation each,
// one in "slidr" itself, and .pdb files that are no presentation or can't be
// read: exactly the two modified ones, categories and files in listing order.
TEST_F(SlidoraSync, InitListsTheModifiedPresentationsOfTheCategoryFolders) {
  auto log = std::make_shared<services::RecordingEventLog>();
  services::ScopedService<services::EventLog> scope(services::InstallEventLog, log);
  core::OnFreshThread([&] {
    const Ref<Dispatch> session = NewSession();
    test::WriteDeck(session, Slidr("Work/b talk.pdb"), true, {Picture()});
    test::WriteDeck(session, Slidr("Work/a talk.pdb"), false, {Picture()});
    test::WriteDeck(session, Slidr("private/C talk.PDB"), true);
    test::WriteDeck(session, Slidr("private/d talk.pdb"), false);
    test::WriteDeck(session, Slidr("root talk.pdb"), true);
    test::WriteDeck(session, Slidr("Work/.hidden.pdb"), true);
    test::WriteDeck(session, Slidr("Work/deck.bak"), true);
    core::HandheldDatabase workbook;
    workbook.SetName("Budget");
    workbook.SetType("Data");
    workbook.SetCreator("Zeri");
    workbook.WriteFile(Slidr("Work/budget.pdb"));
    test::WriteText(Slidr("Work/garbage.pdb"), "not a database at all");
    test::WriteDeck(session, Slidr("Work/newer.pdb"), true);
    core::HandheldDatabase newer;
    newer.ReadFile(Slidr("Work/newer.pdb"), true);
    std::string block = newer.AppInfoBlock();
    block[1] = 2;  // a format version this module does not know
    newer.SetAppInfoBlock(block);
    newer.WriteFile(Slidr("Work/newer.pdb"));

    picker_->Answer(ProbeLauncher());
    const auto progress = MakeRef<test::CountingProgress>();
    Ref<SyncSlidora> conduit = Conduit();
    EXPECT_TRUE(conduit->Init("  anna ", SyncDir::sdHandheldOverwrites, session, progress));
    EXPECT_EQ(Names(conduit->Files()), (Words{"C talk.PDB", "b talk.pdb"}));
    ASSERT_EQ(conduit->Files().size(), 2u);
    EXPECT_EQ(conduit->Files()[0].filePath, Slidr("private/C talk.PDB"));
    EXPECT_EQ(conduit->Files()[1].filePath, Slidr("Work/b talk.pdb"));
    EXPECT_EQ(conduit->SyncPath(), test::SendToFolder() + "/Bluetooth/Phone.desktop");
    EXPECT_EQ(conduit->ErrorDesc(), "");
    EXPECT_EQ(conduit->Direction(), SyncDir::sdHandheldOverwrites);
    EXPECT_EQ(conduit->Progress(), Ref<ISyncProgress>(progress));
    EXPECT_EQ(progress->updates, 0);
  });
  const auto entries = log->entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], "Slidora synchronization: " + Slidr("Work/budget.pdb") +
                            " was not sent: it is not a presentation.");
  EXPECT_EQ(entries[1], "Slidora synchronization: " + Slidr("Work/garbage.pdb") +
                            " was not sent: it is not a presentation.");
  EXPECT_EQ(
      entries[2].rfind("Slidora synchronization: " + Slidr("Work/newer.pdb") +
                           " was not sent: it could not be read.\r\nCould not open Presentation",
                       0),
      0u)
      << entries[2];
  // Header-only opens leave no image folders behind.
  for (const char* folder : {"Work", "private"}) {
    for (const fs::FolderEntry& e : fs::ListEntries(Slidr(folder))) {
      EXPECT_NE(e.type, fs::EntryType::Folder) << e.name;
    }
  }
}

TEST_F(SlidoraSync, NothingToDo) {
  core::OnFreshThread([&] {
    const Ref<Dispatch> session = NewSession();
    test::WriteDeck(session, Slidr("Work/done.pdb"), false);
    Ref<SyncSlidora> conduit = Conduit();

    // Cancel: false, no text, the user is not even looked up.
    EXPECT_FALSE(conduit->Init("Anna", SyncDir::sdSynchronize, session, nullptr));
    EXPECT_EQ(conduit->ErrorDesc(), "");

    // A user the user manager does not know: false, no text, the pick kept.
    picker_->Answer(ProbeLauncher());
    EXPECT_FALSE(conduit->Init("Nobody", SyncDir::sdSynchronize, session, nullptr));
    EXPECT_EQ(conduit->ErrorDesc(), "");
    EXPECT_EQ(conduit->SyncPath(), ProbeLauncher());

    // Nothing modified: true with no target, and Sync then says false.
    picker_->Answer(ProbeLauncher());
    EXPECT_TRUE(conduit->Init("Anna", SyncDir::sdSynchronize, session, nullptr));
    EXPECT_TRUE(conduit->Files().empty());
    EXPECT_EQ(conduit->SyncPath(), "");
    EXPECT_FALSE(conduit->Sync());
    EXPECT_EQ(conduit->ErrorDesc(), "");
  });
  EXPECT_EQ(picker_->asked(), 3);
}

// A phone without a folder has no presentations: its "slidr" is not looked
// for wherever the process runs.
TEST_F(SlidoraSync, AUserWithoutAFolderHasNothingToSend) {
  const std::string old = stdfs::current_path();
  const std::string work = brevora::testing::MakeTempDir("work");
  stdfs::current_path(work);
  test::SeedPhone("Nofolder", "");
  core::OnFreshThread([&] {
    const Ref<Dispatch> session = NewSession();
    test::WriteDeck(session, work + "/slidr/Work/here.pdb", true);
    picker_->Answer(ProbeLauncher());
    Ref<SyncSlidora> conduit = Conduit();
    EXPECT_TRUE(conduit->Init("Nofolder", SyncDir::sdSynchronize, session, nullptr));
    EXPECT_TRUE(conduit->Files().empty());
    EXPECT_EQ(conduit->ErrorDesc(), "");
  });
  stdfs::current_path(old);
}

// Exit code 1 for the second of three files: the first is marked (its header
// alone rewritten), the second and third keep their mark, nothing after the
// failure is sent.
TEST_F(SlidoraSync, SendsAndMarksUpToTheFirstFailure) {
  test::ProbeScript probe({"0", "1"});
  core::OnFreshThread([&] {
    const Ref<Dispatch> session = NewSession();
    for (const char* name : {"1 first.pdb", "2 second.pdb", "3 third.pdb"}) {
      test::WriteDeck(session, Slidr(std::string("Talks/") + name), true, {Picture(), Picture()});
    }
    core::HandheldDatabase before;
    before.ReadFile(Slidr("Talks/1 first.pdb"), true);

    picker_->Answer(ProbeLauncher());
    Ref<SyncSlidora> conduit = Conduit();
    ASSERT_TRUE(conduit->Init("Anna", SyncDir::sdSynchronize, session, nullptr));
    ASSERT_EQ(conduit->Files().size(), 3u);
    EXPECT_FALSE(conduit->Sync());
    EXPECT_EQ(conduit->ErrorDesc(), "\r\nUnable to install file");

    EXPECT_FALSE(test::IsMarkedModified(session, Slidr("Talks/1 first.pdb")));
    EXPECT_TRUE(test::IsMarkedModified(session, Slidr("Talks/2 second.pdb")));
    EXPECT_TRUE(test::IsMarkedModified(session, Slidr("Talks/3 third.pdb")));

    core::HandheldDatabase after;
    after.ReadFile(Slidr("Talks/1 first.pdb"), true);
    EXPECT_EQ(after.Name(), before.Name());
    ASSERT_EQ(after.Records().Count(), before.Records().Count());
    for (int32_t i = 1; i <= before.Records().Count(); ++i) {
      const auto a = after.Records().Item(i)->Data();
      const auto b = before.Records().Item(i)->Data();
      EXPECT_TRUE(std::equal(a.begin(), a.end(), b.begin(), b.end())) << "record " << i;
      EXPECT_EQ(after.Records().Item(i)->UniqueID(), before.Records().Item(i)->UniqueID());
    }
    std::string expected = before.AppInfoBlock();
    expected[2] = 0;  // the modified mark
    EXPECT_EQ(after.AppInfoBlock(), expected);

    // The next run starts with an empty text.
    picker_->Answer(ProbeLauncher());
    EXPECT_TRUE(conduit->Init("Anna", SyncDir::sdSynchronize, session, nullptr));
    EXPECT_EQ(conduit->ErrorDesc(), "");
    EXPECT_EQ(Names(conduit->Files()), (Words{"2 second.pdb", "3 third.pdb"}));
  });
  const auto runs = probe.Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].arguments, (Words{SEND_PROBE, Slidr("Talks/1 first.pdb")}));
  EXPECT_EQ(runs[1].arguments, (Words{SEND_PROBE, Slidr("Talks/2 second.pdb")}));
  EXPECT_EQ(runs[0].folder, LibraryFolder());
}

// A file that arrived but can no longer be opened is not marked: it stays as
// the send left it, the failure is reported, and the run stops.
TEST_F(SlidoraSync, AFileThatCannotBeReopenedIsNotMarked) {
  test::ProbeScript probe({"truncate"});
  core::OnFreshThread([&] {
    const Ref<Dispatch> session = NewSession();
    test::WriteDeck(session, Slidr("Talks/a.pdb"), true, {Picture()});
    test::WriteDeck(session, Slidr("Talks/b.pdb"), true);
    picker_->Answer(ProbeLauncher());
    Ref<SyncSlidora> conduit = Conduit();
    ASSERT_TRUE(conduit->Init("Anna", SyncDir::sdSynchronize, session, nullptr));
    EXPECT_FALSE(conduit->Sync());
    EXPECT_EQ(conduit->ErrorDesc().rfind(
                  "\r\nCould not open Presentation '" + Slidr("Talks/a.pdb") + "'.", 0),
              0u)
        << conduit->ErrorDesc();
    EXPECT_TRUE(test::IsMarkedModified(session, Slidr("Talks/b.pdb")));
  });
  EXPECT_EQ(fs::FileSize(Slidr("Talks/a.pdb")), 10u) << "left as the send left it";
  EXPECT_EQ(probe.Runs().size(), 1u);
}

// A program target, and a folder target (a link to one) that gets copies.
TEST_F(SlidoraSync, ProgramAndFolderTargets) {
  const std::string program = test::SendToFolder() + "/Infrared sender";
  stdfs::create_directories(test::SendToFolder());
  stdfs::create_symlink(SEND_PROBE, program);
  const std::string drop = brevora::testing::MakeTempDir("phone drop");
  stdfs::create_symlink(drop, test::SendToFolder() + "/Bluetooth Drop");
  test::ProbeScript probe;
  core::OnFreshThread([&] {
    const Ref<Dispatch> session = NewSession();
    test::WriteDeck(session, Slidr("Talks/a.pdb"), true);
    test::WriteDeck(session, Slidr("Talks/b.pdb"), true);
    Ref<SyncSlidora> conduit = Conduit();

    picker_->Answer(program);
    ASSERT_TRUE(conduit->Init("Anna", SyncDir::sdSynchronize, session, nullptr));
    EXPECT_TRUE(conduit->Sync());
    EXPECT_EQ(conduit->ErrorDesc(), "");
    EXPECT_FALSE(test::IsMarkedModified(session, Slidr("Talks/a.pdb")));

    test::WriteDeck(session, Slidr("Talks/a.pdb"), true);
    test::WriteDeck(session, Slidr("Talks/b.pdb"), true);
    picker_->Answer(test::SendToFolder() + "/Bluetooth Drop");
    ASSERT_TRUE(conduit->Init("Anna", SyncDir::sdSynchronize, session, nullptr));
    EXPECT_TRUE(conduit->Sync());
    EXPECT_FALSE(test::IsMarkedModified(session, Slidr("Talks/b.pdb")));
  });
  const auto runs = probe.Runs();
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[1].arguments, (Words{program, Slidr("Talks/b.pdb")}));
  EXPECT_TRUE(fs::FileExists(drop + "/a.pdb"));
  EXPECT_TRUE(fs::FileExists(drop + "/b.pdb"));
}

TEST_F(SlidoraSync, InstallSendsOneFileAndMarksNothing) {
  test::ProbeScript probe({"0", "1"});
  core::OnFreshThread([&] {
    const Ref<Dispatch> session = NewSession();
    test::WriteDeck(session, Slidr("Talks/a.pdb"), true);
  });
  Ref<SyncSlidora> conduit = Conduit();
  conduit->Install(Slidr("Talks/a.pdb"));  // cancelled
  EXPECT_EQ(conduit->ErrorDesc(), "");
  picker_->Answer(ProbeLauncher());
  conduit->Install(Slidr("Talks/a.pdb"));
  EXPECT_EQ(conduit->ErrorDesc(), "");
  picker_->Answer(ProbeLauncher());
  conduit->Install(Slidr("Talks/a.pdb"));
  EXPECT_EQ(conduit->ErrorDesc(), "\r\nUnable to install file");
  EXPECT_EQ(probe.Runs().size(), 2u);
  core::OnFreshThread(
      [&] { EXPECT_TRUE(test::IsMarkedModified(NewSession(), Slidr("Talks/a.pdb"))); });
}

}  // namespace
}  // namespace brevora::bvsync
