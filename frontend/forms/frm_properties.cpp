#include "frontend/forms/frm_properties.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/module_state.h"
#include "frontend/forms/form_controls.h"
#include "frontend/forms/form_utility.h"
#include "frontend/forms/qt_form_factory.h"
#include "platform/automation/convert.h"
#include "platform/fs/paths.h"
#include "platform/services/help.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

const FormRegistration registration("frmProperties",
                                    [] { return Ref<QtForm>(MakeRef<PropertiesForm>()); });

// The Let and Get of a property of the form.
template <class Get, class Let>
Variant Property(CallKind kind, Args args, Get get, Let let) {
  if (kind == CallKind::Get || kind == CallKind::Method) {
    if (!args.empty()) RaiseRuntimeError(450);
    return get();
  }
  if (kind != CallKind::Let || args.size() != 1)
    RaiseRuntimeError(kind == CallKind::Set ? 438 : 450);
  let(args[0]);
  return Variant();
}

}  // namespace

frmProperties::frmProperties(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Edit Properties"));
  Label1 = Named<QLabel>("Label1", QStringLiteral("Linked to:"));
  txtLinkTo = Named<QLineEdit>("txtLinkTo");
  txtLinkTo->setMinimumWidth(360);
  Label1->setBuddy(txtLinkTo);
  fraSyncOpt =
      Named<QGroupBox>("fraSyncOpt", QStringLiteral("Linked file synchronization options:"));
  const char* names[] = {"optSyncOpt_0", "optSyncOpt_1", "optSyncOpt_2", "optSyncOpt_3"};
  const QString captions[] = {
      QStringLiteral("Synchronize"), QStringLiteral("Handheld changes update desktop document"),
      QStringLiteral("Desktop document changes update handheld"), QStringLiteral("Do Nothing")};
  auto* options = new QVBoxLayout(fraSyncOpt);
  for (int i = 0; i < 4; ++i) {
    optSyncOpt[i] = Named<QRadioButton>(names[i], captions[i]);
    options->addWidget(optSyncOpt[i]);
  }
  cmdRemoveLink = Named<QPushButton>("cmdRemoveLink", QStringLiteral("Remove Link"));
  const char* buttonNames[] = {"cmdOkCancel_0", "cmdOkCancel_1", "cmdOkCancel_2"};
  const QString buttonCaptions[] = {QStringLiteral("OK"), QStringLiteral("Cancel"),
                                    QStringLiteral("&Help")};
  for (int i = 0; i < 3; ++i)
    cmdOkCancel[i] = Named<QPushButton>(buttonNames[i], buttonCaptions[i]);
  cmdOkCancel[0]->setDefault(true);

  auto* link = new QHBoxLayout;
  link->addWidget(Label1);
  link->addWidget(txtLinkTo, 1);

  auto* middle = new QHBoxLayout;
  middle->addWidget(fraSyncOpt, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(cmdRemoveLink);
  side->addStretch(1);
  middle->addLayout(side);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdOkCancel[2]);
  buttons->addStretch(1);
  buttons->addWidget(cmdOkCancel[0]);
  buttons->addWidget(cmdOkCancel[1]);

  auto* form = new QVBoxLayout(this);
  form->addLayout(link);
  form->addLayout(middle);
  form->addLayout(buttons);

  for (int i = 0; i < 3; ++i) {
    connect(cmdOkCancel[i], &QPushButton::clicked, this, [this, i] { emit cmdOkCancel_Click(i); });
  }
  connect(cmdRemoveLink, &QPushButton::clicked, this, &frmProperties::cmdRemoveLink_Click);
}

void frmProperties::CheckSyncOption(int index) {
  if (index >= 0 && index < 4) optSyncOpt[static_cast<size_t>(index)]->setChecked(true);
}

int frmProperties::CheckedSyncOption() const {
  for (int i = 0; i < 4; ++i) {
    if (optSyncOpt[static_cast<size_t>(i)]->isChecked()) return i;
  }
  return 0;
}

void frmProperties::EnableSyncOptions(bool enable) {
  fraSyncOpt->setEnabled(enable);
  for (QRadioButton* option : optSyncOpt) option->setEnabled(enable);
}

PropertiesForm::PropertiesForm() : QtForm("frmProperties") {}

frmProperties& PropertiesForm::window() const { return *static_cast<frmProperties*>(Window()); }

QWidget* PropertiesForm::MakeWindow() {
  auto* window = new frmProperties;
  QObject::connect(window, &frmProperties::cmdOkCancel_Click, [this](int index) {
    HandleFormEvent(*this, [this, index] { cmdOkCancel_Click(index); });
  });
  QObject::connect(window, &frmProperties::cmdRemoveLink_Click,
                   [this] { HandleFormEvent(*this, [this] { cmdRemoveLink_Click(); }); });
  return window;
}

void PropertiesForm::FormLoad() {
  frmProperties& box = window();
  Utility::DoLocalizeControls(box);
  Utility::CenterForm(box);
  box.txtLinkTo->setText(QString::fromStdString(text::CpToUtf8(linkTo_)));
  box.CheckSyncOption(syncOption_);
  box.EnableSyncOptions(!box.txtLinkTo->text().isEmpty());
}

void PropertiesForm::cmdOkCancel_Click(int index) {
  switch (index) {
    case 0:
      Ok();
      break;
    case 1:
      Cancel();
      break;
    case 2:
      services::ShowHelp(
          {core::Module().gHelpFile, services::kHelpContext, kPropertiesHelpContext});
      break;
    default:
      break;
  }
}

void PropertiesForm::cmdRemoveLink_Click() {
  window().txtLinkTo->clear();
  window().EnableSyncOptions(false);
}

void PropertiesForm::Ok() {
  // A path the code page can't hold can't be stored in the file: the dialog
  // stays open with the error (52).
  const std::string typed = fs::SystemPath(window().txtLinkTo->text().toStdString());
  linkTo_ = typed;
  syncOption_ = static_cast<int16_t>(window().CheckedSyncOption());
  core::Module().gDialogCancelled = false;
  Unload();
}

void PropertiesForm::Cancel() {
  core::Module().gDialogCancelled = true;
  Unload();
}

Variant PropertiesForm::InvokeMember(std::string_view name, CallKind kind, Args args) {
  const std::string member = text::LCase(name);
  if (member == "linkto") {
    return Property(
        kind, args, [this] { return Variant(linkTo_); },
        [this](const Variant& v) { linkTo_ = CStr(v); });
  }
  if (member == "syncoption") {
    return Property(
        kind, args, [this] { return Variant(syncOption_); },
        [this](const Variant& v) { syncOption_ = CInt(v); });
  }
  return QtForm::InvokeMember(name, kind, args);
}

}  // namespace brevora::frontend::forms
