// The about box through the application object, on the offscreen platform.
#include "frontend/forms/frm_about.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "core/session.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/tabrel_pc.h"
#include "testing/screenshot.h"

namespace brevora::frontend::forms {
namespace {

struct Shown {
  QString title, copyright, trademark, macroVersion, caption;
  bool modal = false;
};

// Runs DoAbout and, while the box is up, reads it and presses OK.
Shown DoAbout(std::string& version, const std::string& screenshot = "") {
  Shown shown;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<frmAbout*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    shown = {box->lblTitle->text(),        box->lblCopyright->text(), box->lbltrademark->text(),
             box->lblMacroVersion->text(), box->windowTitle(),        box->isModal()};
    if (!screenshot.empty()) testing::SaveScreenshot(*box, screenshot);
    box->cmdOK->click();
  });
  EXPECT_EQ(BrevoraInstallForms(), 0);
  MakeRef<TabrelPC>()->DoAbout(version);
  return shown;
}

TEST(frmAbout, ShowsTheModuleAndTheMacroVersion) {
  std::string version;
  const Shown shown = DoAbout(version, "frmAbout");
  EXPECT_EQ(version, "{7.1.0}");
  EXPECT_EQ(shown.title, QStringLiteral("Brevora Desktop 7.1"));
  EXPECT_EQ(shown.copyright, QString::fromUtf8("Copyright \u00A9 Orvanex.  All rights reserved."));
  EXPECT_EQ(shown.trademark,
            QStringLiteral("Brevora, Tabulyn, Scrivane and Slidora are trademarks of Orvanex."));
  EXPECT_EQ(shown.macroVersion, QStringLiteral("Macro version:  {7.1.0}"));
  EXPECT_EQ(shown.caption, QStringLiteral("About Brevora Desktop"));
  EXPECT_TRUE(shown.modal);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  version = "Tabulyn macros 2.3";
  EXPECT_EQ(DoAbout(version).macroVersion, QStringLiteral("Macro version:  Tabulyn macros 2.3"));
}

TEST(frmAbout, EscapeClosesIt) {
  QTimer::singleShot(0, [] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    static_cast<QDialog*>(box)->reject();
  });
  ASSERT_EQ(BrevoraInstallForms(), 0);
  std::string version = "1";
  MakeRef<TabrelPC>()->DoAbout(version);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace brevora::frontend::forms
