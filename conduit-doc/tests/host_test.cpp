// HotSyncs of documents through the `hotsync` program with the Scrivane
// plug-in: the first sync, the sync types, changes and deletions on each
// side, conflicts, names and versions the conduit refuses, its main
// database, and what a failing or full handheld leaves behind.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "conduit-doc/scv_reader.h"
#include "conduit-doc/tests/doc_fixture.h"
#include "conduit-framework/category_block.h"
#include "conduit-framework/tests/fault_sweeps.h"
#include "platform/fs/files.h"
#include "platform/hotsync/host/conduit_registry.h"
#include "platform/hotsync/host/host_commands.h"
#include "platform/registry/registry.h"
#include "testing/fake_converter.h"
#include "testing/handheld_folder.h"
#include "testing/run_program.h"
#include "testing/temp_home.h"

namespace brevora::scriv {

using conduit::CategoryBlock;
namespace {

using brevora::testing::ProgramResult;
using conduit::testing::Snapshot;
using conduit::testing::Untimed;
using testing::DesktopDoc;
using testing::DesktopText;
using testing::HandheldDoc;
namespace stdfs = std::filesystem;

HandheldDoc Doc(const std::string& text, uint8_t category, bool modified = false) {
  HandheldDoc h;
  h.category = category;
  h.modified = modified;
  h.text = text;
  return h;
}

DesktopDoc Desk(const std::string& text, bool modified, int version = 5) {
  DesktopDoc d;
  d.text = text;
  d.modified = modified;
  d.version = version;
  return d;
}

class DocHost : public testing::DocTest {
 protected:
  void SetUp() override {
    DocTest::SetUp();
    UseHost(SCRIV_PLUGIN);
  }

  // The text of a desktop document; nullopt when it is missing or does not read.
  std::optional<std::string> DesktopBody(const std::string& category,
                                         const std::string& name) const {
    const auto file = Desktop(category, name);
    if (!file) return std::nullopt;
    std::string problem;
    const auto doc = ScvReader(*file).Read({name + ".scv", true}, problem);
    if (!doc) return std::nullopt;
    return std::string(doc->text);
  }

