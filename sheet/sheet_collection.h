#pragma once
// SheetCollection: the sheets of a workbook, keyed by name without regard to
// case, 1-based positions in the order of addition. Keeps each sheet's
// back-reference so that renaming the sheet re-keys it here (at its place).
// Errors are the keyed collection's: 457 duplicate name, 5 unknown name,
// 9 position out of range.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/collection.h"
#include "platform/automation/member_table.h"
#include "sheet/sheet.h"

namespace brevora::sheet {

class SheetCollection : public Dispatchable<SheetCollection> {
 public:
  static const MemberTable<SheetCollection>& Members();

  SheetCollection() = default;
  ~SheetCollection() override;

  // A new sheet named and keyed `key`; 457 (nothing added) when the name is taken.
  Sheet& Add(std::string_view key);
  Sheet& Item(int32_t index) { return *items_.Item(index); }
  Sheet& Item(std::string_view key) { return *items_.Item(key); }
  Sheet& Item(const Variant& indexOrKey) { return *items_.Item(indexOrKey); }
  Sheet& Item(const char* key) { return Item(std::string_view(key)); }
  Sheet& Item(const std::string& key) { return Item(std::string_view(key)); }
  int32_t Count() const { return items_.Count(); }
  void Remove(const Variant& indexOrKey);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  friend class Sheet;
  // Gives `sheet` the key `name` at its place; 457 when another sheet has it.
  void Rekey(Sheet& sheet, std::string_view name);

  Collection<Ref<Sheet>> items_;
};

}  // namespace brevora::sheet
