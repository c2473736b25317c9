// The handheld spreadsheet database: the application-info block byte for byte,
// the records, round trips, and what is refused.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include "core/database_record.h"
#include "core/handheld_database.h"
#include "platform/automation/call_by_name.h"
#include "sheet/sheet_test_support.h"
#include "sheet/workbook.h"
#include "sheet/workbook_internal.h"
#include "testing/temp_home.h"

namespace brevora::sheet {
namespace {

using testing::ErrorOf;
namespace fsys = std::filesystem;

std::string Dir() { return ::brevora::testing::MakeTempDir("pdb"); }

void PutWord(std::string& b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v >> 8);
  b[at + 1] = static_cast<char>(v & 0xFF);
}
void PutDWord(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (24 - 8 * i));
}
void PutText(std::string& b, size_t at, const std::string& text) {
  b.replace(at, text.size(), text);
}

// The block of a default workbook, laid out by hand from the table of offsets.
std::string DefaultBlock() {
  std::string b(2524, '\0');
  PutWord(b, 0, 0x7FFF);
  PutText(b, 2, "Clipboard");
  PutText(b, 18, "Sheet1");
  for (int i = 0; i < 16; ++i) b[258 + i] = static_cast<char>(i + 1);
  PutDWord(b, 280, 4118);
  PutDWord(b, 284, 0xF0000022);
  PutText(b, 288, "$");
  PutWord(b, 290, 1);
  const size_t entry1 = 292 + 102;  // Frozen 0,0,0,0  Current 0,0,1,1  overflow 0  47
  PutWord(b, entry1 + 12, 1);
  PutWord(b, entry1 + 14, 1);
  PutWord(b, entry1 + 18, 47);
  b[1933] = static_cast<char>(255);  // modified
  const std::pair<uint32_t, const char*> styles[] = {{65, "Text"},
                                                     {72, "Bold Text"},
                                                     {0xF0000022, "Number"},
                                                     {0x20001082, "Money"},
                                                     {0xF0000202, "Percentage"},
                                                     {76, "Col Header"},
                                                     {1026, "Date"},
                                                     {2050, "Time"},
                                                     {3074, "Date & Time"}};
  for (size_t k = 0; k < 9; ++k) {
    PutDWord(b, 1936 + 20 * k, styles[k].first);
    PutText(b, 1936 + 20 * k + 4, styles[k].second);
  }
  PutText(b, 1936 + 20 * 15 + 4, "Edit Styles...");
  PutWord(b, 2256, 2);
  return b;
}

TEST(WorkbookPdbTest, DefaultWorkbookGolden) {
  const std::string path = Dir() + "/Budget.PDB";
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  CallByName(wb, "WriteToPDB", CallKind::Method, path);
  core::HandheldDatabase db;
  db.ReadFile(path, true);
  EXPECT_EQ(db.Name(), "Budget");
  EXPECT_EQ(db.Type(), "Data");
  EXPECT_EQ(db.Creator(), "Zeri");
  EXPECT_EQ(db.Version().Value(), 9);
  EXPECT_EQ(db.Attributes().Value(), 0);
  EXPECT_EQ(db.SortInfoBlock(), "");
  EXPECT_EQ(db.Records().Count(), 0);
  EXPECT_GT(db.CreationDate(), 0);
  const std::string block = db.AppInfoBlock();
  ASSERT_EQ(block.size(), 2524u);
  const std::string expected = DefaultBlock();
  for (size_t i = 0; i < block.size(); ++i) {
    ASSERT_EQ(static_cast<uint8_t>(block[i]), static_cast<uint8_t>(expected[i])) << "offset " << i;
  }
}

