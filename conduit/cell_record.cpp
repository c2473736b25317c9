#include "conduit/cell_record.h"

#include <array>
#include <span>
#include <utility>

#include "conduit/numbers.h"
#include "sheet/tbr_format.h"

namespace brevora::tabrel {
namespace tbr = sheet::tbr_format;
namespace {

using Fields = std::array<std::string_view, tbr::kCellFields>;

// Cut at every TAB; exactly seven fields.
std::optional<Fields> SplitTab(std::string_view line) {
  Fields fields;
  std::size_t count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] != tbr::kFieldSeparator) continue;
    if (count == fields.size()) return std::nullopt;
    fields[count++] = line.substr(start, i - start);
    start = i + 1;
  }
  if (count != fields.size()) return std::nullopt;
  return fields;
}

}  // namespace

CellForm CellFormOf(uint16_t version) {
  return version >= 6 && version <= 9 ? CellForm::Tab : CellForm::Comma;
}

uint32_t ToTabFormat(uint32_t commaFormat) { return tbr::CommaFormatWord(commaFormat); }

std::optional<CellRecord> ParseCell(std::string_view line, CellForm form, std::string& problem) {
  const auto fields = form == CellForm::Tab ? SplitTab(line) : tbr::SplitCommaCells(line);
  if (!fields) {
    problem = form == CellForm::Tab ? "the line does not have seven fields separated by tabs."
                                    : "the line does not have seven fields separated by commas.";
    return std::nullopt;
  }
  const Fields& f = *fields;
  CellRecord cell;
  const char* const names[] = {"sheet", "row", "column"};
  int32_t* const places[] = {&cell.sheet, &cell.row, &cell.column};
  for (std::size_t i = 0; i < 3; ++i) {
    const auto number = ParseInt32(f[i]);
    if (!number) {
      problem = std::string("the ") + names[i] + " is not a number.";
      return std::nullopt;
    }
    if (*number < 1) {
      problem = std::string("the ") + names[i] + " is below 1.";
      return std::nullopt;
    }
    *places[i] = *number;
  }
  if (form == CellForm::Comma) {
    cell.formula = std::string(tbr::Unquoted(f[3]));
    cell.value = std::string(tbr::Unquoted(f[4]));
  } else {
    cell.formula = std::string(f[3]);
    cell.value = std::string(f[4]);
  }
  const auto format = ParseUInt32(f[5]);
  const auto format2 = ParseUInt32(f[6]);
  if (!format || !format2) {
    problem =
        std::string("the ") + (format ? "second format word" : "format word") + " is not a number.";
    return std::nullopt;
  }
  cell.format = *format;
  cell.format2 = *format2;
  return cell;
}

void AppendCell(std::string& out, const CellRecord& cell, CellForm form) {
  const char separator = form == CellForm::Tab ? tbr::kFieldSeparator : tbr::kCommaSeparator;
  AppendDecimal(out, cell.sheet);
  out += separator;
  AppendDecimal(out, cell.row);
  out += separator;
  AppendDecimal(out, cell.column);
  out += separator;
  if (form == CellForm::Comma) out += tbr::kQuote;
  out += cell.formula;
  if (form == CellForm::Comma) out += tbr::kQuote;
  out += separator;
  if (form == CellForm::Comma) out += tbr::kQuote;
  out += cell.value;
  if (form == CellForm::Comma) out += tbr::kQuote;
  out += separator;
  AppendDecimal(out, cell.format);
  out += separator;
  AppendDecimal(out, cell.format2);
}

std::string FormatCell(const CellRecord& cell, CellForm form) {
  std::string out;
  AppendCell(out, cell, form);
  return out;
}

std::string CellPlace(const CellRecord& cell) {
  return "sheet " + std::to_string(cell.sheet) + ", row " + std::to_string(cell.row) + ", column " +
         std::to_string(cell.column);
}

std::string CheckTexts(const CellRecord& cell, CellTarget target) {
  struct Refused {
    char c;
    const char* what;
  };
  static constexpr Refused kNul{'\0', "a NUL character"};
  static constexpr Refused kTab{'\t', "a tab"};
  static constexpr Refused kQuote{'"', "a double quote"};
  static constexpr Refused kCr{'\r', "a line break"};
  static constexpr Refused kLf{'\n', "a line break"};
  static constexpr Refused kHandheld[] = {kNul, kTab};
  static constexpr Refused kComma[] = {kNul, kQuote, kCr, kLf};
  static constexpr Refused kTabFile[] = {kNul, kTab, kCr, kLf};
  std::span<const Refused> refused =
      target == CellTarget::HandheldTab    ? std::span<const Refused>(kHandheld)
      : target == CellTarget::DesktopComma ? std::span<const Refused>(kComma)
                                           : std::span<const Refused>(kTabFile);
  for (const auto& [text, field] :
       {std::pair{&cell.formula, "formula"}, std::pair{&cell.value, "value"}}) {
    for (const Refused& r : refused) {
      if (text->find(r.c) != std::string::npos) {
        return std::string("the ") + field + " of the cell at " + CellPlace(cell) + " holds " +
               r.what + ".";
      }
    }
  }
  return {};
}

}  // namespace brevora::tabrel
