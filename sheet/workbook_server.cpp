// The exchange of a WorkbookModel with a server database object of the
// RivorOdurov host (sheet/server_layout.h).
#include <string>
#include <vector>

#include "core/module_error.h"
#include "office/server_database.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "sheet/byte_helpers.h"
#include "sheet/cell_line.h"
#include "sheet/server_layout.h"
#include "sheet/workbook_storage.h"

namespace brevora::sheet {

namespace layout = server_layout;

namespace {

constexpr int32_t kLayoutRefused = 0x110;  // plus kObjectError
constexpr int32_t kNotImplemented = 0x114;

// Sets the application-info items one after the other, from item 0.
class ItemWriter {
 public:
  explicit ItemWriter(Dispatch& database) : database_(database) {}

  void Set(Variant value) {
    Variant args[] = {Variant(next_), std::move(value)};
    database_.Invoke("SetAppInfoItem", CallKind::Method, args);
    ++next_;
  }
  void Word(int16_t value) { Set(Variant(value)); }
  void Number(double value) { Set(Variant(value)); }
  void Text(std::string_view text, size_t n) { Set(Variant(StringToBytes(text, n))); }

 private:
  Dispatch& database_;
  int16_t next_ = 0;
};

void WriteItems(ItemWriter& items, const WorkbookHeader& h, int16_t category, bool modified) {
  items.Word(32767);
  for (int s = 0; s < layout::kSheetSlots; ++s)
    items.Text(h.SheetNames[static_cast<size_t>(s)], layout::kNameBytes);
  for (int16_t i = 1; i <= layout::kSheetSlots; ++i) items.Word(i);
  for (int i = 0; i < 4; ++i) items.Word(0);
  items.Number(h.Properties);
  items.Number(h.DefaultFormat);
  items.Text(h.Currency, layout::kCurrencyBytes);
  items.Word(h.CurrentSheet);
  for (int s = 0; s < layout::kSheetSlots; ++s) {
    const SheetParamsEntry& p = h.SheetParams[static_cast<size_t>(s)];
    for (int16_t v : p.Frozen) items.Word(v);
    for (int16_t v : p.Current) items.Word(v);
    items.Word(p.OverflowColumn);
    items.Word(p.Fixed47);
    for (size_t j = 0; j < kHeaderWidths; ++j) items.Word(p.ColumnWidths[j]);
    items.Word(0);
  }
  items.Word(0);
  items.Word(0);
  items.Word(category);
  items.Set(Variant(modified));
  items.Word(0);
  for (const StyleSlot& slot : h.Styles) {
    items.Number(slot.Format);
    items.Text(slot.Name, layout::kNameBytes);
  }
  items.Number(h.Extra);
  items.Word(0);
  items.Text(h.LinkedFileName, layout::kLinkedFileNameBytes);
  items.Word(h.SyncMethod);
  items.Word(h.SyncOption);
  items.Number(h.LinkedFileTime);
}

// "Equals False" as the host's answer is compared: Null is no answer and so
// no refusal; Empty and 0 are False; what is no truth value raises 13.
bool IsRefusal(const Variant& answer) { return !answer.IsNull() && !CBool(answer); }

}  // namespace

void WriteWorkbookServerDatabase(WorkbookModel& model, const Variant& database) {
  try {
    const Ref<Dispatch> target(&ObjectOf(database));
    const std::string appInfoLayout = layout::AppInfoLayout(model.version);
    const Variant answer =
        CallByName(target, "SetLayouts", CallKind::Method, appInfoLayout, layout::kRecordLayout);
    if (IsRefusal(answer))
      core::RaiseModuleError(kLayoutRefused, "Could not set layout for database object");
    CallByName(target, "Parse", CallKind::Method);
    CallByName(target, "setVersion", CallKind::Method, model.version);
    model.SetFlag(workbook_flags::kIsServerSync, true);
    WorkbookHeader header;
    HeaderFromModel(model, header);
    ItemWriter items(*target);
    WriteItems(items, header, model.category, model.isModified);
    CallByName(target, "MoveFirst", CallKind::Method);
    ForEachCellLine(model.Sheets(), [&](std::string_view line) {
      office::AddServerRecord(*target);
      CallByName(target, "SetRecordItem", CallKind::Method, int16_t{0}, std::string(line));
    });
    office::SetServerCreationTime(*target);
  } catch (...) {
    throw core::AsModuleError(CurrentError());
  }
}

void ReadWorkbookServerDatabase(const Variant&, WorkbookModel&) {
  core::RaiseModuleError(kNotImplemented, "Not implemented.");
}

}  // namespace brevora::sheet