  // A first HotSync that leaves both sides in step with `docs` (name, category).
  void InStep(const std::vector<std::pair<std::string, uint8_t>>& docs) {
    for (const auto& [name, category] : docs)
      PutHandheld(name, Doc("<p>" + name + " v1</p>", category));
    const ProgramResult first = Sync();
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_TRUE(LastRunHas("OK Scrivane")) << LogFile();
  }
};

TEST_F(DocHost, AFirstSyncBringsTheHandheldsDocuments) {
  HandheldDoc story = Doc("<p>Once upon a time</p>\n<p>The end</p>", kBusiness);
  story.firstName = "Story";
  story.bookmarks = {{"Ch. 1", 3}, {"End", 30}};
  story.linkPath = "";
  PutHandheld("Story", story);
  PutHandheld("Notes", Doc("<br>notes", 0, true));
  const ProgramResult r = Sync();
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string golden =
      "--- HotSync of Alice <date> ---\n"
      "Info Scrivane - Creating user workbook directory: " +
      desktop_ +
      "\n"
      "Info Scrivane - sync configured to Synchronize (new desktop - Handheld overwrites desktop)\n"
      "Info Scrivane - Copy Notes to PC.\n"
      "Info Scrivane - Copy Story to PC.\n"
      "OK Scrivane\n";
  EXPECT_EQ(Untimed(LogFile()), golden);
  EXPECT_EQ(Desktop("Business", "Story"),
            "0\r\n5\r\n1\r\n0\r\n\"\"\r\n0\r\n0\r\n0\r\n1\r\n2\r\n0\r\n\"Story\"\r\n\r\n0\r\n0\r\n0"
            "\r\n2\r\n"
            "\"Ch___\"\r\n3\r\n\"End\"\r\n30\r\n\r\n<p>Once upon a time</p>\n<p>The end</p>");
  EXPECT_EQ(DesktopBody("Unfiled", "Notes"), "<br>notes");
  EXPECT_FALSE(HandheldCopy("Notes")->modified);
}

TEST_F(DocHost, DesktopDocumentsWithPicturesGoToTheHandheld) {
  testing::WritePicture(desktop_ + "scriv_temp/logo.png", 100, 60, 255, 0, 0);
  DesktopDoc letter = Desk("Dear <b>Bob</b>,\n<img src=\"logo.png\">\nAl", true, 4);
  PutDesktop("Business", "Letter",
             DesktopText(Desk("<p>Dear Bob,</p><img src=\"logo.png\">", true, 4)));
  PutDesktop("Personal", "List", DesktopText(Desk("eggs & milk\n\tbread", true)));
  SetOnce(3);
  const ProgramResult r = Sync();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(LastRunHas("OK Scrivane")) << LogFile();
  const auto letterCopy = HandheldCopy("Letter");
  ASSERT_TRUE(letterCopy);
  EXPECT_EQ(letterCopy->version, 5);  // a version 4 document arrives as version 5
  EXPECT_EQ(letterCopy->documentVersion, 5);
  EXPECT_EQ(letterCopy->category, kBusiness);
  EXPECT_EQ(letterCopy->text, "<p>Dear Bob,</p><img src=\"logo.png\">");
  ASSERT_EQ(letterCopy->images.size(), 2u);
  EXPECT_EQ(letterCopy->images[0], std::string("\x02\x01", 2));
  EXPECT_EQ(letterCopy->images[1].size(), 36u + 66u + 3000u);
  const auto listCopy = HandheldCopy("List");
  ASSERT_TRUE(listCopy);
  EXPECT_EQ(listCopy->category, kPersonal);
  EXPECT_EQ(listCopy->text, "<html><head></head><body>eggs &amp; milk<br>    bread</body></html>");
  EXPECT_EQ(Desktop("Personal", "List")->substr(0, 3), "0\r\n");  // the desktop's mark cleared
  // The picture folder is the user's, not a category.
  EXPECT_TRUE(stdfs::exists(desktop_ + "scriv_temp/logo.png"));
  EXPECT_FALSE(LastRunHas("Info Scrivane - Copy logo to Device."));
}

TEST_F(DocHost, ThePictureFolderIsNeverACategory) {
  // A new desktop, whose only folder is the picture folder: the handheld
  // overwrites the desktop, and the pictures stay.
  testing::WritePicture(desktop_ + "scriv_temp/logo.png", 8, 8, 1, 2, 3);
  PutHandheld("Plan", Doc("<p>plan</p>", kBusiness));
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(
      LastRunHas("Info Scrivane - sync configured to Synchronize (new desktop - Handheld "
                 "overwrites desktop)"));
  EXPECT_TRUE(stdfs::exists(desktop_ + "scriv_temp/logo.png"));
  for (const int32_t type : {3, 2, 0}) {
    SetOnce(type);
    ASSERT_EQ(Sync().status, 0);
    EXPECT_TRUE(LastRunHas("OK Scrivane")) << type << LogFile();
    EXPECT_TRUE(stdfs::exists(desktop_ + "scriv_temp/logo.png")) << type;
    const auto main = *HandheldDatabase("Scrivane Key");
    const auto block = *CategoryBlock::Parse(
        std::span(reinterpret_cast<const uint8_t*>(main.appInfo.data()), main.appInfo.size()));
    EXPECT_FALSE(block.SlotOf("scriv_temp")) << type;
  }
}

TEST_F(DocHost, ADesktopFileWithoutAHeaderStaysAsItIs) {
  InStep({{"Plan", kBusiness}});
  PutDesktop("Business", "Loose", "Some text\r\nwithout a header");
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("OK Scrivane")) << LogFile();
  EXPECT_EQ(Desktop("Business", "Loose"), "Some text\r\nwithout a header");
  EXPECT_EQ(HandheldCopy("Loose")->text,
            "<html><head></head><body>Some text<br>without a header</body></html>");
  EXPECT_EQ(HandheldCopy("Loose")->firstName, "Loose");
}

TEST_F(DocHost, ChangesAndDeletionsOnEachSide) {
  InStep({{"Plan", kBusiness}, {"Diary", kPersonal}, {"Old", kBusiness}, {"Gone", kPersonal}});
  PutDesktop("Business", "Plan", DesktopText(Desk("<p>Plan v2</p>", true)));
  auto diary = *HandheldCopy("Diary");
  diary.text = "<p>Diary v2</p>";
  diary.modified = true;
  PutHandheld("Diary", diary);
  stdfs::remove(DesktopPath("Business", "Old"));
  ASSERT_TRUE(stdfs::remove(device_ + "/Gone.pdb") || !HandheldDatabase("Gone"));
  const ProgramResult r = Sync();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(LastRunHas("OK Scrivane")) << LogFile();
  EXPECT_EQ(HandheldCopy("Plan")->text, "<p>Plan v2</p>");
  EXPECT_EQ(DesktopBody("Personal", "Diary"), "<p>Diary v2</p>");
  EXPECT_FALSE(HandheldDatabase("Old"));
  EXPECT_FALSE(Desktop("Personal", "Gone"));
  const auto handheld = HandheldDatabases();
  EXPECT_EQ(handheld.size(), 3u);  // Plan, Diary and the main database
  EXPECT_TRUE(handheld.contains("Scrivane Key"));
}

TEST_F(DocHost, ConflictsFollowTheSyncPrevailSetting) {
  InStep({{"Both", kBusiness}});
  for (const bool desktopWins : {false, true}) {
    if (desktopWins) {
      registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Scrivane", "SyncPrevail",
                         registry::Value::DWord(1));
    }
    PutDesktop("Business", "Both", DesktopText(Desk("<p>desktop</p>", true)));
    PutHandheld("Both", Doc("<p>handheld</p>", kBusiness, true));
    ASSERT_EQ(Sync().status, 0);
    const std::string winner = desktopWins ? "<p>desktop</p>" : "<p>handheld</p>";
    EXPECT_EQ(DesktopBody("Business", "Both"), winner);
    EXPECT_EQ(HandheldCopy("Both")->text, winner);
    EXPECT_TRUE(
        LastRunHas(std::string("Info Scrivane - Both modified on desktop and device.  ") +
                   (desktopWins ? "Desktop overwriting device." : "Device overwriting desktop.")));
  }
}

