#include "sheet/sheet.h"

#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "sheet/sheet_collection.h"

namespace brevora::sheet {

namespace {

// The four by-reference arguments of GetFrozenCells and GetCurrentCell.
void FillPlace(Args a, const CellPlace& place) {
  for (size_t i = 0; i < 4; ++i) a[i] = Variant(place[i]);
}

}  // namespace

const MemberTable<Sheet>& Sheet::Members() {
  using M = CallKind;
  static const MemberTable<Sheet> table{
      {"name", M::Get, [](Sheet& s, Args) { return Variant(s.name()); }},
      {"name", M::Let, [](Sheet& s, Args a) { s.Setname(CStr(a[0])); }},
      {"Cells", M::Set, [](Sheet& s, Args a) { s.SetCells(ObjectArg<CellCollection>(a[0])); }},
      {"Cells", M::Get, [](Sheet& s, Args) { return Variant(s.CellsRef()); }},
      {"SetFrozenCells", M::Method,
       [](Sheet& s, Args a) { s.SetFrozenCells(CInt(a[0]), CInt(a[1]), CInt(a[2]), CInt(a[3])); },
       4},
      {"GetFrozenCells", M::Method,
       [](Sheet& s, Args a) {
         FillPlace(a, s.FrozenCells());
         return Variant();
       },
       4},
      {"SetCurrentCell", M::Method,
       [](Sheet& s, Args a) { s.SetCurrentCell(CInt(a[0]), CInt(a[1]), CInt(a[2]), CInt(a[3])); },
       4},
      {"GetCurrentCell", M::Method, [](Sheet& s, Args a) { FillPlace(a, s.CurrentCell()); }, 4},
      {"ColumnWidths", M::Let, [](Sheet& s, Args a) { s.SetColumnWidths(CInt(a[0]), CInt(a[1])); },
       2},
      {"ColumnWidths", M::Get, [](Sheet& s, Args a) { return Variant(s.ColumnWidths(CInt(a[0]))); },
       1},
      {"NumResizeableColumns", M::Get,
       [](Sheet& s, Args) { return Variant(s.NumResizeableColumns()); }}};
  return table;
}

Sheet::Sheet() : cells_(MakeRef<CellCollection>()) {}

Sheet::~Sheet() = default;

void Sheet::Setname(std::string name) {
  if (owner_) owner_->Rekey(*this, name);
  name_ = std::move(name);
}

void Sheet::SetCells(Ref<CellCollection> cells) {
  if (!cells) RaiseRuntimeError(91);
  cells_ = std::move(cells);
}

int16_t Sheet::ColumnWidths(int32_t index) const {
  if (index < 0 || index > kLastColumnIndex) RaiseRuntimeError(9);
  return widths_[static_cast<size_t>(index)];
}

void Sheet::SetColumnWidths(int32_t index, int16_t width) {
  if (index < 0 || index > kLastColumnIndex) RaiseRuntimeError(9);
  widths_[static_cast<size_t>(index)] = width;
}

}  // namespace brevora::sheet
