#include "frontend/category_listing.h"

#include "core/file_mode.h"
#include "core/handheld_database.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/event_log.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend {
namespace {

constexpr const char* kPresentationCreator = "Sldr";

// Tells the event log about names left out of a listing of `folder`.
void LogLeftOut(const std::string& folder, const std::vector<std::string>& names,
                std::string_view extension) {
  for (const std::string& name : names) {
    if (!extension.empty()) {
      const std::size_t dot = name.rfind('.');
      if (dot == std::string::npos ||
          !text::EqualsNoCase(std::string_view(name).substr(dot), extension))
        continue;
    }
    services::WriteToEventLog("Brevora - the name '" + text::Utf8ToCp(name) + "' in '" + folder +
                              "' can't be held in this code page; it is not listed.");
  }
}

bool IsPresentationDatabase(std::string_view path) {
  try {
    core::HandheldDatabase database;
    database.ReadFile(path, false);
    return database.Creator() == kPresentationCreator;
  } catch (...) {
    return false;
  }
}

}  // namespace

int16_t GetFileType(std::string_view path) {
  const std::string extension = text::LCase(fs::ExtensionOrWhole(path));
  if (extension == "xls") return 1;
  if (extension == "tbr") return 2;
  if (extension == "doc") return 3;
  if (extension == "scv") return 4;
  if (extension == "txt") return 5;
  if (extension == "pdb") return IsPresentationDatabase(path) ? 9 : 6;
  if (extension == "htm" || extension == "html") return 7;
  if (extension == "ppt") return 8;
  return 0;
}

bool IsFileOfMode(std::string_view path, int32_t fileMode) {
  switch (fileMode) {
    case 0:
    case 1:
      return true;
    case 2:
      return slides::Presentation::FileIsPresentation(path);
    default:
      return false;
  }
}

std::string FileSizeText(uint64_t bytes) {
  if (bytes < 1024) return std::to_string(bytes);
  // Whole kilobytes, a half going to the even number.
  uint64_t kilobytes = bytes / 1024;
  const uint64_t rest = bytes % 1024;
  if (rest > 512 || (rest == 512 && kilobytes % 2 == 1)) ++kilobytes;
  return std::to_string(kilobytes) + " KB";
}

std::vector<std::string> ListCategories(const std::string& home) {
  std::vector<std::string> leftOut;
  std::vector<std::string> names = fs::ListFolder(home, fs::ListKind::Folders, {}, &leftOut);
  LogLeftOut(home, leftOut, {});
  return names;
}

std::vector<DocumentRow> DocumentLister::List(const Ref<core::Session>& session,
                                              const std::string& home, const std::string& category,
                                              int16_t fileMode, bool withColumns) {
  // The header reader of the mode, on the caller's Session.
  switch (fileMode) {
    case 0:
      if (!workbook_) workbook_ = MakeRef<sheet::Workbook>();
      workbook_->SetSession(session);
      break;
    case 1:
      if (!document_) document_ = MakeRef<doc::Document>();
      document_->SetSession(session);
      break;
    case 2:
      if (!presentation_) presentation_ = MakeRef<slides::Presentation>();
      presentation_->SetSession(session);
      break;
    default:
      break;
  }
  const std::string folder = fs::JoinPath(home, category);
  const std::string extension = "." + core::FileModeExtension(fileMode);
  std::vector<std::string> leftOut;
  const std::vector<std::string> names =
      fs::ListFolder(folder, fs::ListKind::Files, extension, &leftOut);
  LogLeftOut(folder, leftOut, extension);

  std::vector<DocumentRow> rows;
  rows.reserve(names.size());
  for (const std::string& name : names) {
    const std::string path = fs::JoinPath(folder, name);
    if (!IsFileOfMode(path, fileMode)) continue;
    DocumentRow row;
    row.name = core::RemoveFileModeExtension(name, fileMode);
    if (withColumns) {
      row.category = category;
      try {
        row.size = FileSizeText(fs::FileSize(path));
      } catch (...) {
        row.size.clear();  // gone since it was listed: no size to show
      }
      ReadColumns(path, fileMode, row);
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

void DocumentLister::ReadColumns(const std::string& path, int16_t fileMode, DocumentRow& row) {
  static constexpr int kIcons[3][2] = {{1, 4}, {2, 3}, {5, 6}};
  if (fileMode < 0 || fileMode > 2) return;
  row.icon = kIcons[fileMode][0];
  // A header that can't be read leaves the link columns empty.
  try {
    bool opened = false;
    std::string link;
    std::string method;
    if (fileMode == 0) {
      opened = workbook_->OpenFromDisk(path, false, false);
      if (opened) {
        link = workbook_->LinkedXLSFileName();
        method = workbook_->SyncMethodText();
      }
      workbook_->CloseWorkbook();
    } else if (fileMode == 1) {
      opened = document_->OpenFromDisk(path, false, false);
      if (opened) {
        link = document_->LinkedDOCFileName();
        method = document_->SyncMethodText();
      }
      document_->CloseDocument();
    } else {
      opened = presentation_->OpenFromDisk(path, false, false);
      if (opened) {
        link = presentation_->LinkedPPTFileName();
        method = presentation_->SyncMethodText();
      }
      presentation_->ClosePresentation();
    }
    if (!opened) return;
    row.link = link;
    if (!link.empty()) {
      row.icon = kIcons[fileMode][1];
      row.syncMethod = method;
    }
  } catch (...) {
    row.link.clear();
    row.syncMethod.clear();
    CloseQuietly(fileMode);
  }
}

void DocumentLister::CloseQuietly(int16_t fileMode) {
  try {
    if (fileMode == 0) workbook_->CloseWorkbook();
    if (fileMode == 1) document_->CloseDocument();
    if (fileMode == 2) presentation_->ClosePresentation();
  } catch (...) {
    // Nothing was kept open that a later read depends on.
  }
}

}  // namespace brevora::frontend
