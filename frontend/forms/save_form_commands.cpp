#include "frontend/forms/save_form_commands.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <optional>
#include <vector>

#include "core/file_mode.h"
#include "core/session.h"
#include "frontend/category_commands.h"
#include "frontend/category_listing.h"
#include "frontend/document_commands.h"
#include "frontend/file_import.h"
#include "frontend/forms/edit_commands.h"
#include "frontend/forms/form_controls.h"
#include "frontend/forms/frm_save.h"
#include "frontend/forms/window_drawing.h"
#include "frontend/phone_sync.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/services/file_dialog.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"
#include "slides/dialog/frm_slidr_options.h"

namespace brevora::frontend::forms {
namespace {

constexpr const char* kNoFileDialog =
    "No file dialog can be shown here.  To add a file, drop it on the file list or start brevora "
    "with its name.";

TabrelPC& App(SaveForm& form) {
  if (!form.Owner()) RaiseRuntimeError(91);
  return *form.Owner();
}

}  // namespace

// The window's two lists as the Qt-free commands see them.
class SaveFormCommands::Lists : public CategoryList {
 public:
  explicit Lists(SaveForm& form) : documents(form), form_(form) {}

  // ---- lstCategory ----
  int Count() const override { return CategoryCount(); }
  int SelectedIndex() const override { return Categories().currentRow(); }
  std::string Text(int row) const override { return FromQt(Categories().item(row)->text()); }
  void Select(int row) override {
    {
      const QSignalBlocker quiet(&Categories());
      Categories().setCurrentRow(row);
    }
    form_.lstCategory_Click();
  }
  void SetText(int row, const std::string& text) override {
    Categories().item(row)->setText(ToQt(text));
  }
  void RemoveRow(int row) override {
    const QSignalBlocker quiet(&Categories());
    delete Categories().takeItem(row);
    Categories().setCurrentRow(-1);
  }
  void InitCategories() override { form_.InitCategories(); }
  void InitWorkbooks(const std::string& category, bool append) override {
    form_.InitWorkbooks(category, append);
  }
  void PressRefresh() override { form_.window().btnRefresh->click(); }
  void EnableRenameAndDelete(bool enabled) override {
    form_.window().mnuCategory[1]->setEnabled(enabled);
    form_.window().mnuCategory[2]->setEnabled(enabled);
  }
  void NameBoxChanged() override { form_.txtWorkbook_Change(); }

  // ---- lstWorkbook ----
  struct Documents : DocumentList {
    explicit Documents(SaveForm& form) : form(form) {}
    QTreeWidget& Tree() const { return *form.window().lstWorkbook; }
    int Count() const override { return Tree().topLevelItemCount(); }
    int SelectedIndex() const override {
      QTreeWidgetItem* item = Tree().currentItem();
      return item && item->isSelected() ? Tree().indexOfTopLevelItem(item) : -1;
    }
    std::string Text(int row) const override { return FromQt(Tree().topLevelItem(row)->text(0)); }
    bool IsSelected(int row) const override { return Tree().topLevelItem(row)->isSelected(); }
    void RemoveRow(int row) override {
      {
        const QSignalBlocker quiet(&Tree());
        delete Tree().takeTopLevelItem(row);
      }
      // An emptied list offers no file command, as a list filled empty.
      if (Count() == 0) {
        form.window().btnLink->setEnabled(false);
        form.window().btnDelete->setEnabled(false);
      }
    }
    void Select(int row) override {
      QTreeWidgetItem* item = Tree().topLevelItem(row);
      {
        const QSignalBlocker quiet(&Tree());
        Tree().setCurrentItem(item);
      }
      form.lstWorkbook_ItemClick(item);
    }
    SaveForm& form;
  };
  Documents documents;

 private:
  QListWidget& Categories() const { return *form_.window().lstCategory; }
  int CategoryCount() const { return Categories().count(); }
  SaveForm& form_;
};

// What an import needs of the window.
class SaveFormCommands::ImportSide : public ImportWindow {
 public:
  explicit ImportSide(SaveForm& form) : form_(form) {}
  ~ImportSide() override { SetBusy(false); }