TEST_F(DocHost, SyncTypesZeroToSeven) {
  InStep({{"Plan", kBusiness}});
  struct Case {
    int32_t type;
    std::string line;
    bool desktopKept, handheldKept, synchronized;
  };
  const Case cases[] = {
      {0, "Info Scrivane - sync configured to Synchronize", true, true, true},
      {1, "Info Scrivane - sync configured to Synchronize (alternate desktop)", true, true, true},
      {2, "Info Scrivane - sync configured to Device overwrites desktop", false, true, false},
      {3, "Info Scrivane - sync configured to Desktop overwrites device", true, false, false},
      {4, "OK Scrivane - Installed", true, true, false},
      {5, "Info Scrivane - Default: Synchronize the workbooks...", true, true, true},
      {6, "OK Scrivane - sync configured to do nothing", true, true, false},
      {7, "Info Scrivane - Default: Synchronize the workbooks...", true, true, true},
  };
  for (const Case& c : cases) {
    SetOnce(c.type);
    PutDesktop("Business", "FromDesktop", DesktopText(Desk("<p>desktop side</p>", true)));
    PutHandheld("FromHandheld", Doc("<p>handheld side</p>", kBusiness, true));
    const ProgramResult r = Sync();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(LastRunHas(c.line)) << c.type << ::testing::PrintToString(LastRun());
    EXPECT_EQ(Desktop("Business", "FromDesktop").has_value(), c.desktopKept) << c.type;
    EXPECT_EQ(HandheldDatabase("FromHandheld").has_value(), c.handheldKept) << c.type;
    EXPECT_EQ(HandheldCopy("FromDesktop") && Desktop("Business", "FromHandheld"), c.synchronized)
        << c.type;
    // Back to the start for the next type.
    stdfs::remove(DesktopPath("Business", "FromDesktop"));
    stdfs::remove(DesktopPath("Business", "FromHandheld"));
    stdfs::remove(device_ + "/FromDesktop.pdb");
    stdfs::remove(device_ + "/FromHandheld.pdb");
    PutHandheld("Plan", Doc("<p>Plan v1</p>", kBusiness));
    PutDesktop("Business", "Plan", DesktopText(Desk("<p>Plan v1</p>", false)));
  }
}

