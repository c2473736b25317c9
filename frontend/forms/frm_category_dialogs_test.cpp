// frmNewCategory and frmDelete on the offscreen platform, shown as the
// category commands show them (Utility::ShowDialog), with scripted user
// actions while they are up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "frontend/desktop_test_support.h"
#include "frontend/form_factory.h"
#include "frontend/forms/frm_delete.h"
#include "frontend/forms/frm_new_category.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/forms/window_test_support.h"
#include "frontend/frontend_test_support.h"
#include "frontend/show_dialog.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/services/help.h"
#include "platform/services/service_slot.h"
#include "testing/screenshot.h"

namespace brevora::frontend::forms {
namespace {

// Shows the form and runs `user` on its window while it is up; a dialog the
// user left open is cancelled.
template <class W>
void ShowAndDo(Form& form, const std::function<void(W&)>& user) {
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* window = qobject_cast<W*>(QApplication::activeModalWidget());
    if (!window) return;
    ran = true;
    user(*window);
    if (form.IsLoaded()) window->cmdOkCancel[1]->click();
  });
  Utility::ShowDialog(form);
  EXPECT_TRUE(ran);
}

class CategoryDialogs : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(BrevoraInstallForms(), 0); }
  Ref<Form> NewCategory(const std::string& category) {
    const Ref<Form> form = Forms()->Create("frmNewCategory");
    CallByName(*form, "oTabrelPC", CallKind::Set, Ref<Dispatch>(app));
    CallByName(*form, "Category", CallKind::Let, category);
    return form;
  }

  std::string home = test::MakeCustomHome();
  Ref<TabrelPC> app = MakeRef<TabrelPC>();
  test::RecordedMessages messages;
  std::shared_ptr<services::RecordingHelpViewer> help =
      std::make_shared<services::RecordingHelpViewer>();
  services::ScopedService<services::HelpViewer> helpScope{services::InstallHelpViewer, help};
};

TEST_F(CategoryDialogs, NewCategoryDropsTypedCharactersANameCantHold) {
  const Ref<Form> form = NewCategory("");
  ShowAndDo<frmNewCategory>(*form, [&](frmNewCategory& w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("New Category"));
    EXPECT_FALSE(w.cmdOkCancel[0]->isEnabled());
    test::Type(*w.txtCategory, QStringLiteral("   "));
    EXPECT_FALSE(w.cmdOkCancel[0]->isEnabled());
    w.txtCategory->clear();
    test::Type(*w.txtCategory, QStringLiteral("Tr/a:v*e?l<>|\"\\ 2024 and more"));
    EXPECT_EQ(w.txtCategory->text(), QStringLiteral("Travel 2024 and"));  // at most 15
    EXPECT_TRUE(w.cmdOkCancel[0]->isEnabled());
    testing::SaveScreenshot(w, "frmNewCategory");
    w.cmdOkCancel[0]->click();
  });
  EXPECT_FALSE(core::Module().gDialogCancelled);
  EXPECT_FALSE(form->IsLoaded());
  EXPECT_EQ(CallByName(*form, "Category", CallKind::Get), Variant("Travel 2024 and"));
  EXPECT_TRUE(CallByName(*form, "oTabrelPC", CallKind::Get).IsObject());
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(CategoryDialogs, RenameChecksThePastedNameOnOkAndStaysOpen) {
  std::filesystem::create_directory(home + "Work");
  std::filesystem::create_directory(home + "Home");
  const Ref<Form> form = NewCategory("Work");
  ShowAndDo<frmNewCategory>(*form, [&](frmNewCategory& w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Rename Category"));
    EXPECT_EQ(w.txtCategory->text(), QStringLiteral("Work"));
    testing::SaveScreenshot(w, "frmNewCategory-rename");
    for (const QString& pasted : {QStringLiteral("../x"), QStringLiteral("HOME"),
                                  QStringLiteral("Work"), QStringLiteral("..")}) {
      w.txtCategory->setText(pasted);
      w.cmdOkCancel[0]->click();
      EXPECT_TRUE(w.isVisible()) << pasted.toStdString();
    }
    w.txtCategory->setText(QStringLiteral("work"));  // only the case changes
    w.cmdOkCancel[0]->click();
  });
  EXPECT_FALSE(core::Module().gDialogCancelled);
  EXPECT_EQ(CallByName(*form, "Category", CallKind::Get), Variant("work"));
  std::vector<std::string> texts;
  for (const services::Message& m : messages->shown()) {
    EXPECT_EQ(m.title, "Brevora");
    EXPECT_EQ(m.icon, services::MsgIcon::Critical);
    texts.push_back(m.text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "A category name can't contain any of the characters / \\ : * ? \" < > |.",
                       "This category already exists.", "This category already exists.",
                       "A category name can't begin with a full stop."}));
}