TEST(WorkbookPdbTest, RecordsAreCellLinesWithIdsInWritingOrder) {
  const std::string path = Dir() + "/Three.pdb";
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->Sheets().Add("Plan");
  wb->Sheets().Item(2).Cells().Add(1, 1).SetValue("first on two");
  wb->Sheets().Item(1).Cells().Add(3, 2).SetFormula("=A1");
  Cell& c = wb->Sheets().Item(1).Cells().Add(1, 2);
  c.SetValue("x");
  c.SetFormatRaw(65);
  wb->WriteToPDB(path);
  core::HandheldDatabase db;
  db.ReadFile(path, true);
  ASSERT_EQ(db.Records().Count(), 3);
  const char* lines[] = {"1\t3\t2\t=A1\t\t0\t0", "1\t1\t2\t\tx\t65\t0",
                         "2\t1\t1\t\tfirst on two\t0\t0"};
  for (int32_t i = 1; i <= 3; ++i) {
    const core::DatabaseRecord& r = *db.Records().Item("K" + std::to_string(i));
    EXPECT_EQ(r.UniqueID(), i);
    EXPECT_EQ(r.Attributes(), 0);
    EXPECT_EQ(r.DataText(), lines[i - 1]);
  }
}

// A format word given out of range through Raw is kept as the fields read it,
// so the workbook can be written in both forms.
TEST(WorkbookPdbTest, OutOfRangeFormatWordsCanBeSaved) {
  const std::string dir = Dir();
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  Cell& cell = wb->Sheets().Item(1).Cells().Add(1, 1);
  CallByName(cell.Format(), "Raw", CallKind::Let, -1.0);
  wb->WriteToPDB(dir + "/Word.pdb");
  wb->WriteToDisk(dir + "/Word.tbr");
  EXPECT_EQ(testing::Lines(testing::ReadText(dir + "/Word.tbr")).back(),
            "1\t1\t1\t\t\t4294967295\t0");
  Ref<Workbook> back = MakeRef<Workbook>();
  back->OpenFromPDB(dir + "/Word.pdb");
  EXPECT_EQ(back->Sheets().Item(1).Cells().Item(1).FormatRaw(), 4294967295.0);
}

TEST(WorkbookPdbTest, FixedTextsAndCurrency) {
  const struct {
    const char* currency;
    const char* bytes;  // two bytes at offset 288
    const char* readBack;
  } cases[] = {{"$", "\x24\x00", "$"}, {"EUR", "\x45\x55", "EU"}, {"", "\x00\x00", ""}};
  for (const auto& c : cases) {
    const std::string path = Dir() + "/Fixed.pdb";
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->SetCurrencyCharacter(c.currency);
    wb->Sheets().Item(1).Setname("Twenty characters!!!");
    wb->WriteToPDB(path);
    core::HandheldDatabase db;
    db.ReadFile(path, true);
    EXPECT_EQ(db.AppInfoBlock().substr(288, 2), std::string(c.bytes, 2)) << c.currency;
    EXPECT_EQ(db.AppInfoBlock().substr(18, 16), std::string("Twenty characte") + '\0');
    Ref<Workbook> back = MakeRef<Workbook>();
    back->OpenFromPDB(path);
    EXPECT_EQ(back->CurrencyCharacter(), c.readBack);
    EXPECT_EQ(back->Sheets().Item(1).name(), "Twenty characte");
  }
}

