// The desktop workbook file: golden lines, cell lines, old versions, header-only
// saves, and the faults a save or an open must not cause.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/automation/call_by_name.h"
#include "sheet/sheet_test_support.h"
#include "sheet/workbook.h"
#include "sheet/workbook_internal.h"
#include "sheet/workbook_link_step.h"
#include "testing/temp_home.h"

namespace brevora::sheet {
namespace {

using testing::ErrorOf;
using testing::Lines;
using testing::ReadText;
using testing::WriteText;
using testing::Zeros;
namespace fsys = std::filesystem;

std::string Dir() { return ::brevora::testing::MakeTempDir("tbr"); }

// The lines a default workbook is saved with (flags: the default flags word
// 4118, needs-recalc clear, as a new workbook has it).
std::vector<std::string> DefaultLines() {
  std::vector<std::string> l = {"1", "9",          "1", "0",    "\"\"", "0",
                                "0", "4026531874", "1", "4118", "2",    "\"$\""};
  const char* styles[] = {"65,\"Text\"",
                          "72,\"Bold Text\"",
                          "4026531874,\"Number\"",
                          "536875138,\"Money\"",
                          "4026532354,\"Percentage\"",
                          "76,\"Col Header\"",
                          "1026,\"Date\"",
                          "2050,\"Time\"",
                          "3074,\"Date & Time\""};
  for (const char* s : styles) l.push_back(s);
  for (int i = 9; i < 15; ++i) l.push_back("0,\"\"");
  l.push_back("0,\"Edit Styles...\"");
  for (int e = 0; e < 16; ++e) {
    l.push_back(Zeros(40));
    l.push_back(e == 0 ? Zeros(11) : e == 1 ? "0,0,0,0,0,0,1,1,0,47,0" : "0,0,0,0,0,0,1,1,0,0,0");
  }
  l.push_back("2");
  l.push_back("\"Clipboard\"");
  l.push_back("\"Sheet1\"");
  return l;
}

TEST(TbrFileTest, DefaultWorkbookGolden) {
  const std::string path = Dir() + "/Default.tbr";
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  CallByName(wb, "WriteToDisk", CallKind::Method, path);
  const std::string text = ReadText(path);
  EXPECT_EQ(Lines(text), DefaultLines());
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  EXPECT_EQ(wb->FullPath(), path);
  EXPECT_TRUE(wb->IsModified());  // a save does not clear it
}

TEST(TbrFileTest, CellLines) {
  struct Case {
    int sheet, row, col;
    const char* formula;
    const char* value;
    double format;
    double format2;
    const char* line;
  };
  const Case cases[] = {
      {1, 2, 3, "", "abc", 65, 0, "1\t2\t3\t\tabc\t65\t0"},
      {2, 996, 254, "=A1+B2", "3.5", 4026531874.0, 0, "2\t996\t254\t=A1+B2\t3.5\t4026531874\t0"},
      {1, 1, 1, "=SUM(A1:A9)", "", 0, 1.5, "1\t1\t1\t=SUM(A1:A9)\t\t0\t1.5"},
      {2, 7, 12, "", "caf\xe9, \"quoted\"", 0x400041, -2,
       "2\t7\t12\t\tcaf\xe9, \"quoted\"\t4194369\t-2"},
  };
  for (const Case& c : cases) {
    const std::string path = Dir() + "/Cells.tbr";
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->Sheets().Add("Two");
    Cell& cell = wb->Sheets().Item(c.sheet).Cells().Add(c.row, c.col);
    cell.SetFormula(c.formula);
    cell.SetValue(c.value);
    cell.SetFormatRaw(c.format);
    cell.SetFormat2(c.format2);
    wb->WriteToDisk(path);
    const std::vector<std::string> lines = Lines(ReadText(path));
    EXPECT_EQ(lines.back(), c.line);

    Ref<Workbook> back = MakeRef<Workbook>();
    back->OpenFromDisk(path);
    Cell& read = back->Sheets().Item(c.sheet).Cells().ItemDirect(c.row, c.col);
    EXPECT_EQ(read.Formula(), c.formula);
    EXPECT_EQ(read.Value(), c.value);
    EXPECT_EQ(read.FormatRaw(), c.format);
    EXPECT_EQ(read.Format2(), c.format2);
  }
}

// Fields 1 to 3 are read as their leading number rounded (ties to even), 6
// and 7 as their leading number; a seventh TAB ends the last field.
TEST(TbrFileTest, CellFieldsAreReadAsLeadingNumbers) {
  const std::string path = Dir() + "/Lenient.tbr";
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->WriteToDisk(path);
  WriteText(path, ReadText(path) + "1.4\t2.5\t3.5x\tf\tv\t65.9 \t1E+2\tignored\r\n");
  wb->OpenFromDisk(path);
  Cell& cell = wb->Sheets().Item(1).Cells().Item(1);
  EXPECT_EQ(cell.Row(), 2);
  EXPECT_EQ(cell.Col(), 4);
  EXPECT_EQ(cell.FormatRaw(), 65);
  EXPECT_EQ(cell.Format2(), 100);
}

// A value of the header ends at a comma or a line break, a CR on its own
// among them; a cell line ends at LF or CR LF, and a CR on its own is a byte
// of its fields.
TEST(TbrFileTest, ACrOnItsOwnEndsAHeaderValueButNotACellLine) {
  const std::string path = Dir() + "/Cr.tbr";
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->WriteToDisk(path);
  std::string text = ReadText(path);
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at))
    text.replace(at, 2, "\r");
  WriteText(path, text + "1\t2\t3\t\ta\rb\t65\t0\r\n");
  wb->OpenFromDisk(path);
  ASSERT_EQ(wb->Sheets().Count(), 1);
  EXPECT_EQ(wb->Sheets().Item(1).name(), "Sheet1");
  ASSERT_EQ(wb->Sheets().Item(1).Cells().Count(), 1);
  EXPECT_EQ(wb->Sheets().Item(1).Cells().Item(1).Value(), "a\rb");
}

