#include "frontend/forms/frm_about.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "frontend/about_box.h"
#include "frontend/forms/form_controls.h"
#include "frontend/forms/form_utility.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/error/error.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

const FormRegistration registration("frmAbout", [] { return Ref<QtForm>(MakeRef<AboutForm>()); });

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("About Brevora Desktop"));
  lblTitle = Named<QLabel>("lblTitle");
  lblCopyright = Named<QLabel>("lblCopyright");
  lbltrademark = Named<QLabel>("lbltrademark");
  lblMacroVersion = Named<QLabel>("lblMacroVersion");
  cmdOK = Named<QPushButton>("cmdOK", QStringLiteral("OK"));
  cmdOK->setDefault(true);

  QFont title = lblTitle->font();
  title.setBold(true);
  title.setPointSizeF(title.pointSizeF() * 1.4);
  lblTitle->setFont(title);
  lbltrademark->setWordWrap(true);
  for (QLabel* label : {lblTitle, lblCopyright, lbltrademark, lblMacroVersion}) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);

  auto* form = new QVBoxLayout(this);
  form->setContentsMargins(24, 20, 24, 16);
  form->setSpacing(10);
  form->addWidget(lblTitle);
  form->addWidget(lblCopyright);
  form->addWidget(lbltrademark);
  form->addSpacing(6);
  form->addWidget(lblMacroVersion);
  form->addSpacing(6);
  form->addLayout(buttons);
  form->setSizeConstraint(QLayout::SetFixedSize);
  lbltrademark->setMinimumWidth(420);

  connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

void frmAbout::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  emit Form_Activate();
}

AboutForm::AboutForm() : QtForm("frmAbout") {}

frmAbout* AboutForm::window() const { return static_cast<frmAbout*>(Window()); }

QWidget* AboutForm::MakeWindow() {
  auto* window = new frmAbout;
  QObject::connect(window, &frmAbout::cmdOK_Click, [this] { Unload(); });
  QObject::connect(window, &frmAbout::Form_Activate, [window] {
    // Bring the about box itself to the front; a window manager may refuse.
    window->raise();
    window->activateWindow();
  });
  return window;
}

void AboutForm::FormLoad() {
  const Ref<TabrelPC> owner = RefCast<TabrelPC>(owner_);
  const AboutBoxTexts texts = AboutTexts(owner ? owner->MacroVersion() : std::string());
  frmAbout& box = *window();
  box.lblTitle->setText(ToQt(texts.title));
  box.lblCopyright->setText(ToQt(texts.copyright));
  box.lbltrademark->setText(ToQt(texts.trademark));
  box.lblMacroVersion->setText(ToQt(texts.macroVersion));
  Utility::CenterForm(box);
}

Variant AboutForm::InvokeMember(std::string_view name, CallKind kind, Args args) {
  if (text::LCase(name) == "otabrelpc") {
    if (kind == CallKind::Get || kind == CallKind::Method) return Variant(owner_);
    if (args.size() != 1) RaiseRuntimeError(450);
    owner_ = ObjectOrNothing<Dispatch>(args[0]);
    return Variant();
  }
  return QtForm::InvokeMember(name, kind, args);
}

}  // namespace brevora::frontend::forms
