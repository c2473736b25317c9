// SaveForm: OK and Cancel in the three roles, the handlers that lead to them
// (file list, Open menu entry, command tool bar), the folder view, the wait
// window and SelectFileName.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>

#include "core/file_mode.h"
#include "core/module_state.h"
#include "core/session.h"
#include "doc/sdk_document.h"
#include "frontend/file_choice.h"
#include "frontend/forms/form_controls.h"
#include "frontend/forms/frm_save.h"
#include "frontend/forms/frm_wait.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/folder_view.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"
#include "sheet/sdk.h"
#include "slides/sdk_presentation.h"

namespace brevora::frontend::forms {
namespace {

// The hourglass while a file opens; the normal pointer on every path out.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

void Information(const std::string& text) {
  services::ShowMessage(
      {text, "Brevora", services::MsgButtons::Ok, services::MsgIcon::Information});
}

}  // namespace

void SaveForm::cmdOkCancel_Click(int index) {
  if (index == 1) {
    fileName_.clear();
    openAsTemplate_ = false;
    core::Module().gDialogCancelled = true;
    Unload();
    return;
  }
  if (index != 0) return;
  try {
    frmSave& w = window();
    if (!w.cmdOkCancel[0]->isEnabled()) return;
    const std::string typed = FromQt(w.txtWorkbook->text());
    if (typed.find_first_not_of(' ') == std::string::npos) return;
    const int16_t mode = FileMode();
    // A typed or pasted name must stay a name inside its category.
    if (const std::optional<std::string> problem =
            NameProblem(typed, mode, w.txtWorkbook->maxLength())) {
      Information(*problem);
      w.txtWorkbook->setFocus();
      return;
    }
    core::Module().gDialogCancelled = false;
    const std::string home = Home();
    std::string path;
    if (SaveMode()) {
      const std::optional<std::string> chosen = ConfirmSave(home, CurrentCategory(), typed, mode);
      if (!chosen) return;  // the user keeps the dialog
      path = *chosen;
    } else {
      path = OpenPath(home, CurrentCategory(), typed, mode);
    }
    fileName_ = path;
    openAsTemplate_ = w.cbxOpenAsTemplate->isChecked();
    if (!standAlone_) {
      Unload();
      return;
    }
    OpenInOfficeApplication();
  } catch (...) {
    Information(CurrentError().description());
  }
}

void SaveForm::OpenInOfficeApplication() {
  frmSave& w = window();
  const int16_t mode = FileMode();
  const WaitCursor hourglass;
  static const char* const kWait[] = {"Please wait.  Opening spreadsheet...",
                                      "Please wait.  Opening document...",
                                      "Please wait.  Opening presentation..."};
  static const char* const kCopy[] = {"Tabulyn", "Scrivane", "Slidora"};
  if (mode < 0 || mode > 2) {
    HideWait(false);
    return;
  }
  ShowWait(kWait[mode], false);
  struct WaitGuard {
    SaveForm& form;
    ~WaitGuard() { form.HideWait(false); }
  } waitGuard{*this};

  QTreeWidgetItem* row = w.lstWorkbook->currentItem();
  if (!row) RaiseRuntimeError(91);  // no file chosen in the list
  const std::string link = w.lstWorkbook->columnCount() > 2 ? FromQt(row->text(2)) : std::string();
  const std::string user = FromQt(w.cboUser->currentText());
  const std::string category = CurrentCategory();
  const std::string name = FromQt(w.txtWorkbook->text());
  const Ref<core::Session> session = owner_->Session();
  const std::optional<std::string> linked = link.empty() ? std::nullopt : fs::FindFileNoCase(link);
  const bool openLinked = linked.has_value();
  if (!link.empty() && !openLinked) {
    services::ShowMessage({std::string("Linked file does not exist on desktop.  Opening ") +
                               kCopy[mode] + " copy instead.",
                           "", services::MsgButtons::Ok, services::MsgIcon::None});
  }
  if (mode == 0) {
    const Ref<sheet::SDK> converter = MakeRef<sheet::SDK>();
    converter->SetSession(session);
    openLinked ? converter->OpenXLSWorkbook(*linked)
               : converter->OpenWorkbook(user, category, name);
  } else if (mode == 1) {
    const Ref<doc::SDK_Document> converter = MakeRef<doc::SDK_Document>();
    converter->SetSession(session);
    openLinked ? converter->OpenDOCDocument(*linked)
               : converter->OpenDocument(user, category, name);
  } else {
    const Ref<slides::SDK_Presentation> converter = MakeRef<slides::SDK_Presentation>();
    converter->SetSession(session);
    openLinked ? converter->OpenPPTPresentation(*linked)
               : converter->OpenPresentation(user, category, name);
  }
}

void SaveForm::lstWorkbook_ItemClick(QTreeWidgetItem* item) {
  frmSave& w = window();
  if (!item || !w.lstWorkbook->currentItem()) return;
  w.txtWorkbook->setText(item->text(0));
  w.btnLink->setEnabled(w.lstWorkbook->columnCount() > 2 && !item->text(2).isEmpty());
  w.btnDelete->setEnabled(true);
}

void SaveForm::lstWorkbook_SelectionChanged() {
  frmSave& w = window();
  QTreeWidgetItem* current = w.lstWorkbook->currentItem();
  if (current && current->isSelected()) {
    lstWorkbook_ItemClick(current);  // the current row chosen again
  } else if (w.lstWorkbook->selectedItems().isEmpty()) {
    // No file chosen (a click beside the rows): no file command to offer.
    w.btnLink->setEnabled(false);
    w.btnDelete->setEnabled(false);
  }
}

void SaveForm::lstWorkbook_DblClick() {
  if (window().lstWorkbook->currentItem()) cmdOkCancel_Click(0);
}

void SaveForm::Toolbar_ButtonClick(const std::string& key) {
  const int16_t mode = FileMode();
  if (key == "btnLink") return EditFileProperties();
  if (key == "btnAdd") return AddExistingFile();
  if (key == "btnDelete") return DeleteCommand();
  if ((key == "btnWord" && mode == 1) || (key == "btnExcel" && mode == 0) ||
      (key == "btnPowerPoint" && mode == 2)) {
    cmdOkCancel_Click(0);
  }
}

void SaveForm::cmdExplore_Click() { services::ShowFolder(fs::JoinPath(Home(), CurrentCategory())); }

void SaveForm::ShowWait(const std::string& text, bool force) {
  if (!force && standAlone_) return;
  WaitForm::Instance().ShowText(text);
}

void SaveForm::HideWait(bool force) {
  if (!force && standAlone_) return;
  WaitForm::Instance().Unload();
}

void SaveForm::SelectFileName() {
  fileName_.clear();
  // While the window is built its lists wait for the user box: the user it
  // chooses may be the first current user of the Session, and there is no
  // home folder before one.
  if (initializing_ && usersPending_) return;
  InitCategories();
}

void SaveForm::PreselectRequestedFile() {
  const std::string requested = std::move(requestedFile_);
  requestedFile_.clear();
  if (requested.empty() || !owner_) return;
  const std::optional<Preselection> chosen = PreselectionOf(requested, Home(), FileMode());
  if (!chosen) return;
  frmSave& w = window();
  const QString category = QString::fromStdString(text::CpToUtf8(chosen->category));
  for (int i = 0; i < w.lstCategory->count(); ++i) {
    if (w.lstCategory->item(i)->text().compare(category, Qt::CaseInsensitive) != 0) continue;
    {
      const QSignalBlocker quiet(w.lstCategory);
      w.lstCategory->setCurrentRow(i);
    }
    lstCategory_Click();
    if (SaveMode()) {
      const QString name = QString::fromStdString(text::CpToUtf8(chosen->name));
      const QList<QTreeWidgetItem*> found = w.lstWorkbook->findItems(name, Qt::MatchFixedString, 0);
      if (!found.isEmpty()) {
        const QSignalBlocker quiet(w.lstWorkbook);
        w.lstWorkbook->setCurrentItem(found.front());
      }
      w.txtWorkbook->setText(name);
    }
    return;
  }
}

}  // namespace brevora::frontend::forms
