#pragma once
// frmWait: the small modeless "please wait" window, captioned "Brevora", with
// one label lblMessage. One per thread: WaitForm::Instance() is the thread's
// own, made on first use; showing it loads it, hiding it unloads it.
#include <QDialog>
#include <string>

#include "frontend/forms/qt_form.h"

class QLabel;

namespace brevora::frontend::forms {

class frmWait : public QDialog {
  Q_OBJECT

 public:
  explicit frmWait(QWidget* parent = nullptr);
  QLabel* lblMessage;
};

class WaitForm : public QtForm {
 public:
  WaitForm();
  // The thread's instance.
  static WaitForm& Instance();

  // Shows the window modeless (loading it when needed) with `text` (code page).
  void ShowText(const std::string& text);
  // The label's text while loaded ("" otherwise).
  std::string Text() const;

 protected:
  QWidget* MakeWindow() override;
  void FormLoad() override;
};

}  // namespace brevora::frontend::forms
