#pragma once
// SaveFormCommands: what the main window frmSave does with files and
// categories: importing (Add File, drops on the file list, the host's
// BringFileIn), the category commands and their keys, deleting, renaming in
// place and dragging documents to another category, phone sync and the Edit
// menu. The work itself is Qt-free (frontend/file_import.h,
// category_commands.h, document_commands.h, phone_sync.h); this class gives it
// the window's lists and wires the window's controls to it. One per window.
#include <QObject>
#include <QPoint>
#include <memory>
#include <string>

class QDrag;
class QTreeWidgetItem;

namespace brevora::frontend {
class FileImporter;
}

namespace brevora::frontend::forms {

class SaveForm;
class frmSave;

// The data an internal drag of documents carries (never a file list: a drop
// of it on the file list imports nothing).
inline constexpr const char* kDocumentDragMime = "application/x-brevora-documents";

class SaveFormCommands : public QObject {
 public:
  explicit SaveFormCommands(SaveForm& form);
  ~SaveFormCommands() override;

  // Connects the window's controls to the commands; once, when the window is made.
  void Connect(frmSave& w);

  // ---- Import ----
  void BringFileIn(const std::string& path);
  void AddExistingFile();
  // A drop of `paths` (system paths of local files, in order) on the file
  // list: one batch of imports.
  void DropFiles(const std::vector<std::string>& paths);

  // ---- Categories ----
  void ManageCategory(int action);
  void lstCategory_KeyUp(int key);
  // Form_Activate: clears the list drag; on the first activation offers to
  // make a first category when there is none.
  void Form_Activate();

  // ---- Files ----
  void DeleteCommand();
  void lstWorkbook_KeyUp(int key);
  // The list drag of documents onto the category list, step by step (the
  // window's drag and drop events call these).
  bool BeginListDrag();
  void DragOverCategory(const QPoint& position);
  void DropOnCategory(const QPoint& position);
  void EndListDrag();
  // SetDragIcon: a drag of documents shows the drag icon of the file mode
  // (picDragIcon); in the presentation mode it keeps Qt's own. An error is
  // shown, critical.
  void SetDragIcon(QDrag& drag);

  // ---- Phone sync ----
  void cmdSync_Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class Lists;
  class ImportSide;
  class RenameDelegate;

  void StartDrag();
  bool FilterEvent(QObject* watched, QEvent* event);
  // The window's importer, made on first use.
  FileImporter& Importer();

  SaveForm& form_;
  std::unique_ptr<Lists> lists_;
  std::unique_ptr<ImportSide> importSide_;
  std::unique_ptr<FileImporter> importer_;
  bool activated_ = false;
  QPoint pressedAt_;
};

}  // namespace brevora::frontend::forms
