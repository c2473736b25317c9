#include "conduit/workbook_copy.h"

#include <algorithm>

#include "conduit-framework/conduit_log.h"
#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "conduit/style_remap.h"
#include "conduit/tabrel_product.h"
#include "platform/fs/files.h"
#include "platform/text/case.h"

namespace brevora::tabrel {
using conduit::CHandheldDatabase;
using conduit::CLocalFile;
using conduit::CopyStep;
using conduit::LinkInfo;
namespace fmt = workbook_format;
namespace {

constexpr std::size_t kMaxRecords = 0xFFFF;
constexpr std::size_t kMaxRecordText = 0xFFFF - 1;  // and its NUL
constexpr double kSecondsPerDay = 86400.0;

// The name as a handheld name slot keeps it.
std::string StoredName(const std::string& name) {
  return name.substr(0, std::min(name.find('\0'), fmt::kMaxNameLength));
}

// Empty when the names stay apart on the handheld and none is missing before
// another (the handheld numbers a cell's sheet by the named slots before it).
std::string CheckNames(const HeaderCommon& h) {
  for (std::size_t i = 0; i + 1 < h.names.size(); ++i) {
    if (StoredName(h.names[i]).empty() && !StoredName(h.names[i + 1]).empty()) {
      return "sheet name " + std::to_string(i + 1) +
             " is empty, and the handheld can't keep an empty name "
             "before another.";
    }
  }
  for (std::size_t i = 0; i < h.names.size(); ++i) {
    const std::string a = StoredName(h.names[i]);
    if (a.empty()) continue;
    for (std::size_t j = i + 1; j < h.names.size(); ++j) {
      if (text::EqualsNoCase(a, StoredName(h.names[j]))) {
        return "the sheet names '" + h.names[i] + "' and '" + h.names[j] +
               "' are the same in their first 15 characters; please rename one of them.";
      }
    }
  }
  return {};
}

// Empty when the header's texts can be lines of a desktop file.
std::string CheckHeaderTexts(const HeaderCommon& h, const std::string& linkPath) {
  auto bad = [](const std::string& text) {
    return text.find_first_of(std::string("\r\n\0", 3)) != std::string::npos;
  };
  for (const std::string& name : h.names) {
    if (bad(name)) return "the sheet name '" + name + "' holds a line break.";
  }
  for (const BlockStyle& style : h.styles) {
    if (bad(style.name)) return "the style name '" + style.name + "' holds a line break.";
  }
  if (bad(linkPath)) return "the linked file's path holds a line break.";
  // The currency line is the two characters in quotes, read up to the next
  // quote: a line break or a quote among them would not read back.
  for (const char c : {h.currency, h.secondChar}) {
    if (c == '\r' || c == '\n') return "the currency holds a line break.";
    if (c == '"') return "the currency holds a double quote.";
  }
  return {};
}

// The first name slot after slot 0 that is empty (the slot count when none
// is). The handheld numbers a cell's sheet by the named slots before it, so a
// cell comes back on its own sheet only when no slot before its sheet is empty.
std::size_t FirstEmptySlot(const HeaderCommon& h) {
  for (std::size_t slot = 1; slot < h.names.size(); ++slot) {
    if (StoredName(h.names[slot]).empty()) return slot;
  }
  return h.names.size();
}

}  // namespace

double LinkDateToVbDate(uint32_t seconds) { return seconds / kSecondsPerDay; }

CopyStep WorkbookCopy::LoadDesktop(const std::string& path, uint16_t version,
                                   std::string& problem) {
  version_ = version;
  cells_.clear();
  const auto file = LocalWorkbookFor(version);
  switch (file->OpenPath(path)) {
    case CLocalFile::OpenResult::Opened:
      break;
    case CLocalFile::OpenResult::Failed:
      return CopyStep::OpenFailed;
    case CLocalFile::OpenResult::TooLarge:
      problem = path + ": the file is larger than a handheld workbook can be.";
      return CopyStep::Refused;
  }
  bool modified = false;
  if (file->layout() == LocalWorkbook::Layout::V8) {
    if (!file->ReadHeader(header_, modified, problem)) return CopyStep::Refused;
  } else {
    if (!file->ReadHeader(older_, modified, problem)) return CopyStep::Refused;
    header_.Fill(older_);
  }
  if (std::string names = CheckNames(header_); !names.empty()) {
    problem = path + ": " + names;
    return CopyStep::Refused;
  }
  const bool comma = file->form() == CellForm::Comma;
  const bool remap = version < fmt::kNewestVersion;
  const auto firstEmpty = static_cast<int64_t>(FirstEmptySlot(header_));
  cells_.reserve(std::min(file->LinesLeft(), kMaxRecords));
  for (;;) {
    CellRecord cell;
    const auto read = file->ReadNextCell(cell, problem);
    if (read == LocalWorkbook::CellRead::End) break;
    if (read == LocalWorkbook::CellRead::Bad) return CopyStep::Refused;
    if (std::min<int64_t>(cell.sheet, static_cast<int64_t>(header_.names.size())) > firstEmpty) {
      problem = path + ", line " + std::to_string(file->lineNumber()) + ": the cell at " +
                CellPlace(cell) +
                " is beyond the named sheets; the handheld would put it on another sheet.";
      return CopyStep::Refused;
    }
    if (comma) cell.format = ToTabFormat(cell.format);
    if (remap) RemapFormat2(cell);
    if (std::string texts = CheckTexts(cell, CellTarget::HandheldTab); !texts.empty()) {
      problem = path + ", line " + std::to_string(file->lineNumber()) + ": " + texts;
      return CopyStep::Refused;
    }
    if (FormatCell(cell, CellForm::Tab).size() > kMaxRecordText) {
      problem = path + ", line " + std::to_string(file->lineNumber()) + ": the cell at " +
                CellPlace(cell) + " is too long for the handheld.";
      return CopyStep::Refused;
    }
    if (cells_.size() == kMaxRecords) {
      problem = path + ": more cells than a handheld workbook holds (65535).";
      return CopyStep::Refused;
    }
    cells_.push_back(std::move(cell));
  }
  return CopyStep::Done;
}

CopyStep WorkbookCopy::WriteHandheld(CHandheldDatabase& db) {
  auto& workbook = dynamic_cast<HandheldWorkbook&>(db);
  for (const CellRecord& cell : cells_) {
    if (!workbook.SetNextCell(cell)) return CopyStep::DeviceFailed;
  }
  workbook.ClearModified();
  if (!workbook.CopyHeaderFrom(header_) || !workbook.WriteAppInfo()) return CopyStep::DeviceFailed;
  return CopyStep::Done;
}

CopyStep WorkbookCopy::LoadHandheld(CHandheldDatabase& db, std::string& problem) {
  auto& workbook = dynamic_cast<HandheldWorkbook&>(db);
  version_ = workbook.version();
  cells_.clear();
  const auto desktop = LocalWorkbookFor(version_);
  std::string texts;
  if (desktop->layout() == LocalWorkbook::Layout::V8) {
    workbook.CopyHeaderTo(header_);
    texts = CheckHeaderTexts(header_, header_.linkPath);
  } else {
    workbook.CopyHeaderTo(older_);
    texts = CheckHeaderTexts(older_, {});
  }
  if (!texts.empty()) {
    problem = "the handheld's copy: " + texts;
    return CopyStep::Refused;
  }
  const CellTarget target =
      desktop->form() == CellForm::Comma ? CellTarget::DesktopComma : CellTarget::DesktopTab;
  // The count only sizes the list: when it can't be had, the reading below
  // meets the same failure.
  if (const auto count = workbook.RecordCount()) cells_.reserve(*count);
  for (;;) {
    CellRecord cell;
    std::string why;
    switch (workbook.ReadNextCell(cell, why)) {
      case HandheldWorkbook::CellRead::Cell:
        break;
      case HandheldWorkbook::CellRead::End:
        return CopyStep::Done;
      case HandheldWorkbook::CellRead::Bad:
        problem = "the handheld's copy, " + why;
        return CopyStep::Refused;
      case HandheldWorkbook::CellRead::Failed:
        return CopyStep::DeviceFailed;
    }
    if (std::string bad = CheckTexts(cell, target); !bad.empty()) {
      problem = "the handheld's copy: " + bad;
      return CopyStep::Refused;
    }
    cells_.push_back(std::move(cell));
  }
}

std::string WorkbookCopy::DesktopText() const {
  const auto desktop = LocalWorkbookFor(version_);
  if (desktop->layout() == LocalWorkbook::Layout::V8) {
    desktop->WriteHeader(header_, false);
  } else {
    desktop->WriteHeader(older_, false);
  }
  for (const CellRecord& cell : cells_) desktop->WriteCell(cell);
  return desktop->text();
}

bool WorkbookCopy::WriteDesktop(fs::AtomicFile& out) {
  out.Write(DesktopText());
  return true;
}

CopyStep WorkbookCopy::FinishHandheld(CHandheldDatabase& db) {
  if (version_ < 4) {
    conduit::LogHotSync(TabulynProduct(), "Remote workbook is version 1.5.");
    return CopyStep::Done;
  }
  db.ClearModified();
  return db.WriteAppInfo() ? CopyStep::Done : CopyStep::DeviceFailed;
}

std::optional<LinkInfo> WorkbookCopy::WrittenLink() const {
  if (version_ < 8 || !header_.valid || header_.linkPath.empty()) return std::nullopt;
  return LinkInfo{header_.linkPath, header_.linkMethod, header_.linkOption,
                  LinkDateToVbDate(header_.linkDate)};
}

}  // namespace brevora::tabrel
