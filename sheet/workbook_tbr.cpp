// Workbook: the desktop workbook file (.tbr).
#include <memory>
#include <string>
#include <vector>

#include "core/module_error.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "sheet/cell_line.h"
#include "sheet/tbr_format.h"
#include "sheet/tbr_reader.h"
#include "sheet/tbr_writer.h"
#include "sheet/workbook.h"

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

void WriteHeaderTo(TbrWriter& writer, const WorkbookHeader& header, bool modified, int16_t currentSheet) {
  try {
    writer.WriteHeader(header, modified, currentSheet);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.WriteHeader", "Could not write header.");
  }
}

}  // namespace

bool Workbook::OpenFromDisk(std::string_view file, bool readCells, bool updateFromLink) {
  try {
    const std::string remembered = fullPath_;
    ResetHeader();
    fullPath_ = file.empty() ? remembered : std::string(file);
    // Every read starts from a clear header: an older file must not inherit
    // fields of the file read before.
    header_ = WorkbookHeader{};
    std::vector<uint8_t> data = OpenRead(fullPath_);
    auto reader = std::make_unique<TbrReader>(AsText(data));
    TbrReader::HeaderInfo info = reader->ReadHeader(header_);
    if (updateFromLink && linkStep_ && linkStep_->CheckLinkUpdate(*this, header_, true)) {
      header_ = WorkbookHeader{};
      data = OpenRead(fullPath_);
      reader = std::make_unique<TbrReader>(AsText(data));
      info = reader->ReadHeader(header_);
    }
    isModified_ = info.modified;
    HeaderToObjects(header_);
    if (readCells) {
      headerOnly_ = false;
      ReadCells(*reader, info.version);
    } else {
      headerOnly_ = true;
      cellSource_ = fullPath_;
    }
    return true;
  } catch (...) {
    const AutomationError e = CurrentError();
    // Nothing half-read stays, and nothing stays bound: a later save cannot
    // replace the file with what was read of it.
    ResetHeader();
    throw WrapAlways(e, "Workbook.OpenFromDisk", "Could not open workbook '" + std::string(file) + "'.");
  }
}

void Workbook::ReadCells(TbrReader& reader, int16_t version) {
  SheetCollection& sheets = Sheets();
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

void Workbook::WriteToDisk(std::string_view file, bool updateLink) {
  try {
    if (!file.empty()) fullPath_ = std::string(file);
    if (fullPath_.empty()) core::RaiseModuleError(264, "Please name the workbook before saving it.");
    HeaderFromObjects(header_);
    TbrWriter::CheckTexts(header_, Sheets());
    if (headerOnly_) {
      UpdateHeader();
      return;
    }
    std::string text;
    TbrWriter writer(text);
    WriteHeaderTo(writer, header_, isModified_, currentSheet_);
    try {
      writer.WriteCells(Sheets());
    } catch (...) {
      throw Wrap32760(CurrentError(), "Workbook.WriteCells", "Error in WriteCells.");
    }
    WriteFile(fullPath_, text);
    if (updateLink && linkStep_ && linkStep_->CheckLinkUpdate(*this, header_, false)) {
      // The push renewed the link time: the file gets it too, or the next open
      // would take the .xls for newer and convert it back for nothing.
      cellSource_ = fullPath_;
      UpdateHeader();
    }
  } catch (...) {
    throw WrapAlways(CurrentError(), "Workbook.WriteToDisk", "Could not save workbook '" + fullPath_ + "'.");
  }
}

void Workbook::UpdateHeader() {
  try {
    std::string text;
    TbrWriter writer(text);
    WriteHeaderTo(writer, header_, isModified_, currentSheet_);
    // The cell lines come from the file the header was read from, which may
    // not be the file being written.
    const std::vector<uint8_t> source = OpenRead(cellSource_.empty() ? fullPath_ : cellSource_);
    TbrReader reader(AsText(source));
    WorkbookHeader skipped;
    const TbrReader::HeaderInfo info = reader.ReadHeader(skipped);
    isModified_ = info.modified;
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
    WriteFile(fullPath_, text);
    cellSource_ = fullPath_;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Workbook.UpdateHeader", "Could not update header.");
  }
}

bool Workbook::InitFromTBR(std::string_view file) {
  try {
    ResetHeader();
    fullPath_ = std::string(file);
    header_ = WorkbookHeader{};
    const std::vector<uint8_t> data = OpenRead(fullPath_);
    TbrReader reader(AsText(data));
    reader.ReadHeader(header_);
    HeaderToObjects(header_);
    isModified_ = true;
    SetFlag(workbook_flags::kNeedsRecalc, true);
    fullPath_.clear();
    return true;
  } catch (...) {
    const AutomationError e = CurrentError();
    ResetHeader();
    throw WrapAlways(e, "Workbook.InitfromTBR", "Could not open workbook '" + std::string(file) + "'.");
  }
}

}  // namespace brevora::sheet
