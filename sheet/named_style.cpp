#include "sheet/named_style.h"

#include "core/module_error.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::sheet {

const MemberTable<NamedStyle>& NamedStyle::Members() {
  using M = CallKind;
  static const MemberTable<NamedStyle> table{
      {"name", M::Get, [](NamedStyle& s, Args) { return Variant(s.name()); }},
      {"name", M::Let, [](NamedStyle& s, Args a) { s.Setname(CStr(a[0])); }},
      {"Format", M::Set, [](NamedStyle& s, Args a) { s.SetFormat(ObjectArg<CellFormat>(a[0])); }},
      {"Format", M::Get, [](NamedStyle& s, Args) { return Variant(s.FormatRef()); }}};
  return table;
}

NamedStyle::~NamedStyle() = default;

void NamedStyle::SetFormat(Ref<CellFormat> format) {
  if (!format) RaiseRuntimeError(91);
  format_ = std::move(format);
}

const MemberTable<NamedStyleCollection>& NamedStyleCollection::Members() {
  using M = CallKind;
  using C = NamedStyleCollection;
  static const MemberTable<NamedStyleCollection> table{
      {"Item", M::Get, [](C& c, Args a) { return Variant(Ref<NamedStyle>(&c.Item(a[0]))); }, 1},
      {"", M::Get, [](C& c, Args a) { return Variant(Ref<NamedStyle>(&c.Item(a[0]))); }, 1},
      {"Count", M::Get, [](C& c, Args) { return Variant(c.Count()); }},
      {"NewEnum", M::Get, [](C& c, Args) {
         std::vector<Variant> items;
         for (const Ref<NamedStyle>& style : c) items.emplace_back(style);
         return Variant(std::move(items));
       }}};
  return table;
}

NamedStyleCollection::~NamedStyleCollection() = default;

NamedStyle& NamedStyleCollection::Add(std::string_view name) {
  try {
    Ref<NamedStyle> style = MakeRef<NamedStyle>();
    if (Count() >= kMaxStyles) {
      core::RaiseModuleError(260,
                             "There can only be " + std::to_string(kMaxStyles - 1) + " styles");
    }
    if (name.size() > kMaxNameLength)
      core::RaiseModuleError(259, "Named styles can only be 15 characters");
    style->Setname(std::string(name));
    items_.Add(style, name);
    return *style;
  } catch (...) {
    const AutomationError e = CurrentError();
    throw AutomationError(e.number(), "tabrelpc", e.description());
  }
}

}  // namespace brevora::sheet
