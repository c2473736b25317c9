#pragma once
// frmAbout: the about box of the add-ins (TabrelPC.DoAbout): the module's
// product name and version, its legal texts and the version of the add-in
// macros of the application object that opened it (its owner, "oTabrelPC").
// OK, Escape and the close box close it.
#include <QDialog>

#include "frontend/forms/qt_form.h"

class QLabel;
class QPushButton;

namespace brevora::frontend::forms {

// The window: its controls under their own names.
class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);

  QLabel* lblTitle;
  QLabel* lblCopyright;
  QLabel* lbltrademark;
  QLabel* lblMacroVersion;
  QPushButton* cmdOK;

 signals:
  void cmdOK_Click();
  void Form_Activate();

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override { emit cmdOK_Click(); }
};

// The form: the owner, and what loading, activating and OK do.
class AboutForm : public QtForm {
 public:
  AboutForm();

 protected:
  QWidget* MakeWindow() override;
  void FormLoad() override;
  Variant InvokeMember(std::string_view name, CallKind kind, Args args) override;

 private:
  frmAbout* window() const;

  Ref<Dispatch> owner_;
};

}  // namespace brevora::frontend::forms
