#include "slides/dialog/frm_slidr_options.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <optional>

#include "platform/registry/registry.h"
#include "testing/screenshot.h"

namespace brevora::slides::dialog {
namespace {

using registry::Hive;
constexpr const char* kKey = SlidrOptions::kRegistryKey;

std::optional<uint32_t> StoredWord(const char* name) {
  auto v = registry::QueryValue(Hive::CurrentUser, kKey, name);
  if (!v || v->type != registry::ValueType::DWord) return std::nullopt;
  return v->dword;
}

// Every control a user should see, found by its name, with the text it shows.
void ExpectNamedControls(frmSlidr_Options& form) {
  struct Named {
    const char* name;
    const char* text;
  };
  for (const Named& n :
       {Named{"Label1", "Slide Resolution (Pixels):"}, Named{"Label2", "Slide Color Bit Depth:"},
        Named{"lblVantaRes", "Vanta Resolution (Pixels):"},
        Named{"lblVantaDepth", "Vanta Color Bit Depth:"}}) {
    auto* label = form.findChild<QLabel*>(n.name);
    ASSERT_NE(label, nullptr) << n.name;
    EXPECT_EQ(label->text().toStdString(), n.text);
  }
  for (const Named& n :
       {Named{"chkLinked", "Link to presentation:"},
        Named{"chkVantaSlide", "Include secondary file for optional higher resolution Vanta"}}) {
    auto* box = form.findChild<QCheckBox*>(n.name);
    ASSERT_NE(box, nullptr) << n.name;
    EXPECT_EQ(box->text().toStdString(), n.text);
  }
  for (const Named& n : {Named{"cmdOK", "Ok"}, Named{"cmdCancel", "Cancel"}}) {
    auto* button = form.findChild<QPushButton*>(n.name);
    ASSERT_NE(button, nullptr) << n.name;
    EXPECT_EQ(button->text().toStdString(), n.text);
  }
  for (const char* name : {"cbResolution", "cbBitDepth", "cbVantaRes", "cbVantaDepth"}) {
    EXPECT_NE(form.findChild<QComboBox*>(name), nullptr) << name;
  }
  EXPECT_EQ(form.findChild<QGroupBox*>("fmeAdvanced"), form.fmeAdvanced);
  EXPECT_EQ(form.fmeAdvanced->title().toStdString(), "Advanced Options");
  EXPECT_EQ(form.findChild<QLabel*>("lblFile"), form.lblFile);
  EXPECT_EQ(form.findChild<QPushButton*>("cmdAdvanced"), form.cmdAdvanced);
}

TEST(FrmSlidrOptions, OpensWithItsControlsAndDefaults) {
  frmSlidr_Options form;
  form.SetShowLinking(true);
  form.SetLinkFile("/home/ann/Talks/Q3 review.ppt");
  form.show();
  EXPECT_EQ(form.windowTitle().toStdString(), "Slidora Presentation Options");
  EXPECT_EQ(form.objectName().toStdString(), "frmSlidr_Options");
  ExpectNamedControls(form);
  EXPECT_EQ(form.cbResolution->count(), 5);
  EXPECT_EQ(form.cbResolution->currentText().toStdString(), "320x240");
  EXPECT_EQ(form.cbBitDepth->currentText().toStdString(), "256 Color (8 bit)");
  EXPECT_EQ(form.cbVantaRes->currentText().toStdString(), "800x600");
  EXPECT_EQ(form.lblFile->text().toStdString(), "/home/ann/Talks/Q3 review.ppt");
  EXPECT_TRUE(form.chkLinked->isVisible());
  EXPECT_FALSE(form.chkLinked->isChecked());
  EXPECT_FALSE(form.fmeAdvanced->isVisible());
  EXPECT_EQ(form.cmdAdvanced->text().toStdString(), "Advanced...");
}

TEST(FrmSlidrOptions, AdvancedShowsAndHidesTheFrameAndTheFormFollows) {
  frmSlidr_Options form;
  form.show();
  const int closedHeight = form.height();
  form.cmdAdvanced->click();
  EXPECT_TRUE(form.fmeAdvanced->isVisible());
  EXPECT_EQ(form.cmdAdvanced->text().toStdString(), "Hide Advanced");
  EXPECT_GT(form.height(), closedHeight);
  EXPECT_GT(form.cmdOK->y(), form.fmeAdvanced->y()) << "the buttons move below the frame";
  form.cmdAdvanced->click();
  EXPECT_FALSE(form.fmeAdvanced->isVisible());
  EXPECT_EQ(form.cmdAdvanced->text().toStdString(), "Advanced...");
  EXPECT_EQ(form.height(), closedHeight);
}

TEST(FrmSlidrOptions, WithoutLinkingTheLinkRowIsHiddenAndTheFormShorter) {
  frmSlidr_Options linking;
  linking.SetShowLinking(true);
  linking.SetLinkFile("/tmp/a.ppt");
  linking.show();
  frmSlidr_Options plain;
  plain.show();
  EXPECT_FALSE(plain.chkLinked->isVisible());
  EXPECT_FALSE(plain.lblFile->isVisible());
  EXPECT_LT(plain.height(), linking.height());
  EXPECT_LT(plain.cmdAdvanced->y(), linking.cmdAdvanced->y());
  EXPECT_FALSE(plain.FileLinked());
}

// The large-screen controls start disabled when UseVanta is off and enabled
// when it is on; the tick box switches them.
TEST(FrmSlidrOptions, VantaControlsStartAsUseVantaSays) {
  {
    frmSlidr_Options form;
    form.show();
    EXPECT_FALSE(form.chkVantaSlide->isChecked());
    EXPECT_FALSE(form.cbVantaRes->isEnabled());
    EXPECT_FALSE(form.cbVantaDepth->isEnabled());
    EXPECT_FALSE(form.lblVantaRes->isEnabled());
    form.chkVantaSlide->click();
    EXPECT_TRUE(form.cbVantaRes->isEnabled());
    EXPECT_TRUE(form.lblVantaDepth->isEnabled());
  }
  registry::SetValue(Hive::CurrentUser, kKey, "VantaSlide", registry::Value::DWord(1));
  frmSlidr_Options form;
  form.show();
  EXPECT_TRUE(form.chkVantaSlide->isChecked());
  EXPECT_TRUE(form.cbVantaRes->isEnabled());
  EXPECT_TRUE(form.cbVantaDepth->isEnabled());
}

// Closing with the window's close box is Cancel: the caller stops the import
// instead of going on with a dialog the user dismissed.
TEST(FrmSlidrOptions, CloseBoxIsCancel) {
  frmSlidr_Options form;
  form.SetShowLinking(true);
  form.show();
  form.chkLinked->click();
  EXPECT_TRUE(form.close());
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(form.Cancelled());
  EXPECT_TRUE(form.FileLinked()) << "the tick stays as the user left it";
  EXPECT_EQ(form.result(), QDialog::Rejected);
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, kKey));
}