TEST_F(DocHost, ASlowSyncWritesTheHandheldsCopyOverTheDesktops) {
  InStep({{"Plan", kBusiness}});
  std::string desktop = *Desktop("Business", "Plan");
  desktop.replace(desktop.find("Plan v1"), 7, "Plan vX");  // changed without its mark
  PutDesktop("Business", "Plan", desktop);
  SetOnce(1);
  ASSERT_EQ(Sync().status, 0);
  EXPECT_EQ(DesktopBody("Business", "Plan"), "<p>Plan v1</p>");
}

TEST_F(DocHost, AHandheldNameWithAColonIsNeverCopied) {
  PutHandheld("Time: 10:30", Doc("<p>meeting</p>", kBusiness, true));
  PutHandheld("Fine", Doc("<p>fine</p>", kBusiness, true));
  ASSERT_EQ(Sync().status, hotsync::host::kConduitFailedStatus);
  EXPECT_TRUE(
      LastRunHas("Info Scrivane - Time: 10:30: This document has invalid characters in its' name "
                 "(/\\?*|\":) -- Please rename on device and resync."))
      << LogFile();
  EXPECT_TRUE(LastRunHas("Failed Scrivane"));
  EXPECT_EQ(DesktopBody("Business", "Fine"), "<p>fine</p>");
  EXPECT_EQ(DesktopFiles().size(), 4u)
      << ::testing::PrintToString(DesktopFiles());  // the folders and Fine.scv
  EXPECT_TRUE(HandheldDatabase("Time: 10:30"));
}

TEST_F(DocHost, ADesktopNameWithARefusedCharacterIsSkipped) {
  InStep({{"Plan", kBusiness}});
  PutDesktop("Business", "What?", DesktopText(Desk("<p>question</p>", true)));
  PutDesktop("Business", "Back\\slash", DesktopText(Desk("<p>slash</p>", true)));
  PutDesktop("Business", "Next", DesktopText(Desk("<p>next</p>", true)));
  ASSERT_EQ(Sync().status, hotsync::host::kConduitFailedStatus);
  EXPECT_TRUE(LastRunHas("Failed Scrivane"));
  EXPECT_FALSE(HandheldDatabase("What?"));
  EXPECT_FALSE(HandheldDatabase("What_"));
  EXPECT_FALSE(HandheldDatabase("Back_slash"));
  EXPECT_EQ(HandheldCopy("Next")->text, "<p>next</p>");
  EXPECT_EQ(DesktopBody("Business", "What?"), "<p>question</p>");
}

