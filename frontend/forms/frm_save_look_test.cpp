// The main window's look on the offscreen platform: themes, the banner and its
// picture, the web pages of the menus, the smallest size, the link settings of
// a file and the presentation options button.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <map>

#include "core/module_state.h"
#include "core/registry_helpers.h"
#include "core/session.h"
#include "frontend/form_factory.h"
#include "frontend/forms/frm_properties.h"
#include "frontend/forms/frm_save.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/forms/window_test_support.h"
#include "frontend/frontend_test_support.h"
#include "frontend/internet.h"
#include "frontend/tabrel_pc.h"
#include "frontend/web_links.h"
#include "frontend/window_settings.h"
#include "frontend/window_test_home.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/service_slot.h"
#include "platform/services/web_browser.h"
#include "platform/text/case.h"
#include "sheet/workbook.h"
#include "slides/dialog/frm_slidr_options.h"
#include "testing/screenshot.h"

namespace brevora::frontend::forms {
namespace {

std::string Setting(const char* name) { return core::GetRegistryString(kSuiteSettingsKey, name); }
void Store(const char* name, const std::string& value) {
  core::SetRegistryString(kSuiteSettingsKey, name, Variant(value));
}

// A web-request object that is never online and records the pictures asked
// of it.
class OfflineInternet : public Dispatch {
 public:
  Variant Invoke(std::string_view name, CallKind, Args args) override {
    if (text::EqualsNoCase(name, "InternetOnline")) return Variant(false);
    if (text::EqualsNoCase(name, "GetWebFile")) fetched.push_back(CStr(args[2]));
    return Variant();
  }
  std::vector<std::string> fetched;
};

// Registers `made` as the web-request object for a scope; the windows' own
// comes back after it.
struct InternetForTheTest {
  explicit InternetForTheTest(Ref<Dispatch> made) {
    RegisterClass(kInternetProgId, "", [made] { return made; });
  }
  ~InternetForTheTest() {
    RegisterClass(kInternetProgId, "", [] {
      return Ref<Dispatch>(MakeRef<Internet>([](std::function<void()> task) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(task),
                                  Qt::QueuedConnection);
      }));
    });
  }
};

class MainWindowLook : public test::MainWindowDesktop {
 protected:
  void SetUp() override {
    MainWindowDesktop::SetUp();
    business_ = test::CategoryFolder(user_, 0, "Business");
    test::CategoryFolder(user_, 0, "Unfiled");
    test::WriteWorkbook(business_ + "/Budget.tbr", "/office/Budget.xls");
    test::WriteWorkbook(business_ + "/Staff.tbr");
  }

  test::RecordedMessages messages_;
  std::shared_ptr<services::RecordingWebBrowser> browser_ =
      std::make_shared<services::RecordingWebBrowser>();
  services::ScopedService<services::WebBrowser> browserScope_{services::InstallWebBrowser,
                                                              browser_};
  std::string business_;
};

QColor Pixel(QWidget& widget, QPoint at) { return widget.grab().toImage().pixelColor(at); }

TEST_F(MainWindowLook, ThemesColourTheSideBarAndTheBannerAndAreStored) {
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  EXPECT_EQ(Setting("Theme"), "0");
  EXPECT_EQ(Setting("Banner"), "show");
  ASSERT_TRUE(w.Picture2->isVisible());
  const QPoint barPoint(w.picOutlook->width() / 2, w.picOutlook->height() - 4);
  EXPECT_EQ(Pixel(*w.picOutlook, barPoint), QColor(99, 0, 82));
  EXPECT_EQ(Pixel(*w.Picture2, {5, 5}), QColor(99, 0, 82));
  EXPECT_EQ(w.lblName->palette().color(QPalette::WindowText), QColor(255, 255, 255));
  testing::SaveScreenshot(w, "frmSave-theme0");

  w.mnuTheme[2]->trigger();
  EXPECT_EQ(Setting("Theme"), "2");
  EXPECT_EQ(form.iTheme, 2);
  test::Deliver();
  EXPECT_EQ(Pixel(*w.picOutlook, barPoint), QColor(189, 150, 107));
  EXPECT_EQ(Pixel(*w.Picture2, {5, 5}), QColor(189, 150, 107));
  EXPECT_EQ(w.lblName->palette().color(QPalette::WindowText),
            QColor(0, 0, 0));  // black on the sand
  testing::SaveScreenshot(w, "frmSave-theme2");

  // The theme comes back with the next window.
  form.Unload();
  test::Deliver();
  EXPECT_EQ(Setting("Theme"), "2");
  SaveForm& again = OpenMainWindow();
  EXPECT_EQ(again.iTheme, 2);
}

