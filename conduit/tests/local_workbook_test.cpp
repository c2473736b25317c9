// Desktop workbook files of every layout: golden files written from the
// headers of new handheld workbooks and read back, the lines each layout may
// lack, and files that do not hold together.
#include <gtest/gtest.h>

#include <fstream>

#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "testing/temp_home.h"

namespace brevora::tabrel {
namespace {

std::string Lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::vector<std::string> StyleLines(uint16_t version) {
  const bool sixOrSeven = version == 6 || version == 7;
  std::vector<std::string> lines = {
      "65,\"Text\"",
      "72,\"Bold Text\"",
      sixOrSeven ? "4026531874,\"Number\"" : "268435490,\"Number\"",
      "536875138,\"Money\"",
      sixOrSeven ? "4026532354,\"Percentage\"" : "536871426,\"Percentage\"",
      "76,\"Col Header\""};
  if (version == 7) {
    lines.insert(lines.end(), {"1026,\"Date\"", "2050,\"Time\"", "3074,\"Date & Time\""});
  }
  while (lines.size() < 15) lines.push_back("0,\"\"");
  lines.push_back("0,\"Edit Styles...\"");
  return lines;
}

std::string Zeros(int count) {
  std::string line = "0";
  for (int i = 1; i < count; ++i) line += ",0";
  return line;
}

// The desktop file of a new handheld workbook of `version`, as each layout
// lays it out, with `cells` after the header.
std::string GoldenFile(uint16_t version, const std::vector<std::string>& cells) {
  std::vector<std::string> lines = {"0", std::to_string(version), "1"};
  auto add = [&](const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
  };
  const bool sixOrSeven = version == 6 || version == 7;
  if (version >= 8) add({"0", "\"\"", "0", "0"});
  if (version == 4) add({Zeros(10)});
  add({sixOrSeven ? "4026531874" : "268435490", "1", "22", "2", "\"$\""});
  add(StyleLines(version));
  for (int s = 0; s < 16; ++s) {
    if (version == 4) add({"0,0,0,0,0,0,1,1,0,0,4,0"});
    if (version >= 5 && version <= 7) add({Zeros(20), "0,0,0,0,0,0,1,1,0,0,4,47,0"});
    if (version >= 8) add({Zeros(40), "0,0,0,0,0,0,1,1,4,47,0"});
  }
  add({"2", "\"Clipboard\"", sixOrSeven ? "\"Sheet1\"" : "\"01 Sheet1\""});
  add(cells);
  return Lines(lines);
}

class DesktopFiles : public ::testing::Test {
 protected:
  std::string Put(const std::string& text) {
    const std::string path =
        brevora::testing::TempHome() + "/Book" + std::to_string(++count_) + ".tbr";
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::unique_ptr<LocalWorkbook> Open(uint16_t version, const std::string& text) {
    auto file = LocalWorkbookFor(version);
    EXPECT_EQ(file->OpenPath(Put(text)), conduit::CLocalFile::OpenResult::Opened);
    return file;
  }
  int count_ = 0;
};

const CellRecord kCell1{1, 2, 3, "", "abc", 65, 0};
const CellRecord kCell2{1, 10, 1, "=SUM(A1,B2)", "4", 0x10000022, 3};

TEST_F(DesktopFiles, GoldenFilesOfEveryLayoutAndBack) {
  for (uint16_t version : {4, 5, 6, 7, 8, 9}) {
    const auto db = HandheldWorkbookFor(version);
    db->block() = WorkbookBlock::Defaults(version, 0);
    const CellForm form = version <= 5 ? CellForm::Comma : CellForm::Tab;
    const std::vector<std::string> cellLines = {FormatCell(kCell1, form), FormatCell(kCell2, form)};
    const auto file = LocalWorkbookFor(version);
    if (version >= 8) {
      CWorkbookHeader_V8 h;
      db->CopyHeaderTo(h);
      file->WriteHeader(h, false);
    } else {
      CWorkbookHeader h;
      db->CopyHeaderTo(h);
      file->WriteHeader(h, false);
    }
    file->WriteCell(kCell1);
    file->WriteCell(kCell2);
    ASSERT_EQ(file->text(), GoldenFile(version, cellLines)) << version;

    const auto back = Open(version, file->text());
    bool modified = true;
    std::string problem;
    if (version >= 8) {
      CWorkbookHeader_V8 expected, read;
      db->CopyHeaderTo(expected);
      ASSERT_TRUE(back->ReadHeader(read, modified, problem)) << problem;
      EXPECT_EQ(read, expected) << version;
    } else {
      CWorkbookHeader expected, read;
      db->CopyHeaderTo(expected);
      ASSERT_TRUE(back->ReadHeader(read, modified, problem)) << problem;
      if (version == 4)
        expected.sheets = read.sheets;  // a version-4 record reads back with 47 as its width
      EXPECT_EQ(read, expected) << version;
    }
    EXPECT_FALSE(modified);
    CellRecord cell;
    ASSERT_EQ(back->ReadNextCell(cell, problem), LocalWorkbook::CellRead::Cell) << problem;
    EXPECT_EQ(cell, kCell1);
    ASSERT_EQ(back->ReadNextCell(cell, problem), LocalWorkbook::CellRead::Cell) << problem;
    EXPECT_EQ(cell, kCell2);
    EXPECT_EQ(back->ReadNextCell(cell, problem), LocalWorkbook::CellRead::End);
  }
}

TEST_F(DesktopFiles, ValuesCarriedNowhereReadAs0) {
  std::string text = GoldenFile(5, {});
  const std::string params = "0,0,0,0,0,0,1,1,0,0,4,47,0";
  text.replace(text.find(params), params.size(), "9,8,7,6,5,4,3,2,111,222,5,60,333");
  const auto file = Open(5, text);
  CWorkbookHeader h;
  bool modified = false;
  std::string problem;
  ASSERT_TRUE(file->ReadHeader(h, modified, problem)) << problem;
  EXPECT_EQ(h.sheets[0].settings, (std::array<uint16_t, 8>{9, 8, 7, 6, 5, 4, 3, 2}));
  EXPECT_EQ(h.sheets[0].doubles, (std::array<uint32_t, 2>{0, 0}));
  EXPECT_EQ(h.sheets[0].setting, 5);
  EXPECT_EQ(h.sheets[0].defaultWidth, 60);
  EXPECT_EQ(h.sheets[0].lastWord, 0);
}

TEST_F(DesktopFiles, TheLinesALayoutMayLack) {
  bool modified = false;
  std::string problem;
  // Version 3: no properties line; the properties word is 22.
  std::string v3 = GoldenFile(4, {});
  v3.replace(0, 6, "1\r\n3\r\n");
  v3.erase(v3.find("22\r\n2\r\n\"$\""), 4);
  CWorkbookHeader h;
  ASSERT_TRUE(Open(3, v3)->ReadHeader(h, modified, problem)) << problem;
  EXPECT_TRUE(modified);
  EXPECT_EQ(h.versionText, "3");
  EXPECT_EQ(h.properties, 22u);
  EXPECT_EQ(h.userStyleCount, 2);

  // A header flag other than "1": straight to the sheet count.
  CWorkbookHeader_V8 h8;
  ASSERT_TRUE(
      Open(9, Lines({"0", "9", "0", "2", "\"Clipboard\"", "\"Sheet1\"", "1\t1\t1\t\tx\t0\t0"}))
          ->ReadHeader(h8, modified, problem))
      << problem;
  EXPECT_FALSE(h8.valid);
  EXPECT_EQ(h8.sheetCount, 2);
  EXPECT_EQ(h8.names[1], "Sheet1");
  EXPECT_EQ(h8.linkPath, "");

  // The version-4 writer writes exactly (sheet count) names, empty or not;
  // the newer ones one per named slot.
  CWorkbookHeader three;
  three.valid = true;
  three.versionText = "4";
  three.sheetCount = 3;
  three.names = {"Clipboard", "Sheet1", "", "Fourth"};
  CLocalWorkbook_V4 v4;
  v4.WriteHeader(three, true);
  EXPECT_TRUE(v4.text().starts_with("1\r\n4\r\n1\r\n"));
  EXPECT_TRUE(v4.text().ends_with("\r\n3\r\n\"Clipboard\"\r\n\"Sheet1\"\r\n\"\"\r\n")) << v4.text();
  three.versionText = "5";
  CLocalWorkbook_V5 v5;
  v5.WriteHeader(three, false);
  EXPECT_TRUE(v5.text().ends_with("\r\n3\r\n\"Clipboard\"\r\n\"Sheet1\"\r\n\"Fourth\"\r\n"))
      << v5.text();
}

TEST_F(DesktopFiles, NumbersFitTheirFields) {
  bool modified = false;
  std::string problem;
  // Default style flags of versions 6 and 7 need all 32 bits; a signed
  // writing of the same word reads the same.
  std::string v6 = GoldenFile(6, {});
  CWorkbookHeader h;
  ASSERT_TRUE(Open(6, v6)->ReadHeader(h, modified, problem)) << problem;
  EXPECT_EQ(h.defaultStyleFlags, 0xF0000022u);
  v6.replace(v6.find("4026531874"), 10, "-268435422");
  ASSERT_TRUE(Open(6, v6)->ReadHeader(h, modified, problem)) << problem;
  EXPECT_EQ(h.defaultStyleFlags, 0xF0000022u);
  // A 16-bit value written signed reads back as the same bits, and is written signed.
  std::string v9 = GoldenFile(9, {});
  const std::string params = "0,0,0,0,0,0,1,1,4,47,0";
  v9.replace(v9.find(params), params.size(), "-1,0,0,0,0,0,1,1,4,47,0");
  CWorkbookHeader_V8 h8;
  ASSERT_TRUE(Open(9, v9)->ReadHeader(h8, modified, problem)) << problem;
  EXPECT_EQ(h8.sheets[0].settings[0], 0xFFFF);
  CLocalWorkbook_V8 out;
  out.WriteHeader(h8, false);
  EXPECT_NE(out.text().find("\r\n-1,0,0,0,0,0,1,1,4,47,0\r\n"), std::string::npos);
}

TEST_F(DesktopFiles, StyleNamesKeepTheirCommasAndQuotes) {
  std::string text = GoldenFile(9, {});
  text.replace(text.find("72,\"Bold Text\""), 14, "72,\"Bold, \"loud\" Text\"");
  bool modified = false;
  std::string problem;
  CWorkbookHeader_V8 h;
  ASSERT_TRUE(Open(9, text)->ReadHeader(h, modified, problem)) << problem;
  EXPECT_EQ(h.styles[1].name, "Bold, \"loud\" Te");  // cut to the 15 bytes of the block
  EXPECT_EQ(h.styles[1].flags, 72u);
}

TEST_F(DesktopFiles, HeadersThatDoNotHoldTogether) {
  struct Case {
    uint16_t version;
    std::string from;
    std::string to;
    std::string problem;  // after "<path>"
  };
  const Case cases[] = {
      {9, "0\r\n9\r\n", "x\r\n9\r\n",
       ", line 1: the file does not begin with its modified flag and version."},
      {9, "\r\n268435490\r\n", "\r\nlots\r\n",
       ", line 8: the default style flags is not a number that fits."},
      {9, "\r\n268435490\r\n", "\r\n4294967296\r\n",
       ", line 8: the default style flags is not a number that fits."},
      {9, "\r\n\"\"\r\n0\r\n", "\r\n\"" + std::string(256, 'p') + "\"\r\n0\r\n",
       ", line 7: the linked file's path is longer than 255 characters."},
      {9, "\r\n1\r\n22\r\n", "\r\n70000\r\n22\r\n",
       ", line 9: the current sheet is not a number that fits."},
      {9, "\r\n2\r\n\"$\"", "\r\n2\r\n$", ", line 12: the currency is not in quotes."},
      {9, "65,\"Text\"", "65\"Text\"", ", line 13: not a style line."},
      {9, "0,0,0,0,0,0,1,1,4,47,0", "0,0,0,0,0,0,1,1,4,47",
       ", line 30: the sheet line has 10 values, not 11."},
      {9, "0,0,0,0,0,0,1,1,4,47,0", "0,0,0,0,0,x,1,1,4,47,0",
       ", line 30: value 6 of the sheet line is not a number that fits."},
      {9, "\r\n2\r\n\"Clipboard\"", "\r\n17\r\n\"Clipboard\"",
       ", line 61: the sheet count 17 is above 16."},
      {9, "\r\n2\r\n\"Clipboard\"", "\r\n-1\r\n\"Clipboard\"",
       ", line 61: the sheet count is not a number."},
      {9, "\r\n2\r\n\"Clipboard\"", "\r\n3\r\n\"Clipboard\"",
       ": the file ends before its sheet names."},
      {5, "0,0,0,0,0,0,1,1,0,0,4,47,0", "0,0,0,0,0,0,1,1,0,0,4,47",
       ", line 26: the sheet line has 12 values, not 13."},
      {4, Zeros(10), Zeros(9), ", line 4: the column-width line has 9 values, not 10."},
  };
  for (const Case& c : cases) {
    std::string text = GoldenFile(c.version, {});
    const std::size_t at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    text.replace(at, c.from.size(), c.to);
    const auto file = Open(c.version, text);
    bool modified = false;
    std::string problem;
    bool read;
    if (c.version >= 8) {
      CWorkbookHeader_V8 h;
      read = file->ReadHeader(h, modified, problem);
    } else {
      CWorkbookHeader h;
      read = file->ReadHeader(h, modified, problem);
    }
    EXPECT_FALSE(read) << c.to;
    EXPECT_EQ(problem, file->path() + c.problem) << c.to;
  }
}

TEST_F(DesktopFiles, CellLinesThatAreNotCells) {
  bool modified = false;
  std::string problem;
  struct Case {
    uint16_t version;
    std::vector<std::string> cells;
    int good;             // cells read before the end or the refusal
    std::string problem;  // empty: the end was reached
  };
  const Case cases[] = {
      {9, {"1\t1\t1\t\ta\t0\t0", "", "", ""}, 1, ""},  // trailing blank lines
      {9,
       {"1\t1\t1\t\ta\t0\t0", "", "1\t2\t1\t\tb\t0\t0"},
       1,
       ", line 65: a blank line among the cells."},
      {9, {"0\t1\t1\t\ta\t0\t0"}, 0, ", line 64: the sheet is below 1."},
      {9, {"1\t1\t0\t\ta\t0\t0"}, 0, ", line 64: the column is below 1."},
      {9,
       {"1\t1\t1\t\ta\t0\t0", "1\t1\t1\ta\t0\t0"},
       1,
       ", line 65: the line does not have seven fields separated by tabs."},
      {5,
       {"1,1,1,\"\",\"a\",0,0", "1,x,1,\"\",\"a\",0,0"},
       1,
       ", line 61: the row is not a number."},
  };
  for (const Case& c : cases) {
    const auto file = Open(c.version, GoldenFile(c.version, c.cells));
    if (c.version >= 8) {
      CWorkbookHeader_V8 h;
      ASSERT_TRUE(file->ReadHeader(h, modified, problem)) << problem;
    } else {
      CWorkbookHeader h;
      ASSERT_TRUE(file->ReadHeader(h, modified, problem)) << problem;
    }
    int good = 0;
    CellRecord cell;
    LocalWorkbook::CellRead read;
    problem.clear();
    while ((read = file->ReadNextCell(cell, problem)) == LocalWorkbook::CellRead::Cell) ++good;
    EXPECT_EQ(good, c.good) << c.cells.back();
    EXPECT_EQ(read, c.problem.empty() ? LocalWorkbook::CellRead::End : LocalWorkbook::CellRead::Bad)
        << c.cells.back();
    if (!c.problem.empty()) {
      EXPECT_EQ(problem, file->path() + c.problem);
    }
  }
}

// A line ends at LF or CR LF; a CR on its own is a byte of its line: a header
// whose lines end with one is a single line, and a cell's text may hold one.
TEST_F(DesktopFiles, ACrOnItsOwnStaysInItsLine) {
  std::string header = GoldenFile(9, {});
  for (std::size_t at = header.find("\r\n"); at != std::string::npos;
       at = header.find("\r\n", at)) {
    header.replace(at, 2, "\r");
  }
  const auto oneLine = Open(9, header);
  CWorkbookHeader_V8 h;
  bool modified = false;
  std::string problem;
  EXPECT_FALSE(oneLine->ReadHeader(h, modified, problem));
  EXPECT_EQ(problem, oneLine->path() +
                         ", line 1: the file does not begin with its modified flag and version.");

  const auto file = Open(9, GoldenFile(9, {"1\t2\t3\t\ta\rb\t65\t0", "1\t3\t3\t\tc\t65\t0\r"}));
  ASSERT_TRUE(file->ReadHeader(h, modified, problem)) << problem;
  CellRecord cell;
  ASSERT_EQ(file->ReadNextCell(cell, problem), LocalWorkbook::CellRead::Cell) << problem;
  EXPECT_EQ(cell.value, "a\rb");
  ASSERT_EQ(file->ReadNextCell(cell, problem), LocalWorkbook::CellRead::Bad);
  EXPECT_EQ(problem, file->path() + ", line 65: the second format word is not a number.");
}

}  // namespace
}  // namespace brevora::tabrel