TEST_F(DocHost, VersionsTheConduitDoesNotCopyAreLeftAlone) {
  InStep({{"Plan", kBusiness}});
  HandheldDoc one = Doc("<p>version one</p>", kBusiness, true);
  one.version = 1;
  PutHandheld("One", one);
  HandheldDoc two = Doc("<p>block of version two</p>", kBusiness, true);
  two.documentVersion = 2;
  PutHandheld("Two", two);
  PutDesktop("Business", "Six", DesktopText(Desk("<p>six</p>", true, 6)));
  PutDesktop("Business", "Two", DesktopText(Desk("<p>desktop two</p>", true)));
  ASSERT_EQ(Sync().status, hotsync::host::kConduitFailedStatus);
  EXPECT_TRUE(LastRunHas(
      "Info Scrivane - One: Unrecognized document version -- cannot synchronize with Scrivane."))
      << LogFile();
  EXPECT_TRUE(LastRunHas(
      "Info Scrivane - Two: Unrecognized document version -- cannot synchronize with Scrivane."));
  EXPECT_TRUE(LastRunHas("Info Scrivane - Six: " + DesktopPath("Business", "Six") +
                         ": Unrecognized document version -- cannot synchronize with Scrivane."));
  EXPECT_TRUE(LastRunHas("Failed Scrivane"));
  EXPECT_FALSE(Desktop("Business", "One"));
  EXPECT_TRUE(HandheldDatabase("One"));
  EXPECT_EQ(HandheldCopy("Two")->text, "<p>block of version two</p>");
  EXPECT_EQ(DesktopBody("Business", "Two"), "<p>desktop two</p>");
  EXPECT_FALSE(HandheldDatabase("Six"));
  EXPECT_TRUE(Desktop("Business", "Six"));
}

TEST_F(DocHost, AMainDatabaseOfTwoRecordsIsKept) {
  InStep({{"Plan", kBusiness}});
  auto main = *HandheldDatabase("Scrivane Key");
  main.records = {{0, 1, "first"}, {0, 2, "second"}};
  PutHandheld(main);
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("OK Scrivane"));
  const auto after = *HandheldDatabase("Scrivane Key");
  EXPECT_EQ(after.records, main.records);
  EXPECT_EQ(after.appInfo, main.appInfo);

  main.sortInfo.clear();  // no state: a first sync again, the categories kept
  PutHandheld(main);
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("OK Scrivane"));
  EXPECT_EQ(HandheldDatabase("Scrivane Key")->records, main.records);
  EXPECT_EQ(HandheldDatabase("Scrivane Key")->appInfo, main.appInfo);
  EXPECT_EQ(HandheldDatabase("Scrivane Key")->sortInfo.size(), 10u);
}

TEST_F(DocHost, ACategoryIdWithoutANameMapsToTheFirstCategory) {
  PutHandheld("Stray", Doc("<p>stray</p>", 9));
  ASSERT_EQ(Sync().status, 0);
  EXPECT_EQ(DesktopBody("Unfiled", "Stray"), "<p>stray</p>");
}

// A document linked to an office file: the conduit reaches the desktop
// program's converter by its ProgID (a recording fake here, loaded by the
// `hotsync` program from its library).
class LinkedDocHost : public DocHost {
 protected:
  void SetUp() override {
    DocHost::SetUp();
    brevora::testing::RegisterFakeConverterServer(brevora::testing::FakeConverterKind::Document,
                                                  FAKE_CONVERTER_SERVER);
    office_ = brevora::testing::MakeTempDir("office");
  }
  static uint32_t SecondsOf(const std::string& path) {
    return static_cast<uint32_t>(std::llround(fs::FileDateTime(path) * 86400.0));
  }
  uint32_t DesktopLinkDate(const std::string& category, const std::string& name) const {
    std::string problem;
    const auto header = ScvReader(*Desktop(category, name)).ReadHeader(problem);
    return header ? header->header.linkDate : 0;
  }
  std::string office_;
};

