#pragma once
// CellCollection: the cells of one sheet, in the order they were added, each
// under its key CellKey(row, column) ("00070012" for row 7, column 12).
// Item takes a 1-based position or a key. Errors are the keyed collection's:
// 457 a position already holding a cell, 5 a key not present, 9 a position
// outside 1..Count, 13 an index that is neither number nor text.
//
// Lookups by position and by key are O(1), Add is O(1); Remove is O(n). The
// collection keeps each cell's back-reference up to date (set on Add, cleared on
// Remove and when the collection ends), so a cell moved through Row or Col is
// re-keyed here.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/member_table.h"
#include "sheet/cell.h"
#include "sheet/cell_index.h"

namespace brevora::sheet {

// Four zero-padded digits of the row followed by four of the column.
std::string CellKey(int32_t row, int32_t col);

class CellCollection : public Dispatchable<CellCollection> {
 public:
  static const MemberTable<CellCollection>& Members();

  CellCollection() = default;
  ~CellCollection() override;

  // A new cell at (row, col): 0x80040102 "Invalid row value." for a row outside
  // 1..996, 0x80040102 "Invalid col value." for a column outside 1..254, 457 when
  // the position holds a cell; nothing is added on failure.
  Cell& Add(int32_t row, int32_t col);
  // The cell at (row, col); 5 when there is none.
  Cell& ItemDirect(int32_t row, int32_t col);
  // Null when there is no cell at (row, col).
  Cell* Find(int32_t row, int32_t col);
  Cell& Item(int32_t index);
  Cell& Item(std::string_view key);
  Cell& Item(const Variant& indexOrKey);
  Cell& Item(const char* key) { return Item(std::string_view(key)); }
  Cell& Item(const std::string& key) { return Item(std::string_view(key)); }
  int32_t Count() const { return static_cast<int32_t>(cells_.size()); }
  void Remove(int32_t index);
  void Remove(std::string_view key);
  void Remove(const Variant& indexOrKey);
  void Remove(const char* key) { Remove(std::string_view(key)); }
  void Remove(const std::string& key) { Remove(std::string_view(key)); }

  // Room for `count` cells (a reader that knows how many follow).
  void Reserve(size_t count);

  auto begin() const { return cells_.begin(); }
  auto end() const { return cells_.end(); }

 private:
  friend class Cell;
  static uint32_t Pack(int32_t row, int32_t col) {
    return (static_cast<uint32_t>(row) << 16) | static_cast<uint16_t>(col);
  }
  // Moves `cell` to (row, col); 457 when another cell is there.
  void Move(Cell& cell, int32_t row, int32_t col);
  void RemoveAt(size_t slot);

  std::vector<Ref<Cell>> cells_;
  CellIndex byPosition_;
};

}  // namespace brevora::sheet
