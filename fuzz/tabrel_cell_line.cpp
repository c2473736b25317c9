// Fuzzes the workbook conduit's cell lines (conduit/cell_record.h): the first
// byte picks the form (even: TAB, odd: comma), the rest is the line. A line
// that is refused says why; one that is read is a cell of sheet, row and
// column 1 or more, and in every target whose checks its texts pass, the line
// written for it reads back as the same cell.
#include <string>
#include <vector>

#include "conduit/cell_record.h"
#include "conduit/style_remap.h"
#include "fuzz/fuzz_target.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  using tabrel::CellForm;
  using tabrel::CellRecord;
  const CellRecord plain{1, 2, 3, "", "abc", 65, 0};
  const CellRecord formula{2, 996, 254, "=SUM(A1,B2)", "1,250.5", 0xF0000022, 0x007D00E6};
  return {
      {"tab.txt", std::string(1, '\0') + tabrel::FormatCell(plain, CellForm::Tab)},
      {"tab_formula.txt", std::string(1, '\0') + tabrel::FormatCell(formula, CellForm::Tab)},
      {"comma.txt", "\x01" + tabrel::FormatCell(plain, CellForm::Comma)},
      {"comma_formula.txt", "\x01" + tabrel::FormatCell(formula, CellForm::Comma)},
      {"comma_bad.txt",
       "\x01"
       "1,1,1,\"a,\"b\",0,0"},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::tabrel;
  using brevora::fuzz::Check;
  if (size == 0) return 0;
  const CellForm form = data[0] & 1 ? CellForm::Comma : CellForm::Tab;
  const std::string_view line(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string problem;
  const auto cell = ParseCell(line, form, problem);
  if (!cell) {
    Check(!problem.empty(), "a refusal says why");
    return 0;
  }
  Check(cell->sheet >= 1 && cell->row >= 1 && cell->column >= 1,
        "a cell below sheet, row or column 1");
  const std::pair<CellTarget, CellForm> targets[] = {{CellTarget::HandheldTab, CellForm::Tab},
                                                     {CellTarget::DesktopTab, CellForm::Tab},
                                                     {CellTarget::DesktopComma, CellForm::Comma}};
  for (const auto& [target, targetForm] : targets) {
    if (!CheckTexts(*cell, target).empty()) continue;
    const auto back = ParseCell(FormatCell(*cell, targetForm), targetForm, problem);
    Check(back && *back == *cell, "a cell written as its target allows reads back different");
  }
  (void)RemapFormat2(cell->format2);
  (void)ToTabFormat(cell->format);
  return 0;
}
