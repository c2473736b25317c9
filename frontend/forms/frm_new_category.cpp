#include "frontend/forms/frm_new_category.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/module_state.h"
#include "frontend/category_commands.h"
#include "frontend/forms/form_controls.h"
#include "frontend/forms/form_utility.h"
#include "frontend/forms/name_character_filter.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/name_validator.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

const FormRegistration registration("frmNewCategory",
                                    [] { return Ref<QtForm>(MakeRef<NewCategoryForm>()); });

}  // namespace

frmNewCategory::frmNewCategory(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("New Category"));
  lblCategory = Named<QLabel>("lblCategory", QStringLiteral("Category &Name:"));
  txtCategory = Named<QLineEdit>("txtCategory");
  txtCategory->setMaxLength(static_cast<int>(kMaxCategoryName));
  txtCategory->setMinimumWidth(260);
  lblCategory->setBuddy(txtCategory);
  const char* names[] = {"cmdOkCancel_0", "cmdOkCancel_1", "cmdOkCancel_2"};
  cmdOkCancel[0] = Named<QPushButton>(names[0], QStringLiteral("OK"));
  cmdOkCancel[1] = Named<QPushButton>(names[1], QStringLiteral("Cancel"));
  // The help button shows a question mark, not a caption.
  cmdOkCancel[2] = Named<QPushButton>(names[2], QStringLiteral("?"));
  cmdOkCancel[2]->setFixedWidth(cmdOkCancel[2]->sizeHint().height());
  cmdOkCancel[2]->setToolTip(QStringLiteral("Help"));
  cmdOkCancel[2]->setAccessibleName(QStringLiteral("Help"));
  cmdOkCancel[0]->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdOkCancel[2]);
  buttons->addStretch(1);
  buttons->addWidget(cmdOkCancel[0]);
  buttons->addWidget(cmdOkCancel[1]);
  auto* form = new QVBoxLayout(this);
  form->addWidget(lblCategory);
  form->addWidget(txtCategory);
  form->addSpacing(8);
  form->addLayout(buttons);
  form->setSizeConstraint(QLayout::SetFixedSize);

  connect(txtCategory, &QLineEdit::textChanged, this, &frmNewCategory::txtCategory_Change);
  for (int i = 0; i < 3; ++i) {
    connect(cmdOkCancel[i], &QPushButton::clicked, this, [this, i] { emit cmdOkCancel_Click(i); });
  }
  // A typed character a name can't hold is dropped; pasted text is checked on OK.
  DropReservedNameCharacters(*txtCategory);
  txtCategory->installEventFilter(this);
}

bool frmNewCategory::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtCategory && event->type() == QEvent::FocusIn) {
    QTimer::singleShot(0, this, [this] { emit txtCategory_GotFocus(); });
  }
  return QDialog::eventFilter(watched, event);
}

NewCategoryForm::NewCategoryForm() : QtForm("frmNewCategory") {}

frmNewCategory& NewCategoryForm::window() const { return *static_cast<frmNewCategory*>(Window()); }

QWidget* NewCategoryForm::MakeWindow() {
  auto* window = new frmNewCategory;
  QObject::connect(window, &frmNewCategory::txtCategory_Change, [window] {
    // OK needs more than blanks.
    const QString text = window->txtCategory->text();
    window->cmdOkCancel[0]->setEnabled(text.count(QChar(u' ')) != text.size());
  });
  QObject::connect(window, &frmNewCategory::txtCategory_GotFocus,
                   [window] { Utility::SelectAllText(*window->txtCategory); });
  QObject::connect(window, &frmNewCategory::cmdOkCancel_Click, [this](int index) {
    if (!IsLoaded()) return;  // a late signal of the window on its way out
    try {
      if (index == 0) Ok();
      if (index == 1) Cancel();
      if (index == 2) {
        services::ShowHelp(
            {core::Module().gHelpFile, services::kHelpContext, kNewCategoryHelpContext});
      }
    } catch (...) {
      ShowCritical(CurrentError().description());
    }
  });
  return window;
}

void NewCategoryForm::FormLoad() {
  try {
    frmNewCategory& box = window();
    Utility::DoLocalizeControls(box);
    original_ = category_;
    if (category_.empty()) {
      SetCaption("New Category");
    } else {
      SetCaption("Rename Category");
      box.txtCategory->setText(QString::fromStdString(text::CpToUtf8(category_)));
    }
    Utility::CenterForm(box);
    emit box.txtCategory_Change();
    core::Module().gDialogAbort = false;
  } catch (...) {
    ShowCritical(CurrentError().description());
    core::Module().gDialogAbort = true;
  }
}

void NewCategoryForm::Ok() {
  core::Module().gDialogCancelled = false;
  const std::string typed = text::Utf8ToCp(window().txtCategory->text().toStdString());
  const Ref<TabrelPC> owner = RefCast<TabrelPC>(owner_);
  if (!owner) RaiseRuntimeError(91);
  const std::string problem = CheckCategoryName(owner->HomeDirectory(), typed, original_);
  if (!problem.empty()) {
    ShowCritical(problem);
    window().txtCategory->setFocus();
    return;
  }
  category_ = typed;
  Unload();
}

void NewCategoryForm::Cancel() {
  core::Module().gDialogCancelled = true;
  Unload();
}

Variant NewCategoryForm::InvokeMember(std::string_view name, CallKind kind, Args args) {
  const std::string member = text::LCase(name);
  const bool read = kind == CallKind::Get || kind == CallKind::Method;
  if (member == "category") {
    if (read) return Variant(category_);
    if (kind != CallKind::Let || args.size() != 1) RaiseRuntimeError(450);
    category_ = CStr(args[0]);
    return Variant();
  }
  if (member == "otabrelpc") {
    if (read) return Variant(owner_);
    if (args.size() != 1) RaiseRuntimeError(450);
    owner_ = ObjectOrNothing<Dispatch>(args[0]);
    return Variant();
  }
  return QtForm::InvokeMember(name, kind, args);
}

}  // namespace brevora::frontend::forms
