// The desktop workbook file (.tbr) of a WorkbookModel.
#include <memory>
#include <string>
#include <vector>

#include "core/temp_file.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "sheet/cell_line.h"
#include "sheet/tbr_format.h"
#include "sheet/tbr_reader.h"
#include "sheet/tbr_writer.h"
#include "sheet/workbook_storage.h"

namespace brevora::sheet {

namespace {

// The whole file; its failures as the workbook reports a failed open for read.
std::vector<uint8_t> OpenRead(const std::string& path) {
  try {
    return fs::ReadWholeFile(path);
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK.OpenRead", "Could not open for read.");
  }
}

std::string_view AsText(const std::vector<uint8_t>& bytes) {
  return std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

// Replaces the file with `text` (through a temporary file renamed over it).
void WriteFile(const std::string& path, std::string_view text) {
  try {
    fs::AtomicWrite(path, text);
  } catch (...) {
    throw Wrap32760(CurrentError(), "SDK.OpenWrite", "Could not open for write.");
  }
}

void WriteHeaderTo(TbrWriter& writer, const WorkbookHeader& header, bool modified,
                   int16_t currentSheet) {
  try {
    writer.WriteHeader(header, modified, currentSheet);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.WriteHeader", "Could not write header.");
  }
}

// The cell lines of a file of `version` (comma lines for versions 4 and 5).
void ReadCells(TbrReader& reader, int16_t version, SheetCollection& sheets) {
  const bool comma = tbr_format::HasCommaCells(version);
  std::string_view line;
  while (reader.NextLine(line)) {
    if (comma) {
      AddCellFromCommaLine(sheets, line);
    } else {
      AddCellFromLine(sheets, line);
    }
  }
}

}  // namespace

void ReadWorkbookFile(const std::string& file, bool readCells, WorkbookModel& model,
                      const std::function<bool(WorkbookHeader&)>& relinked) {
  ResetWorkbookContent(model);
  model.header = WorkbookHeader{};
  std::vector<uint8_t> data = OpenRead(file);
  auto reader = std::make_unique<TbrReader>(AsText(data));
  TbrReader::HeaderInfo info = reader->ReadHeader(model.header);
  if (relinked && relinked(model.header)) {
    model.header = WorkbookHeader{};
    data = OpenRead(file);
    reader = std::make_unique<TbrReader>(AsText(data));
    info = reader->ReadHeader(model.header);
  }
  model.isModified = info.modified;
  HeaderToModel(model.header, model);
  if (readCells) ReadCells(*reader, info.version, model.Sheets());
}

void ReadWorkbookTemplate(const std::string& file, WorkbookModel& model) {
  ResetWorkbookContent(model);
  model.header = WorkbookHeader{};
  const std::vector<uint8_t> data = OpenRead(file);
  TbrReader reader(AsText(data));
  reader.ReadHeader(model.header);
  HeaderToModel(model.header, model);
  model.isModified = true;
  model.SetFlag(workbook_flags::kNeedsRecalc, true);
}

void PrepareWorkbookFileHeader(WorkbookModel& model) {
  HeaderFromModel(model, model.header);
  TbrWriter::CheckTexts(model.header, model.Sheets());
}

void WriteWorkbookFile(WorkbookModel& model, const std::string& file) {
  PrepareWorkbookFileHeader(model);
  std::string text;
  TbrWriter writer(text);
  WriteHeaderTo(writer, model.header, model.isModified, model.currentSheet);
  try {
    writer.WriteCells(model.Sheets());
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.WriteCells", "Error in WriteCells.");
  }
  WriteFile(file, text);
}

void RewriteWorkbookFileHeader(WorkbookModel& model, const std::string& cellSource,
                               const std::string& file) {
  try {
    std::string text;
    TbrWriter writer(text);
    WriteHeaderTo(writer, model.header, model.isModified, model.currentSheet);
    // The cell lines come from the file the header was read from, which may
    // not be the file being written.
    const std::vector<uint8_t> source = OpenRead(cellSource);
    TbrReader reader(AsText(source));
    WorkbookHeader skipped;
    const TbrReader::HeaderInfo info = reader.ReadHeader(skipped);
    model.isModified = info.modified;
    // The header written is version 9's: cell lines of an older form are
    // written in its form.
    const bool comma = tbr_format::HasCommaCells(info.version);
    try {
      std::string_view line;
      while (reader.NextLine(line)) {
        if (comma) {
          writer.WriteLine(TabLineOfCommaLine(line));
        } else {
          writer.WriteLine(line);
        }
      }
    } catch (...) {
      throw Wrap32760(CurrentError(), "Workbook.CopyFromTo", "Error in CopyFromTo.");
    }
    WriteFile(file, text);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.UpdateHeader", "Could not update header.");
  }
}

std::string NewWorkbookTempFile() {
  return core::GetTempFile("tbr", "Workbook.GetTempFile", "Could not get temp file.");
}

}  // namespace brevora::sheet
