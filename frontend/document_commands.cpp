#include "frontend/document_commands.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "core/file_mode.h"
#include "frontend/category_folders.h"
#include "frontend/name_validator.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::frontend {
namespace {

using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

void Show(const std::string& text, MsgIcon icon) {
  services::ShowMessage({text, "Brevora", MsgButtons::Ok, icon});
}

int16_t Mode(TabrelPC& app) { return static_cast<int16_t>(app.Session()->FileMode()); }

// The name of `fileName` in `folder` as the folder holds it (any case), or nothing.
std::optional<std::string> Existing(const std::string& folder, const std::string& fileName) {
  return fs::FindNoCase(folder, fileName);
}

// The entries of a folder by their names without regard to case (a missing
// folder has none).
class FolderNames {
 public:
  explicit FolderNames(const std::string& folder) {
    if (!fs::FolderExists(folder)) return;
    for (const fs::FolderEntry& entry : fs::ListEntries(folder)) Add(entry.name);
  }
  std::optional<std::string> Find(const std::string& name) const {
    if (exact_.count(name)) return name;  // an exact match wins over others that differ in case
    const auto found = names_.find(text::LCase(name));
    if (found == names_.end()) return std::nullopt;
    return found->second;
  }
  void Add(const std::string& name) {
    names_.emplace(text::LCase(name), name);
    exact_.insert(name);
  }

 private:
  std::map<std::string, std::string> names_;  // lower case -> as held (the first in order)
  std::set<std::string> exact_;
};

}  // namespace

std::string DocumentPath(TabrelPC& app, const std::string& category, const std::string& text) {
  const std::string folder = CategoryFolder(app.HomeDirectory(), category);
  const std::string name = core::AddFileModeExtension(text, Mode(app));
  const std::optional<std::string> held = Existing(folder, name);
  return fs::JoinPath(folder, held ? *held : name);
}

void DeleteSelectedFiles(TabrelPC& app, const std::string& category, DocumentList& list) {
  const int row = list.SelectedIndex();
  if (row < 0 || row >= list.Count() || category.empty()) return;
  const std::string text = list.Text(row);
  const MsgResult answer = services::ShowMessage(
      {"Permanently delete '" + text +
           "'?\r\n\r\nNOTE: If this file is linked, the original will not be deleted.",
       "Brevora", MsgButtons::YesNo, MsgIcon::Question});
  if (answer == MsgResult::No) return;
  fs::RemoveFile(DocumentPath(app, category, text));
  list.RemoveRow(row);
  if (list.Count() > 0) list.Select(std::min(row, list.Count() - 1));
}

void DeleteCommand(TabrelPC& app, const std::string& category, DocumentList& list) {
  try {
    DeleteSelectedFiles(app, category, list);
  } catch (...) {
    Show(CurrentError().description(), MsgIcon::Critical);
  }
}

void DeleteKey(TabrelPC& app, const std::string& category, DocumentList& list) {
  try {
    DeleteSelectedFiles(app, category, list);
  } catch (...) {
    Show("Could not delete workbook.", MsgIcon::Critical);
  }
}

LabelEdit RenameDocument(TabrelPC& app, const std::string& category, const std::string& oldText,
                         const std::string& newText) {
  const int16_t mode = Mode(app);
  const std::size_t max = MaxDocumentName(mode);
  const std::string base = core::RemoveFileModeExtension(newText, mode);
  NameFault fault = CheckName(base, max);
  if (fault == NameFault::kBlank) return {};
  if (newText.size() > max) fault = NameFault::kTooLong;
  if (fault != NameFault::kNone || category.empty()) {
    if (fault != NameFault::kNone)
      Show(NameFaultMessage(fault, max, "document"), MsgIcon::Information);
    return {};
  }
  try {
    const std::string oldPath = DocumentPath(app, category, oldText);
    const std::string folder = fs::FolderPart(oldPath);
    const std::string newName = core::AddFileModeExtension(newText, mode);
    const std::string newPath = fs::JoinPath(folder, newName);
    if (newPath == oldPath) return {true, base};
    // Another document of that name in any case: never replaced. The same
    // document with its letter case changed may be renamed.
    if (const std::optional<std::string> held = Existing(folder, newName);
        held && !text::EqualsNoCase(*held, fs::FileNamePart(oldPath))) {
      fs::RaiseFileError(fs::kFileAlreadyExists);
    }
    fs::RenameNoReplace(oldPath, newPath);
    try {
      app.MakeDirty(newPath);
    } catch (...) {
      Show(CurrentError().description(), MsgIcon::Critical);
    }
    return {true, base};
  } catch (...) {
    Show("Could not rename this workbook.\r\n" + CurrentError().description(), MsgIcon::Critical);
    return {};
  }
}

void MoveDocuments(TabrelPC& app, const std::string& source, const std::string& target,
                   DocumentList& list) {
  if (source.empty() || target.empty() || text::EqualsNoCase(source, target)) return;
  try {
    const std::string home = app.HomeDirectory();
    const std::string sourceFolder = CategoryFolder(home, source);
    const std::string targetFolder = CategoryFolder(home, target);
    // Both folders are listed once: a name is looked up in the listings
    // (without regard to case), not by reading the folder again per document.
    const FolderNames inSource(sourceFolder);
    FolderNames inTarget(targetFolder);
    const int16_t mode = Mode(app);
    for (int row = list.Count() - 1; row >= 0; --row) {
      if (!list.IsSelected(row)) continue;
      const std::string wanted = core::AddFileModeExtension(list.Text(row), mode);
      const std::string name = inSource.Find(wanted).value_or(wanted);
      if (inTarget.Find(name)) fs::RaiseFileError(fs::kFileAlreadyExists);
      const std::string oldPath = fs::JoinPath(sourceFolder, name);
      try {
        app.MakeDirty(oldPath);
      } catch (...) {
        Show("Could not move workbook.", MsgIcon::Information);
        continue;
      }
      fs::RenameNoReplace(oldPath, fs::JoinPath(targetFolder, name));
      inTarget.Add(name);
      list.RemoveRow(row);
    }
  } catch (...) {
    Show("Files could not be copied.\r\n\r\n" + CurrentError().description(), MsgIcon::Critical);
  }
}

}  // namespace brevora::frontend