// A workbook written and read back is the same workbook.
TEST(WorkbookPdbTest, RoundTrips) {
  const struct {
    const char* what;
    std::function<void(Workbook&)> change;
  } cases[] = {
      {"names",
       [](Workbook& w) {
         w.Sheets().Item(1).Setname("Budget");
         w.Sheets().Add("caf\xe9");
       }},
      {"currency", [](Workbook& w) { w.SetCurrencyCharacter("DM"); }},
      {"link",
       [](Workbook& w) {
         w.SetLinkedXLSFileName("C:\\My Documents\\Budget.xls");
         w.SetLinkedXLSFileModDateTime(3849984000.0);
         w.SetLinkedXLSSyncMethod(1);
         w.SetLinkedXLSSyncOption(3);
       }},
      {"styles", [](Workbook& w) { w.Styles().Add("Mine").Format().SetRaw(0xF0001234); }},
      {"widths and places",
       [](Workbook& w) {
         Sheet& s = w.Sheets().Item(1);
         for (int j = 0; j < 40; ++j) s.SetColumnWidths(j, static_cast<int16_t>(j * 3));
         s.SetFrozenCells(1, 2, 3, 4);
         s.SetCurrentCell(9, 8, 7, 6);
       }},
      {"flags, category, extra",
       [](Workbook& w) {
         w.SetProperties(0x3677);
         w.SetCategory(14);
         w.SetHeaderExtra(300);
         w.SetIsModified(false);
         w.SetVersion(8);
       }},
  };
  for (const auto& c : cases) {
    const std::string path = Dir() + "/Round.pdb";
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->Sheets().Add("Second");
    c.change(*wb);
    Cell& cell = wb->Sheets().Item(2).Cells().Add(996, 254);
    cell.SetFormula("=SUM(A1:B2)");
    cell.SetValue("3");
    cell.SetFormatRaw(0xF0C10022);
    cell.SetFormat2(7);
    wb->WriteToPDB(path);
    Ref<Workbook> back = MakeRef<Workbook>();
    EXPECT_TRUE(back->OpenFromPDB(path)) << c.what;
    EXPECT_EQ(back->FullPath(), "");
    WorkbookHeader a, b;
    WorkbookInternal::HeaderFromObjects(*wb, a);
    WorkbookInternal::HeaderFromObjects(*back, b);
    EXPECT_EQ(a.SheetNames, b.SheetNames) << c.what;
    EXPECT_EQ(a.Currency, b.Currency) << c.what;
    EXPECT_EQ(a.LinkedFileName, b.LinkedFileName) << c.what;
    EXPECT_EQ(a.LinkedFileTime, b.LinkedFileTime) << c.what;
    EXPECT_EQ(a.SyncMethod, b.SyncMethod) << c.what;
    EXPECT_EQ(a.SyncOption, b.SyncOption) << c.what;
    EXPECT_EQ(a.Properties, b.Properties) << c.what;
    EXPECT_EQ(a.Extra, b.Extra) << c.what;
    for (size_t k = 0; k < 16; ++k) {
      EXPECT_EQ(a.Styles[k].Name, b.Styles[k].Name) << c.what << k;
      EXPECT_EQ(a.Styles[k].Format, b.Styles[k].Format) << c.what << k;
    }
    for (size_t e = 1; e <= 2; ++e) {
      EXPECT_EQ(a.SheetParams[e].ColumnWidths, b.SheetParams[e].ColumnWidths) << c.what;
      EXPECT_EQ(a.SheetParams[e].Frozen, b.SheetParams[e].Frozen) << c.what;
      EXPECT_EQ(a.SheetParams[e].Current, b.SheetParams[e].Current) << c.what;
    }
    EXPECT_EQ(back->Category(), wb->Category()) << c.what;
    EXPECT_EQ(back->IsModified(), wb->IsModified()) << c.what;
    EXPECT_EQ(back->Version(), wb->Version()) << c.what;
    const Cell& read = back->Sheets().Item(2).Cells().ItemDirect(996, 254);
    EXPECT_EQ(read.Formula(), "=SUM(A1:B2)");
    EXPECT_EQ(read.FormatBits(), 0xF0C10022u);
    EXPECT_EQ(read.Format2(), 7);
  }
}

// Writes a database of the given kind with `block` as its application info.
void WriteDb(const std::string& path, const char* type, const char* creator, int version,
             std::string block, const std::vector<std::string>& records = {}) {
  core::HandheldDatabase db;
  db.SetName("Crafted");
  db.SetType(type);
  db.SetCreator(creator);
  db.Version().SetValue(version);
  db.SetAppInfoBlock(std::move(block));
  int32_t id = 0;
  for (const std::string& data : records) {
    core::RecordRef r = MakeRef<core::DatabaseRecord>();
    r->SetUniqueID(++id);
    r->SetDataText(data);
    db.Records().Add(r, "K" + std::to_string(id));
  }
  db.WriteFile(path);
}

