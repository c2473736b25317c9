// The link dialog on the offscreen platform, shown as the file list shows it
// (through the Qt-free PropertiesDialog), with scripted clicks while it is up.
#include "frontend/forms/frm_properties.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <functional>

#include "core/module_state.h"
#include "frontend/file_link_edit.h"
#include "frontend/forms/qt_form_factory.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "testing/screenshot.h"

namespace brevora::frontend::forms {
namespace {

// Shows the dialog from `start` and runs `user` on it while it is up; the
// dialog must be closed by then.
std::optional<LinkSettings> Edit(const LinkSettings& start,
                                 const std::function<void(frmProperties&)>& user) {
  EXPECT_EQ(BrevoraInstallForms(), 0);
  bool ran = false;
  QTimer::singleShot(0, [&] {
    auto* window = qobject_cast<frmProperties*>(QApplication::activeModalWidget());
    if (!window) return;
    ran = true;
    user(*window);
    if (window->isVisible()) window->cmdOkCancel[1]->click();  // never leave it open
  });
  const std::optional<LinkSettings> result = PropertiesDialog()(start);
  EXPECT_TRUE(ran);
  return result;
}

std::vector<bool> Enabled(const frmProperties& w) {
  std::vector<bool> enabled{w.fraSyncOpt->isEnabled()};
  for (const QRadioButton* option : w.optSyncOpt) enabled.push_back(option->isEnabled());
  return enabled;
}

class Properties : public ::testing::Test {
 protected:
  std::shared_ptr<services::RecordingMessageBox> messages_ =
      std::make_shared<services::RecordingMessageBox>();
  services::ScopedService<services::MessageBox> messageScope_{services::InstallMessageBox,
                                                              messages_};
  std::shared_ptr<services::RecordingHelpViewer> help_ =
      std::make_shared<services::RecordingHelpViewer>();
  services::ScopedService<services::HelpViewer> helpScope_{services::InstallHelpViewer, help_};
};

TEST_F(Properties, AnUnlinkedFileShowsAnEmptyPathWithSynchronizeCheckedAndTheOptionsDisabled) {
  const auto result = Edit({"", 0}, [](frmProperties& w) {
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Edit Properties"));
    EXPECT_EQ(w.txtLinkTo->text(), QString());
    EXPECT_TRUE(w.optSyncOpt[0]->isChecked());
    EXPECT_EQ(Enabled(w), std::vector<bool>(5, false));
    // Typing does not enable them; OK takes the path with the checked method.
    w.txtLinkTo->setText(QStringLiteral("/pc/Budget.xls"));
    EXPECT_EQ(Enabled(w), std::vector<bool>(5, false));
    w.cmdOkCancel[0]->click();
  });
  EXPECT_EQ(result, (LinkSettings{"/pc/Budget.xls", 0}));
  EXPECT_FALSE(core::Module().gDialogCancelled);
}

TEST_F(Properties, ALinkedFileShowsItsPathAndMethodAndTheUserPicksAnother) {
  const auto result = Edit({"/pc/Caf\xE9.doc", 2}, [](frmProperties& w) {
    testing::SaveScreenshot(w, "frmProperties");
    EXPECT_EQ(w.txtLinkTo->text(), QStringLiteral("/pc/Caf\u00e9.doc"));
    EXPECT_TRUE(w.optSyncOpt[2]->isChecked());
    EXPECT_EQ(Enabled(w), std::vector<bool>(5, true));
    EXPECT_EQ(w.optSyncOpt[1]->text(), QStringLiteral("Handheld changes update desktop document"));
    w.optSyncOpt[3]->click();
    w.cmdOkCancel[0]->click();
  });
  EXPECT_EQ(result, (LinkSettings{"/pc/Caf\xE9.doc", 3}));
}

TEST_F(Properties, RemoveLinkEmptiesThePathAndDisablesTheOptionsUntilOk) {
  const auto result = Edit({"/pc/Talk.ppt", 1}, [](frmProperties& w) {
    w.cmdRemoveLink->click();
    EXPECT_EQ(w.txtLinkTo->text(), QString());
    EXPECT_EQ(Enabled(w), std::vector<bool>(5, false));
    EXPECT_TRUE(w.isVisible());
    w.cmdOkCancel[0]->click();
  });
  EXPECT_EQ(result, (LinkSettings{"", 1}));
}

TEST_F(Properties, CancelEscapeAndTheCloseBoxCancel) {
  const std::function<void(frmProperties&)> ways[] = {
      [](frmProperties& w) { w.cmdOkCancel[1]->click(); },
      [](frmProperties& w) { static_cast<QDialog&>(w).reject(); },
      [](frmProperties& w) { w.close(); }};
  for (const auto& way : ways) {
    EXPECT_EQ(Edit({"/pc/a.xls", 0},
                   [&](frmProperties& w) {
                     w.txtLinkTo->setText(QStringLiteral("/pc/b.xls"));
                     way(w);
                   }),
              std::nullopt);
    EXPECT_TRUE(core::Module().gDialogCancelled);
  }
}

TEST_F(Properties, HelpLeavesTheDialogOpenAndAPathTheCodePageCantHoldKeepsItOpen) {
  core::Module().gHelpFile = "TABULYN.HLP";
  const auto result = Edit({"", 0}, [](frmProperties& w) {
    w.cmdOkCancel[2]->click();
    EXPECT_TRUE(w.isVisible());
    w.txtLinkTo->setText(QStringLiteral("/pc/\u4e2d.xls"));
    w.cmdOkCancel[0]->click();
    EXPECT_TRUE(w.isVisible());
    w.txtLinkTo->setText(QStringLiteral("/pc/b.xls"));
    w.cmdOkCancel[0]->click();
  });
  EXPECT_EQ(result, (LinkSettings{"/pc/b.xls", 0}));
  EXPECT_EQ(help_->requests(),
            (std::vector<services::HelpRequest>{{"TABULYN.HLP", services::kHelpContext, 725}}));
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].icon, services::MsgIcon::Critical);
}

TEST_F(Properties, AnOptionOutOfRangeChecksNoneAndOkAnswersSynchronize) {
  const auto result = Edit({"/pc/a.xls", 7}, [](frmProperties& w) {
    for (const QRadioButton* option : w.optSyncOpt) EXPECT_FALSE(option->isChecked());
    w.cmdOkCancel[0]->click();
  });
  EXPECT_EQ(result, (LinkSettings{"/pc/a.xls", 0}));
}

}  // namespace
}  // namespace brevora::frontend::forms
