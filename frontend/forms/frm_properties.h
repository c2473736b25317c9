#pragma once
// frmProperties: the modal "Edit Properties" dialog of a file's link. The
// caller sets "LinkTo" (the linked PC file, "" when not linked) and
// "SyncOption" (0..3), shows it through Utility::ShowDialog and, unless
// gDialogCancelled is set afterwards, reads both back (also after the dialog
// has unloaded). The four sync options are enabled only when the file was
// linked when the dialog opened; "Remove Link" empties the path and disables
// them. OK takes the typed path as it stands; Cancel, Escape and the close box
// cancel; Help opens gHelpFile at context 725.
#include <QDialog>
#include <array>
#include <string>

#include "frontend/forms/qt_form.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace brevora::frontend::forms {

inline constexpr uint32_t kPropertiesHelpContext = 725;

// The window: its controls under their own names.
class frmProperties : public QDialog {
  Q_OBJECT

 public:
  explicit frmProperties(QWidget* parent = nullptr);

  // Checks the option of that index when it is 0..3; other values do nothing.
  void CheckSyncOption(int index);
  // The index of the first checked option, 0 when none is.
  int CheckedSyncOption() const;
  // Enables or disables the four options and their frame.
  void EnableSyncOptions(bool enable);

  QLabel* Label1;
  QLineEdit* txtLinkTo;
  QGroupBox* fraSyncOpt;
  std::array<QRadioButton*, 4> optSyncOpt;
  QPushButton* cmdRemoveLink;
  std::array<QPushButton*, 3> cmdOkCancel;  // 0 OK, 1 Cancel, 2 Help

 signals:
  void cmdOkCancel_Click(int index);
  void cmdRemoveLink_Click();

 protected:
  void reject() override { emit cmdOkCancel_Click(1); }
};

// The form: LinkTo and SyncOption, and what its buttons do.
class PropertiesForm : public QtForm {
 public:
  PropertiesForm();

  const std::string& LinkTo() const { return linkTo_; }
  int16_t SyncOption() const { return syncOption_; }

 protected:
  QWidget* MakeWindow() override;
  void FormLoad() override;
  void QueryClose() override { Cancel(); }
  Variant InvokeMember(std::string_view name, CallKind kind, Args args) override;

 private:
  frmProperties& window() const;
  void cmdOkCancel_Click(int index);
  void cmdRemoveLink_Click();
  void Ok();
  void Cancel();

  std::string linkTo_;  // code page
  int16_t syncOption_ = 0;
};

}  // namespace brevora::frontend::forms