TEST(WorkbookPdbTest, WrongTypeAndVersionMessages) {
  const std::string dir = Dir();
  WriteDb(dir + "/Text.pdb", "TEXt", "REAd", 9, DefaultBlock());
  Ref<Workbook> wb = MakeRef<Workbook>();
  AutomationError e = ErrorOf([&] { wb->OpenFromPDB(dir + "/Text.pdb"); });
  EXPECT_EQ(e.number(), kWrapError);
  EXPECT_EQ(e.source(), "Document.OpenFromPDB");
  EXPECT_EQ(
      e.description(),
      "Could not open workbook '" + dir +
          "/Text.pdb'.\r\nUnrecognized PDB type.  Only PDB files in DOC format are supported.");
  WriteDb(dir + "/Lower.pdb", "data", "Zeri", 9, DefaultBlock());
  EXPECT_NE(ErrorOf([&] { wb->OpenFromPDB(dir + "/Lower.pdb"); })
                .description()
                .find("Unrecognized PDB type"),
            std::string::npos);

  WriteDb(dir + "/Seven.pdb", "Data", "Zeri", 7, DefaultBlock());
  e = ErrorOf([&] { wb->OpenFromPDB(dir + "/Seven.pdb"); });
  EXPECT_EQ(e.number(), kWrapError);
  EXPECT_EQ(e.source(), "Document.OpenFromPDB");
  EXPECT_EQ(e.description(),
            "Unable to open from PDB.\r\nError loading App Info String\r\nCan only work with "
            "Tabulyn 5.0 files.");

  wb->InitFromDefaults();
  wb->SetVersion(7);
  e = ErrorOf([&] { wb->WriteToPDB(dir + "/Out.pdb"); });
  EXPECT_EQ(e.source(), "Workbook.WriteToPDB");
  EXPECT_EQ(e.description(),
            "Could not save workbook ''.\r\nCan only work with Tabulyn 5.0 files.");
  EXPECT_FALSE(fsys::exists(dir + "/Out.pdb"));
}

TEST(WorkbookPdbTest, SheetListEndsAtTheFirstEmptyName) {
  const struct {
    const char* names[3];
    std::vector<std::string> sheets;
  } cases[] = {
      {{"Sheet1", "Plan", ""}, {"Sheet1", "Plan"}},
      {{"Sheet1", "", "Plan"}, {"Sheet1"}},
  };
  for (const auto& c : cases) {
    std::string block = DefaultBlock();
    for (int i = 0; i < 3; ++i) {
      std::string fixed(16, '\0');
      fixed.replace(0, std::string(c.names[i]).size(), c.names[i]);
      block.replace(18 + 16 * i, 16, fixed);
    }
    const std::string path = Dir() + "/Names.pdb";
    WriteDb(path, "Data", "Zeri", 9, block, {"1\t1\t1\t\tv\t0\t0"});
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->OpenFromPDB(path);
    ASSERT_EQ(wb->Sheets().Count(), static_cast<int32_t>(c.sheets.size()));
    for (size_t i = 0; i < c.sheets.size(); ++i)
      EXPECT_EQ(wb->Sheets().Item(static_cast<int32_t>(i + 1)).name(), c.sheets[i]);
    EXPECT_EQ(WorkbookInternal::Header(*wb).SheetCount, static_cast<int16_t>(c.sheets.size() + 1));
  }
}

