// SaveForm: the link settings of the selected file ("Linked File..." and the
// tool bar's link button) and the presentation image options button.
#include <QPushButton>
#include <QTreeWidget>

#include "frontend/file_link_edit.h"
#include "frontend/forms/frm_save.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"
#include "slides/dialog/frm_slidr_options.h"

namespace brevora::frontend::forms {

void SaveForm::EditFileProperties() {
  frmSave& w = window();
  const int16_t mode = FileMode();
  if (mode < 0 || mode > 2) return;
  QTreeWidgetItem* row = w.lstWorkbook->currentItem();
  if (!row || !row->isSelected()) return;  // no file chosen: nothing to edit
  try {
    if (!owner_) RaiseRuntimeError(91);
    const std::string path =
        ListRowPath(Home(), CurrentCategory(), text::Utf8ToCp(row->text(0).toStdString()), mode);
    const std::optional<LinkColumns> columns =
        EditFileLink(*owner_->Session(), mode, path, PropertiesDialog());
    if (!columns) return;
    row->setText(2, QString::fromStdString(text::CpToUtf8(columns->linkedFile)));
    row->setText(3, QString::fromStdString(text::CpToUtf8(columns->syncText)));
  } catch (...) {
    services::ShowMessage({CurrentError().description(), "Brevora", services::MsgButtons::Ok,
                           services::MsgIcon::Critical});
  }
}

void SaveForm::mnuFileLinked_Click() { EditFileProperties(); }

void SaveForm::cmdOptions_Click() {
  slides::dialog::frmSlidr_Options options(&window());
  options.exec();
}

}  // namespace brevora::frontend::forms