// The caption of a file-mode button stands out from what is behind it: on the
// bar's colour, on the light face of the pressed button, and on the face the
// style draws under the mouse. (The caption is the bottom text line of the
// button; its most distant pixel from the dominant colour there is the text.)
TEST_F(MainWindowLook, TheSideBarCaptionsStayReadableUnderTheMouse) {
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  auto contrast = [&w](QWidget& button) {
    // The button as it stands on the bar, which paints the bar's colour.
    const QImage image =
        w.picOutlook->grab(QRect(button.mapTo(w.picOutlook, QPoint(0, 0)), button.size()))
            .toImage();
    const int line = QFontMetrics(button.font()).height();
    std::map<QRgb, int> counts;
    for (int y = image.height() - line; y < image.height() - 2; ++y) {
      for (int x = 2; x < image.width() - 2; ++x) ++counts[image.pixel(x, y)];
    }
    const QColor ground(
        std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
          return a.second < b.second;
        })->first);
    int best = 0;
    for (const auto& [rgb, n] : counts) {
      const QColor c(rgb);
      best =
          std::max(best, std::abs(c.red() - ground.red()) + std::abs(c.green() - ground.green()) +
                             std::abs(c.blue() - ground.blue()));
    }
    return best;
  };
  for (const int theme : {0, 2, 6}) {
    SCOPED_TRACE(theme);
    w.mnuTheme[static_cast<size_t>(theme)]->trigger();
    test::Deliver();
    QWidget& pressed = *w.Toolbar1->widgetForAction(w.fileModeButtons[0]);
    QWidget& other = *w.Toolbar1->widgetForAction(w.fileModeButtons[1]);
    EXPECT_GT(contrast(pressed), 300);
    EXPECT_GT(contrast(other), 300);
    other.setAttribute(Qt::WA_UnderMouse, true);
    EXPECT_GT(contrast(other), 300);
    testing::SaveScreenshot(*w.picOutlook, "frmSave-sidebar-hover-theme" + std::to_string(theme));
    other.setAttribute(Qt::WA_UnderMouse, false);
  }
}

TEST_F(MainWindowLook, BannerHideInAnyCaseHidesItAndTheMenuTogglesIt) {
  Store("Banner", "HIDE");
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  EXPECT_FALSE(w.Picture2->isVisible());
  emit w.mnuView->aboutToShow();
  EXPECT_FALSE(w.mnuEnableBanner->isChecked());
  w.mnuEnableBanner->trigger();
  EXPECT_EQ(Setting("Banner"), "show");
  EXPECT_TRUE(w.Picture2->isVisible());
  w.mnuEnableBanner->trigger();
  EXPECT_EQ(Setting("Banner"), "hide");
  EXPECT_FALSE(w.Picture2->isVisible());
}

TEST_F(MainWindowLook, MenusAndTheBannerOpenTheirPages) {
  Store("Link", "https://example.org/landing");
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  for (QAction* item :
       {w.mnuSupport, w.mnuUpdate, w.mnuWeb, w.mnuDLWorkbooks, w.mnuGutenberg, w.mnuMemoware}) {
    item->trigger();
  }
  QMouseEvent click(QEvent::MouseButtonRelease, QPointF(3, 3), QPointF(3, 3), Qt::LeftButton,
                    Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w.Picture2, &click);
  QApplication::sendEvent(w.picLogo, &click);
  EXPECT_EQ(browser_->opened(),
            (std::vector<std::string>{kSupportPage, kUpgradePage, kMakerHome, kFreeWorkbooksPage,
                                      kGutenbergHome, kMemowareHome, "https://example.org/landing",
                                      kProductHome}));
}

