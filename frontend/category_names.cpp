#include "frontend/category_names.h"

#include <algorithm>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/text/case.h"

namespace brevora::frontend {

CategoryNames::CategoryNames(std::string home) : home_(std::move(home)) {}

CategoryNames::Folder& CategoryNames::Listed(std::string_view category) {
  if (const auto known = folders_.find(category); known != folders_.end()) return known->second;
  Folder names;
  try {
    for (fs::FolderEntry& entry : fs::ListEntries(CategoryFolder(home_, category))) {
      names[text::LCase(entry.name)].push_back(std::move(entry.name));
    }
  } catch (...) {
    // A folder that can't be read holds no name that could clash.
  }
  return folders_.emplace(std::string(category), std::move(names)).first->second;
}

std::optional<std::string> CategoryNames::Find(std::string_view category, std::string_view name) {
  const Folder& folder = Listed(category);
  const auto same = folder.find(text::LCase(name));
  if (same == folder.end() || same->second.empty()) return std::nullopt;
  const std::vector<std::string>& spellings = same->second;
  if (std::find(spellings.begin(), spellings.end(), name) != spellings.end())
    return std::string(name);
  return *std::min_element(spellings.begin(), spellings.end());
}

std::optional<DuplicateDocument> CategoryNames::FindElsewhere(std::string_view fileName,
                                                              std::string_view excludedCategory) {
  try {
    if (!categories_) categories_ = fs::ListFolder(home_, fs::ListKind::Folders);
    for (const std::string& category : *categories_) {
      if (text::EqualsNoCase(category, excludedCategory)) continue;
      const std::optional<std::string> name = Find(category, fileName);
      if (!name) continue;
      const std::string path = fs::JoinPath(CategoryFolder(home_, category), *name);
      if (fs::FileExists(path)) return DuplicateDocument{path, category};
    }
    return std::nullopt;
  } catch (...) {
    RaiseError(kWrapError, "DupInAnotherDir",
               "Error when looking for duplicate workbook.  \r\n" + CurrentError().description());
  }
}

void CategoryNames::Add(std::string_view category, std::string_view name) {
  std::vector<std::string>& spellings = Listed(category)[text::LCase(name)];
  if (std::find(spellings.begin(), spellings.end(), name) == spellings.end())
    spellings.emplace_back(name);
}

}  // namespace brevora::frontend