TEST_F(LinkedDocHost, TheLinkedDocIsKeptInStep) {
  using brevora::testing::FakeConverterCalls;
  using Call = brevora::testing::ConverterCall;
  const std::string doc = office_ + "/Letter.doc";
  const std::string scv = DesktopPath("Business", "Letter");
  HandheldDoc letter = Doc("<p>handheld side</p>", kBusiness, true);
  letter.linkPath = doc;
  letter.linkMethod = 0;
  letter.linkOption = 3;
  letter.linkDate = 3900000000u;
  PutHandheld("Letter", letter);
  ASSERT_EQ(Sync().status, 0);
  // The handheld's document is written out to the office file, which gets the
  // desktop file's link date: the time the desktop file was made.
  EXPECT_EQ(FakeConverterCalls(), (std::vector<Call>{{"SCVToDOCExt_Sync", scv, doc, "3"}}));
  EXPECT_EQ(SecondsOf(doc), DesktopLinkDate("Business", "Letter"));
  EXPECT_TRUE(LastRunHas("OK Scrivane")) << LogFile();

  // Nothing changed: no conversion.
  ASSERT_EQ(Sync().status, 0);
  EXPECT_EQ(FakeConverterCalls().size(), 1u);

  // The office file changes: converted into the desktop file, which goes to the handheld.
  DesktopDoc fromWord = Desk("<p>from Word</p>", false);
  fromWord.linkPath = doc;
  fromWord.linkOption = 3;
  fromWord.linkDate = DesktopLinkDate("Business", "Letter");
  std::ofstream(doc, std::ios::binary | std::ios::trunc) << DesktopText(fromWord);
  fs::SetFileDateTime(doc, fs::FileDateTime(doc) + 60.0 / 86400.0);
  ASSERT_EQ(Sync().status, 0);
  EXPECT_EQ(FakeConverterCalls().back(), (Call{"DOCToSCVExt_Sync", doc, scv, "1"}));
  EXPECT_EQ(HandheldCopy("Letter")->text, "<p>from Word</p>");
  EXPECT_EQ(HandheldCopy("Letter")->linkPath, doc);
  EXPECT_TRUE(LastRunHas("Info Scrivane - Copy Letter to Device.")) << LogFile();

  // A converter that fails: logged, and the document still synchronized.
  brevora::testing::SetFakeConverterFails(true);
  letter.text = "<p>handheld again</p>";
  PutHandheld("Letter", letter);
  stdfs::remove(doc);
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info Scrivane - Linked file '" + doc +
                         "' could not be converted. The fake converter was told to fail."))
      << LogFile();
  EXPECT_TRUE(LastRunHas("Info Scrivane - Copy Letter to PC."));
  EXPECT_EQ(DesktopBody("Business", "Letter"), "<p>handheld again</p>");
}

TEST_F(LinkedDocHost, AMissingLinkedFileIsLogged) {
  InStep({});
  const std::string doc = office_ + "/Gone.doc";
  DesktopDoc gone = Desk("<p>gone</p>", true);
  gone.linkPath = doc;
  gone.linkMethod = 2;
  gone.linkDate = 3900000000u;
  PutDesktop("Unfiled", "Gone", DesktopText(gone));
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info Scrivane - Linked file '" + doc + "' was not found.")) << LogFile();
  EXPECT_EQ(HandheldCopy("Gone")->text, "<p>gone</p>");
  EXPECT_TRUE(brevora::testing::FakeConverterCalls().empty());
}

// Both sides after a HotSync: the files of the conduit's folder and the
// handheld's databases.
// What the faults of the handheld (fault_sweeps.h) do to a HotSync of
// documents with pictures that changed on both sides.
class ScrivaneFaults : public DocHost {
 public:
  static constexpr const char* kProduct = "Scrivane";
  static std::vector<uint64_t> RoomSizes() {
    std::vector<uint64_t> sizes;
    for (uint64_t room = 0; room < 400000; room += room < 4000 ? 500 : 20000) sizes.push_back(room);
    return sizes;
  }
  static constexpr int kFullRuns = 6;