// A file of version `version` as the conduit and the add-in write them:
// distinctive values in every field the version holds.
std::string OldFile(int version) {
  std::string t = "0\r\n" + std::to_string(version) + "\r\n1\r\n";
  if (version <= 4) t += "9,9,9,9,9,9,9,9,9,9\r\n";
  if (version >= 8) t += "2\r\n\"C:\\Data\\x.xls\"\r\n3600\r\n1\r\n";
  t += "65\r\n2\r\n";
  if (version >= 4) t += "4119\r\n";
  t += "3\r\n\"EUR\"\r\n";
  t += "72,\"Mine\"\r\n";
  for (int i = 1; i < 15; ++i) t += "0,\"\"\r\n";
  t += "0,\"Edit Styles...\"\r\n";
  const int widths = version >= 8 ? 40 : version >= 5 ? 20 : 0;
  for (int e = 0; e < 16; ++e) {
    if (widths > 0) {
      for (int j = 0; j < widths; ++j) t += (j ? "," : "") + std::to_string(e == 1 ? j + 1 : 0);
      t += "\r\n";
    }
    t += "1,2,3,4,5,6,7,8,";
    if (version <= 7) t += "70000,70001,";
    t += "9,";
    if (version >= 5) t += "47,";
    t += "123\r\n";
  }
  t += "3\r\n\"Clipboard\"\r\n\"Alpha\"\r\n\"Beta, with comma\"\r\n";
  if (version == 4 || version == 5) {
    t += "1,1,1,\"=A2\",\"5\",65,0\r\n2,3,4,\"\",\"x\",0,0\r\n";
  } else {
    t += "1\t1\t1\t=A2\t5\t65\t0\r\n2\t3\t4\t\tx\t0\t0\r\n";
  }
  return t;
}

