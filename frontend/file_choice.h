#pragma once
// What OK in the Open and Save dialogs decides, without a window: whether the
// typed name can be a document name, the path it stands for, and in the Save
// dialog whether an existing file of that name may be overwritten (asked in
// message boxes). Also the category and name that a file given to a dialog
// preselects.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "frontend/category_folders.h"

namespace brevora::frontend {

// The message that refuses `typed` as a document name of at most `maximum`
// characters (its extension of `fileMode` not counted); nullopt when it is a
// good name. The name without its extension goes through the window's one name
// check (name_validator.h).
std::optional<std::string> NameProblem(std::string_view typed, int16_t fileMode, int maximum);

// The Save dialog's answer for the typed name in `category` of `home`: the
// path in another category that holds the name, or in `category`, each after
// the user agreed to overwrite an existing file; nullopt when the user said No.
std::optional<std::string> ConfirmSave(const std::string& home, const std::string& category,
                                       const std::string& typed, int16_t fileMode);

// The Open dialog's answer: the path of the typed name in `category` (whether
// it exists or not).
std::string OpenPath(const std::string& home, const std::string& category, const std::string& typed,
                     int16_t fileMode);

// The category (and name without extension) of `fileName` when it is a file of
// a category folder of `home`; nullopt otherwise.
struct Preselection {
  std::string category;
  std::string name;
  bool operator==(const Preselection&) const = default;
};
std::optional<Preselection> PreselectionOf(const std::string& fileName, const std::string& home,
                                           int16_t fileMode);

}  // namespace brevora::frontend
