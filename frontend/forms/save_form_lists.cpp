// SaveForm: the category list, the file list and the refresh of the window.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>

#include "frontend/forms/form_controls.h"
#include "frontend/forms/frm_save.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

// The row icons, made once: a file, and a file linked to an Office file.
const QIcon& RowIcon(int icon) {
  static const QIcon file = QApplication::style()->standardIcon(QStyle::SP_FileIcon);
  static const QIcon linked = QApplication::style()->standardIcon(QStyle::SP_FileLinkIcon);
  return icon == 3 || icon == 4 || icon == 6 ? linked : file;
}

// Wraps what fails under a list-filling step: 32760 passes on, anything else
// becomes 32760 "frmSave.<step>" "Error in <step>." CR LF description.
template <class F>
void Filling(const char* step, F&& body) {
  RunWrapped(std::string("frmSave.") + step, std::string("Error in ") + step + ".", [&] {
    body();
    return 0;
  });
}

}  // namespace

void SaveForm::InitCategories() {
  Filling("InitCategories", [&] {
    frmSave& w = window();
    {
      const QSignalBlocker quiet(w.lstCategory);
      w.lstCategory->clear();
    }
    categoryRowHeight = w.lstCategory->fontMetrics().height() + 2;
    const std::vector<std::string> categories = ListCategories(Home());
    {
      const QSignalBlocker quiet(w.lstCategory);
      for (const std::string& category : categories) w.lstCategory->addItem(ToQt(category));
    }
    if (w.lstCategory->count() > 0) {
      w.lstCategory->setEnabled(true);
      {
        const QSignalBlocker quiet(w.lstCategory);
        w.lstCategory->setCurrentRow(0);
      }
      lstCategory_Click();
      w.mnuCategory[1]->setEnabled(true);
      w.mnuCategory[2]->setEnabled(true);
      return;
    }
    w.lblName->setEnabled(false);
    w.lstCategory->setEnabled(false);
    w.lstWorkbook->setEnabled(false);
    w.lstWorkbook->clear();
    w.txtWorkbook->clear();
    w.txtWorkbook->setEnabled(false);
    w.mnuCategory[1]->setEnabled(false);
    w.mnuCategory[2]->setEnabled(false);
    if (initializing_) return;
    const services::MsgResult answer = services::ShowMessage(
        {"Workbooks are grouped in categories.  You do not have any categories defined.  Do you "
         "want to create a "
         "new category now?",
         "Brevora", services::MsgButtons::YesNo, services::MsgIcon::Question});
    if (answer == services::MsgResult::Yes) mnuCategory_Click(0);
  });
}

void SaveForm::InitWorkbooks(const std::string& category, bool append) {
  Filling("InitWorkbooks", [&] {
    frmSave& w = window();
    if (category == kAllCategories) {
      ShowAllCategories();
      return;
    }
    if (!append) w.lstWorkbook->clear();
    if (category.find_first_not_of(' ') == std::string::npos) {
      services::ShowMessage(
          {"Category is blank", "", services::MsgButtons::Ok, services::MsgIcon::None});
      w.lstWorkbook->setEnabled(false);
      w.txtWorkbook->setEnabled(false);
      w.cmdOkCancel[0]->setEnabled(false);
      return;
    }
    w.lblName->setEnabled(true);
    w.lstWorkbook->setEnabled(true);
    if (role_ == kSave) {
      w.txtWorkbook->setEnabled(true);
      w.txtWorkbook->setVisible(true);
      w.lblName->setVisible(true);
    } else {
      w.txtWorkbook->clear();
    }

    const std::vector<DocumentRow> rows =
        lister_.List(owner_->Session(), Home(), category, FileMode(), standAlone_);
    // One batch: the list lays itself out once for all the rows.
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (const DocumentRow& row : rows) {
      auto* item = new QTreeWidgetItem;
      // Renamed in place (save_form_commands.cpp). Set before the row is in
      // the list: a change of a listed row makes the list look for its row.
      item->setFlags(item->flags() | Qt::ItemIsEditable);
      item->setText(0, ToQt(row.name));
      if (standAlone_) {
        item->setText(1, ToQt(row.size));
        item->setText(2, ToQt(row.link));
        item->setText(3, ToQt(row.syncMethod));
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        item->setData(0, Qt::UserRole, ToQt(row.category));
        item->setIcon(0, RowIcon(row.icon));
      }
      items.push_back(item);
    }
    {
      const QSignalBlocker quiet(w.lstWorkbook);
      w.lstWorkbook->addTopLevelItems(items);
    }

    if (w.lstWorkbook->topLevelItemCount() > 0) {
      {
        const QSignalBlocker quiet(w.lstWorkbook);
        w.lstWorkbook->setCurrentItem(w.lstWorkbook->topLevelItem(0));
      }
      if (w.lstWorkbook->currentItem()) w.cmdOkCancel[0]->setEnabled(true);
    } else {
      w.cmdOkCancel[0]->setEnabled(false);
      w.btnLink->setEnabled(false);
      w.btnDelete->setEnabled(false);
    }
  });
}

