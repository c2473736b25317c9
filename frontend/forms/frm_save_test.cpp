// frmSave on the offscreen platform, opened as the application object opens
// it: the stand-alone window over a desktop of users and files, the Open and
// Save dialogs with scripted user actions while they are up.
#include "frontend/forms/frm_save.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <functional>

#include "core/module_state.h"
#include "core/session.h"
#include "frontend/form_factory.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/forms/window_test_support.h"
#include "frontend/frontend_test_support.h"
#include "frontend/tabrel_pc.h"
#include "frontend/window_test_home.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"
#include "platform/fs/paths.h"
#include "platform/qt/qt_help_viewer.h"
#include "platform/registry/registry.h"
#include "platform/services/folder_view.h"
#include "platform/services/help.h"
#include "platform/services/service_slot.h"
#include "platform/windows/window_directory.h"
#include "testing/screenshot.h"

namespace brevora::frontend::forms {
namespace {

using services::MsgResult;

// The host's callback: counts Finished.
class Host : public Dispatchable<Host> {
 public:
  int finished = 0;
  static const MemberTable<Host>& Members() {
    static const MemberTable<Host> table{
        {"Finished", CallKind::Method, [](Host& h, Args) { ++h.finished; }}};
    return table;
  }
};

// A desktop of one user, Anna, with workbooks, documents and presentations,
// and the application object on a fresh global Session of this thread.
class SaveWindow : public test::MainWindowDesktop {
 protected:
  void SetUp() override {
    MainWindowDesktop::SetUp();
    const std::string business = test::CategoryFolder(user_, 0, "Business");
    test::CategoryFolder(user_, 0, "Unfiled");
    test::WriteWorkbook(business + "/Budget.tbr", "/office/Budget.xls");
    test::WriteWorkbook(business + "/Staff.tbr");
    test::WriteDocument(test::CategoryFolder(user_, 1, "Unfiled") + "/Memo.scv");
    test::WritePresentation(test::CategoryFolder(user_, 2, "Talks") + "/Deck.pdb");
  }