// A number too big for a double is an overflow, in the header and in a cell
// line alike: read as an infinity it would be saved as a text that no reader
// takes for a number, and the saved file could not be opened again. A number
// too small to tell from 0 reads as 0.
TEST(TbrFileTest, NumbersBeyondTheRangeOfADoubleAreAnOverflow) {
  const std::string dir = Dir();
  const std::string path = dir + "/Huge.tbr";
  const std::string corrupt = "This workbook is corrupt or is not a Tabulyn file.  Overflow";
  struct Case {
    size_t line;  // 0-based line of OldFile(9) replaced
    const char* text;
    const char* error;  // after "Could not open workbook '...'." CR LF; null: opens
  };
  const Case cases[] = {
      {5, "1E999", corrupt.c_str()},                   // LinkedFileTime
      {9, "-1E+400", corrupt.c_str()},                 // Properties
      {12, "1D999,\"Mine\"", corrupt.c_str()},         // a style's format word
      {64, "1\t1\t1\t=A2\t5\t65\t1E999", "Overflow"},  // a cell's second format value
      {64, "1\t1\t1\t=A2\t5\t-1E999\t0", "Overflow"},  // a cell's format word
      {5, "1E-999", nullptr},
  };
  for (const Case& c : cases) {
    std::vector<std::string> lines = Lines(OldFile(9));
    ASSERT_LT(c.line, lines.size());
    lines[c.line] = c.text;
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    WriteText(path, text);
    Ref<Workbook> wb = MakeRef<Workbook>();
    if (!c.error) {
      wb->OpenFromDisk(path);
      EXPECT_EQ(wb->LinkedXLSFileModDateTime(), 0) << c.text;
      continue;
    }
    const AutomationError e = ErrorOf([&] { wb->OpenFromDisk(path); });
    EXPECT_EQ(e.description(), "Could not open workbook '" + path + "'.\r\n" + c.error) << c.text;
  }
}

TEST(TbrFileTest, VersionsThreeToNineOpen) {
  for (int version = 3; version <= 9; ++version) {
    SCOPED_TRACE(version);
    const std::string path = Dir() + "/Old.tbr";
    WriteText(path, OldFile(version));
    Ref<Workbook> wb = MakeRef<Workbook>();
    ASSERT_TRUE(wb->OpenFromDisk(path));
    EXPECT_EQ(wb->Version(), 9);
    EXPECT_FALSE(wb->IsModified());
    ASSERT_EQ(wb->Sheets().Count(), 2);
    EXPECT_EQ(wb->Sheets().Item(2).name(), "Beta, with comma");
    EXPECT_EQ(wb->CurrentSheet(), 2);
    EXPECT_EQ(wb->DefaultStyle().Raw(), 65);
    EXPECT_EQ(wb->Properties(), version >= 4 ? 4119 : 4118);
    EXPECT_EQ(wb->HeaderExtra(), 3);
    EXPECT_EQ(wb->CurrencyCharacter(), "EUR");
    if (version >= 6) {
      ASSERT_EQ(wb->Styles().Count(), 1);
      EXPECT_EQ(wb->Styles().Item(1).name(), "Mine");
    } else {
      EXPECT_EQ(wb->Styles().Count(), 9);  // replaced by the defaults
      EXPECT_EQ(wb->Styles().Item(1).name(), "Text");
    }
    if (version >= 8) {
      EXPECT_EQ(wb->LinkedXLSFileName(), "C:\\Data\\x.xls");
      EXPECT_EQ(wb->LinkedXLSFileModDateTime(), 3600);
      EXPECT_EQ(wb->LinkedXLSSyncMethod(), 2);
      EXPECT_EQ(wb->LinkedXLSSyncOption(), 1);
    } else {
      EXPECT_FALSE(wb->HasLinkedXLSFile());
      EXPECT_EQ(wb->LinkedXLSSyncMethod(), 0);
    }
    const Sheet& alpha = wb->Sheets().Item(1);
    const int widths = version >= 8 ? 40 : version >= 5 ? 20 : 0;
    for (int j = 0; j < 40; ++j) EXPECT_EQ(alpha.ColumnWidths(j), j < widths ? j + 1 : 0) << j;
    EXPECT_EQ(alpha.FrozenCells(), (CellPlace{1, 2, 3, 4}));
    EXPECT_EQ(alpha.CurrentCell(), (CellPlace{5, 6, 7, 8}));
    EXPECT_EQ(wb->Sheets().Item(1).Cells().ItemDirect(1, 1).Formula(), "=A2");
    EXPECT_EQ(wb->Sheets().Item(2).Cells().ItemDirect(3, 4).Value(), "x");
    EXPECT_EQ(WorkbookInternal::Header(*wb).SheetParams[1].Fixed47, 47);
    EXPECT_EQ(WorkbookInternal::Header(*wb).SheetParams[1].Reserved, 123);

    // Saved again, it is a version-9 file that keeps the Reserved values.
    wb->WriteToDisk();
    const std::vector<std::string> lines = Lines(ReadText(path));
    EXPECT_EQ(lines[1], "9");
    // Entry 1 is filled from the sheet; the widths 1, 2, 3... overflow at column 17.
    EXPECT_EQ(lines[31], std::string("1,2,3,4,5,6,7,8,") + (widths ? "17" : "0") + ",47,123");
  }
}

