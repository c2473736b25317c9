#pragma once
// The category folders of a user's home folder as the window's commands work
// on them: the documents of a category (the file mode's "*.<ext>" entries),
// a document of the same name in another category (DupInAnotherDir), and the
// copy of a category's documents into another one (CopyCategoryFiles).
// Names are matched without regard to case, as the handheld and the conduits
// match them; listings are in the file system layer's sorted order.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::frontend {

class TabrelPC;

// home + category, one separator between.
std::string CategoryFolder(std::string_view home, std::string_view category);

// The file names (with extension) of the documents of `folder` for the file
// mode: regular files whose extension is the mode's, in any case.
std::vector<std::string> CategoryDocuments(std::string_view folder, int fileMode);

// True when `folder` holds no entry at all, hidden ones included.
bool IsFolderEmpty(std::string_view folder);

struct DuplicateDocument {
  std::string path;      // the file found, as the folder holds its name
  std::string category;  // the category folder it lies in
  bool operator==(const DuplicateDocument&) const = default;
};

// A document `fileName` (with extension) in a category of `root` other than
// `excludedCategory` (compared without regard to case), looking through the
// categories in listing order; nothing when none holds it. A failure raises
// 32760 "DupInAnotherDir" "Error when looking for duplicate workbook.  " CR LF
// and the inner description.
std::optional<DuplicateDocument> DupInAnotherDir(std::string_view fileName,
                                                 std::string_view excludedCategory,
                                                 std::string_view root);

// Copies the documents of category `source` into category `target` of the
// application's home folder (made when missing), each marked modified first
// (TabrelPC::MakeDirty on the source file). Nothing is ever overwritten: when
// the target already holds a document of one of those names (any case) the
// copy is refused before anything is copied. A document whose mark is refused
// is reported ("Cannot copy: " and its path) and skipped. Every problem is
// shown to the user (critical, "Brevora"); the result is true only when every
// document was copied, so a caller that deletes the source afterwards loses
// nothing.
bool CopyCategoryFiles(TabrelPC& app, std::string_view source, std::string_view target);

}  // namespace brevora::frontend
