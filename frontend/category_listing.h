#pragma once
// The category folder layout as the window lists it: the categories of a home
// folder (its sub-folders) and the documents of one category (the files with
// the file mode's extension), with the columns the stand-alone window shows:
// size, linked Office file and its sync method, read from each file's header.
//
// Names the code page can't hold are left out of both lists and written to the
// event log. A file whose header can't be read is listed without its link
// columns: one damaged file never hides the rest of its category.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/session.h"
#include "doc/document.h"
#include "sheet/workbook.h"
#include "slides/presentation.h"

namespace brevora::frontend {

// The pseudo-category that lists the documents of every category.
inline constexpr const char* kAllCategories = " All ";

// The type of a path by its extension (case ignored): 1 xls, 2 tbr, 3 doc,
// 4 scv, 5 txt, 6 pdb not a presentation, 7 htm/html, 8 ppt, 9 pdb whose
// creator is "Sldr"; 0 for anything else. A "pdb" has its database header
// read; one that can't be read counts as 6.
int16_t GetFileType(std::string_view path);

// Whether a listed file belongs to file mode `fileMode`: workbooks and
// documents by their extension alone, presentations when the database's
// creator is "Sldr"; false for any other mode.
bool IsFileOfMode(std::string_view path, int32_t fileMode);

// The size column: bytes below 1024 as a bare number, else kilobytes rounded
// to the nearest whole number (halves to even) and " KB".
std::string FileSizeText(uint64_t bytes);

// The categories of `home` (its sub-folders, hidden ones left out) in listing
// order. A folder that can't be read raises the file error.
std::vector<std::string> ListCategories(const std::string& home);

// The small icon of a row: 1 workbook, 4 linked workbook, 2 document, 3 linked
// document, 5 presentation, 6 linked presentation.
struct DocumentRow {
  std::string name;      // file name without the mode's extension
  std::string category;  // stand-alone rows only
  std::string size;      // stand-alone rows only
  std::string link;      // the linked Office file, "" when none
  std::string syncMethod;
  int icon = 0;
  bool operator==(const DocumentRow&) const = default;
};

// Lists the documents of a category. It keeps one document object per kind
// for reading headers, made on first use; every List hands them `session`.
class DocumentLister {
 public:
  DocumentLister() = default;
  DocumentLister(const DocumentLister&) = delete;
  DocumentLister& operator=(const DocumentLister&) = delete;

  // The rows of `home` + `category` for `fileMode`. Without `withColumns`
  // (the dialogs) only names are read, no file is opened (but presentations,
  // whose creator decides whether they are listed). A category folder that
  // can't be read raises the file error.
  std::vector<DocumentRow> List(const Ref<core::Session>& session, const std::string& home,
                                const std::string& category, int16_t fileMode, bool withColumns);

 private:
  void ReadColumns(const std::string& path, int16_t fileMode, DocumentRow& row);
  void CloseQuietly(int16_t fileMode);

  Ref<sheet::Workbook> workbook_;
  Ref<doc::Document> document_;
  Ref<slides::Presentation> presentation_;
};

}  // namespace brevora::frontend