  int FileType(const std::string& path) override { return GetFileType(path); }
  void SwitchFileMode(int button) override {
    form_.window().fileModeButtons[static_cast<size_t>(button - 1)]->setChecked(true);
    form_.Toolbar1_ButtonClick(static_cast<int16_t>(button));
  }
  std::string CurrentCategory() override { return form_.CurrentCategory(); }
  void SetStatusText(const std::string& text) override {
    form_.window().StatusBar1->showMessage(ToQt(text));
  }
  void ShowWait(const std::string& text, bool force) override { form_.ShowWait(text, force); }
  void HideWait(bool force) override { form_.HideWait(force); }
  void SetEnabled(bool enabled) override { form_.window().setEnabled(enabled); }
  void SetBusy(bool busy) override {
    if (busy == busy_) return;
    busy_ = busy;
    if (busy) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
      QApplication::restoreOverrideCursor();
    }
  }
  std::optional<bool> PresentationOptions(const std::string& pptPath) override {
    slides::dialog::frmSlidr_Options options(&form_.window());
    options.SetShowLinking(true);
    options.SetLinkFile(pptPath);
    options.exec();
    if (options.Cancelled()) return std::nullopt;
    return options.FileLinked();
  }
  void RefillFiles(const std::string& category, const std::string& name) override {
    form_.InitWorkbooks(category, false);
    SelectListItem(*form_.window().lstWorkbook, name);
  }

 private:
  SaveForm& form_;
  bool busy_ = false;
};

// The in-place rename of a document's label (column 1 only): refused while
// documents are dragged; the typed name is checked and the file renamed on
// commit, the label changing only when the file did.
class SaveFormCommands::RenameDelegate : public QStyledItemDelegate {
 public:
  RenameDelegate(SaveForm& form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    if (index.column() != 0 || form_.listDragFlag || !form_.StandAlone()) return nullptr;
    auto* editor =
        qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
    if (editor) editor->setMaxLength(255);  // the maximum is checked on commit, with its message
    return editor;
  }
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    auto* line = qobject_cast<QLineEdit*>(editor);
    if (!line) return;
    const std::string oldText = FromQt(index.data().toString());
    const std::string typed = FromQt(line->text());
    LabelEdit edit;
    HandleFormEvent(
        form_, [&] { edit = RenameDocument(App(form_), form_.CurrentCategory(), oldText, typed); });
    if (edit.accepted) model->setData(index, ToQt(edit.label));
  }

 private:
  SaveForm& form_;
};

SaveFormCommands::SaveFormCommands(SaveForm& form)
    : form_(form),
      lists_(std::make_unique<Lists>(form)),
      importSide_(std::make_unique<ImportSide>(form)) {}

SaveFormCommands::~SaveFormCommands() = default;

void SaveFormCommands::Connect(frmSave& w) {
  QObject::connect(w.mnuFileAdd, &QAction::triggered, this, [this] {
    if (form_.IsLoaded()) AddExistingFile();
  });
  QObject::connect(w.mnuFileDelete, &QAction::triggered, this,
                   [this] { HandleFormEvent(form_, [this] { DeleteCommand(); }); });
  QObject::connect(w.mnuCut, &QAction::triggered, this, [] { EditCut(); });
  QObject::connect(w.mnuCopy, &QAction::triggered, this, [] { EditCopy(); });
  QObject::connect(w.mnuPaste, &QAction::triggered, this, [] { EditPaste(); });
  QObject::connect(w.cmdSync, &QPushButton::clicked, this,
                   [this] { HandleFormEvent(form_, [this] { cmdSync_Click(); }); });

  // The rows are made editable by the lists' code (InitWorkbooks); their names
  // are edited in place through this delegate.
  w.lstWorkbook->setItemDelegate(new RenameDelegate(form_, w.lstWorkbook));
  w.lstWorkbook->setEditTriggers(QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::SelectedClicked);
  w.lstWorkbook->setAcceptDrops(true);
  w.lstWorkbook->viewport()->setAcceptDrops(true);
  w.lstCategory->setAcceptDrops(true);
  w.lstCategory->viewport()->setAcceptDrops(true);
  for (QObject* watched :
       {static_cast<QObject*>(&w), static_cast<QObject*>(w.lstWorkbook),
        static_cast<QObject*>(w.lstWorkbook->viewport()), static_cast<QObject*>(w.lstCategory),
        static_cast<QObject*>(w.lstCategory->viewport())}) {
    watched->installEventFilter(this);
  }
}

bool SaveFormCommands::eventFilter(QObject* watched, QEvent* event) {
  if (!form_.Window()) return false;  // the window is going
  try {
    return FilterEvent(watched, event);
  } catch (...) {
    ShowCritical(CurrentError().description());
    return false;
  }
}

