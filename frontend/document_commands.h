#pragma once
// What the main window does to the documents of its file list lstWorkbook,
// without the window: delete the selected one after a prompt, rename one whose
// label was edited in place, move the selected ones to another category (the
// drag onto the category list). The window implements DocumentList; messages
// go through the message box service, titled "Brevora".
//
// A document's file is found in its category folder by its list text and the
// file mode's extension, matched without regard to case ("Plan" is
// "Plan.TBR"). Renames and moves never replace a file: a name taken in the
// folder in any case is refused. A document whose modified mark
// (TabrelPC::MakeDirty) is refused during a move is reported and skipped.
#include <string>

namespace brevora::frontend {

class TabrelPC;

// lstWorkbook: rows 0-based, -1 for no selection.
class DocumentList {
 public:
  virtual ~DocumentList() = default;
  virtual int Count() const = 0;
  virtual int SelectedIndex() const = 0;
  virtual std::string Text(int row) const = 0;
  virtual bool IsSelected(int row) const = 0;
  virtual void RemoveRow(int row) = 0;
  // Selects the row and runs the list's item click (lstWorkbook_ItemClick).
  virtual void Select(int row) = 0;
};

// The path of the document listed as `text` in `category`: the file the folder
// holds under that name and the mode's extension in any case, else the name
// with the extension in lower case.
std::string DocumentPath(TabrelPC& app, const std::string& category, const std::string& text);

// DeleteSelectedFiles: asks "Permanently delete '<text>'?" (Yes/No); any answer
// but No deletes the file and removes its row, selecting the row that takes its
// place (or the new last one). Nothing selected, or no category: nothing. A
// failure is raised; the row stays.
void DeleteSelectedFiles(TabrelPC& app, const std::string& category, DocumentList& list);
// DeleteCommand (menu, toolbar): DeleteSelectedFiles with its errors shown
// (critical). The list's Delete key: the same with "Could not delete workbook.".
void DeleteCommand(TabrelPC& app, const std::string& category, DocumentList& list);
void DeleteKey(TabrelPC& app, const std::string& category, DocumentList& list);

// lstWorkbook_AfterLabelEdit: renames the document `oldText` of `category` to
// the typed `newText` (the mode's extension added when it is not typed).
struct LabelEdit {
  bool accepted = false;  // false: the label keeps its old text
  std::string label;      // the label to show when accepted
};
LabelEdit RenameDocument(TabrelPC& app, const std::string& category, const std::string& oldText,
                         const std::string& newText);

// lstCategory_DragDrop: moves the selected documents of `list` (the source
// category's) into `target`, last row first, removing each moved row. The
// first failure ends the move with "Files could not be copied." and its
// description; what was moved stays moved.
void MoveDocuments(TabrelPC& app, const std::string& source, const std::string& target,
                   DocumentList& list);

}  // namespace brevora::frontend
