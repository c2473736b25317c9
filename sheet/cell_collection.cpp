#include "sheet/cell_collection.h"

#include <cstdio>

#include "core/module_error.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::sheet {

namespace {

// The (row, col) a key names; false for a text that is no cell key.
bool ParseKey(std::string_view key, int32_t& row, int32_t& col) {
  if (key.size() != 8) return false;
  int32_t value[2] = {0, 0};
  for (size_t i = 0; i < 8; ++i) {
    if (key[i] < '0' || key[i] > '9') return false;
    value[i / 4] = value[i / 4] * 10 + (key[i] - '0');
  }
  row = value[0];
  col = value[1];
  return true;
}

}  // namespace

std::string CellKey(int32_t row, int32_t col) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%04d%04d", static_cast<int>(row), static_cast<int>(col));
  return buffer;
}

const MemberTable<CellCollection>& CellCollection::Members() {
  using M = CallKind;
  using C = CellCollection;
  static const MemberTable<CellCollection> table{
      {"Add", M::Method,
       [](C& c, Args a) { return Variant(Ref<Cell>(&c.Add(CInt(a[0]), CInt(a[1])))); }, 2},
      {"ItemDirect", M::Get,
       [](C& c, Args a) { return Variant(Ref<Cell>(&c.ItemDirect(CInt(a[0]), CInt(a[1])))); }, 2},
      {"Item", M::Get, [](C& c, Args a) { return Variant(Ref<Cell>(&c.Item(a[0]))); }, 1},
      {"", M::Get, [](C& c, Args a) { return Variant(Ref<Cell>(&c.Item(a[0]))); }, 1},
      {"Count", M::Get, [](C& c, Args) { return Variant(c.Count()); }},
      {"Remove", M::Method, [](C& c, Args a) { c.Remove(a[0]); }, 1},
      {"NewEnum", M::Get, [](C& c, Args) {
         std::vector<Variant> items;
         items.reserve(c.cells_.size());
         for (const Ref<Cell>& cell : c.cells_) items.emplace_back(cell);
         return Variant(std::move(items));
       }}};
  return table;
}

CellCollection::~CellCollection() {
  for (const Ref<Cell>& cell : cells_) cell->owner_ = nullptr;
}

Cell& CellCollection::Add(int32_t row, int32_t col) {
  if (row < 1 || row > kMaxRow) core::RaiseModuleError(258, "Invalid row value.");
  if (col < 1 || col > kMaxCol) core::RaiseModuleError(258, "Invalid col value.");
  const uint32_t key = Pack(row, col);
  if (byPosition_.Find(key)) RaiseRuntimeError(457);
  Ref<Cell> cell(new Cell(static_cast<int16_t>(row), static_cast<int16_t>(col)));
  cells_.push_back(cell);
  try {
    byPosition_.Insert(key, cell.get());
  } catch (...) {
    cells_.pop_back();
    throw;
  }
  cell->owner_ = this;
  return *cell;
}

Cell* CellCollection::Find(int32_t row, int32_t col) { return byPosition_.Find(Pack(row, col)); }

Cell& CellCollection::ItemDirect(int32_t row, int32_t col) {
  Cell* cell = (row >= 0 && col >= 0) ? Find(row, col) : nullptr;
  if (!cell) RaiseRuntimeError(5);
  return *cell;
}

Cell& CellCollection::Item(int32_t index) {
  if (index < 1 || index > Count()) RaiseRuntimeError(9);
  return *cells_[static_cast<size_t>(index - 1)];
}

Cell& CellCollection::Item(std::string_view key) {
  int32_t row = 0, col = 0;
  if (!ParseKey(key, row, col)) RaiseRuntimeError(5);
  return ItemDirect(row, col);
}

Cell& CellCollection::Item(const Variant& indexOrKey) {
  if (indexOrKey.type() == VarType::String) return Item(std::string_view(indexOrKey.AsString()));
  return Item(CLng(indexOrKey));
}

void CellCollection::Remove(int32_t index) {
  if (index < 1 || index > Count()) RaiseRuntimeError(9);
  RemoveAt(static_cast<size_t>(index - 1));
}

void CellCollection::Remove(std::string_view key) {
  const Cell* cell = &Item(key);
  for (size_t i = 0; i < cells_.size(); ++i) {
    if (cells_[i].get() == cell) return RemoveAt(i);
  }
}

void CellCollection::Remove(const Variant& indexOrKey) {
  if (indexOrKey.type() == VarType::String) return Remove(std::string_view(indexOrKey.AsString()));
  Remove(CLng(indexOrKey));
}

void CellCollection::Reserve(size_t count) {
  cells_.reserve(count);
  byPosition_.Reserve(count);
}

void CellCollection::Move(Cell& cell, int32_t row, int32_t col) {
  const uint32_t key = Pack(row, col);
  if (Cell* there = byPosition_.Find(key)) {
    if (there == &cell) return;
    RaiseRuntimeError(457);
  }
  byPosition_.Insert(key, &cell);
  byPosition_.Erase(Pack(cell.row_, cell.col_));
}

void CellCollection::RemoveAt(size_t slot) {
  // Take the cell out first: dropping the last reference ends it.
  Ref<Cell> cell = std::move(cells_[slot]);
  cells_.erase(cells_.begin() + static_cast<std::ptrdiff_t>(slot));
  byPosition_.Erase(Pack(cell->row_, cell->col_));
  cell->owner_ = nullptr;
}

}  // namespace brevora::sheet