// The windows' own web-request object is never online, but a picture of a
// file: address needs no connection: it is fetched all the same.
TEST_F(MainWindowLook, ABannerPictureIsDrawnWithItsGreyLeftOutAndOneArrivingAfterCloseIsDropped) {
  const std::string picture = testing::MakeTempDir("web") + "/banner.png";
  QImage image(4, 4, QImage::Format_RGB32);
  image.fill(QColor(102, 102, 102));
  image.setPixelColor(1, 1, QColor(255, 0, 0));
  ASSERT_TRUE(image.save(QString::fromStdString(picture)));
  Store("Graphic", "file://" + picture);
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  test::Deliver();
  EXPECT_EQ(Pixel(*w.Picture2, {1, 1}), QColor(255, 0, 0));
  EXPECT_EQ(Pixel(*w.Picture2, {0, 0}), QColor(99, 0, 82));
  EXPECT_TRUE(fs::FileExists(fs::StateDir() + "/cache/brevora.gif"));

  // A download that ends after the window closed is dropped: the window
  // stays closed and takes no picture.
  Ref<Form> held(&form);
  form.picDownload = QImage();
  form.LoadAdGraphic();
  form.Unload();
  test::Deliver();
  EXPECT_FALSE(held->IsLoaded());
  EXPECT_TRUE(form.picDownload.isNull());
  EXPECT_TRUE(Forms()->LoadedForms().empty());
}

// Offline, only a banner picture of a file: address is asked for.
TEST_F(MainWindowLook, OfflineOnlyAFileBannerPictureIsFetched) {
  const struct {
    std::string address;
    bool fetched;
  } cases[] = {{"file:///pictures/banner.gif", true},
               {"FILE:/pictures/banner.gif", true},
               {"https://example.org/banner.gif", false},
               {"", false}};  // the default picture is on the web
  for (const auto& c : cases) {
    SCOPED_TRACE(c.address);
    const auto internet = MakeRef<OfflineInternet>();
    const InternetForTheTest scope(internet);
    Store("Graphic", c.address);
    SaveForm& form = OpenMainWindow();
    EXPECT_EQ(internet->fetched,
              c.fetched ? std::vector<std::string>{c.address} : std::vector<std::string>{});
    form.Unload();
    test::Deliver();
  }
}

TEST_F(MainWindowLook, TheWindowIsNeverSmallerThanItsMinimum) {
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  w.resize(100, 100);
  test::Deliver();
  EXPECT_GE(w.width(), 6480 / 15);
  EXPECT_GE(w.height(), 3600 / 15);
}

// At the first start (the default width) the file list and all its column
// headers are inside the window.
TEST_F(MainWindowLook, AtTheDefaultSizeTheFileListAndItsHeadersFitTheWindow) {
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  test::Deliver();
  EXPECT_GE(w.width(), 9300 / 15);
  const QRect list(w.lstWorkbook->mapTo(&w, QPoint(0, 0)), w.lstWorkbook->size());
  EXPECT_TRUE(w.rect().contains(list)) << list.right() << " in " << w.width();
  const QHeaderView& header = *w.lstWorkbook->header();
  ASSERT_EQ(header.count(), 4);
  for (int i = 0; i < header.count(); ++i) {
    EXPECT_GE(header.sectionSize(i), header.sectionSizeHint(i)) << i;
    EXPECT_LE(header.sectionViewportPosition(i) + header.sectionSize(i), header.viewport()->width())
        << i;
  }
  testing::SaveScreenshot(w, "frmSave-default-size");
}

