#pragma once
// CategoryNames: the names in the category folders of one user's mode folder,
// each folder read once and then kept, with the names added since. It answers
// what an import asks of a new document's name, matched without regard to
// case as the handheld and the conduits match names: which entry of a category
// holds it, and which other category holds a document of that name.
//
// What it read stays true only while nothing else changes those folders: a
// batch of imports keeps one under the mode folder's lock and adds the names
// it makes. Hidden entries (a leading full stop) are not among the names: no
// name a user gives begins with one (name_validator.h).
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "frontend/category_folders.h"

namespace brevora::frontend {

class CategoryNames {
 public:
  // `home`: the mode folder whose sub-folders are the categories.
  explicit CategoryNames(std::string home);

  // The entry of category `category` whose name equals `name` without regard
  // to case, as the folder holds it: an exact match first, else the first in
  // byte order. Nothing when none does or the folder can't be read.
  std::optional<std::string> Find(std::string_view category, std::string_view name);

  // A document `fileName` (with extension) in a category other than
  // `excludedCategory` (compared without regard to case), looking through the
  // categories in listing order; it must be a regular file. Nothing when none
  // holds it. A home that can't be listed raises 32760 "DupInAnotherDir"
  // "Error when looking for duplicate workbook.  " CR LF and the inner
  // description.
  std::optional<DuplicateDocument> FindElsewhere(std::string_view fileName,
                                                 std::string_view excludedCategory);

  // `name` was made in category `category`.
  void Add(std::string_view category, std::string_view name);

 private:
  // The names of one category folder by their lower-case form.
  using Folder = std::unordered_map<std::string, std::vector<std::string>>;
  Folder& Listed(std::string_view category);

  std::string home_;
  std::optional<std::vector<std::string>> categories_;  // in listing order, once read
  std::map<std::string, Folder, std::less<>> folders_;
};

}  // namespace brevora::frontend
