// Workbooks synchronized through the `hotsync` program with libtabrel.so: a
// first HotSync, the sync types, deletions, conflicts, another desktop,
// handheld workbooks of every version, linked office files with the recording
// converter loaded by the host, and faults of the handheld: every call failing
// in turn and a handheld that fills up, after which nothing is lost and the
// next HotSync ends where an uninterrupted one would have.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

#include "conduit-framework/tests/fault_sweeps.h"
#include "conduit/cell_record.h"
#include "conduit/style_remap.h"
#include "conduit/tests/tabrel_fixture.h"
#include "conduit/workbook_copy.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/files.h"
#include "platform/hotsync/host/conduit_registry.h"
#include "platform/hotsync/host/host_commands.h"
#include "platform/registry/registry.h"
#include "sheet/sdk.h"
#include "testing/fake_converter.h"
#include "testing/handheld_folder.h"
#include "testing/temp_home.h"

namespace brevora::tabrel {
namespace {

using brevora::testing::TestDatabase;
using testing::Book;
using testing::DesktopCells;
using testing::DesktopFile;
namespace stdfs = std::filesystem;

std::string Cell(const std::string& value, uint16_t version = 9) {
  return FormatCell({1, 1, 1, "", value, 65, 0}, CellFormOf(version));
}

class Host : public testing::TabrelHostTest {
 protected:
  // A first HotSync that leaves both sides in step with `books` (name, category).
  void InStep(const std::vector<std::pair<std::string, uint8_t>>& books) {
    for (const auto& [name, category] : books)
      PutHandheld(name, Book{9, category, false, {Cell(name + " v1")}});
    const auto first = Sync();
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_TRUE(LastRunHas("OK Tabulyn")) << LogFile();
  }
  // The values of a handheld workbook's cells.
  std::optional<std::vector<std::string>> HandheldCells(const std::string& name) const {
    const auto db = HandheldDatabase(name);
    if (!db) return std::nullopt;
    return testing::CellTexts(*db);
  }
  std::optional<std::vector<std::string>> DesktopCellsOf(const std::string& category,
                                                         const std::string& name,
                                                         uint16_t version = 9) const {
    const auto text = Desktop(category, name);
    if (!text) return std::nullopt;
    return DesktopCells(*text, version);
  }
};

TEST_F(Host, AFirstHotSyncAndTheNext) {
  PutHandheld("Plan", Book{9, kBusiness, false, {Cell("the plan")}});
  PutHandheld("Diary", Book{9, kPersonal, true, {Cell("dear diary")}});
  auto r = Sync();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(Desktop("Business", "Plan"), DesktopFile(9, {Cell("the plan")}, false));
  EXPECT_EQ(Desktop("Personal", "Diary"), DesktopFile(9, {Cell("dear diary")}, false));
  EXPECT_EQ(testing::BlockOf(*HandheldDatabase("Diary"))->Modified(), 0);
  EXPECT_EQ(LastRun(), (std::vector<std::string>{
                           "--- HotSync of Alice <date> ---",
                           "Info Tabulyn - Creating user workbook directory: " + desktop_,
                           "Info Tabulyn - sync configured to Synchronize (new desktop - Handheld "
                           "overwrites desktop)",
                           "Info Tabulyn - Copy Diary to PC.", "Info Tabulyn - Copy Plan to PC.",
                           "OK Tabulyn"}));

  PutDesktop("Business", "Plan", DesktopFile(9, {Cell("the plan, changed")}, true));
  PutHandheld("Notes", Book{9, kPersonal, true, {Cell("notes")}});
  r = Sync();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(LastRun(),
            (std::vector<std::string>{"--- HotSync of Alice <date> ---",
                                      "Info Tabulyn - sync configured to Synchronize",
                                      "Info Tabulyn - Copy Notes to PC.",
                                      "Info Tabulyn - Copy Plan to Device.", "OK Tabulyn"}));
  EXPECT_EQ(HandheldCells("Plan"), std::vector<std::string>{Cell("the plan, changed")});
  EXPECT_EQ(Desktop("Business", "Plan")->substr(0, 3), "0\r\n");
  EXPECT_TRUE(HandheldDatabase("MainTabulynDB"));
}

TEST_F(Host, SyncTypesZeroToSeven) {
  InStep({{"Plan", kBusiness}});
  struct Case {
    int32_t type;
    std::string line;
  };
  const Case cases[] = {
      {0, "Info Tabulyn - sync configured to Synchronize"},
      {1, "Info Tabulyn - sync configured to Synchronize (alternate desktop)"},
      {2, "Info Tabulyn - sync configured to Device overwrites desktop"},
      {3, "Info Tabulyn - sync configured to Desktop overwrites device"},
      {4, "OK Tabulyn - Installed"},
      {5, "Info Tabulyn - Default: Synchronize the workbooks..."},
      {6, "OK Tabulyn - sync configured to do nothing"},
      {7, "Info Tabulyn - Default: Synchronize the workbooks..."},
  };
  for (const Case& c : cases) {
    SetOnce(c.type);
    PutDesktop("Business", "FromDesktop", DesktopFile(5, {Cell("desktop side", 5)}, true));
    PutHandheld("FromHandheld", Book{7, kBusiness, true, {Cell("handheld side", 7)}});
    const auto r = Sync();
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(LastRunHas(c.line)) << c.type << ::testing::PrintToString(LastRun());
    const bool desktopKept = Desktop("Business", "FromDesktop").has_value();
    const bool handheldKept = HandheldDatabase("FromHandheld").has_value();
    switch (c.type) {
      case 2:
        EXPECT_FALSE(desktopKept);
        EXPECT_EQ(DesktopCellsOf("Business", "FromHandheld", 7),
                  std::vector<std::string>{Cell("handheld side", 7)});
        break;
      case 3:
        EXPECT_FALSE(handheldKept);
        EXPECT_TRUE(HandheldDatabase("FromDesktop"));
        break;
      case 4:
      case 6:
        EXPECT_FALSE(HandheldDatabase("FromDesktop"));
        EXPECT_FALSE(Desktop("Business", "FromHandheld"));
        break;
      default:
        EXPECT_EQ(HandheldDatabase("FromDesktop")->version, 9) << c.type;
        EXPECT_EQ(DesktopCellsOf("Business", "FromHandheld", 7),
                  std::vector<std::string>{Cell("handheld side", 7)});
    }
    EXPECT_FALSE(hotsync::host::ReadSyncAction(kAlice, "Tabulyn").once) << c.type;
    stdfs::remove(desktop_ + "Business/FromDesktop.tbr");
    stdfs::remove(desktop_ + "Business/FromHandheld.tbr");
    session_.reset();
    stdfs::remove(device_ + "/FromDesktop.pdb");
    stdfs::remove(device_ + "/FromHandheld.pdb");
  }
}

TEST_F(Host, DeletionsOnEitherSideAreCarriedOver) {
  InStep({{"Plan", kBusiness}, {"Diary", kPersonal}});
  stdfs::remove(desktop_ + "Business/Plan.tbr");
  session_.reset();
  stdfs::remove(device_ + "/Diary.pdb");
  ASSERT_EQ(Sync().status, 0);
  EXPECT_FALSE(HandheldDatabase("Plan"));
  EXPECT_FALSE(Desktop("Personal", "Diary"));
  EXPECT_TRUE(LastRunHas("OK Tabulyn"));
}

TEST_F(Host, ConflictsGoByThePrevailSetting) {
  InStep({{"Plan", kBusiness}});
  PutDesktop("Business", "Plan", DesktopFile(9, {Cell("desktop change")}, true));
  PutHandheld("Plan", Book{9, kBusiness, true, {Cell("handheld change")}});
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas(
      "Info Tabulyn - Plan modified on desktop and device.  Device overwriting desktop."));
  EXPECT_EQ(DesktopCellsOf("Business", "Plan"), std::vector<std::string>{Cell("handheld change")});

  registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "SyncPrevail",
                     registry::Value::DWord(1));
  PutDesktop("Business", "Plan", DesktopFile(9, {Cell("desktop change")}, true));
  PutHandheld("Plan", Book{9, kBusiness, true, {Cell("handheld change")}});
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas(
      "Info Tabulyn - Plan modified on desktop and device.  Desktop overwriting device."));
  EXPECT_EQ(HandheldCells("Plan"), std::vector<std::string>{Cell("desktop change")});
}

TEST_F(Host, AnotherDesktopMakesASlowSync) {
  InStep({{"Plan", kBusiness}});
  PutHandheld("Plan", Book{9, kBusiness, false, {Cell("from the other desktop")}});
  FromAnotherDesktop();
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info Tabulyn - sync configured to Synchronize (alternate desktop)"));
  EXPECT_EQ(DesktopCellsOf("Business", "Plan"),
            std::vector<std::string>{Cell("from the other desktop")});
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info Tabulyn - sync configured to Synchronize"));
}

TEST_F(Host, HandheldWorkbooksOfEveryVersion) {
  InStep({{"Plan", kBusiness}});
  for (uint16_t version : {4, 5, 6, 7, 8, 9}) {
    PutHandheld(
        "V" + std::to_string(version),
        Book{version, kPersonal, true, {Cell("version " + std::to_string(version), version)}});
  }
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("OK Tabulyn")) << LogFile();
  for (uint16_t version : {4, 5, 6, 7, 8, 9}) {
    const std::string name = "V" + std::to_string(version);
    EXPECT_EQ(DesktopCellsOf("Personal", name, version),
              std::vector<std::string>{Cell("version " + std::to_string(version), version)});
    // Changed on the desktop, each goes back as a version-9 workbook.
    std::string text = *Desktop("Personal", name);
    text[0] = '1';
    PutDesktop("Personal", name, text);
  }
  ASSERT_EQ(Sync().status, 0);
  for (uint16_t version : {4, 5, 6, 7, 8, 9}) {
    const std::string name = "V" + std::to_string(version);
    const auto db = HandheldDatabase(name);
    ASSERT_TRUE(db) << name;
    EXPECT_EQ(db->version, 9);
    const std::string value = "version " + std::to_string(version);
    EXPECT_EQ(testing::CellTexts(*db),
              std::vector<std::string>{
                  FormatCell({1, 1, 1, "", value, 65, version < 9 ? 230u : 0u}, CellForm::Tab)});
  }
}