TEST_F(MainWindowLook, LinkedFileEditsTheSelectedRowAndItsFile) {
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  // An unlinked row leaves the entry disabled; a linked one enables it.
  w.lstWorkbook->setCurrentItem(w.lstWorkbook->topLevelItem(1));
  emit w.mnuFile->aboutToShow();
  EXPECT_FALSE(w.mnuFileLinked->isEnabled());
  QTreeWidgetItem* budget = w.lstWorkbook->topLevelItem(0);
  ASSERT_EQ(budget->text(0), QStringLiteral("Budget"));
  w.lstWorkbook->setCurrentItem(budget);
  emit w.mnuFile->aboutToShow();
  EXPECT_TRUE(w.mnuFileLinked->isEnabled());
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<frmProperties*>(QApplication::activeModalWidget());
    ASSERT_TRUE(dialog);
    testing::SaveScreenshot(*dialog, "frmProperties-main");
    EXPECT_EQ(dialog->txtLinkTo->text(), QStringLiteral("/office/Budget.xls"));
    EXPECT_TRUE(dialog->optSyncOpt[0]->isChecked());
    dialog->txtLinkTo->setText(QStringLiteral("/office/Budget 2027.xls"));
    dialog->optSyncOpt[2]->click();
    dialog->cmdOkCancel[0]->click();
  });
  w.mnuFileLinked->trigger();
  for (const auto& m : messages_->shown()) ADD_FAILURE() << m.text;
  EXPECT_EQ(budget->text(2), QStringLiteral("/office/Budget 2027.xls"));
  EXPECT_EQ(budget->text(3), QStringLiteral("XLS to Palm"));
  Ref<sheet::Workbook> read = MakeRef<sheet::Workbook>();
  read->OpenFromDisk(business_ + "/Budget.tbr", false, false);
  EXPECT_EQ(read->LinkedXLSFileName(), "/office/Budget 2027.xls");
  EXPECT_EQ(read->LinkedXLSSyncMethod(), 2);
}

// Link and Delete need a chosen file: a click beside the rows, or deleting the
// last one, turns them off, and a Link without a chosen file does nothing.
TEST_F(MainWindowLook, LinkAndDeleteWaitForAChosenFile) {
  test::WriteWorkbook(test::CategoryFolder(user_, 0, "Linked") + "/Plan.tbr", "/office/Plan.xls");
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  ASSERT_TRUE(w.btnLink->isEnabled());  // Budget, linked, is chosen
  QWidget* rows = w.lstWorkbook->viewport();
  const QPointF beside(10, rows->height() - 5);
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
    QMouseEvent click(type, beside, rows->mapToGlobal(beside), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
    QApplication::sendEvent(rows, &click);
  }
  EXPECT_TRUE(w.lstWorkbook->selectedItems().isEmpty());
  EXPECT_FALSE(w.btnLink->isEnabled());
  EXPECT_FALSE(w.btnDelete->isEnabled());
  emit w.mnuFile->aboutToShow();
  EXPECT_FALSE(w.mnuFileLinked->isEnabled());
  form.Toolbar_ButtonClick("btnLink");  // as a press that came before the change
  EXPECT_TRUE(messages_->shown().empty());

  w.lstWorkbook->topLevelItem(0)->setSelected(true);  // Budget chosen again
  EXPECT_TRUE(w.btnLink->isEnabled());
  EXPECT_TRUE(w.btnDelete->isEnabled());

  // The only file of "Linked", deleted: nothing is left to link.
  w.lstCategory->setCurrentRow(1);
  ASSERT_EQ(test::Texts(*w.lstWorkbook), std::vector<std::string>{"Plan"});
  ASSERT_TRUE(w.btnLink->isEnabled());
  messages_->Answer(services::MsgResult::Yes);
  form.DeleteCommand();
  EXPECT_EQ(w.lstWorkbook->topLevelItemCount(), 0);
  EXPECT_FALSE(w.btnLink->isEnabled());
  EXPECT_FALSE(w.btnDelete->isEnabled());
}

TEST_F(MainWindowLook, LinkedFileOfARowWhoseFileIsGoneSaysSoAndChangesNothing) {
  SaveForm& form = OpenMainWindow();
  frmSave& w = form.window();
  QTreeWidgetItem* budget = w.lstWorkbook->topLevelItem(0);
  w.lstWorkbook->setCurrentItem(budget);
  fs::RemoveFile(business_ + "/Budget.tbr");
  form.EditFileProperties();
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0].title, "Brevora");
  EXPECT_EQ(messages_->shown()[0].icon, services::MsgIcon::Critical);
  EXPECT_EQ(budget->text(2), QStringLiteral("/office/Budget.xls"));
}

TEST_F(MainWindowLook, OptionsShowsThePresentationOptionsDialog) {
  SaveForm& form = OpenMainWindow();
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* dialog =
        qobject_cast<slides::dialog::frmSlidr_Options*>(QApplication::activeModalWidget());
    shown = dialog != nullptr;
    if (dialog) dialog->cmdCancel->click();
  });
  form.cmdOptions_Click();
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace brevora::frontend::forms