  test::RecordedMessages messages_;
  std::shared_ptr<services::RecordingHelpViewer> help_ =
      std::make_shared<services::RecordingHelpViewer>();
  services::ScopedService<services::HelpViewer> helpScope_{services::InstallHelpViewer, help_};
};

TEST_F(SaveWindow, MainWindowListsTheUsersCategoriesAndFiles) {
  Ref<Host> host = MakeRef<Host>();
  SaveForm& form = OpenMainWindow(host);
  frmSave& w = form.window();
  EXPECT_EQ(w.windowTitle().toStdString(), "Brevora Desktop");
  EXPECT_TRUE(w.Toolbar1->isVisible());
  EXPECT_TRUE(w.fileModeButtons[0]->isChecked());
  EXPECT_FALSE(w.txtWorkbook->isVisible());
  EXPECT_FALSE(w.cmdOkCancel[0]->isVisible());
  EXPECT_TRUE(w.StatusBar1->isVisible());
  EXPECT_EQ(w.cboUser->currentText().toStdString(), "Anna");
  EXPECT_EQ(test::Texts(*w.lstCategory), (std::vector<std::string>{"Business", "Unfiled"}));
  EXPECT_EQ(w.lstCategory->currentRow(), 0);
  ASSERT_EQ(w.lstWorkbook->columnCount(), 4);
  EXPECT_EQ(w.lstWorkbook->headerItem()->text(0).toStdString(), "Workbook");
  EXPECT_EQ(test::Texts(*w.lstWorkbook), (std::vector<std::string>{"Budget", "Staff"}));
  EXPECT_EQ(test::Texts(*w.lstWorkbook, 2), (std::vector<std::string>{"/office/Budget.xls", ""}));
  EXPECT_EQ(test::Texts(*w.lstWorkbook, 3), (std::vector<std::string>{"Synchronize", ""}));
  EXPECT_TRUE(w.btnLink->isEnabled());  // the first file is linked
  EXPECT_TRUE(w.btnExcel->isEnabled());
  EXPECT_FALSE(w.btnWord->isEnabled());
  EXPECT_FALSE(w.btnPowerPoint->isEnabled());
  EXPECT_EQ(w.txtWorkbook->text().toStdString(), "Budget");
  EXPECT_TRUE(w.mnuCategory[1]->isEnabled());
  testing::SaveScreenshot(w, "frmSave_standalone");

  // "Unfiled" can't be renamed or deleted.
  w.lstCategory->setCurrentRow(1);
  EXPECT_TRUE(w.lstWorkbook->topLevelItemCount() == 0);
  EXPECT_TRUE(w.mnuCategory[0]->isEnabled());
  EXPECT_FALSE(w.mnuCategory[1]->isEnabled());
  EXPECT_FALSE(w.mnuCategory[2]->isEnabled());

  // Switching to presentations.
  w.fileModeButtons[2]->trigger();
  EXPECT_EQ(app_->Session()->FileMode(), 2);
  EXPECT_EQ(test::Texts(*w.lstCategory), std::vector<std::string>{"Talks"});
  EXPECT_EQ(test::Texts(*w.lstWorkbook), std::vector<std::string>{"Deck"});
  EXPECT_EQ(w.lstWorkbook->headerItem()->text(0).toStdString(), "Presentation");
  EXPECT_FALSE(w.cmdOptions->isVisible());  // not in the stand-alone window
  EXPECT_TRUE(w.btnPowerPoint->isEnabled());
  EXPECT_FALSE(w.btnExcel->isEnabled());
  EXPECT_EQ(core::Module().gHelpFile, "SLIDR.HLP");

  // The stand-alone window tells its host once that it is finished.
  form.Unload();
  EXPECT_EQ(host->finished, 1);
  EXPECT_EQ(registry::GetSetting("tabrelpc", "General", "LastFileMode", ""), "3");
  EXPECT_NE(registry::GetSetting("tabrelpc", "WindowSize", "Width", ""), "");
  EXPECT_TRUE(messages_->shown().empty());
}

// The window closes from inside one of its own events (the menu's click, the
// close event); it goes only once that event is over, and the program's host
// hears once that it is finished.
TEST_F(SaveWindow, FileExitAndTheCloseBoxEndTheMainWindow) {
  // Each way closes the window and notes whether the window still exists once
  // the window's own handling of the event is over.
  const struct {
    const char* way;
    std::function<void(QPointer<frmSave>, bool&)> close;
  } ways[] = {
      {"File > Exit",
       [](QPointer<frmSave> w, bool& existed) {
         QObject::connect(w->mnuExit, &QAction::triggered,
                          [w, &existed] { existed = !w.isNull(); });
         test::ChooseMenuItem(*w->mnuFile, *w->mnuExit);
       }},
      {"the close box",
       [](QPointer<frmSave> w, bool& existed) {
         QTimer::singleShot(0, w.data(), [w, &existed] {
           w->close();
           existed = !w.isNull();
         });
       }},
  };
  for (const auto& way : ways) {
    SCOPED_TRACE(way.way);
    Ref<Host> host = MakeRef<Host>();
    QPointer<frmSave> window(&OpenMainWindow(host).window());
    bool existed = false;
    way.close(window, existed);
    test::Deliver();
    EXPECT_TRUE(existed);
    EXPECT_EQ(host->finished, 1);
    EXPECT_TRUE(Forms()->LoadedForms().empty());
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(windows::Find("ThunderRT5Form", "Brevora Desktop").empty());
  }
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(SaveWindow, APostedRefreshShowsAFileAddedBehindTheWindow) {
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  test::WriteWorkbook(user_ + "/tabrel/Business/Added.tbr");
  const std::vector<windows::WindowEntry> found =
      windows::Find("ThunderRT5Form", "Brevora Desktop");
  ASSERT_EQ(found.size(), 1u);
  ASSERT_TRUE(windows::Post(found[0].handle,
                            windows::WindowMessage::Click("ThunderRT5CommandButton", "Refresh")));
  test::Deliver();
  EXPECT_EQ(test::Texts(*w.lstWorkbook), (std::vector<std::string>{"Added", "Budget", "Staff"}));
  // The converters' Refresh reaches the same list through Refresh1.
  test::WriteWorkbook(user_ + "/tabrel/Business/Later.tbr");
  CallByName(form, "Refresh1", CallKind::Method);
  EXPECT_EQ(w.lstWorkbook->topLevelItemCount(), 4);
  // Gone with the window.
  form.Unload();
  EXPECT_TRUE(windows::Find("ThunderRT5Form", "Brevora Desktop").empty());
}

TEST_F(SaveWindow, AReusedMainWindowMakesTheSessionsModeItsOwnAgain) {
  SaveForm& form = OpenMainWindow();
  form.window().fileModeButtons[1]->trigger();
  EXPECT_EQ(app_->Session()->FileMode(), 1);
  Ref<TabrelPC> second = MakeRef<TabrelPC>();
  second->DoOpenStandAloneEX("", nullptr);  // resets the mode to workbooks, then reuses the window
  EXPECT_EQ(Forms()->LoadedForms().size(), 1u);
  EXPECT_EQ(second->Session()->FileMode(), 1);
  EXPECT_EQ(test::Texts(*form.window().lstWorkbook), std::vector<std::string>{"Memo"});
}

TEST_F(SaveWindow, StartsInTheLastFileModeOfAnInstalledProduct) {
  registry::SaveSetting("tabrelpc", "General", "LastFileMode", "2");
  registry::DeleteValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Scrivane", "Version");
  SaveForm& form = OpenMainWindow();
  EXPECT_TRUE(form.window().fileModeButtons[0]->isChecked());
  EXPECT_FALSE(form.window().fileModeButtons[1]->isEnabled());
  EXPECT_EQ(app_->Session()->FileMode(), 0);
}

TEST_F(SaveWindow, SaveDialogReturnsThePathOfTheTypedName) {
  Ref<Host> host = MakeRef<Host>();
  OpenMainWindow(host);  // the host's main window is open beside the dialog
  std::string file;
  test::WhenModal<frmSave>([&](frmSave& w) {
    EXPECT_EQ(w.windowTitle().toStdString(), "Save Tabulyn Workbook");
    EXPECT_FALSE(w.cbxOpenAsTemplate->isVisible());
    EXPECT_FALSE(w.StatusBar1->isVisible());
    EXPECT_FALSE(w.picOutlook->isVisible());
    EXPECT_EQ(w.lstWorkbook->columnCount(), 1);
    EXPECT_EQ(w.txtWorkbook->text(), QString());
    EXPECT_EQ(w.txtWorkbook->maxLength(), 30);
    testing::SaveScreenshot(w, "frmSave_save");
    // Typed characters a name can't hold are dropped as they are typed.
    test::Type(*w.txtWorkbook, QStringLiteral("My/Deck:1*?\"<>|\\"));
    EXPECT_EQ(w.txtWorkbook->text(), QStringLiteral("MyDeck1"));
    // A pasted name that would leave the category keeps the dialog open.
    w.txtWorkbook->setText(QStringLiteral("../Escape"));
    w.cmdOkCancel[0]->click();
    EXPECT_TRUE(w.isVisible());
    w.txtWorkbook->setText(QStringLiteral("Forecast"));
    w.cmdOkCancel[0]->click();
  });
  EXPECT_TRUE(app_->GetFileToSaveEx(0, file));
  EXPECT_EQ(fs::NativePath(file), user_ + "/tabrel/Business/Forecast.tbr");
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].icon, services::MsgIcon::Information);
  EXPECT_EQ(host->finished, 0);  // closing a dialog does not end the host
}

TEST_F(SaveWindow, SaveDialogAsksBeforeOverwriting) {
  std::string file;
  messages_->Answer(MsgResult::No);
  messages_->Answer(MsgResult::Yes);
  test::WhenModal<frmSave>([&](frmSave& w) {
    w.txtWorkbook->setText(QStringLiteral("staff"));
    w.cmdOkCancel[0]->click();  // No: the dialog stays
    EXPECT_TRUE(w.isVisible());
    w.cmdOkCancel[0]->click();  // Yes
  });
  EXPECT_TRUE(app_->GetFileToSaveEx(0, file));
  EXPECT_EQ(fs::NativePath(file), user_ + "/tabrel/Business/Staff.tbr");
  ASSERT_EQ(messages_->shown().size(), 2u);
  EXPECT_EQ(messages_->shown()[0].title, "Overwrite Workbook");
}

// Each dialog shows the users as they are when it opens: a user made after
// the first one closed is in the next, and the current user stays chosen.
TEST_F(SaveWindow, EachDialogReadsTheUsersWhenItOpens) {
  const auto users = [](frmSave& w) {
    std::vector<std::string> names;
    for (int i = 0; i < w.cboUser->count(); ++i)
      names.push_back(w.cboUser->itemText(i).toStdString());
    return names;
  };
  std::string file;
  bool asTemplate = false;
  test::WhenModal<frmSave>([&](frmSave& w) {
    EXPECT_EQ(users(w), std::vector<std::string>{"Anna"});
    w.cmdOkCancel[1]->click();
  });
  EXPECT_FALSE(app_->GetFileToOpenEX(0, file, asTemplate));

  test::CategoryFolder(test::AddDesktopUser(2, "Ben", "ben"), 0, "Unfiled");
  test::WhenModal<frmSave>([&](frmSave& w) {
    EXPECT_EQ(users(w), (std::vector<std::string>{"Anna", "Ben"}));
    EXPECT_EQ(w.cboUser->currentText().toStdString(), "Anna");
    EXPECT_EQ(test::Texts(*w.lstCategory), (std::vector<std::string>{"Business", "Unfiled"}));
    w.cmdOkCancel[1]->click();
  });
  EXPECT_FALSE(app_->GetFileToOpenEX(0, file, asTemplate));
}

// A key typed in the user box makes the entry it shows the current user and
// fills the lists again; a key that types nothing (a modifier) does nothing.
TEST_F(SaveWindow, AKeyTypedInTheUserBoxAppliesItsEntry) {
  test::CategoryFolder(test::AddDesktopUser(2, "Ben", "ben"), 0, "Travel");
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  ASSERT_EQ(w.cboUser->currentText().toStdString(), "Anna");
  app_->SetUserID(2);  // behind the box's back
  test::CategoryFolder(user_, 0, "Later");
  const auto press = [&](Qt::Key key, const QString& text) {
    QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w.cboUser, &event);
  };
  press(Qt::Key_Shift, QString());
  EXPECT_EQ(app_->UserID(), 2);
  press(Qt::Key_Z, QStringLiteral("z"));  // no entry begins with it: the box stays on Anna
  EXPECT_EQ(app_->UserID(), 1);
  EXPECT_EQ(w.cboUser->currentText().toStdString(), "Anna");
  EXPECT_EQ(test::Texts(*w.lstCategory),
            (std::vector<std::string>{"Business", "Later", "Unfiled"}));
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(SaveWindow, OpenDialogOfWorkbooksOffersTheTemplateBox) {
  std::string file;
  bool asTemplate = false;
  test::WhenModal<frmSave>([&](frmSave& w) {
    EXPECT_EQ(w.windowTitle().toStdString(), "Open Tabulyn Workbook");
    EXPECT_TRUE(w.cbxOpenAsTemplate->isVisible());
    EXPECT_FALSE(w.cmdOptions->isVisible());
    EXPECT_FALSE(w.btnAdd->isEnabled());
    EXPECT_EQ(w.cmdOkCancel[0]->text().toStdString(), "Open");
    EXPECT_EQ(w.txtWorkbook->text().toStdString(), "Budget");
    testing::SaveScreenshot(w, "frmSave_open");
    w.lstWorkbook->setCurrentItem(w.lstWorkbook->topLevelItem(1));
    w.cbxOpenAsTemplate->setChecked(true);
    w.lstWorkbook->itemDoubleClicked(w.lstWorkbook->topLevelItem(1), 0);
  });
  EXPECT_TRUE(app_->GetFileToOpenEX(0, file, asTemplate));
  EXPECT_EQ(fs::NativePath(file), user_ + "/tabrel/Business/Staff.tbr");
  EXPECT_TRUE(asTemplate);
}

TEST_F(SaveWindow, PresentationDialogsShowTheOptionsAndPreselectTheGivenFile) {
  std::string file = user_ + "/slidr/Talks/Deck.pdb";
  test::WhenModal<frmSave>([&](frmSave& w) {
    EXPECT_EQ(w.windowTitle().toStdString(), "Save Slidora Presentation");
    EXPECT_TRUE(w.cmdOptions->isVisible());
    EXPECT_EQ(w.txtWorkbook->text().toStdString(), "Deck");
    w.cmdOkCancel[1]->click();
  });
  EXPECT_FALSE(app_->GetFileToSaveEx(2, file));
  EXPECT_EQ(file, "");
  EXPECT_TRUE(core::Module().gDialogCancelled);
}

TEST_F(SaveWindow, OpeningInTheOfficeApplicationSaysItCantBeReached) {
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  // Budget is linked to an .xls file that is not there: the notice, then the store's copy.
  w.lstWorkbook->itemDoubleClicked(w.lstWorkbook->topLevelItem(0), 0);
  ASSERT_EQ(messages_->shown().size(), 2u);
  EXPECT_EQ(
      messages_->shown()[0],
      (services::Message{"Linked file does not exist on desktop.  Opening Tabulyn copy instead.",
                         "", services::MsgButtons::Ok, services::MsgIcon::None}));
  EXPECT_EQ(messages_->shown()[1].title, "Brevora");
  EXPECT_EQ(messages_->shown()[1].icon, services::MsgIcon::Information);
  EXPECT_EQ(messages_->shown()[1].text.rfind("Error getting excel object.", 0), 0u)
      << messages_->shown()[1].text;
  EXPECT_TRUE(form.Visible());  // the stand-alone window stays
  // The Excel button in document mode does nothing.
  w.fileModeButtons[1]->trigger();
  form.Toolbar_ButtonClick("btnExcel");
  EXPECT_EQ(messages_->shown().size(), 2u);
}

TEST_F(SaveWindow, HelpAndExploreOfTheMainWindow) {
  auto folders = std::make_shared<services::RecordingFolderView>();
  services::ScopedService<services::FolderView> scope(services::InstallFolderView, folders);
  SaveForm& form = OpenMainWindow();
  form.window().mnuHelpTopics->trigger();
  ASSERT_EQ(help_->requests().size(), 1u);
  EXPECT_EQ(help_->requests()[0].file, "VARNIX.HLP");
  form.cmdExplore_Click();
  ASSERT_EQ(folders->shown().size(), 1u);
  EXPECT_EQ(fs::NativePath(folders->shown()[0]), user_ + "/tabrel/Business");

  // The windows' own help viewer says so when the help file is not there.
  services::ScopedService<services::HelpViewer> own(services::InstallHelpViewer,
                                                    std::make_shared<qt::QtHelpViewer>(help_));
  test::ChooseMenuItem(*form.window().mnuHelp, *form.window().mnuHelpTopics);
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].text,
            "Help is not available: the help file \"VARNIX.HLP\" is not installed.");
  EXPECT_EQ(help_->requests().size(), 1u);
}

}  // namespace
}  // namespace brevora::frontend::forms