bool SaveFormCommands::FilterEvent(QObject* watched, QEvent* event) {
  frmSave& w = form_.window();
  const QEvent::Type type = event->type();
  if (watched == &w) {
    if (type == QEvent::WindowActivate || (type == QEvent::Show && !activated_)) Form_Activate();
    return false;
  }
  if ((watched == w.lstWorkbook || watched == w.lstCategory) && type == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (watched == w.lstWorkbook) lstWorkbook_KeyUp(key);
    if (watched == w.lstCategory) lstCategory_KeyUp(key);
    return false;
  }
  if (watched == w.lstWorkbook->viewport()) {
    switch (type) {
      case QEvent::MouseButtonPress:
        pressedAt_ = static_cast<QMouseEvent*>(event)->position().toPoint();
        return false;
      case QEvent::MouseMove: {
        auto* move = static_cast<QMouseEvent*>(event);
        if ((move->buttons() & Qt::LeftButton) &&
            (move->position().toPoint() - pressedAt_).manhattanLength() >=
                QApplication::startDragDistance()) {
          StartDrag();
        }
        return false;
      }
      case QEvent::DragEnter:
      case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        // Files from outside come in as local file addresses; the window's own
        // drag of documents ends here too and only ends the drag.
        if (drag->mimeData()->hasUrls() || drag->mimeData()->hasFormat(kDocumentDragMime)) {
          drag->acceptProposedAction();
          return true;
        }
        return false;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (drop->mimeData()->hasFormat(kDocumentDragMime)) {
          // Documents dragged back onto their own list: nothing moves, and
          // the source category is selected again.
          EndListDrag();
        } else {
          std::vector<std::string> paths;
          for (const QUrl& url : drop->mimeData()->urls()) {
            if (!url.isLocalFile()) continue;
            try {
              paths.push_back(fs::SystemPath(url.toLocalFile().toStdString()));
            } catch (...) {
              ShowCritical(CurrentError().description());
            }
          }
          DropFiles(paths);
        }
        drop->acceptProposedAction();
        return true;
      }
      default:
        return false;
    }
  }
  if (watched == w.lstCategory->viewport()) {
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
    auto* drag = static_cast<QDropEvent*>(event);
    if (!drag->mimeData()->hasFormat(kDocumentDragMime)) return false;
    if (type == QEvent::Drop) {
      DropOnCategory(drag->position().toPoint());
    } else {
      DragOverCategory(drag->position().toPoint());
    }
    drag->acceptProposedAction();
    return true;
  }
  return false;
}

// ---- Import ----

FileImporter& SaveFormCommands::Importer() {
  if (!importer_) importer_ = std::make_unique<FileImporter>(App(form_), *importSide_);
  return *importer_;
}

void SaveFormCommands::BringFileIn(const std::string& path) { Importer().BringFileIn(path); }

void SaveFormCommands::AddExistingFile() {
  static const struct {
    const char* title;
    const char* filter;
  } kDialogs[] = {
      {"Add existing XLS or TBR spreadsheet to user", "Spreadsheets (*.xls;*.tbr)|*.xls;*.tbr"},
      {"Add existing DOC, SCV, TXT, or PDB(DOC format) document to user",
       "Documents (*.doc;*.txt;*.pdb;*.scv;*.htm;*.html)|*.doc;*.txt;*.pdb;*.scv;*.htm;*.html"},
      {"Add existing presentation to user", "Presentations (*.ppt)|*.ppt"},
  };
  try {
    const int mode = App(form_).Session()->FileMode();
    if (mode >= 0 && mode <= 2) {
      if (dynamic_cast<services::NoFileDialog*>(services::CurrentFileDialog().get())) {
        // The default service has nowhere to show a dialog and would only cancel.
        services::ShowMessage(
            {kNoFileDialog, "Brevora", services::MsgButtons::Ok, services::MsgIcon::Information});
      } else if (const std::optional<std::string> file =
                     services::ShowFileDialog({services::FileDialogKind::Open, kDialogs[mode].title,
                                               "", kDialogs[mode].filter});
                 file && !file->empty()) {
        BringFileIn(*file);
      }
    }
  } catch (...) {
    // A cancel is no error; a dialog that failed (a chosen name the code page
    // can't hold) says why.
    ShowCritical(CurrentError().description());
  }
  if (QWidget* window = form_.Window()) window->setEnabled(true);
  importSide_->SetBusy(false);
}

void SaveFormCommands::DropFiles(const std::vector<std::string>& paths) {
  HandleEvent([&] {
    const FileImporter::Batch batch(Importer());
    for (const std::string& path : paths) BringFileIn(path);
    if (paths.empty()) return;
    const std::string last = fs::StripExtension(fs::FileNamePart(paths.back()));
    form_.InitWorkbooks(form_.CurrentCategory(), false);
    SelectListItem(*form_.window().lstWorkbook, last);
  });
  importSide_->SetBusy(false);
}

// ---- Categories ----

void SaveFormCommands::ManageCategory(int action) {
  HandleEvent(
      [&] { frontend::ManageCategory(App(form_), *lists_, static_cast<CategoryAction>(action)); });
}

