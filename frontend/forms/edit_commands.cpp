#include "frontend/forms/edit_commands.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

enum class EditAction { Cut, Copy, Paste };

void Edit(EditAction action) {
  QWidget* focus = QApplication::focusWidget();
  if (auto* combo = qobject_cast<QComboBox*>(focus); combo && combo->lineEdit())
    focus = combo->lineEdit();
  if (auto* line = qobject_cast<QLineEdit*>(focus)) {
    if (action == EditAction::Cut) line->cut();
    if (action == EditAction::Copy) line->copy();
    if (action == EditAction::Paste) line->paste();
  } else if (auto* text = qobject_cast<QTextEdit*>(focus)) {
    if (action == EditAction::Cut) text->cut();
    if (action == EditAction::Copy) text->copy();
    if (action == EditAction::Paste) text->paste();
  } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
    if (action == EditAction::Cut) plain->cut();
    if (action == EditAction::Copy) plain->copy();
    if (action == EditAction::Paste) plain->paste();
  }
}

}  // namespace

void EditCut() { Edit(EditAction::Cut); }
void EditCopy() { Edit(EditAction::Copy); }
void EditPaste() { Edit(EditAction::Paste); }

void SelectListItem(QAbstractItemView& list, std::string_view text) {
  QAbstractItemModel* model = list.model();
  if (!model || text.empty() || model->rowCount() == 0) return;
  const QString wanted = QString::fromStdString(text::CpToUtf8(text));
  const QModelIndexList found =
      model->match(model->index(0, 0), Qt::DisplayRole, wanted, 1, Qt::MatchFixedString);
  if (found.isEmpty()) return;
  list.setCurrentIndex(found.first());
  list.scrollTo(found.first());
}

}  // namespace brevora::frontend::forms