// Versions 4 and 5 (which the handheld conduit writes) have comma cell lines:
// quotes around the texts, commas inside them kept, the format word's top
// flags one bit higher than in the TAB lines of version 6 on.
TEST(TbrFileTest, CommaCellLinesOfVersions4And5) {
  const std::string dir = Dir();
  for (int version : {4, 5}) {
    SCOPED_TRACE(version);
    const std::string path = dir + "/Comma.tbr";
    std::string text = OldFile(version);
    text = text.substr(0, text.find("1,1,1,\"=A2\"")) +
           "1,1,1,\"=SUM(A2,B2)\",\"5,5\",3758096449,230\r\n2,3,4,\"\",\"\",0,0\r\n";
    WriteText(path, text);
    Ref<Workbook> wb = MakeRef<Workbook>();
    ASSERT_TRUE(wb->OpenFromDisk(path));
    const Cell& a1 = wb->Sheets().Item(1).Cells().ItemDirect(1, 1);
    EXPECT_EQ(a1.Formula(), "=SUM(A2,B2)");
    EXPECT_EQ(a1.Value(), "5,5");
    EXPECT_EQ(a1.FormatBits(), 0x70000041u);  // 0xE0000041 with bits 29-31 at 28-30
    EXPECT_EQ(a1.Format2(), 230);
    EXPECT_EQ(wb->Sheets().Item(2).Cells().ItemDirect(3, 4).Value(), "");

    // A header-only save writes version 9, and the cell lines in its form.
    Ref<Workbook> header = MakeRef<Workbook>();
    header->OpenFromDisk(path, false);
    header->WriteToDisk();
    const std::vector<std::string> lines = Lines(ReadText(path));
    EXPECT_EQ(lines[1], "9");
    EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
              (std::vector<std::string>{"1\t1\t1\t=SUM(A2,B2)\t5,5\t1879048257\t230",
                                        "2\t3\t4\t\t\t0\t0"}));
    Ref<Workbook> back = MakeRef<Workbook>();
    ASSERT_TRUE(back->OpenFromDisk(path));
    EXPECT_EQ(back->Sheets().Item(1).Cells().ItemDirect(1, 1).FormatBits(), 0x70000041u);
  }
  // A comma line that is not seven fields fails the open.
  std::string bad = OldFile(5);
  bad += "1,2,3,\"unclosed,0,0\r\n";
  WriteText(dir + "/Bad.tbr", bad);
  Ref<Workbook> wb = MakeRef<Workbook>();
  EXPECT_EQ(ErrorOf([&] { wb->OpenFromDisk(dir + "/Bad.tbr"); }).number(), 32760);
}

TEST(TbrFileTest, NewerVersionIsRefused) {
  const std::string path = Dir() + "/New.tbr";
  std::string text = OldFile(9);
  text.replace(text.find("\r\n9\r\n"), 5, "\r\n10\r\n");
  WriteText(path, text);
  Ref<Workbook> wb = MakeRef<Workbook>();
  const AutomationError e = ErrorOf([&] { wb->OpenFromDisk(path); });
  EXPECT_EQ(e.number(), kWrapError);
  EXPECT_EQ(e.source(), "Workbook.OpenFromDisk");
  EXPECT_EQ(e.description(), "Could not open workbook '" + path +
                                 "'.\r\nThis workbook is of a newer version than this module.  "
                                 "Please contact Orvanex, Inc.");
}

