#include "sheet/cell.h"

#include "core/module_error.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "sheet/cell_collection.h"
#include "sheet/format_word.h"

namespace brevora::sheet {

const MemberTable<Cell>& Cell::Members() {
  using M = CallKind;
  static const MemberTable<Cell> table{
      {"Key", M::Let, [](Cell& c, Args a) { c.Key = CStr(a[0]); }},
      {"Key", M::Get, [](Cell& c, Args) { return Variant(c.Key); }},
      {"Format2", M::Let, [](Cell& c, Args a) { c.SetFormat2(CDbl(a[0])); }},
      {"Format2", M::Get, [](Cell& c, Args) { return Variant(c.Format2()); }},
      {"ValueText", M::Let, [](Cell& c, Args a) { c.SetValueText(CBool(a[0])); }},
      {"ValueIsText", M::Get, [](Cell& c, Args) { return Variant(c.ValueIsText()); }},
      {"IsCalculated", M::Let, [](Cell& c, Args a) { c.SetIsCalculated(CBool(a[0])); }},
      {"IsCalculated", M::Get, [](Cell& c, Args) { return Variant(c.IsCalculated()); }},
      {"IsError", M::Let, [](Cell& c, Args a) { c.SetIsError(CBool(a[0])); }},
      {"IsError", M::Get, [](Cell& c, Args) { return Variant(c.IsError()); }},
      {"IsChart", M::Let, [](Cell& c, Args a) { c.SetIsChart(CBool(a[0])); }},
      {"IsChart", M::Get, [](Cell& c, Args) { return Variant(c.IsChart()); }},
      {"Format", M::Set, [](Cell& c, Args a) { c.SetFormat(ObjectArg<CellFormat>(a[0])); }},
      {"Format", M::Get, [](Cell& c, Args) { return Variant(c.Format()); }},
      {"Value", M::Let, [](Cell& c, Args a) { c.SetValue(CStr(a[0])); }},
      {"Value", M::Get, [](Cell& c, Args) { return Variant(c.Value()); }},
      {"Formula", M::Let, [](Cell& c, Args a) { c.SetFormula(CStr(a[0])); }},
      {"Formula", M::Get, [](Cell& c, Args) { return Variant(c.Formula()); }},
      {"Col", M::Let, [](Cell& c, Args a) { c.SetCol(CInt(a[0])); }},
      {"Col", M::Get, [](Cell& c, Args) { return Variant(c.Col()); }},
      {"Row", M::Let, [](Cell& c, Args a) { c.SetRow(CInt(a[0])); }},
      {"Row", M::Get, [](Cell& c, Args) { return Variant(c.Row()); }}};
  return table;
}

Cell::~Cell() = default;

void Cell::SetRow(int32_t row) {
  if (row < 1 || row > kMaxRow) core::RaiseModuleError(258, "Invalid row value.");
  if (owner_ && row != row_) owner_->Move(*this, row, col_);
  row_ = static_cast<int16_t>(row);
}

void Cell::SetCol(int32_t col) {
  if (col < 1 || col > kMaxCol) core::RaiseModuleError(257, "Invalid column value.");
  if (owner_ && col != col_) owner_->Move(*this, row_, col);
  col_ = static_cast<int16_t>(col);
}

void Cell::SetFormula(std::string formula) {
  if (formula.size() > kMaxFormulaLength) {
    core::RaiseModuleError(
        262, "Formula can only be " + std::to_string(kMaxFormulaLength) + " characters.");
  }
  formula_ = std::move(formula);
}

const Ref<CellFormat>& Cell::Format() {
  if (!format_) format_ = MakeRef<CellFormat>(word_);
  return format_;
}

void Cell::SetFormat(Ref<CellFormat> format) {
  if (!format) RaiseRuntimeError(91);
  format_ = std::move(format);
}

void Cell::SetFormatBits(uint32_t word) {
  if (format_) {
    format_->SetBits(word);
  } else {
    word_ = word;
  }
}

void Cell::SetFormatRaw(double word) { SetFormatBits(WordBits(word)); }

}  // namespace brevora::sheet
