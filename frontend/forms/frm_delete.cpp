#include "frontend/forms/frm_delete.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/module_state.h"
#include "frontend/forms/form_controls.h"
#include "frontend/forms/form_utility.h"
#include "frontend/forms/qt_form_factory.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::frontend::forms {
namespace {

const FormRegistration registration("frmDelete", [] { return Ref<QtForm>(MakeRef<DeleteForm>()); });

}  // namespace

frmDelete::frmDelete(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Delete Category"));
  fraContents = Named<QGroupBox>("fraContents", QStringLiteral("Contents:"));
  obDelOption[0] = Named<QRadioButton>(
      "obDelOption_0", QStringLiteral("Copy workbooks to 'Unfiled' before deleting category"));
  obDelOption[1] =
      Named<QRadioButton>("obDelOption_1", QStringLiteral("Delete workbooks and category"));
  obDelOption[0]->setChecked(true);
  auto* options = new QVBoxLayout(fraContents);
  options->addWidget(obDelOption[0]);
  options->addWidget(obDelOption[1]);

  const char* names[] = {"cmdOkCancel_0", "cmdOkCancel_1", "cmdOkCancel_2"};
  cmdOkCancel[0] = Named<QPushButton>(names[0], QStringLiteral("&Delete"));
  cmdOkCancel[1] = Named<QPushButton>(names[1], QStringLiteral("Cancel"));
  // The help button shows a question mark, not a caption.
  cmdOkCancel[2] = Named<QPushButton>(names[2], QStringLiteral("?"));
  cmdOkCancel[2]->setFixedWidth(cmdOkCancel[2]->sizeHint().height());
  cmdOkCancel[2]->setToolTip(QStringLiteral("Help"));
  cmdOkCancel[2]->setAccessibleName(QStringLiteral("Help"));
  // Enter must not delete: no button is the default.
  for (QPushButton* button : cmdOkCancel) button->setAutoDefault(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdOkCancel[2]);
  buttons->addStretch(1);
  buttons->addWidget(cmdOkCancel[0]);
  buttons->addWidget(cmdOkCancel[1]);
  auto* form = new QVBoxLayout(this);
  form->addWidget(fraContents);
  form->addSpacing(6);
  form->addLayout(buttons);
  form->setSizeConstraint(QLayout::SetFixedSize);

  for (int i = 0; i < 3; ++i) {
    connect(cmdOkCancel[i], &QPushButton::clicked, this, [this, i] { emit cmdOkCancel_Click(i); });
  }
}

DeleteForm::DeleteForm() : QtForm("frmDelete") {}

frmDelete& DeleteForm::window() const { return *static_cast<frmDelete*>(Window()); }

QWidget* DeleteForm::MakeWindow() {
  auto* window = new frmDelete;
  QObject::connect(window, &frmDelete::cmdOkCancel_Click, [this, window](int index) {
    if (!IsLoaded()) return;  // a late signal of the window on its way out
    try {
      if (index == 0) {
        deleteOption_ = window->obDelOption[0]->isChecked() ? 0 : 1;
        core::Module().gDialogCancelled = false;
        Unload();
      } else if (index == 1) {
        Cancel();
      } else if (index == 2) {
        services::ShowHelp(
            {core::Module().gHelpFile, services::kHelpContext, kDeleteCategoryHelpContext});
      }
    } catch (...) {
      ShowCritical(CurrentError().description());
    }
  });
  return window;
}

void DeleteForm::FormLoad() {
  try {
    Utility::DoLocalizeControls(window());
    Utility::CenterForm(window());
  } catch (...) {
    ShowCritical("Could not load form.");
  }
}

void DeleteForm::Cancel() {
  core::Module().gDialogCancelled = true;
  Unload();
}

Variant DeleteForm::InvokeMember(std::string_view name, CallKind kind, Args args) {
  if (text::LCase(name) == "deleteoption") {
    if (kind == CallKind::Get || kind == CallKind::Method) return Variant(deleteOption_);
    if (kind != CallKind::Let || args.size() != 1) RaiseRuntimeError(450);
    deleteOption_ = CInt(args[0]);
    return Variant();
  }
  return QtForm::InvokeMember(name, kind, args);
}

}  // namespace brevora::frontend::forms
