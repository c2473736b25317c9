#pragma once
// The Edit menu's Cut, Copy and Paste, which act on the active control of the
// active window, whatever form it belongs to, and the list search that selects
// a file by its name (after an import).
#include <string_view>

class QAbstractItemView;

namespace brevora::frontend::forms {

// The focused text control of the active window (a line edit, an editable
// combo box's line edit, a text edit): Cut copies its selected text to the
// clipboard and removes it, Copy copies it, Paste replaces the selection with
// the clipboard's text. With no such control nothing happens.
void EditCut();
void EditCopy();
void EditPaste();

// Selects (and makes current and visible) the first row of `list` whose first
// column is `text` without regard to case; nothing when none is, or `text` is
// empty. Errors are ignored.
void SelectListItem(QAbstractItemView& list, std::string_view text);

}  // namespace brevora::frontend::forms