TEST_F(CategoryDialogs, CancelEscapeCloseBoxAndHelp) {
  core::Module().gHelpFile = "TABRELPC.HLP";
  const std::function<void(frmNewCategory&)> ways[] = {
      [](frmNewCategory& w) { w.cmdOkCancel[2]->click(), w.cmdOkCancel[1]->click(); },
      [](frmNewCategory& w) { static_cast<QDialog&>(w).reject(); },
      [](frmNewCategory& w) { w.close(); },
  };
  for (const auto& way : ways) {
    core::Module().gDialogCancelled = false;
    const Ref<Form> form = NewCategory("Kept");
    ShowAndDo<frmNewCategory>(*form, way);
    EXPECT_TRUE(core::Module().gDialogCancelled);
    EXPECT_FALSE(form->IsLoaded());
    EXPECT_EQ(CallByName(*form, "Category", CallKind::Get), Variant("Kept"));
    EXPECT_FALSE(CallByName(*form, "oTabrelPC", CallKind::Get).AsObject());  // released at unload
  }
  EXPECT_EQ(help->requests(), (std::vector<services::HelpRequest>{{"TABRELPC.HLP", 1, 727}}));
}

TEST_F(CategoryDialogs, DeleteAsksWhatBecomesOfTheDocuments) {
  core::Module().gHelpFile = "SCRIV.HLP";
  const Ref<Form> form = Forms()->Create("frmDelete");
  ShowAndDo<frmDelete>(*form, [&](frmDelete& w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Delete Category"));
    EXPECT_TRUE(w.obDelOption[0]->isChecked());
    EXPECT_FALSE(w.cmdOkCancel[0]->isDefault());
    testing::SaveScreenshot(w, "frmDelete");
    w.cmdOkCancel[0]->click();
  });
  EXPECT_FALSE(core::Module().gDialogCancelled);
  EXPECT_EQ(CInt(CallByName(*form, "DeleteOption", CallKind::Get)), 0);
  ShowAndDo<frmDelete>(*form, [&](frmDelete& w) {
    EXPECT_TRUE(w.obDelOption[0]->isChecked());  // each showing starts afresh
    w.obDelOption[1]->click();
    w.cmdOkCancel[2]->click();
    w.cmdOkCancel[0]->click();
  });
  EXPECT_EQ(CInt(CallByName(*form, "DeleteOption", CallKind::Get)), 1);
  ShowAndDo<frmDelete>(*form, [&](frmDelete& w) { w.close(); });
  EXPECT_TRUE(core::Module().gDialogCancelled);
  EXPECT_EQ(help->requests(), (std::vector<services::HelpRequest>{{"SCRIV.HLP", 1, 719}}));
}

// The category commands with the real dialogs: a category added and renamed
// by typing and clicking.
TEST_F(CategoryDialogs, TheCommandsThroughTheRealDialogs) {
  test::FakeCategoryList list(home);
  list.InitCategories();
  QTimer::singleShot(0, [] {
    auto* w = qobject_cast<frmNewCategory*>(QApplication::activeModalWidget());
    ASSERT_TRUE(w);
    test::Type(*w->txtCategory, QStringLiteral("Projects"));
    w->cmdOkCancel[0]->click();
  });
  ManageCategory(*app, list, CategoryAction::Add);
  EXPECT_EQ(list.rows, std::vector<std::string>{"Projects"});
  EXPECT_TRUE(std::filesystem::is_directory(home + "Projects"));
  QTimer::singleShot(0, [] {
    auto* w = qobject_cast<frmDelete*>(QApplication::activeModalWidget());
    ASSERT_TRUE(w);
    w->obDelOption[1]->click();
    w->cmdOkCancel[0]->click();
  });
  ManageCategory(*app, list, CategoryAction::Delete);
  EXPECT_TRUE(list.rows.empty());
  EXPECT_FALSE(std::filesystem::exists(home + "Projects"));
  EXPECT_TRUE(messages->shown().empty());
}

}  // namespace
}  // namespace brevora::frontend::forms
