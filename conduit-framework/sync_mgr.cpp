#include "conduit-framework/sync_mgr.h"

#include <algorithm>

#include "conduit-framework/file_mgr.h"
#include "conduit-framework/main_db_format.h"
#include "conduit-framework/product.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"

namespace brevora::conduit {
namespace {

bool IsCategoryName(const std::string& name) {
  return fs::IsPlainName(name) && name.find('\\') == std::string::npos &&
         name.size() <= conduit_format::kMaxLabelLength;
}

bool IsOwnFolder(const Product& product, const std::string& name) {
  const auto& own = product.ownFolders;
  return std::any_of(own.begin(), own.end(),
                     [&](const std::string& f) { return text::EqualsNoCase(name, f); });
}

}  // namespace

bool CSyncMgr::BuildLists(const std::string& folder, const CMainDB& main) {
  folder_ = folder;
  categories_.clear();
  refusedFolders_.clear();
  refusedLabels_.clear();
  std::vector<std::string> folders;
  try {
    folders = fs::ListFolder(folder, fs::ListKind::Folders);
  } catch (const AutomationError& e) {
    LogHotSync(product_, "The folder " + folder + " can't be read: " + e.description());
    return false;
  }
  for (const std::string& name : folders) {
    if (IsOwnFolder(product_, name)) continue;
    if (!IsCategoryName(name)) {
      errors_.Refuse("The folder " + name +
                     " can't be a handheld category -- it was left as it is.");
      refusedFolders_.push_back(name);
      continue;
    }
    CFileEntry& e = categories_[name];
    e.name = name;
    e.directory = true;
    e.local = true;
  }
  for (const std::string& label : main.categories().labels) {
    if (label.empty()) continue;
    if (!IsCategoryName(label) || IsOwnFolder(product_, label)) {
      errors_.Refuse("The category " + label +
                     " can't be a desktop folder -- it was left as it is.");
      refusedLabels_.push_back(label);
      continue;
    }
    CFileEntry& e = categories_[label];
    if (e.name.empty()) e.name = label;  // a desktop folder keeps its spelling
    e.directory = true;
    e.remote = true;
  }
  return true;
}

void CSyncMgr::ApplyMode(SyncMode mode) {
  for (auto& [name, e] : categories_) {
    switch (mode) {
      case SyncMode::DesktopOverwrites:
        e.remote = e.local;
        break;
      case SyncMode::HandheldOverwrites:
        e.local = e.remote;
        break;
      case SyncMode::Synchronize:
        e.local = e.remote = true;
        break;
      case SyncMode::DoNothing:
        break;
    }
  }
  success_ = true;
}

bool CSyncMgr::EmptyCategoryFolder(const std::string& name) {
  const std::string folder = fs::JoinPath(folder_, name);
  if (!fs::FolderExists(folder)) return true;
  try {
    for (const std::string& file :
         fs::ListFolder(folder, fs::ListKind::Files, product_.extension)) {
      fs::RemoveFile(fs::JoinPath(folder, file));
    }
  } catch (const AutomationError& e) {
    services::ShowMessage({e.description(), "GetLastError", services::MsgButtons::Ok,
                           services::MsgIcon::Information});
    return false;
  }
  // The folder goes only when nothing else is left in it.
  try {
    if (fs::ListFolder(folder, fs::ListKind::Files).empty() &&
        fs::ListFolder(folder, fs::ListKind::Folders).empty()) {
      fs::RemoveFolder(folder);
    }
  } catch (const AutomationError&) {
    // Something the listing can't see (hidden files): the folder stays.
  }
  return true;
}

bool CSyncMgr::DeleteHandheldCategory(const std::string& name, CMainDB& main) {
  bool ok = true;
  for (const HandheldEntry& h : main.handhelds()) {
    if (!text::EqualsNoCase(h.category, name)) continue;
    if (!DeleteProductDatabase(product_, h.name)) {
      LogHotSync(product_, "Could not delete workbook: " + h.name);
      ok = false;
    }
  }
  main.categories().RemoveCategory(name);
  return ok;
}

bool CSyncMgr::SyncCategories(CMainDB& main) {
  if (categories_.size() > conduit_format::kCategoryCount) {
    LogHotSync(product_, "There are too many categories.  A maximum of 15 are supported.");
    return false;
  }
  for (auto& [name, e] : categories_) {
    if (e.local) {
      try {
        fs::MakeFolder(fs::JoinPath(folder_, e.name));
      } catch (const AutomationError& error) {
        LogHotSync(product_, "The folder " + e.name + " can't be made: " + error.description());
        success_ = false;
      }
    } else if (!EmptyCategoryFolder(e.name)) {
      success_ = false;
    }
    if (e.remote) {
      if (!main.categories().FindCategory(e.name)) {
        LogHotSync(product_, "The category " + e.name + " has no room on the handheld.");
        success_ = false;
      }
    } else if (!DeleteHandheldCategory(e.name, main)) {
      success_ = false;
    }
  }
  if (!main.WriteAppInfo()) success_ = false;
  return success_;
}

bool CSyncMgr::SyncFiles(const CMainDB& main, SyncMode mode, int32_t prevail, bool slow,
                         bool firstSync) {
  CFileMgr files(product_, folder_, main, errors_);
  // What lies in a category left alone stays alone on both sides.
  for (const std::string& name : refusedFolders_) {
    try {
      for (const std::string& file :
           fs::ListFolder(fs::JoinPath(folder_, name), fs::ListKind::Files, product_.extension)) {
        files.LeaveAlone(file.substr(0, file.size() - product_.extension.size()));
      }
    } catch (const AutomationError&) {
      // An unreadable folder: its names can't reach the run either.
    }
  }
  for (const HandheldEntry& h : main.handhelds()) {
    const bool refusedLabel =
        std::any_of(refusedLabels_.begin(), refusedLabels_.end(),
                    [&](const std::string& l) { return text::EqualsNoCase(l, h.category); });
    if (refusedLabel) {
      files.LeaveAlone(h.name);
    } else if (h.category.empty()) {
      errors_.Refuse(h.name + ": its category has no name -- left as it is on both sides.");
      files.LeaveAlone(h.name);
    }
  }
  for (const auto& [name, e] : categories_) {
    if (e.local && e.remote) files.CollectFiles(e.name);
  }
  files.Compare(mode, prevail, slow, firstSync);
  return files.Apply();
}

}  // namespace brevora::conduit
