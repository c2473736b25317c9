#pragma once
// Cell: one cell of a sheet: row, column, formula, value, format word and second
// format value, plus a free Key text for clients. Cells are made only by
// CellCollection::Add; a cell knows the collection that holds it, so that moving
// it (Row or Col) re-keys it there, and a move onto a taken position is refused.
//
// The cell's format word lives in the cell until a caller asks for the Format
// object; from then on (or once another CellFormat is set) the cell reads and
// writes its word through that shared object. Callers see no difference; a
// workbook of 100,000 cells just does not carry 100,000 format objects.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/member_table.h"
#include "sheet/cell_format.h"

namespace brevora::sheet {

class CellCollection;

inline constexpr int16_t kMaxRow = 996;
inline constexpr int16_t kMaxCol = 254;
inline constexpr size_t kMaxFormulaLength = 75;

class Cell : public Dispatchable<Cell> {
 public:
  static const MemberTable<Cell>& Members();

  ~Cell() override;

  std::string Key;  // the client's own text; the module never reads it

  int16_t Row() const { return row_; }
  int16_t Col() const { return col_; }
  // 1..996 (0x80040102 "Invalid row value."), 1..254 (0x80040101 "Invalid column
  // value."). A cell in a collection moves to its new key there; a position
  // already holding another cell is refused with the duplicate-key error (457).
  void SetRow(int32_t row);
  void SetCol(int32_t col);

  const std::string& Formula() const { return formula_; }
  // At most 75 characters, else 0x80040106 "Formula can only be 75 characters."
  void SetFormula(std::string formula);
  const std::string& Value() const { return value_; }
  void SetValue(std::string value) { value_ = std::move(value); }

  double Format2() const { return format2_; }
  void SetFormat2(double value) { format2_ = value; }

  // The format object (made on first request, then kept and shared).
  const Ref<CellFormat>& Format();
  // Shares `format`; null is refused (91).
  void SetFormat(Ref<CellFormat> format);
  // The format word without making the object.
  uint32_t FormatBits() const { return format_ ? format_->Bits() : word_; }
  void SetFormatBits(uint32_t word);
  double FormatRaw() const { return static_cast<double>(FormatBits()); }
  void SetFormatRaw(double word);

  bool ValueIsText() const { return HasFlag(format_bits::kValueText); }
  void SetValueText(bool on) { SetFlag(format_bits::kValueText, on); }
  bool IsCalculated() const { return HasFlag(format_bits::kCalculated); }
  void SetIsCalculated(bool on) { SetFlag(format_bits::kCalculated, on); }
  bool IsError() const { return HasFlag(format_bits::kError); }
  void SetIsError(bool on) { SetFlag(format_bits::kError, on); }
  bool IsChart() const { return HasFlag(format_bits::kChart); }
  void SetIsChart(bool on) { SetFlag(format_bits::kChart, on); }

 private:
  friend class CellCollection;
  Cell(int16_t row, int16_t col) : row_(row), col_(col) {}

  bool HasFlag(uint32_t bit) const { return (FormatBits() & bit) == bit; }
  void SetFlag(uint32_t bit, bool on) { SetFormatBits((FormatBits() & ~bit) + (on ? bit : 0)); }

  int16_t row_ = 0;
  int16_t col_ = 0;
  uint32_t word_ = 0;                // the format word while format_ is null
  CellCollection* owner_ = nullptr;  // the collection holding the cell (not owned)
  std::string formula_;
  std::string value_;
  Ref<CellFormat> format_;
  double format2_ = 0;
};

}  // namespace brevora::sheet
