#pragma once
// frmNewCategory: the modal dialog in which a category is named, for a new one
// ("New Category") or a rename ("Rename Category", opened with the old name).
// The caller sets "oTabrelPC" (whose home folder holds the categories) and
// "Category", shows it through Utility::ShowDialog and, unless
// gDialogCancelled is set afterwards, reads "Category", also after the dialog
// has unloaded. txtCategory takes at most 15 characters and drops the typed
// characters / \ : * ? " < > |; OK checks the name with the name validator and
// refuses a name the home folder already holds (in any case; a rename may
// change only the letter case), keeping the dialog open. Cancel, Escape and
// the close box cancel; Help opens gHelpFile at context 727.
#include <QDialog>
#include <array>
#include <string>

#include "frontend/forms/qt_form.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace brevora::frontend::forms {

inline constexpr uint32_t kNewCategoryHelpContext = 727;

// The window: its controls under their own names.
class frmNewCategory : public QDialog {
  Q_OBJECT

 public:
  explicit frmNewCategory(QWidget* parent = nullptr);

  QLabel* lblCategory;
  QLineEdit* txtCategory;
  std::array<QPushButton*, 3> cmdOkCancel;  // 0 OK, 1 Cancel, 2 Help

 signals:
  void txtCategory_Change();
  void txtCategory_GotFocus();
  void cmdOkCancel_Click(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override { emit cmdOkCancel_Click(1); }
};

// The form: the Category and oTabrelPC properties and what the events do.
class NewCategoryForm : public QtForm {
 public:
  NewCategoryForm();

 protected:
  QWidget* MakeWindow() override;
  void FormLoad() override;
  void FormUnload() override { owner_.Reset(); }
  void QueryClose() override { Cancel(); }
  Variant InvokeMember(std::string_view name, CallKind kind, Args args) override;

 private:
  frmNewCategory& window() const;
  void Ok();
  void Cancel();

  std::string category_;  // code page
  std::string original_;  // the name the dialog opened with
  Ref<Dispatch> owner_;
};

}  // namespace brevora::frontend::forms