// What the handheld cannot hold is refused before anything is written.
TEST(WorkbookPdbTest, UnwritableWorkbooksAreRefused) {
  const struct {
    const char* what;
    std::function<void(Workbook&)> spoil;
    const char* message;
  } cases[] = {
      {"16 sheets",
       [](Workbook& w) {
         for (int i = 2; i <= 16; ++i) w.Sheets().Add("S" + std::to_string(i));
       },
       "A handheld workbook holds at most 15 sheets; this one has 16."},
      {"blank name", [](Workbook& w) { w.Sheets().Add("   "); },
       "The sheet name '   ' is empty on the handheld"},
      {"tab in a value", [](Workbook& w) { w.Sheets().Item(1).Cells().Add(2, 2).SetValue("a\tb"); },
       "The value of the cell at row 2, column 2 of sheet 'Sheet1' holds a tab"},
  };
  for (const auto& c : cases) {
    const std::string dir = Dir();
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    c.spoil(*wb);
    const AutomationError e = ErrorOf([&] { wb->WriteToPDB(dir + "/Refused.pdb"); });
    EXPECT_EQ(e.number(), kWrapError) << c.what;
    EXPECT_EQ(e.source(), "Workbook.WriteToPDB") << c.what;
    EXPECT_NE(e.description().find(c.message), std::string::npos)
        << c.what << ": " << e.description();
    EXPECT_TRUE(brevora::testing::FolderEntries(dir).empty()) << c.what;
  }
  // Fifteen sheets fit.
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  for (int i = 2; i <= 15; ++i) wb->Sheets().Add("S" + std::to_string(i));
  const std::string path = Dir() + "/Fifteen.pdb";
  wb->WriteToPDB(path);
  Ref<Workbook> back = MakeRef<Workbook>();
  back->OpenFromPDB(path);
  EXPECT_EQ(back->Sheets().Count(), 15);
}

// Sheet names that are the same once cut to 15 characters (and trimmed) are
// written as they are cut. Reading such a database back refuses the second
// sheet with the duplicate-key error naming it, rather than merging the two.
TEST(WorkbookPdbTest, SheetNamesEqualWhenCutAreWrittenAndRefusedOnReading) {
  const struct {
    const char* first;
    const char* second;
    const char* firstStored;
    const char* stored;
  } cases[] = {
      {"Quarterly Report 2001", "Quarterly Report 2002", "Quarterly Repor", "Quarterly Repor"},
      {"QUARTERLY REPORT A", "Quarterly Report B", "QUARTERLY REPOR", "Quarterly Repor"},
      {"Plan", "  Plan", "Plan", "Plan"}};
  const auto fixed = [](const std::string& name) {
    return name + std::string(16 - name.size(), '\0');
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.second);
    const std::string path = Dir() + "/Report.pdb";
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->Sheets().Item(1).Setname(c.first);
    wb->Sheets().Add(c.second).Cells().Add(1, 1).SetValue("2002");
    wb->WriteToPDB(path);

    core::HandheldDatabase db;
    db.ReadFile(path, true);
    const std::string& block = db.AppInfoBlock();
    ASSERT_EQ(block.size(), 2524u);
    EXPECT_EQ(block.substr(18, 16), fixed(c.firstStored));
    EXPECT_EQ(block.substr(34, 16), fixed(c.stored));
    ASSERT_EQ(db.Records().Count(), 1);

    Ref<Workbook> back = MakeRef<Workbook>();
    const AutomationError e = ErrorOf([&] { back->OpenFromPDB(path); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "LoadAppInfoString");
    EXPECT_EQ(e.description(),
              std::string("Error loading App Info String\r\nError in Header to objects.\r\n") +
                  "The workbook has two sheets named '" + c.stored + "'.");
    EXPECT_EQ(back->Sheets().Count(), 1) << "nothing merged into the first sheet";
  }
}

TEST(WorkbookPdbTest, DatabaseNameComesFromTheFileName) {
  const struct {
    const char* file;
    const char* name;
  } cases[] = {{"Budget.pdb", "Budget"},
               {"Budget.PdB", "Budget"},
               {"Budget", "Budget"},
               {"Budget.pdb.pdb", "Budget.pdb"},
               {"My.Budget", "My.Budget"}};
  for (const auto& c : cases) {
    const std::string path = Dir() + "/" + c.file;
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->WriteToPDB(path);
    core::HandheldDatabase db;
    db.ReadFile(path, false);
    EXPECT_EQ(db.Name(), c.name);
  }
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  const AutomationError e =
      ErrorOf([&] { wb->WriteToPDB(Dir() + "/" + std::string(32, 'n') + ".pdb"); });
  EXPECT_EQ(e.source(), "Workbook.WriteToPDB");
}

}  // namespace
}  // namespace brevora::sheet