class LinkedHost : public Host {
 protected:
  void SetUp() override {
    Host::SetUp();
    brevora::testing::RegisterFakeConverterServer(brevora::testing::FakeConverterKind::Spreadsheet,
                                                  FAKE_CONVERTER_SERVER);
    office_ = brevora::testing::MakeTempDir("office");
  }
  static uint32_t SecondsOf(const std::string& path) {
    return static_cast<uint32_t>(std::llround(fs::FileDateTime(path) * 86400.0));
  }
  std::string office_;
};

TEST_F(LinkedHost, TheLinkedOfficeFileIsKeptInStep) {
  const std::string xls = office_ + "/Plan.xls";
  const std::string tbr = desktop_ + "Business/Plan.tbr";
  WorkbookBlock block = WorkbookBlock::Defaults(9, kBusiness);
  block.SetModified(1);
  block.SetLinkPath(xls);
  block.SetLinkMethod(0);
  block.SetLinkOption(3);
  const uint32_t linkDate = 3900000000u;
  block.SetLinkDate(linkDate);
  PutHandheld(testing::WorkbookDatabase("Plan", 9, block, {Cell("handheld side")}));
  ASSERT_EQ(Sync().status, 0);
  using Call = brevora::testing::ConverterCall;
  // The handheld's change is pushed out, and the office file gets the link date.
  EXPECT_EQ(brevora::testing::FakeConverterCalls(),
            (std::vector<Call>{{"TBRToXLSExt_Sync", tbr, xls, "3"}}));
  EXPECT_EQ(SecondsOf(xls), linkDate);
  EXPECT_TRUE(LastRunHas("OK Tabulyn"));

  // Nothing changed: no conversion.
  ASSERT_EQ(Sync().status, 0);
  EXPECT_EQ(brevora::testing::FakeConverterCalls().size(), 1u);

  // The office file changes: converted into the workbook, which goes to the handheld.
  std::string converted =
      DesktopFile(9, {Cell("from Excel")}, false, testing::Link{xls, 0, 3, linkDate});
  std::ofstream(xls, std::ios::binary | std::ios::trunc) << converted;
  ASSERT_EQ(Sync().status, 0);
  EXPECT_EQ(brevora::testing::FakeConverterCalls().back(),
            (Call{"XLSToTBRExt_Sync", xls, tbr, "1"}));
  EXPECT_EQ(HandheldCells("Plan"), std::vector<std::string>{Cell("from Excel")});
  EXPECT_TRUE(LastRunHas("Info Tabulyn - Copy Plan to Device."));

  // A converter that fails: logged, and the workbook still synchronized.
  brevora::testing::SetFakeConverterFails(true);
  block.SetLinkDate(linkDate + 86400);
  PutHandheld(testing::WorkbookDatabase("Plan", 9, block, {Cell("handheld again")}));
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info Tabulyn - Linked file '" + xls +
                         "' could not be converted. The fake converter was told to fail."))
      << LogFile();
  EXPECT_TRUE(LastRunHas("Info Tabulyn - Copy Plan to PC."));
  EXPECT_EQ(DesktopCellsOf("Business", "Plan"), std::vector<std::string>{Cell("handheld again")});
}

