#include "sheet/sheet_collection.h"

#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/text/case.h"

namespace brevora::sheet {

const MemberTable<SheetCollection>& SheetCollection::Members() {
  using M = CallKind;
  using C = SheetCollection;
  static const MemberTable<SheetCollection> table{
      {"Add", M::Method, [](C& c, Args a) { return Variant(Ref<Sheet>(&c.Add(CStr(a[0])))); }, 1},
      {"Item", M::Get, [](C& c, Args a) { return Variant(Ref<Sheet>(&c.Item(a[0]))); }, 1},
      {"", M::Get, [](C& c, Args a) { return Variant(Ref<Sheet>(&c.Item(a[0]))); }, 1},
      {"Count", M::Get, [](C& c, Args) { return Variant(c.Count()); }},
      {"Remove", M::Method, [](C& c, Args a) { c.Remove(a[0]); }, 1},
      {"NewEnum", M::Get, [](C& c, Args) {
         std::vector<Variant> items;
         for (const Ref<Sheet>& sheet : c) items.emplace_back(sheet);
         return Variant(std::move(items));
       }}};
  return table;
}

SheetCollection::~SheetCollection() {
  for (const Ref<Sheet>& sheet : items_) sheet->owner_ = nullptr;
}

Sheet& SheetCollection::Add(std::string_view key) {
  Ref<Sheet> sheet = MakeRef<Sheet>();
  sheet->name_ = std::string(key);
  items_.Add(sheet, key);
  sheet->owner_ = this;
  return *sheet;
}

void SheetCollection::Remove(const Variant& indexOrKey) {
  Ref<Sheet> sheet(&Item(indexOrKey));
  items_.Remove(indexOrKey);
  sheet->owner_ = nullptr;
}

void SheetCollection::Rekey(Sheet& sheet, std::string_view name) {
  if (text::EqualsNoCase(sheet.name_, name)) return;  // the same key
  if (items_.Find(name)) RaiseRuntimeError(457);
  int32_t position = 0;
  for (int32_t i = 1; i <= items_.Count(); ++i) {
    if (items_.Item(i).get() == &sheet) position = i;
  }
  if (position == 0) return;
  // Add under the new key in front of the old entry, then drop the old entry.
  items_.Add(Ref<Sheet>(&sheet), name, Variant(position));
  items_.Remove(position + 1);
}

}  // namespace brevora::sheet
