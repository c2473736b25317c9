// The handheld spreadsheet database of a WorkbookModel.
#include <string>
#include <utility>
#include <vector>

#include "core/database_record.h"
#include "core/handheld_database.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"
#include "platform/time/dates.h"
#include "sheet/app_info_reader.h"
#include "sheet/app_info_writer.h"
#include "sheet/cell_line.h"
#include "sheet/workbook_pdb_format.h"
#include "sheet/workbook_storage.h"

namespace brevora::sheet {

namespace fmt = workbook_pdb_format;

namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr const char* kCheckSource = "Workbook.WriteToPDB";

// The database name of a target file: its name without folders and without a
// final ".PDB" in any letter case.
std::string DatabaseNameOf(std::string_view file) {
  std::string name = fs::FileNamePart(file);
  if (name.size() >= 4 &&
      text::EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".pdb")) {
    name.resize(name.size() - 4);
  }
  return name;
}

// A handheld workbook has room for 15 sheets, a sheet name is not empty there,
// and a TAB ends a cell field: what breaks these is refused before anything is
// written. Names that are the same in their first 15 characters are written as
// they are cut; reading such a database back refuses the second one.
void CheckPdbWritable(const WorkbookModel& model) {
  const SheetCollection& sheets = model.Sheets();
  const int32_t maxSheets = static_cast<int32_t>(fmt::kStoredSheets) - 1;
  if (sheets.Count() > maxSheets) {
    RaiseError(kWrapError, kCheckSource,
               "A handheld workbook holds at most " + std::to_string(maxSheets) +
                   " sheets; this one has " + std::to_string(sheets.Count()) + ".");
  }
  for (const Ref<Sheet>& sheet : sheets) {
    std::string name = AppInfoWriter::FixLength(sheet->name(), fmt::kSheetNameSize - 1);
    name.resize(name.find('\0'));
    if (name.empty()) {
      RaiseError(kWrapError, kCheckSource,
                 "The sheet name '" + sheet->name() +
                     "' is empty on the handheld; please rename the sheet.");
    }
  }
  CheckCellTexts(sheets, "\t", kCheckSource, "a tab, which a handheld workbook");
}

void LoadAppInfoString(std::string_view block, int16_t version, WorkbookModel& model) {
  try {
    AppInfoReader::Result read = AppInfoReader::Read(block, version);
    model.category = read.category;
    model.isModified = read.modified;
    model.header = std::move(read.header);
    HeaderToModel(model.header, model);
  } catch (...) {
    const AutomationError e = CurrentError();
    throw AutomationError(
        e.number(), "LoadAppInfoString",
        "Error loading App Info String" + std::string(kLineBreak) + e.description());
  }
}

}  // namespace

void WriteWorkbookDatabase(WorkbookModel& model, std::string_view file) {
  CheckPdbWritable(model);
  core::HandheldDatabase db;
  WorkbookHeader header;
  HeaderFromModel(model, header);
  db.SetAppInfoBlock(AppInfoWriter::Build(header, model.version, model.category, model.isModified));
  db.SetSortInfoBlock({});
  db.SetCreationDate(dates::NowVbDate());
  db.Attributes().SetValue(0);
  db.Version().SetValue(model.version);
  db.SetType(fmt::kType);
  db.SetCreator(fmt::kCreator);
  db.SetName(DatabaseNameOf(file));
  int32_t id = 0;
  ForEachCellLine(model.Sheets(), [&](std::string_view line) {
    core::RecordRef record = MakeRef<core::DatabaseRecord>();
    record->SetUniqueID(++id);
    record->SetData(std::vector<uint8_t>(line.begin(), line.end()));
    // Kept without the "K<id>" key: this list is only written out, and
    // keys are not stored in the file.
    db.Records().Add(std::move(record));
  });
  db.WriteFile(file);
}

void ReadWorkbookDatabase(std::string_view file, WorkbookModel& model) {
  try {
    InitWorkbookDefaults(model);
    model.sheets = MakeRef<SheetCollection>();
    model.styles = MakeRef<NamedStyleCollection>();
    core::HandheldDatabase db;
    // The records are only walked in order: no keys are built for them.
    db.ReadFile(file, /*readData=*/true, /*keyed=*/false);
    if (db.Type() != fmt::kType || db.Creator() != fmt::kCreator) {
      // The source and text are the ones callers have always seen.
      RaiseError(kWrapError, "Document.OpenFromPDB",
                 "Could not open workbook '" + std::string(file) + "'." + kLineBreak +
                     "Unrecognized PDB type.  Only PDB files in DOC format are supported.");
    }
    model.version = DoubleToInteger(db.Version().Value());
    LoadAppInfoString(db.AppInfoBlock(), model.version, model);
    SheetCollection& sheets = model.Sheets();
    for (const core::RecordRef& record : db.Records()) {
      const std::span<const uint8_t> data = record->Data();
      AddCellFromLine(sheets,
                      std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    }
  } catch (...) {
    const AutomationError e = CurrentError();
    if (e.number() == kWrapError) throw e;
    throw AutomationError(kWrapError, "Document.OpenFromPDB",
                          "Unable to open from PDB." + std::string(kLineBreak) + e.description());
  }
}

}  // namespace brevora::sheet