// With the connectivity module's own converter registered, a conversion
// reaches it, and it says in its own words why it could not convert (no
// Excel here). A conversion is tried only when a side changed or the linked
// file is newer: HotSyncs after that, with nothing changed, try none, also
// while another workbook fails every HotSync.
TEST_F(Host, TheRealConverterSaysWhyItCantConvert) {
  RegisterServer(sheet::SDK::kProgId, sheet::SDK::kClsid, TABRELPC_LIBRARY);
  // An office file older than the handheld's link date: the copy to the
  // desktop is to be converted out into it.
  const std::string xls = brevora::testing::MakeTempDir("office") + "/Plan.xls";
  std::ofstream(xls) << "an older spreadsheet";
  const uint32_t linkDate = 3900000000u;
  fs::SetFileDateTime(xls, LinkDateToVbDate(linkDate - 86400));
  WorkbookBlock block = WorkbookBlock::Defaults(9, kBusiness);
  block.SetModified(1);
  block.SetLinkPath(xls);
  block.SetLinkMethod(0);
  block.SetLinkDate(linkDate);
  PutHandheld(testing::WorkbookDatabase("Plan", 9, block, {Cell("handheld side")}));
  PutDesktop("Business", "Broken", "not a workbook");
  const auto first = Sync();
  ASSERT_EQ(first.status, hotsync::host::kConduitFailedStatus) << first.err;
  const auto lines = LastRun();
  const std::string prefix = "Info Tabulyn - Linked file '" + xls + "' could not be converted. ";
  const auto line = std::find_if(lines.begin(), lines.end(),
                                 [&](const std::string& l) { return l.starts_with(prefix); });
  ASSERT_NE(line, lines.end()) << LogFile();
  // The converter's reason ("Error getting excel object."), not that there is
  // no converter.
  EXPECT_GT(line->size(), prefix.size()) << *line;
  EXPECT_EQ(line->find("ActiveX component can't create object"), std::string::npos) << *line;
  EXPECT_TRUE(LastRunHas("Info Tabulyn - Copy Plan to PC."));
  EXPECT_EQ(fs::ReadWholeFile(xls).size(), 20u);  // left as it was
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(Sync().status, hotsync::host::kConduitFailedStatus);
    for (const std::string& l : LastRun()) EXPECT_EQ(l.find("Linked file"), std::string::npos) << l;
    EXPECT_FALSE(LastRunHas("Info Tabulyn - Copy Plan to PC.")) << LogFile();
  }
}

TEST_F(LinkedHost, AMissingLinkedFileIsLogged) {
  InStep({});
  const std::string xls = office_ + "/Gone.xls";
  PutDesktop("Unfiled", "Gone",
             DesktopFile(9, {Cell("x")}, true, testing::Link{xls, 2, 0, 3900000000u}));
  ASSERT_EQ(Sync().status, 0);
  EXPECT_TRUE(LastRunHas("Info Tabulyn - Linked file '" + xls + "' was not found."));
  EXPECT_EQ(HandheldCells("Gone"), std::vector<std::string>{Cell("x")});
  EXPECT_TRUE(brevora::testing::FakeConverterCalls().empty());
}

// What the faults of the handheld (fault_sweeps.h) do to a HotSync of
// workbooks of several versions that changed on both sides in every way.
class TabulynFaults : public Host {
 public:
  static constexpr const char* kProduct = "Tabulyn";
  static std::vector<uint64_t> RoomSizes() {
    std::vector<uint64_t> sizes;
    for (uint64_t room = 0; room < 40000; room += 251) sizes.push_back(room);
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
    PutDesktop("Business", "DeskChanged",
               DesktopFile(9, {Cell("DeskChanged v2"), Cell2("DeskChanged B")}, true));
    PutHandheld("HandChanged", Book{9, kBusiness, true, {Cell("HandChanged v2")}});
    PutDesktop("Business", "Both", DesktopFile(9, {Cell("Both desktop v2")}, true));
    PutHandheld("Both", Book{9, kBusiness, true, {Cell("Both handheld v2")}});
    PutDesktop("Business", "DeskNew",
               DesktopFile(5, {Cell("DeskNew v1", 5), Cell2("DeskNew B", 5)}, true));
    PutHandheld("HandNew", Book{6, kPersonal, true, {Cell("HandNew v1", 6)}});
    PutHandheld("HandOld", Book{5, kUnfiled, true, {Cell("HandOld v1", 5)}});
    stdfs::remove(desktop_ + "Business/DeskDeleted.tbr");
    session_.reset();
    stdfs::remove(device_ + "/HandDeleted.pdb");
    PutHandheld("Moved", Book{9, kPersonal, false, {Cell("Moved v1")}});
    PutDesktop("Work", "InNewFolder", DesktopFile(7, {Cell("InNewFolder v1", 7)}, true));
  }

