#include "frontend/forms/frm_wait.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "frontend/forms/form_utility.h"
#include "frontend/forms/qt_form_factory.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

const FormRegistration registration("frmWait", [] { return Ref<QtForm>(MakeRef<WaitForm>()); });

}  // namespace

frmWait::frmWait(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Brevora"));
  lblMessage = new QLabel;
  lblMessage->setObjectName(QStringLiteral("lblMessage"));
  lblMessage->setMinimumWidth(280);
  lblMessage->setWordWrap(true);
  lblMessage->setAlignment(Qt::AlignCenter);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(24, 18, 24, 18);
  layout->addWidget(lblMessage);
}

WaitForm::WaitForm() : QtForm("frmWait") {}

WaitForm& WaitForm::Instance() {
  thread_local Ref<WaitForm> instance = MakeRef<WaitForm>();
  return *instance;
}

QWidget* WaitForm::MakeWindow() { return new frmWait; }

void WaitForm::FormLoad() {
  auto& w = *static_cast<frmWait*>(Window());
  Utility::DoLocalizeControls(w);
  Utility::CenterForm(w);
}

void WaitForm::ShowText(const std::string& text) {
  Show(/*modal=*/false);
  auto& w = *static_cast<frmWait*>(Window());
  w.lblMessage->setText(QString::fromStdString(text::CpToUtf8(text)));
  w.adjustSize();
  Utility::CenterForm(w);
  QCoreApplication::processEvents();  // drawn before the long work begins
}

std::string WaitForm::Text() const {
  const QWidget* w = Window();
  return w ? text::Utf8ToCp(static_cast<const frmWait*>(w)->lblMessage->text().toStdString())
           : std::string();
}

}  // namespace brevora::frontend::forms