void SaveFormCommands::lstCategory_KeyUp(int key) {
  if (key == Qt::Key_Insert) form_.mnuCategory_Click(0);
  if (key == Qt::Key_Delete && form_.window().lstCategory->currentRow() != -1)
    form_.mnuCategory_Click(2);
}

void SaveFormCommands::Form_Activate() {
  form_.listDragFlag = false;
  if (activated_) return;
  activated_ = true;
  frmSave& w = form_.window();
  w.raise();
  if (!form_.StandAlone() || w.lstCategory->count() != 0) return;
  const services::MsgResult answer =
      services::ShowMessage({"Files are grouped in categories.  You do not have any categories "
                             "defined.  Do you want to create a new "
                             "category now?",
                             "Tabulyn", services::MsgButtons::YesNo, services::MsgIcon::Question});
  if (answer == services::MsgResult::Yes) form_.mnuCategory_Click(0);
}

// ---- Files ----

void SaveFormCommands::DeleteCommand() {
  frontend::DeleteCommand(App(form_), form_.CurrentCategory(), lists_->documents);
}

void SaveFormCommands::lstWorkbook_KeyUp(int key) {
  if (key != Qt::Key_Delete || !form_.StandAlone()) return;
  HandleEvent([&] { DeleteKey(App(form_), form_.CurrentCategory(), lists_->documents); });
}

bool SaveFormCommands::BeginListDrag() {
  QTreeWidget& list = *form_.window().lstWorkbook;
  if (form_.listDragFlag || list.topLevelItemCount() == 0 || lists_->documents.SelectedIndex() < 0)
    return false;
  form_.listDragFlag = true;
  form_.listDragSourceIndex = static_cast<int16_t>(form_.window().lstCategory->currentRow());
  form_.listDragSourceCategory = form_.CurrentCategory();
  return true;
}

void SaveFormCommands::DragOverCategory(const QPoint& position) {
  if (!form_.listDragFlag) return;
  QListWidget& categories = *form_.window().lstCategory;
  // The row under the cursor, as the list itself finds it.
  const QModelIndex under = categories.indexAt(position);
  if (under.isValid()) categories.setCurrentRow(under.row());
}

void SaveFormCommands::DropOnCategory(const QPoint& position) {
  if (!form_.listDragFlag) return;
  DragOverCategory(position);
  QListWidget& categories = *form_.window().lstCategory;
  if (categories.currentRow() != form_.listDragSourceIndex) {
    const std::string target =
        categories.currentItem() ? FromQt(categories.currentItem()->text()) : std::string();
    HandleEvent([&] {
      MoveDocuments(App(form_), form_.listDragSourceCategory, target, lists_->documents);
    });
  }
  EndListDrag();
}

void SaveFormCommands::EndListDrag() {
  if (!form_.listDragFlag) return;
  form_.listDragFlag = false;
  // The source category again, with its files read afresh.
  if (form_.listDragSourceIndex >= 0 &&
      form_.listDragSourceIndex < form_.window().lstCategory->count()) {
    lists_->Select(form_.listDragSourceIndex);
  }
}

void SaveFormCommands::StartDrag() {
  if (!form_.StandAlone() || !BeginListDrag()) return;
  frmSave& w = form_.window();
  auto* drag = new QDrag(w.lstWorkbook);
  auto* data = new QMimeData;
  data->setData(kDocumentDragMime, QByteArray());
  drag->setMimeData(data);
  SetDragIcon(*drag);
  drag->exec(Qt::MoveAction);
  EndListDrag();
}

void SaveFormCommands::SetDragIcon(QDrag& drag) {
  HandleEvent([&] {
    const int mode = App(form_).Session()->FileMode();
    if (mode == core::kTabulynMode || mode == core::kScrivaneMode) {
      drag.setPixmap(form_.window().picDragIcon[static_cast<size_t>(mode)]->pixmap());
      drag.setHotSpot(QPoint(kDragIconSize / 2, kDragIconSize / 2));  // the page under the pointer
    }
  });
}

// ---- Phone sync ----

void SaveFormCommands::cmdSync_Click() {
  frmSave& w = form_.window();
  const auto sink = MakeRef<SyncProgressSink>([&w](const std::string& message, int16_t percentage) {
    w.StatusBar1->showMessage(ToQt(SyncProgressText(message, percentage)));
  });
  SynchronizePhone(FromQt(w.cboUser->currentText()), sink);
}

}  // namespace brevora::frontend::forms

namespace brevora::frontend::forms {

// The window's members of these topics.
void SaveForm::mnuCategory_Click(int index) { commands_->ManageCategory(index); }
void SaveForm::AddExistingFile() { commands_->AddExistingFile(); }
void SaveForm::DeleteCommand() { commands_->DeleteCommand(); }

}  // namespace brevora::frontend::forms