TEST(TbrFileTest, MissingFileMessageReadsFromTheOutsideIn) {
  const std::string path = Dir() + "/None.tbr";
  Ref<Workbook> wb = MakeRef<Workbook>();
  const AutomationError e = ErrorOf([&] { wb->OpenFromDisk(path); });
  EXPECT_EQ(e.source(), "Workbook.OpenFromDisk");
  EXPECT_EQ(e.description(), "Could not open workbook '" + path +
                                 "'.\r\nCould not open for read.\r\nFile not found");
}

TEST(TbrFileTest, HeaderFlagZeroGoesStraightToTheSheetNames) {
  const std::string path = Dir() + "/Bare.tbr";
  WriteText(path, "1\r\n9\r\n0\r\n2\r\n\"Clipboard\"\r\n\"Only\"\r\n1\t1\t1\t\tv\t0\t0\r\n");
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->OpenFromDisk(path);
  EXPECT_TRUE(wb->IsModified());
  ASSERT_EQ(wb->Sheets().Count(), 1);
  EXPECT_EQ(wb->Sheets().Item(1).name(), "Only");
  EXPECT_EQ(wb->Sheets().Item(1).Cells().Count(), 1);
}

// Every read starts from a clear header: an older file does not inherit the
// link or the widths of the file read before it.
TEST(TbrFileTest, HeaderIsClearedBeforeEveryRead) {
  const std::string dir = Dir();
  WriteText(dir + "/v9.tbr", OldFile(9));
  WriteText(dir + "/v7.tbr", OldFile(7));
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->OpenFromDisk(dir + "/v9.tbr");
  ASSERT_TRUE(wb->HasLinkedXLSFile());
  wb->OpenFromDisk(dir + "/v7.tbr");
  EXPECT_FALSE(wb->HasLinkedXLSFile());
  EXPECT_EQ(wb->LinkedXLSFileModDateTime(), 0);
  EXPECT_EQ(wb->Sheets().Item(1).ColumnWidths(25), 0);
  EXPECT_EQ(wb->Sheets().Item(1).ColumnWidths(19), 20);
}

TEST(TbrFileTest, FailedOpenLeavesTheWorkbookResetAndUnbound) {
  const std::string dir = Dir();
  const std::string good = dir + "/good.tbr", bad = dir + "/bad.tbr";
  WriteText(good, OldFile(9));
  std::string text = OldFile(9);
  text += "1\t1\t1\t\tduplicate\t0\t0\r\n";  // a second cell at row 1, column 1
  WriteText(bad, text);
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->OpenFromDisk(good);
  const AutomationError e = ErrorOf([&] { wb->OpenFromDisk(bad); });
  EXPECT_EQ(e.description(),
            "Could not open workbook '" + bad + "'.\r\n" +
                "This key is already associated with an element of this collection");
  EXPECT_EQ(wb->FullPath(), "");
  EXPECT_EQ(wb->Sheets().Count(), 0);
  // Nothing is bound, so a save cannot overwrite anything with partial content.
  const AutomationError save = ErrorOf([&] { wb->WriteToDisk(); });
  EXPECT_EQ(save.description(),
            "Could not save workbook ''.\r\nPlease name the workbook before saving it.");
  EXPECT_EQ(ReadText(bad), text);

  // Binding to a file that is not there fails the same way.
  wb->OpenFromDisk(good);
  ErrorOf([&] { wb->OpenFromDisk(dir + "/missing.tbr"); });
  EXPECT_EQ(wb->FullPath(), "");
}

TEST(TbrFileTest, ABlankCellLineFailsTheOpen) {
  const std::string path = Dir() + "/Blank.tbr";
  WriteText(path, OldFile(9) + "\r\n");
  Ref<Workbook> wb = MakeRef<Workbook>();
  const AutomationError e = ErrorOf([&] { wb->OpenFromDisk(path); });
  EXPECT_EQ(e.description(), "Could not open workbook '" + path + "'.\r\nSubscript out of range");
}

TEST(TbrFileTest, EmptyArgumentReadsTheBoundFileAgain) {
  const std::string path = Dir() + "/Again.tbr";
  WriteText(path, OldFile(9));
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->OpenFromDisk(path);
  wb->Sheets().Item(1).Cells().Add(9, 9);
  CallByName(wb, "OpenFromDisk", CallKind::Method);
  EXPECT_EQ(wb->FullPath(), path);
  EXPECT_EQ(wb->Sheets().Item(1).Cells().Count(), 1);
}

