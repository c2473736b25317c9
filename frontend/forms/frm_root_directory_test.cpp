// The folder chooser on the offscreen platform, shown as its callers show it
// (Utility::ShowDialog), with scripted user actions while it is up.
#include "frontend/forms/frm_root_directory.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QFileSystemModel>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <functional>

#include "core/module_state.h"
#include "frontend/form_factory.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/show_dialog.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "testing/screenshot.h"
#include "testing/temp_home.h"

namespace brevora::frontend::forms {
namespace {

// Shows the chooser for `directory` and runs `user` on its window while it is
// up; the dialog must be closed by then. Returns the form.
Ref<Form> Choose(const std::string& directory, const std::function<void(frmRootDirectory&)>& user) {
  EXPECT_EQ(BrevoraInstallForms(), 0);
  const Ref<Form> form = Forms()->Create("frmRootDirectory");
  CallByName(*form, "Directory", CallKind::Let, directory);
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* window = qobject_cast<frmRootDirectory*>(QApplication::activeModalWidget());
    if (!window) return;
    ran = true;
    user(*window);
    if (form->IsLoaded()) window->cmdOkCancel[1]->click();  // never leave it open
  });
  Utility::ShowDialog(*form);
  EXPECT_TRUE(ran);
  return form;
}

class RootDirectory : public ::testing::Test {
 protected:
  std::shared_ptr<services::RecordingMessageBox> messages_ =
      std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> messageScope_{services::InstallMessageBox,
                                                              messages_};
  std::shared_ptr<services::RecordingHelpViewer> help_ =
      std::make_shared<services::RecordingHelpViewer>();
  services::ScopedService<services::HelpViewer> helpScope_{services::InstallHelpViewer, help_};
  std::string folder_ = testing::MakeTempDir("Documents");
};

TEST_F(RootDirectory, OkWithAnExistingFolderChoosesIt) {
  const Ref<Form> form = Choose(folder_, [&](frmRootDirectory& window) {
    EXPECT_EQ(window.txtDirectory->text().toStdString(), folder_);
    EXPECT_EQ(window.Folder().toStdString(), folder_);
    // The tree fills in as its folders are read in the background.
    auto* model = static_cast<QFileSystemModel*>(window.Dir1->model());
    QEventLoop wait;
    QObject::connect(model, &QFileSystemModel::directoryLoaded, &wait, &QEventLoop::quit);
    QTimer::singleShot(2000, &wait, &QEventLoop::quit);
    if (model->rowCount(model->index(QStringLiteral("/"))) < 2) wait.exec();
    QTimer::singleShot(300, &wait, &QEventLoop::quit);
    wait.exec();
    testing::SaveScreenshot(window, "frmRootDirectory");
    window.txtDirectory->setText(QString::fromStdString("  " + folder_ + "  "));
    window.cmdOkCancel[0]->click();
  });
  EXPECT_FALSE(core::Module().gDialogCancelled);
  EXPECT_FALSE(form->IsLoaded());
  EXPECT_EQ(CallByName(*form, "Directory", CallKind::Get), Variant(folder_));  // after unload
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(RootDirectory, AnEmptyOrMissingPathKeepsItOpen) {
  const std::string missing = folder_ + "/gone";
  for (const std::string& start : {std::string(), missing}) {
    const Ref<Form> form = Choose(start, [&](frmRootDirectory& window) {
      if (!start.empty()) {
        // The text keeps the missing folder; the tree shows the folder above it.
        EXPECT_EQ(window.txtDirectory->text().toStdString(), missing);
        EXPECT_EQ(window.Folder().toStdString(), folder_);
      }
      for (const QString& typed :
           {QString(), QStringLiteral("   "), QString::fromStdString(missing)}) {
        window.txtDirectory->setText(typed);
        window.cmdOkCancel[0]->click();
        EXPECT_TRUE(window.isVisible()) << typed.toStdString();
        EXPECT_EQ(window.txtDirectory->text(), typed.trimmed());
      }
    });
    EXPECT_TRUE(core::Module().gDialogCancelled);  // closed by Cancel in the end
    EXPECT_EQ(CallByName(*form, "Directory", CallKind::Get), Variant(start));
    ASSERT_EQ(messages_->shown().size(), 3u);
    for (const services::Message& m : messages_->shown()) {
      EXPECT_EQ(m, (services::Message{"You must select a valid path.", "Select Path",
                                      services::MsgButtons::Ok, services::MsgIcon::Critical}));
    }
    messages_ = std::make_shared<services::RecordingMessageBox>();
    services::InstallMessageBox(messages_);
  }
}

TEST_F(RootDirectory, CancelEscapeAndTheCloseBoxCancel) {
  const std::function<void(frmRootDirectory&)> ways[] = {
      [](frmRootDirectory& w) { w.cmdOkCancel[1]->click(); },
      [](frmRootDirectory& w) { static_cast<QDialog&>(w).reject(); },
      [](frmRootDirectory& w) {
        w.close();  // as the close box does
      },
  };
  for (const auto& way : ways) {
    core::Module().gDialogCancelled = false;
    const Ref<Form> form = Choose(folder_, way);
    EXPECT_TRUE(core::Module().gDialogCancelled);
    EXPECT_FALSE(form->IsLoaded());
  }
}

TEST_F(RootDirectory, HelpOpensContext720OfTheCurrentHelpFile) {
  core::Module().gHelpFile = "SCRIV.HLP";
  Choose(folder_, [](frmRootDirectory& window) { window.cmdOkCancel[2]->click(); });
  EXPECT_EQ(help_->requests(), (std::vector<services::HelpRequest>{{"SCRIV.HLP", 1, 720}}));
}

TEST_F(RootDirectory, TheTreeAndTheDrivesFillThePath) {
  std::filesystem::create_directories(folder_ + "/Sub folder");
  Choose(folder_, [&](frmRootDirectory& window) {
    const auto* model = static_cast<QFileSystemModel*>(window.Dir1->model());
    window.Dir1->setCurrentIndex(model->index(QString::fromStdString(folder_ + "/Sub folder")));
    EXPECT_EQ(window.txtDirectory->text().toStdString(), folder_ + "/Sub folder");
    // The home is the first drive; choosing the root file system moves the tree there.
    EXPECT_EQ(window.Drive1->itemData(0).toString(), QDir::homePath());
    const int root = window.Drive1->findData(QStringLiteral("/"));
    ASSERT_GE(root, 0);
    window.Drive1->setCurrentIndex(root == 0 ? 1 : 0);
    window.Drive1->setCurrentIndex(root);
    EXPECT_EQ(window.txtDirectory->text(), QStringLiteral("/"));
    // Focus on the path box selects its text.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(window.txtDirectory, &focusIn);
    QApplication::processEvents();
    EXPECT_EQ(window.txtDirectory->selectedText(), QStringLiteral("/"));
  });
}

}  // namespace
}  // namespace brevora::frontend::forms