// The caller's way: exec() loads the form, runs it modally and returns how it
// was closed.
TEST(FrmSlidrOptions, ExecRunsModallyUntilClosed) {
  frmSlidr_Options form;
  form.SetShowLinking(true);
  form.SetLinkFile("/tmp/a.ppt");
  QTimer::singleShot(0, &form, [&form] {
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isModal());
    form.chkLinked->click();
    form.cmdOK->click();
  });
  EXPECT_EQ(form.exec(), QDialog::Accepted);
  EXPECT_FALSE(form.Cancelled());
  EXPECT_TRUE(form.FileLinked());
  EXPECT_EQ(StoredWord("SlideWidth"), 320u);
}

TEST(FrmSlidrOptions, CancelButtonSavesNothing) {
  frmSlidr_Options form;
  form.show();
  form.cbResolution->setCurrentIndex(0);
  form.cmdCancel->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_TRUE(form.Cancelled());
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, kKey));
}

TEST(FrmSlidrOptions, OkSavesTheChoice) {
  frmSlidr_Options form;
  form.show();
  form.cbResolution->setCurrentText(QStringLiteral("640x480"));
  form.cbBitDepth->setCurrentText(QStringLiteral("Hi Color (16 bit)"));
  form.chkVantaSlide->click();
  form.cbVantaRes->setCurrentText(QStringLiteral("1024x768"));
  form.cmdOK->click();
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.Cancelled());
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(StoredWord("SlideWidth"), 640u);
  EXPECT_EQ(StoredWord("SlideHeight"), 480u);
  EXPECT_EQ(StoredWord("BitDepth"), 16u);
  EXPECT_EQ(StoredWord("VantaSlide"), 1u);
  EXPECT_EQ(StoredWord("VantaWidth"), 1024u);
  EXPECT_EQ(StoredWord("VantaHeight"), 768u);
  EXPECT_EQ(StoredWord("VantaDepth"), 8u);
}

// The whole dialog, advanced part open, drawn offscreen: every text fits its
// control, every control lies inside the window, and the picture has text on it.
TEST(FrmSlidrOptions, ScreenshotShowsEveryTextWhole) {
  frmSlidr_Options form;
  form.SetShowLinking(true);
  form.SetLinkFile("/home/ann/Talks/Quarterly review.ppt");
  form.show();
  form.cmdAdvanced->click();
  const QRect window = form.rect();
  for (QWidget* w : form.findChildren<QWidget*>()) {
    if (!w->isVisible() || w->objectName().isEmpty()) continue;
    const QRect inForm(w->mapTo(&form, QPoint(0, 0)), w->size());
    EXPECT_TRUE(window.contains(inForm)) << w->objectName().toStdString();
    if (qobject_cast<QLabel*>(w) || qobject_cast<QCheckBox*>(w) || qobject_cast<QPushButton*>(w) ||
        qobject_cast<QComboBox*>(w)) {
      EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
      EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
    }
  }
  const std::string file = testing::SaveScreenshot(form, "slidr_options");
  const QImage picture(QString::fromStdString(file));
  ASSERT_FALSE(picture.isNull());
  EXPECT_EQ(picture.size(), form.grab().size());
  // Drawn text gives many shades (anti-aliasing); an empty form has a handful.
  QSet<QRgb> colours;
  for (int y = 0; y < picture.height(); y += 1) {
    for (int x = 0; x < picture.width(); x += 1) colours.insert(picture.pixel(x, y));
  }
  EXPECT_GT(colours.size(), 20);
}

}  // namespace
}  // namespace brevora::slides::dialog