TEST(TbrFileTest, TheBoundPathItselfCanBeTheArgument) {
  const std::string path = Dir() + "/Itself.tbr";
  WriteText(path, OldFile(9));
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->OpenFromDisk(path);
  wb->Sheets().Item(1).Cells().Add(9, 9);
  EXPECT_TRUE(wb->OpenFromDisk(wb->FullPath()));
  EXPECT_EQ(wb->FullPath(), path);
  EXPECT_EQ(wb->Sheets().Item(1).Cells().Count(), 1);
}

TEST(TbrFileTest, HeaderOnlySaveKeepsEveryCellLineByteForByte) {
  const std::string dir = Dir();
  const std::string path = dir + "/Keep.tbr";
  // Cell lines as another writer may leave them, extra fields and LF included.
  const std::string cells =
      "1\t1\t1\t=A2\t5\t65\t0\r\n2\t3\t4\t\tx\t0\t0\textra\r\n1\t9\t9\t\t\t0\t1.25\r\n";
  const std::string original = OldFile(9).substr(0, OldFile(9).find("1\t1\t1")) + cells;
  WriteText(path, original);
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->OpenFromDisk(path, false);
  EXPECT_TRUE(wb->IsHeaderOnly());
  EXPECT_EQ(wb->Sheets().Item(1).Cells().Count(), 0);
  wb->SetCurrencyCharacter("DM");
  wb->WriteToDisk();
  const std::string saved = ReadText(path);
  EXPECT_EQ(saved.substr(saved.size() - cells.size()), cells);
  EXPECT_NE(saved.find("\r\n\"DM\"\r\n"), std::string::npos);
  EXPECT_EQ(brevora::testing::FolderEntries(dir), std::vector<std::string>{"Keep.tbr"});

  // Saved to another file, the cell lines come from the file it was opened from.
  const std::string copy = dir + "/Copy.tbr";
  wb->WriteToDisk(copy);
  const std::string copied = ReadText(copy);
  EXPECT_EQ(copied.substr(copied.size() - cells.size()), cells);
  EXPECT_EQ(ReadText(path), saved);
  Ref<Workbook> back = MakeRef<Workbook>();
  back->OpenFromDisk(copy);
  EXPECT_EQ(back->Sheets().Item(1).Cells().Count(), 2);
  EXPECT_EQ(back->CurrencyCharacter(), "DM");
}

// A text that could not be read back as written fails the save before the
// file is touched, with a message that names the cell or the field.
TEST(TbrFileTest, TextsTheFileCannotHoldAreRefused) {
  const struct {
    const char* what;
    std::function<void(Workbook&)> spoil;
    const char* message;
  } cases[] = {
      {"tab in formula",
       [](Workbook& w) { w.Sheets().Item(1).Cells().Add(2, 3).SetFormula("=A1\t"); },
       "The formula of the cell at row 2, column 3 of sheet 'Sheet1' holds a tab or a line break"},
      {"CR in value", [](Workbook& w) { w.Sheets().Item(1).Cells().Add(4, 5).SetValue("a\rb"); },
       "The value of the cell at row 4, column 5 of sheet 'Sheet1'"},
      {"LF in value", [](Workbook& w) { w.Sheets().Item(1).Cells().Add(4, 5).SetValue("a\nb"); },
       "The value of the cell at row 4, column 5"},
      {"quote in sheet name", [](Workbook& w) { w.Sheets().Add("My \"best\""); },
       "The sheet name 'My \"best\"' holds a double quote or a line break"},
      {"line break in currency", [](Workbook& w) { w.SetCurrencyCharacter("$\r\n"); },
       "The currency '$"},
      {"quote in link", [](Workbook& w) { w.SetLinkedXLSFileName("C:\\a\"b.xls"); },
       "The linked file name"},
      {"quote in style", [](Workbook& w) { w.Styles().Item(1).Setname("\"T\""); },
       "The style name '\"T\"'"},
  };
  for (const auto& c : cases) {
    const std::string dir = Dir();
    const std::string path = dir + "/Spoilt.tbr";
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->WriteToDisk(path);
    const std::string before = ReadText(path);
    c.spoil(*wb);
    const AutomationError e = ErrorOf([&] { wb->WriteToDisk(); });
    EXPECT_EQ(e.number(), kWrapError) << c.what;
    EXPECT_EQ(e.source(), "Workbook.WriteToDisk") << c.what;
    EXPECT_EQ(e.description().rfind("Could not save workbook '" + path + "'.\r\n", 0), 0u)
        << c.what;
    EXPECT_NE(e.description().find(c.message), std::string::npos)
        << c.what << ": " << e.description();
    EXPECT_EQ(ReadText(path), before) << c.what;
    EXPECT_EQ(brevora::testing::FolderEntries(dir), std::vector<std::string>{"Spoilt.tbr"})
        << c.what;
  }
}

