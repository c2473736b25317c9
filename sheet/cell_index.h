#pragma once
// CellIndex: the cells of one collection by position, an open-addressing hash
// table from a packed (row, column) to the cell. Keys are never 0 (rows start
// at 1); a slot holding 0 is free. Linear probing, at most half full, removal
// by shifting the following entries back, so lookups never pass tombstones.
// A sheet's index costs 16 bytes per slot and no allocation per cell.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace brevora::sheet {

class Cell;

class CellIndex {
 public:
  // The cell under `key`, or null.
  Cell* Find(uint32_t key) const {
    if (slots_.empty()) return nullptr;
    for (size_t i = Home(key);; i = Next(i)) {
      if (slots_[i].key == key) return slots_[i].cell;
      if (slots_[i].key == 0) return nullptr;
    }
  }

  // Adds `cell` under `key`; false (nothing changed) when the key is present.
  bool Insert(uint32_t key, Cell* cell) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    size_t i = Home(key);
    for (; slots_[i].key != 0; i = Next(i)) {
      if (slots_[i].key == key) return false;
    }
    slots_[i] = {key, cell};
    ++count_;
    return true;
  }

  // Removes `key` when present.
  void Erase(uint32_t key) {
    if (slots_.empty()) return;
    size_t i = Home(key);
    for (; slots_[i].key != key; i = Next(i)) {
      if (slots_[i].key == 0) return;
    }
    // Shift back every following entry that may sit at i, until a free slot.
    for (size_t j = Next(i);; j = Next(j)) {
      if (slots_[j].key == 0) break;
      const size_t home = Home(slots_[j].key);
      // The entry at j can move to i when its home is not inside (i, j].
      const bool movable = (i <= j) ? (home <= i || home > j) : (home <= i && home > j);
      if (movable) {
        slots_[i] = slots_[j];
        i = j;
      }
    }
    slots_[i] = {};
    --count_;
  }

  void Reserve(size_t count) {
    if (count * 2 > slots_.size()) Rehash(count * 2);
  }

 private:
  struct Slot {
    uint32_t key = 0;
    Cell* cell = nullptr;
  };

  size_t Home(uint32_t key) const {
    return static_cast<size_t>((key * 0x9E3779B1u) >> shift_) & (slots_.size() - 1);
  }
  size_t Next(size_t i) const { return (i + 1) & (slots_.size() - 1); }

  void Grow() { Rehash(slots_.empty() ? 16 : slots_.size() * 2); }

  void Rehash(size_t atLeast) {
    size_t size = 16;
    int bits = 4;
    while (size < atLeast) {
      size *= 2;
      ++bits;
    }
    std::vector<Slot> old(size);
    old.swap(slots_);
    shift_ = 32 - bits;
    count_ = 0;
    for (const Slot& s : old) {
      if (s.key != 0) Insert(s.key, s.cell);
    }
  }

  std::vector<Slot> slots_;  // size a power of two (or empty)
  size_t count_ = 0;
  int shift_ = 28;  // 32 minus log2 of the slot count
};

}  // namespace brevora::sheet
