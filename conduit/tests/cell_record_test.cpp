// Cell lines in both forms: reading and writing, the separators inside texts,
// lines that are not cells, the format word's move to the TAB form, the texts
// each target refuses, and the style remap.
#include <gtest/gtest.h>

#include "conduit/cell_record.h"
#include "conduit/style_remap.h"

namespace brevora::tabrel {
namespace {

TEST(CellRecord, BothFormsReadWhatTheyWrite) {
  struct Case {
    CellForm form;
    std::string line;
    CellRecord cell;
  };
  const Case cases[] = {
      {CellForm::Tab, "1\t2\t3\t\tabc\t65\t0", {1, 2, 3, "", "abc", 65, 0}},
      {CellForm::Tab,
       "2\t996\t254\t=SUM(A1,B2)\t7\t4026531874\t4294967295",
       {2, 996, 254, "=SUM(A1,B2)", "7", 4026531874u, 4294967295u}},
      // An empty text in TAB form is a field of its own.
      {CellForm::Tab, "1\t1\t1\t\t\t0\t0", {1, 1, 1, "", "", 0, 0}},
      {CellForm::Comma, "1,2,3,\"\",\"abc\",65,0", {1, 2, 3, "", "abc", 65, 0}},
      // Commas inside quotes belong to the text; a TAB is an ordinary character here.
      {CellForm::Comma,
       "3,10,4,\"=SUM(A1,B2)\",\"a,b\tc\",34,230",
       {3, 10, 4, "=SUM(A1,B2)", "a,b\tc", 34, 230}},
      {CellForm::Comma, "1,1,1,\"\",\"\",0,0", {1, 1, 1, "", "", 0, 0}},
  };
  for (const Case& c : cases) {
    std::string problem;
    const auto cell = ParseCell(c.line, c.form, problem);
    ASSERT_TRUE(cell) << c.line << ": " << problem;
    EXPECT_EQ(*cell, c.cell) << c.line;
    EXPECT_EQ(FormatCell(c.cell, c.form), c.line);
  }
}

TEST(CellRecord, UnquotedCommaTextsStayWhole) {
  // A one-character formula without quotes reads back unchanged, and so does
  // any other unquoted text: only surrounding quotes are dropped.
  std::string problem;
  const auto cell = ParseCell("1,1,1,x,ab,0,0", CellForm::Comma, problem);
  ASSERT_TRUE(cell) << problem;
  EXPECT_EQ(cell->formula, "x");
  EXPECT_EQ(cell->value, "ab");
}

TEST(CellRecord, LinesThatAreNotCells) {
  struct Case {
    CellForm form;
    std::string line;
    std::string problem;
  };
  const Case cases[] = {
      {CellForm::Tab, "0\t1\t1\t\t\t0\t0", "the sheet is below 1."},
      {CellForm::Tab, "1\t0\t1\t\t\t0\t0", "the row is below 1."},
      {CellForm::Tab, "1\t1\t-4\t\t\t0\t0", "the column is below 1."},
      {CellForm::Tab, "1\tx\t1\t\t\t0\t0", "the row is not a number."},
      {CellForm::Tab, "1\t1.5\t1\t\t\t0\t0", "the row is not a number."},
      {CellForm::Tab, "1\t1\t1\t\t\t-1\t0", "the format word is not a number."},
      {CellForm::Tab, "1\t1\t1\t\t\t0\t4294967296", "the second format word is not a number."},
      {CellForm::Tab, "1\t1\t1\t\t\t0\t0.5", "the second format word is not a number."},
      {CellForm::Tab, "99999999999\t1\t1\t\t\t0\t0", "the sheet is not a number."},
      {CellForm::Tab, "1\t1\t1\t\t\t0", "the line does not have seven fields separated by tabs."},
      {CellForm::Tab, "1\t1\t1\ta\tb\t0\t0\t",
       "the line does not have seven fields separated by tabs."},
      {CellForm::Tab, "", "the line does not have seven fields separated by tabs."},
      {CellForm::Comma, "1,1,1,\"a\",\"b\",0",
       "the line does not have seven fields separated by commas."},
      {CellForm::Comma, "1,1,1,\"a,\"b\",0,0",
       "the line does not have seven fields separated by commas."},
      {CellForm::Comma, "1,1,1,a,b,c,0,0",
       "the line does not have seven fields separated by commas."},
      {CellForm::Comma, "0,1,1,\"\",\"\",0,0", "the sheet is below 1."},
      {CellForm::Comma, "1,1,1,\"\",\"\",x,0", "the format word is not a number."},
  };
  for (const Case& c : cases) {
    std::string problem;
    EXPECT_FALSE(ParseCell(c.line, c.form, problem)) << c.line;
    EXPECT_EQ(problem, c.problem) << c.line;
  }
}

TEST(CellRecord, TheCommaFormatWordInTheTabForm) {
  struct Case {
    uint32_t comma;
    uint32_t tab;
  };
  const Case cases[] = {
      {0x00000041, 0x00000041}, {0xE0000022, 0x70000022},  // bits 29-31 to 28-30, bit 31 clear
      {0x20000000, 0x10000000}, {0x10000000, 0x10000000},  // bit 28 keeps its value...
      {0x30000001, 0x10000001},                            // ...OR the old bit 29
      {0x80000000, 0x40000000},
  };
  for (const Case& c : cases) EXPECT_EQ(ToTabFormat(c.comma), c.tab) << std::hex << c.comma;
}

TEST(CellRecord, TextsATargetCantKeep) {
  struct Case {
    std::string formula;
    std::string value;
    CellTarget target;
    std::string problem;  // empty: accepted
  };
  const std::string nul("a\0b", 3);
  const Case cases[] = {
      {"=SUM(A1,B2)", "a\"b", CellTarget::HandheldTab, ""},
      {"a\tb", "", CellTarget::HandheldTab,
       "the formula of the cell at sheet 2, row 3, column 4 holds a tab."},
      {"", nul, CellTarget::HandheldTab,
       "the value of the cell at sheet 2, row 3, column 4 holds a NUL character."},
      {"a,b\tc", "", CellTarget::DesktopComma, ""},
      {"", "say \"hi\"", CellTarget::DesktopComma,
       "the value of the cell at sheet 2, row 3, column 4 holds a double quote."},
      {"a\r\nb", "", CellTarget::DesktopComma,
       "the formula of the cell at sheet 2, row 3, column 4 holds a line break."},
      {"", "a\"b", CellTarget::DesktopTab, ""},
      {"", "a\nb", CellTarget::DesktopTab,
       "the value of the cell at sheet 2, row 3, column 4 holds a line break."},
      {"", "a\tb", CellTarget::DesktopTab,
       "the value of the cell at sheet 2, row 3, column 4 holds a tab."},
  };
  for (const Case& c : cases) {
    const CellRecord cell{2, 3, 4, c.formula, c.value, 0, 0};
    EXPECT_EQ(CheckTexts(cell, c.target), c.problem) << c.formula << "|" << c.value;
  }
}

TEST(StyleRemap, BothHalvesThroughTheTable) {
  struct Case {
    uint32_t format2;
    uint32_t remapped;
  };
  const Case cases[] = {
      {0, 230},  // low 0 taken as 1, high 0 maps to 0
      {57 + (3u << 16), 230 + 125 * 65536u},
      {1, 230},
      {56, 190},
      {15 + (56u << 16), 225 + 190 * 65536u},
      {0xFFFFFFFF, 230},  // both halves outside: low 1, high 0
      {2, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(RemapFormat2(c.format2), c.remapped) << c.format2;
  CellRecord cell{1, 1, 1, "", "", 7, 3};
  RemapFormat2(cell);
  EXPECT_EQ(cell.format2, 125u);
  EXPECT_EQ(cell.format, 7u);
}

}  // namespace
}  // namespace brevora::tabrel
