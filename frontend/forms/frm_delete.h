#pragma once
// frmDelete: the modal "Delete Category" dialog that asks what becomes of the
// category's documents: option 0 (selected when it opens) copies them to
// "Unfiled" first, option 1 deletes them with the category. The caller shows
// it through Utility::ShowDialog and, unless gDialogCancelled is set
// afterwards, reads "DeleteOption" (0 or 1). Delete is not the default button;
// Cancel, Escape and the close box cancel; Help opens gHelpFile at context 719.
#include <QDialog>
#include <array>

#include "frontend/forms/qt_form.h"

class QGroupBox;
class QPushButton;
class QRadioButton;

namespace brevora::frontend::forms {

inline constexpr uint32_t kDeleteCategoryHelpContext = 719;

class frmDelete : public QDialog {
  Q_OBJECT

 public:
  explicit frmDelete(QWidget* parent = nullptr);

  QGroupBox* fraContents;
  std::array<QRadioButton*, 2> obDelOption;
  std::array<QPushButton*, 3> cmdOkCancel;  // 0 Delete, 1 Cancel, 2 Help

 signals:
  void cmdOkCancel_Click(int index);

 protected:
  void reject() override { emit cmdOkCancel_Click(1); }
};

class DeleteForm : public QtForm {
 public:
  DeleteForm();

 protected:
  QWidget* MakeWindow() override;
  void FormLoad() override;
  void QueryClose() override { Cancel(); }
  Variant InvokeMember(std::string_view name, CallKind kind, Args args) override;

 private:
  frmDelete& window() const;
  void Cancel();

  int16_t deleteOption_ = 0;
};

}  // namespace brevora::frontend::forms
