#pragma once
// NamedStyle: a style name and its CellFormat (word 0 when the style is made).
// NamedStyleCollection: a workbook's named styles, keyed by name without regard
// to case, at most 16. Only the module adds and removes styles; clients read them.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/collection.h"
#include "platform/automation/member_table.h"
#include "sheet/cell_format.h"

namespace brevora::sheet {

class NamedStyle : public Dispatchable<NamedStyle> {
 public:
  static const MemberTable<NamedStyle>& Members();

  NamedStyle() : format_(MakeRef<CellFormat>()) {}
  ~NamedStyle() override;

  const std::string& name() const { return name_; }
  void Setname(std::string name) { name_ = std::move(name); }
  CellFormat& Format() const { return *format_; }
  const Ref<CellFormat>& FormatRef() const { return format_; }
  // Shares `format`; null is refused (91).
  void SetFormat(Ref<CellFormat> format);

 private:
  std::string name_;
  Ref<CellFormat> format_;
};

class NamedStyleCollection : public Dispatchable<NamedStyleCollection> {
 public:
  static const MemberTable<NamedStyleCollection>& Members();
  static constexpr int32_t kMaxStyles = 16;
  static constexpr size_t kMaxNameLength = 15;

  NamedStyleCollection() = default;
  ~NamedStyleCollection() override;

  NamedStyle& Item(int32_t index) { return *items_.Item(index); }
  NamedStyle& Item(std::string_view key) { return *items_.Item(key); }
  NamedStyle& Item(const Variant& indexOrKey) { return *items_.Item(indexOrKey); }
  NamedStyle& Item(const char* key) { return Item(std::string_view(key)); }
  NamedStyle& Item(const std::string& key) { return Item(std::string_view(key)); }
  int32_t Count() const { return items_.Count(); }

  // Module-internal. A new style (word 0) under `name`. Refused, with source
  // "tabrelpc" and nothing added: a 17th style (0x80040104 "There can only be 15
  // styles"), a name longer than 15 characters (0x80040103 "Named styles can only
  // be 15 characters"), a name already present (457).
  NamedStyle& Add(std::string_view name);
  void Remove(const Variant& indexOrKey) { items_.Remove(indexOrKey); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  Collection<Ref<NamedStyle>> items_;
};

}  // namespace brevora::sheet
