#pragma once
// Editing the link of a file in the user's store (the file list's "Linked
// File..." command) without its window: the file of the selected row is opened
// without its body, the link dialog is shown with the link stored in the file
// (not the row's columns, which may be out of date), and OK writes the new
// link back into the file's header and answers the row's new link columns.
//
// A changed linked path sets the stored modification time to 0, so that the
// next sync takes the linked file as new; a changed sync method alone keeps
// it. A presentation is read whole before it is written, since its file is
// written whole. The objects are closed on every path.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/session.h"

namespace brevora::frontend {

// What the link dialog shows and answers: the linked path ("" = not linked)
// and the sync method 0..3.
struct LinkSettings {
  std::string linkTo;
  int16_t syncOption = 0;
  bool operator==(const LinkSettings&) const = default;
};

// The file list's link columns of a row: the linked path and the kind's text
// of the sync method ("" when not linked).
struct LinkColumns {
  std::string linkedFile;
  std::string syncText;
  bool operator==(const LinkColumns&) const = default;
};

// The file of a list row: home (ending in a separator) + category + "\" + the
// row's name with the mode's extension. A category or name that is not a plain
// name (empty, ".", "..", a separator, a control character) raises 52 "Bad
// file name or number", so no row can reach outside its category.
std::string ListRowPath(std::string_view home, std::string_view category, std::string_view rowName,
                        int mode);

// Shows the dialog with the starting settings; nullopt when it was cancelled.
using LinkDialog = std::function<std::optional<LinkSettings>(const LinkSettings& start)>;

// The "Edit Properties" dialog (frmProperties) of the windows library, shown
// through Utility::ShowDialog.
LinkDialog PropertiesDialog();

// Edits the link of the file at `path` of file mode `mode` (0 workbook,
// 1 document, 2 presentation) through `session`. Answers the row's new
// columns, or nullopt when nothing was written: another mode, a file the
// object declines to open (OpenFromDisk False), or a cancelled dialog.
// Errors of reading or writing the file are raised.
std::optional<LinkColumns> EditFileLink(core::Session& session, int mode, const std::string& path,
                                        const LinkDialog& dialog);

}  // namespace brevora::frontend