TEST(TbrFileTest, FailedSavesLeaveTheOldFileAndNoTemporaryFiles) {
  const std::string dir = Dir();
  const std::string path = dir + "/Budget.tbr";
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->WriteToDisk(path);
  const std::string before = ReadText(path);

  // The target is a folder: the rename over it fails.
  fsys::create_directory(dir + "/Folder.tbr");
  wb->Sheets().Item(1).Cells().Add(1, 1).SetValue("new");
  ErrorOf([&] { wb->WriteToDisk(dir + "/Folder.tbr"); });
  EXPECT_EQ(brevora::testing::FolderEntries(dir),
            (std::vector<std::string>{"Budget.tbr", "Folder.tbr"}));

  // A header-only workbook whose source file went away.
  Ref<Workbook> headerOnly = MakeRef<Workbook>();
  headerOnly->OpenFromDisk(path, false);
  fsys::rename(path, dir + "/Moved.tbr");
  const AutomationError e = ErrorOf([&] { headerOnly->WriteToDisk(); });
  EXPECT_EQ(e.description(), "Could not save workbook '" + path +
                                 "'.\r\nCould not open for read.\r\nFile not found");
  EXPECT_EQ(brevora::testing::FolderEntries(dir),
            (std::vector<std::string>{"Folder.tbr", "Moved.tbr"}));
  EXPECT_EQ(ReadText(dir + "/Moved.tbr"), before);
}

TEST(TbrFileTest, InitFromTBRTakesTheHeaderOnly) {
  const std::string path = Dir() + "/Template.tbr";
  WriteText(path, OldFile(9));
  Ref<Workbook> wb = MakeRef<Workbook>();
  EXPECT_EQ(CallByName(wb, "InitFromTBR", CallKind::Method, path), Variant(true));
  EXPECT_EQ(wb->FullPath(), "");
  EXPECT_TRUE(wb->IsModified());
  EXPECT_TRUE(wb->Flag(workbook_flags::kNeedsRecalc));
  EXPECT_EQ(wb->Sheets().Count(), 2);
  EXPECT_EQ(wb->Sheets().Item(1).Cells().Count(), 0);
  const AutomationError e = ErrorOf([&] { wb->InitFromTBR(path + ".none"); });
  EXPECT_EQ(e.source(), "Workbook.InitfromTBR");
  EXPECT_EQ(wb->Sheets().Count(), 0);
}