  void FromAnotherDesktop() {
    Host::FromAnotherDesktop();
    slow_ = true;
  }

  static std::string Cell2(const std::string& value, uint16_t version = 9) {
    return FormatCell({1, 2, 1, "", value, 65, 0}, CellFormOf(version));
  }

  // The values of every cell on either side.
  std::set<std::string> Values(const testing::Snapshot& s) const {
    std::set<std::string> values;
    auto add = [&](const std::string& line) {
      for (CellForm form : {CellForm::Tab, CellForm::Comma}) {
        std::string problem;
        if (const auto cell = ParseCell(line, form, problem)) values.insert(cell->value);
      }
    };
    for (const auto& [path, text] : s.desktop) {
      if (text.empty()) continue;
      for (uint16_t version : {9, 7, 5}) {
        if (const auto cells = DesktopCells(text, version)) {
          for (const std::string& line : *cells) add(line);
          break;
        }
      }
    }
    for (const auto& [name, db] : s.handheld) {
      if (db.type == "Data" && name != "MainTabulynDB") {
        for (const std::string& line : testing::CellTexts(db)) add(line);
      }
    }
    return values;
  }

  void ExpectNothingLost(const testing::Snapshot& uninterrupted, const std::string& what) const {
    const std::set<std::string> now = Values(State());
    for (const std::string& value : Values(uninterrupted)) {
      EXPECT_TRUE(now.contains(value)) << what << ": " << value << " lost";
    }
  }

  // Every workbook database of the handheld holds together: its block and each record.
  void ExpectNoHalfDatabase(const std::string& what) const {
    for (const auto& [name, db] : State().handheld) {
      if (db.type != "Data" || name == "MainTabulynDB") continue;
      EXPECT_TRUE(testing::BlockOf(db)) << what << ": " << name << "'s block";
      for (const std::string& line : testing::CellTexts(db)) {
        std::string problem;
        EXPECT_TRUE(ParseCell(line, CellFormOf(db.version), problem))
            << what << ": " << name << ": " << problem;
      }
    }
  }

  // The state to compare with the uninterrupted HotSync's. After a failed
  // slow sync the next one is slow again, and a slow sync writes the
  // handheld's copy over every unchanged desktop file: a file of an older
  // version may come back in the newest layout with the same cells. So for
  // another desktop each desktop file is compared by its modified flag and its
  // cells as the handheld holds them.
  testing::Snapshot Outcome() const {
    testing::Snapshot s = State();
    if (!slow_) return s;
    for (auto& [path, text] : s.desktop) {
      if (text.empty()) continue;
      const std::size_t lineEnd = text.find('\r', 3);
      const auto version = static_cast<uint16_t>(std::stoi(text.substr(3, lineEnd - 3)));
      const auto cells = DesktopCells(text, version);
      std::string normal = text.substr(0, 1);
      for (const std::string& line : cells.value_or(std::vector<std::string>{"unreadable"})) {
        std::string problem;
        auto cell = ParseCell(line, CellFormOf(version), problem);
        if (!cell) {
          normal += "\n" + line;
          continue;
        }
        if (CellFormOf(version) == CellForm::Comma) cell->format = ToTabFormat(cell->format);
        if (version < 9) RemapFormat2(*cell);
        normal += "\n" + FormatCell(*cell, CellForm::Tab);
      }
      text = normal;
    }
    return s;
  }

  bool slow_ = false;
};

}  // namespace
}  // namespace brevora::tabrel

namespace brevora::conduit::testing {

INSTANTIATE_TYPED_TEST_SUITE_P(Tabulyn, FaultSweeps, FaultSweepsOf<tabrel::TabulynFaults>,
                               FaultSweepNames);

}  // namespace brevora::conduit::testing
