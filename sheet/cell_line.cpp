#include "sheet/cell_line.h"

#include <charconv>
#include <cmath>

#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "sheet/sheet_collection.h"
#include "sheet/tbr_format.h"

namespace brevora::sheet {

namespace {

void AppendInteger(std::string& out, int64_t value) {
  char buffer[24];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  out.append(buffer, result.ptr);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

void AppendNumber(std::string& out, double value) {
  if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15) {
    AppendInteger(out, static_cast<int64_t>(value));
  } else {
    out += FormatDouble(value);
  }
}

std::string FormatNumber(double value) {
  std::string out;
  AppendNumber(out, value);
  return out;
}

void AppendCellLine(std::string& out, int32_t sheet, const Cell& cell) {
  AppendInteger(out, sheet);
  out += '\t';
  AppendInteger(out, cell.Row());
  out += '\t';
  AppendInteger(out, cell.Col());
  out += '\t';
  out += cell.Formula();
  out += '\t';
  out += cell.Value();
  out += '\t';
  AppendInteger(out, cell.FormatBits());
  out += '\t';
  AppendNumber(out, cell.Format2());
}

void ForEachCellLine(const SheetCollection& sheets,
                     const std::function<void(std::string_view)>& emit) {
  int32_t position = 0;
  std::string line;
  for (const Ref<Sheet>& sheet : sheets) {
    ++position;
    for (const Ref<Cell>& cell : sheet->Cells()) {
      line.clear();
      AppendCellLine(line, position, *cell);
      emit(line);
    }
  }
}

std::array<std::string_view, 7> SplitCellLine(std::string_view line) {
  std::array<std::string_view, 7> fields;
  size_t pos = 0;
  for (size_t i = 0; i < fields.size() && pos < line.size(); ++i) {
    const size_t tab = line.find('\t', pos);
    if (tab == std::string_view::npos) {
      fields[i] = line.substr(pos);
      break;
    }
    fields[i] = line.substr(pos, tab - pos);
    pos = tab + 1;
  }
  return fields;
}

void CheckCellTexts(const SheetCollection& sheets, std::string_view forbidden,
                    const std::string& source, std::string_view what) {
  for (const Ref<Sheet>& sheet : sheets) {
    for (const Ref<Cell>& cell : sheet->Cells()) {
      const char* field = nullptr;
      if (cell->Formula().find_first_of(forbidden) != std::string::npos)
        field = "formula";
      else if (cell->Value().find_first_of(forbidden) != std::string::npos)
        field = "value";
      if (!field) continue;
      RaiseError(kWrapError, source,
                 std::string("The ") + field + " of the cell at row " +
                     std::to_string(cell->Row()) + ", column " + std::to_string(cell->Col()) +
                     " of sheet '" + sheet->name() + "' holds " + std::string(what) +
                     " cannot keep.");
    }
  }
}

double LeadingNumber(std::string_view text, size_t* consumed) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  // Plain digits, the usual case, need no more.
  size_t end = i;
  uint64_t whole = 0;
  while (end < text.size() && end - i < 15 && IsDigit(text[end]))
    whole = whole * 10 + (text[end++] - '0');
  if (end > i &&
      (end == text.size() || !(IsDigit(text[end]) || text[end] == '.' || text[end] == 'E' ||
                               text[end] == 'e' || text[end] == 'D' || text[end] == 'd'))) {
    if (consumed) *consumed = end;
    return negative ? -static_cast<double>(whole) : static_cast<double>(whole);
  }
  // The longest prefix of the form digits [. digits] [E [sign] digits].
  std::string number;
  while (i < text.size() && IsDigit(text[i])) number += text[i++];
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && IsDigit(text[i])) number += text[i++];
  }
  if (number.empty() || number == ".") {
    if (consumed) *consumed = 0;
    return 0;
  }
  if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) exponent += text[j++];
      number += exponent;
      i = j;
    }
  }
  if (consumed) *consumed = i;
  double value = 0;
  const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    // Too small to tell from 0 reads as 0; too big for a double is an overflow
    // (an infinity would be saved as a text no reader takes for a number).
    if (number.find("e-") == std::string::npos) RaiseRuntimeError(6);
    value = 0;
  }
  return negative ? -value : value;
}

namespace {

void AddCell(SheetCollection& sheets, const std::array<std::string_view, 7>& f,
             std::string_view formula, std::string_view value, double format) {
  Sheet& sheet = sheets.Item(DoubleToLong(LeadingNumber(f[0])));
  Cell& cell =
      sheet.Cells().Add(DoubleToInteger(LeadingNumber(f[1])), DoubleToInteger(LeadingNumber(f[2])));
  cell.SetFormula(std::string(formula));
  cell.SetValue(std::string(value));
  cell.SetFormatRaw(format);
  cell.SetFormat2(LeadingNumber(f[6]));
}

}  // namespace

void AddCellFromLine(SheetCollection& sheets, std::string_view line) {
  const std::array<std::string_view, 7> f = SplitCellLine(line);
  AddCell(sheets, f, f[3], f[4], LeadingNumber(f[5]));
}

namespace {

std::array<std::string_view, 7> CommaFields(std::string_view line) {
  const auto f = tbr_format::SplitCommaCells(line);
  if (!f) RaiseRuntimeError(13);
  return *f;
}

double CommaFormat(std::string_view field) {
  const double format = LeadingNumber(field);
  if (format >= 0 && format <= 4294967295.0 && format == std::trunc(format)) {
    return tbr_format::CommaFormatWord(static_cast<uint32_t>(format));
  }
  return format;
}

}  // namespace

void AddCellFromCommaLine(SheetCollection& sheets, std::string_view line) {
  const auto f = CommaFields(line);
  AddCell(sheets, f, tbr_format::Unquoted(f[3]), tbr_format::Unquoted(f[4]), CommaFormat(f[5]));
}

std::string TabLineOfCommaLine(std::string_view line) {
  const auto f = CommaFields(line);
  std::string out;
  for (size_t i = 0; i < f.size(); ++i) {
    if (i > 0) out += tbr_format::kFieldSeparator;
    if (i == 3 || i == 4) {
      out += tbr_format::Unquoted(f[i]);
    } else if (i == 5) {
      AppendNumber(out, CommaFormat(f[i]));
    } else {
      out += f[i];
    }
  }
  return out;
}

}  // namespace brevora::sheet