// Names, currencies, link fields, styles, widths and cells survive a save and
// an open.
TEST(TbrFileTest, RoundTrips) {
  const struct {
    const char* what;
    std::function<void(Workbook&)> change;
  } cases[] = {
      {"names",
       [](Workbook& w) {
         w.Sheets().Item(1).Setname("Budget 2024");
         w.Sheets().Add("caf\xe9, bar");
       }},
      {"currency $", [](Workbook& w) { w.SetCurrencyCharacter("$"); }},
      {"currency EUR", [](Workbook& w) { w.SetCurrencyCharacter("EUR"); }},
      {"link",
       [](Workbook& w) {
         w.SetLinkedXLSFileName("C:\\My Documents\\a,b.xls");
         w.SetLinkedXLSFileModDateTime(3849984000.5);
         w.SetLinkedXLSSyncMethod(3);
         w.SetLinkedXLSSyncOption(2);
       }},
      {"styles", [](Workbook& w) { w.Styles().Add("Mine").Format().SetRaw(0xF0001234); }},
      {"widths and places",
       [](Workbook& w) {
         Sheet& s = w.Sheets().Item(1);
         for (int j = 0; j < 40; ++j) s.SetColumnWidths(j, static_cast<int16_t>(j * 3));
         s.SetFrozenCells(1, 2, -3, 4);
         s.SetCurrentCell(9, 8, 7, 6);
       }},
      {"flags and extra",
       [](Workbook& w) {
         w.SetProperties(0xFFFFFFFF);
         w.SetHeaderExtra(-5);
         w.SetCategory(3);
       }},
  };
  for (const auto& c : cases) {
    const std::string path = Dir() + "/Round.tbr";
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    c.change(*wb);
    Cell& cell = wb->Sheets().Item(1).Cells().Add(5, 6);
    cell.SetFormula("=B2*2");
    cell.SetValue("12");
    cell.SetIsCalculated(true);
    wb->WriteToDisk(path);
    const std::string first = ReadText(path);
    Ref<Workbook> back = MakeRef<Workbook>();
    back->OpenFromDisk(path);
    back->WriteToDisk();
    EXPECT_EQ(ReadText(path), first) << c.what;
    WorkbookHeader a, b;
    WorkbookInternal::HeaderFromObjects(*wb, a);
    WorkbookInternal::HeaderFromObjects(*back, b);
    EXPECT_EQ(a.LinkedFileName, b.LinkedFileName) << c.what;
    EXPECT_EQ(a.LinkedFileTime, b.LinkedFileTime) << c.what;
    EXPECT_EQ(a.Currency, b.Currency) << c.what;
    EXPECT_EQ(a.Properties, b.Properties) << c.what;
    EXPECT_EQ(a.SheetNames, b.SheetNames) << c.what;
    EXPECT_EQ(back->Sheets().Item(1).Cells().ItemDirect(5, 6).FormatBits(), 0x10000u) << c.what;
  }
}

// Records the link step's calls; on open it may replace the bound file.
class FakeLinkStep : public WorkbookLinkStep {
 public:
  std::string replacement;  // written over the bound file on open when not empty
  std::vector<std::string> calls;
  bool CheckLinkUpdate(Workbook& workbook, WorkbookHeader& header, bool fromLink) override {
    calls.push_back(std::string(fromLink ? "from " : "to ") + workbook.FullPath() + " " +
                    header.LinkedFileName);
    if (fromLink && !replacement.empty()) {
      WriteText(workbook.FullPath(), replacement);
      return true;
    }
    if (!fromLink) header.LinkedFileTime = 42;
    return false;
  }
  void ConvertFromXLS(Workbook&, const std::string&, const std::string&) override {}
  void ConvertToXLS(Workbook&, const std::string&, const std::string&) override {}
};

TEST(TbrFileTest, TheLinkStepRunsOnlyWhenAskedFor) {
  const std::string dir = Dir();
  const std::string path = dir + "/Linked.tbr";
  WriteText(path, OldFile(9));
  auto step = std::make_shared<FakeLinkStep>();
  Ref<Workbook> wb = MakeRef<Workbook>();
  WorkbookInternal::SetLinkStep(*wb, step);
  wb->OpenFromDisk(path);
  wb->WriteToDisk();
  EXPECT_TRUE(step->calls.empty());

  // Converted on open: the file is read again.
  step->replacement = OldFile(7);
  wb->OpenFromDisk(path, true, true);
  ASSERT_EQ(step->calls.size(), 1u);
  EXPECT_EQ(step->calls[0], "from " + path + " C:\\Data\\x.xls");
  EXPECT_FALSE(wb->HasLinkedXLSFile());  // the version-7 file that was written over it

  // Pushed on a full save, after the file is written; the renewed time is kept in memory.
  wb->SetLinkedXLSFileName("C:\\b.xls");
  wb->WriteToDisk({}, true);
  ASSERT_EQ(step->calls.size(), 2u);
  EXPECT_EQ(step->calls[1], "to " + path + " C:\\b.xls");
  EXPECT_EQ(wb->LinkedXLSFileModDateTime(), 42);
  EXPECT_EQ(Lines(ReadText(path))[5], "0");
}

}  // namespace
}  // namespace brevora::sheet
