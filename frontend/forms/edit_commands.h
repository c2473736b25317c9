#pragma once
// The Edit menu's Cut, Copy and Paste and the list search of the main window
// (modMain.EditCut, EditCopy, EditPaste, SelectListItem): they act on the
// active control of the active window, whatever form it belongs to.
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