void SaveForm::ShowAllCategories() {
  frmSave& w = window();
  w.lstWorkbook->clear();
  for (int i = 0; i < w.lstCategory->count(); ++i) {
    const std::string category = FromQt(w.lstCategory->item(i)->text());
    if (category != kAllCategories) InitWorkbooks(category, true);
  }
}

std::string SaveForm::CurrentCategory() const {
  try {
    const QWidget* widget = Window();
    if (!widget) return {};
    const QListWidget* list = static_cast<const frmSave*>(widget)->lstCategory;
    const QListWidgetItem* item = list->currentRow() < 0 ? nullptr : list->item(list->currentRow());
    return item ? FromQt(item->text()) : std::string();
  } catch (...) {
    return {};
  }
}

void SaveForm::lstCategory_Click() {
  if (listDragFlag) return;
  frmSave& w = window();
  if (w.lstCategory->currentRow() < 0) {
    InitWorkbooks("", false);
    for (QAction* entry : w.mnuCategory) entry->setEnabled(false);
  } else {
    InitWorkbooks(CurrentCategory(), false);
  }
  const bool unfiled = CurrentCategory() == "Unfiled";
  w.mnuCategory[0]->setEnabled(true);
  w.mnuCategory[1]->setEnabled(!unfiled);
  w.mnuCategory[2]->setEnabled(!unfiled);
  if (w.lstWorkbook->topLevelItemCount() > 0) {
    {
      const QSignalBlocker quiet(w.lstWorkbook);
      w.lstWorkbook->setCurrentItem(w.lstWorkbook->topLevelItem(0));
    }
    lstWorkbook_ItemClick(w.lstWorkbook->currentItem());
  }
}

void SaveForm::Refresh1() {
  try {
    lstCategory_Click();
  } catch (...) {
    // Callers refresh every window they know of; one that can't is left as it is.
  }
}

void SaveForm::btnRefresh_Click() {
  bool failed = false;
  try {
    lstCategory_Click();
  } catch (...) {
    failed = true;
  }
  try {
    window().lstCategory->setFocus();
  } catch (...) {
    // No focus to give: the refresh itself is what counts.
  }
  if (failed) {
    const std::string title = owner_ ? owner_->ApplicationTitle() : std::string("Brevora Desktop");
    services::ShowMessage({"Could not refresh this window.  Please close and reopen " + title + ".",
                           "Brevora", services::MsgButtons::Ok, services::MsgIcon::Information});
  }
}

void SaveForm::txtWorkbook_Change() {
  frmSave& w = window();
  if (!w.txtWorkbook->isVisible() && !w.txtWorkbook->isVisibleTo(&w)) return;
  const bool named = !w.txtWorkbook->text().trimmed().isEmpty();
  w.cmdOkCancel[0]->setEnabled(w.lstCategory->currentRow() >= 0 && named);
}

}  // namespace brevora::frontend::forms
