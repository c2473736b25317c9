#pragma once
// Sheet: one sheet of a workbook: its name (also its key in the SheetCollection),
// its cells, its current and frozen cell and 41 column widths. The module stores
// the current and frozen cell unchanged; the workbook copies them to and from
// its files. Renaming a sheet that is in a collection re-keys it there; a name
// another sheet of that collection has (in any letter case) is refused (457).
#include <array>
#include <cstdint>
#include <string>

#include "platform/automation/member_table.h"
#include "sheet/cell_collection.h"

namespace brevora::sheet {

class SheetCollection;

// Four values of a sheet's current or frozen cell: top, left, offsetX, offsetY.
using CellPlace = std::array<int16_t, 4>;

class Sheet : public Dispatchable<Sheet> {
 public:
  static const MemberTable<Sheet>& Members();
  static constexpr int16_t kLastColumnIndex = 40;

  Sheet();
  ~Sheet() override;

  const std::string& name() const { return name_; }
  void Setname(std::string name);

  CellCollection& Cells() { return *cells_; }
  const Ref<CellCollection>& CellsRef() const { return cells_; }
  // Shares `cells`; null is refused (91).
  void SetCells(Ref<CellCollection> cells);

  void SetFrozenCells(int16_t top, int16_t left, int16_t offsetX, int16_t offsetY) {
    frozen_ = {top, left, offsetX, offsetY};
  }
  const CellPlace& FrozenCells() const { return frozen_; }
  void SetCurrentCell(int16_t top, int16_t left, int16_t offsetX, int16_t offsetY) {
    current_ = {top, left, offsetX, offsetY};
  }
  const CellPlace& CurrentCell() const { return current_; }

  // Index 0..40, else 9 (subscript out of range) and nothing stored.
  int16_t ColumnWidths(int32_t index) const;
  void SetColumnWidths(int32_t index, int16_t width);
  // The highest column-width index (40), not the count.
  int16_t NumResizeableColumns() const { return kLastColumnIndex; }

 private:
  friend class SheetCollection;

  std::string name_;
  std::array<int16_t, kLastColumnIndex + 1> widths_{};
  CellPlace current_{};
  CellPlace frozen_{};
  Ref<CellCollection> cells_;
  SheetCollection* owner_ = nullptr;  // the collection holding the sheet (not owned)
};

}  // namespace brevora::sheet