  void Prepare() {
    InStep({{"Plan", kBusiness}, {"Diary", kPersonal}, {"Old", kBusiness}});
    testing::WritePicture(desktop_ + "scriv_temp/logo.png", 100, 60, 255, 0, 0);
    testing::WritePicture(desktop_ + "scriv_temp/big.png", 400, 400, 0, 0, 255);
    PutDesktop(
        "Business", "Plan",
        DesktopText(Desk("<p>Plan v2 <img src=\"logo.png\"><img src=\"big.png\"></p>", true)));
    PutDesktop("Personal", "New", DesktopText(Desk("a new desktop document", true)));
    auto diary = *HandheldCopy("Diary");
    diary.text = "<p>Diary v2</p>";
    diary.modified = true;
    PutHandheld("Diary", diary);
    PutHandheld("Handheld", Doc("<p>a new handheld document</p>", kPersonal, true));
    stdfs::remove(DesktopPath("Business", "Old"));
  }

  void FromAnotherDesktop() {
    DocHost::FromAnotherDesktop();
    slow_ = true;
  }

  // Both sides. After a failed slow sync the next one is slow again, and a
  // slow sync writes the handheld's copy over every unchanged desktop
  // document: it comes back with the same header, information, bookmarks and
  // text, but its text as the handheld holds it (in HTML) and its empty names
  // written as the handheld's copies write them. So for another desktop each
  // desktop document is compared by what it holds.
  Snapshot Outcome() const {
    Snapshot state = State();
    if (!slow_) return state;
    for (auto& [path, file] : state.desktop) {
      if (!path.ends_with(".scv")) continue;
      std::string problem;
      const auto doc = ScvReader(file).Read({stdfs::path(path).filename().string(), true}, problem);
      if (!doc) continue;
      std::ostringstream held;
      held << doc->header.modified << ' ' << doc->header.version << ' ' << doc->header.linkPath
           << ' ' << doc->info.firstName << '|' << doc->info.secondName << ' ' << doc->info.position
           << ' ' << doc->info.wordA << ' ' << doc->info.wordB;
      for (const Bookmark& b : doc->bookmarks) held << ' ' << b.name << '@' << b.position;
      held << '\n' << DeviceTextOf(std::string(doc->text));
      file = held.str();
    }
    return state;
  }

  // Every text the uninterrupted HotSync keeps is still on one side.
  void ExpectNothingLost(const Snapshot& uninterrupted, const std::string& what) {
    std::set<std::string> present;
    for (const auto& [path, file] : DesktopFiles()) {
      if (!path.ends_with(".scv")) continue;
      std::string problem;
      const auto doc = ScvReader(file).Read({"x.scv", true}, problem);
      ASSERT_TRUE(doc) << what << ": " << path << ": " << problem;
      present.insert(std::string(doc->text));
    }
    for (const auto& [name, db] : HandheldDatabases()) {
      if (db.type != "zIZU") continue;
      if (const auto doc = testing::ReadDocument(db)) present.insert(doc->text);
    }
    for (const auto& [name, db] : uninterrupted.handheld) {
      if (db.type != "zIZU") continue;
      const std::string text = testing::ReadDocument(db)->text;
      const bool found = present.contains(text) ||
                         std::any_of(present.begin(), present.end(),
                                     [&](const std::string& t) { return DeviceTextOf(t) == text; });
      EXPECT_TRUE(found) << what << ": " << name << " lost";
    }
  }

  // Every document on the handheld holds together.
  void ExpectNoHalfDatabase(const std::string& what) const {
    for (const auto& [name, db] : HandheldDatabases()) {
      if (db.type == "zIZU") {
        EXPECT_TRUE(testing::ReadDocument(db)) << what << ": " << name << " is half written";
      }
    }
  }

  static std::string DeviceTextOf(const std::string& desktop) {
    return desktop.starts_with("<") ? desktop
                                    : "<html><head></head><body>" + desktop + "</body></html>";
  }

  bool slow_ = false;
};

}  // namespace
}  // namespace brevora::scriv

namespace brevora::conduit::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Scrivane, FaultSweeps, FaultSweepsOf<scriv::ScrivaneFaults>,
                               FaultSweepNames);

}  // namespace brevora::conduit::testing
