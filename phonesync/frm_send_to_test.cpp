// The send-tool window as a real Qt window (offscreen): its controls found by
// name, its list, OK and Cancel, the picker that runs it, and a screenshot.
#include "phonesync/frm_send_to.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCloseEvent>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <thread>

#include "phonesync/sync_test_support.h"
#include "testing/screenshot.h"

namespace brevora::bvsync {
namespace {

namespace stdfs = std::filesystem;

// A Send To folder with a Bluetooth folder of two phones, an infrared
// launcher, a program and two phones of the same name.
void SeedSendTo() {
  const std::string s = test::SendToFolder();
  test::WriteLauncher(s + "/Bluetooth/Phone A.desktop", "/bin/true %f");
  test::WriteLauncher(s + "/Bluetooth/Phone B.desktop", "/bin/true %f");
  test::WriteLauncher(s + "/Infrared Recipient.desktop", "/bin/true %f");
  test::WriteLauncher(s + "/Work Bluetooth/Phone B.desktop", "/bin/true %f");
  test::WriteText(s + "/Work Bluetooth/obex-send", "x");
  stdfs::create_directories(s + "/Documents");
}

QStringList Texts(const QListWidget& list) {
  QStringList texts;
  for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
  return texts;
}

TEST(FrmSendTo, ControlsByNameAndTheList) {
  SeedSendTo();
  frmSendTo form;
  form.show();
  EXPECT_EQ(form.objectName(), "frmSendTo");
  EXPECT_EQ(form.windowTitle(), "Select Sync Method");
  EXPECT_EQ(form.findChild<QListWidget*>("lstDevices"), form.lstDevices);
  auto* ok = form.findChild<QPushButton*>("cmdOK");
  auto* cancel = form.findChild<QPushButton*>("cmdCancel");
  ASSERT_NE(ok, nullptr);
  ASSERT_NE(cancel, nullptr);
  EXPECT_EQ(ok->text(), "Ok");
  EXPECT_EQ(cancel->text(), "Cancel");
  EXPECT_EQ(Texts(*form.lstDevices),
            (QStringList{"Infrared Recipient", "(bluetooth)Phone A", "(bluetooth)Phone B",
                         "(bluetooth)obex-send", "(bluetooth)Phone B"}));
  EXPECT_EQ(form.lstDevices->item(0)->data(Qt::UserRole).toInt(), 1);
  EXPECT_EQ(form.lstDevices->item(3)->data(Qt::UserRole).toInt(), 0);
  EXPECT_TRUE(form.lstDevices->selectedItems().isEmpty());
}

// OK gives the path of the selected line's own target (the second of two
// equal lines gives the second); OK with nothing selected, Cancel and the
// close box give "".
TEST(FrmSendTo, OkAndCancel) {
  SeedSendTo();
  const std::string s = test::SendToFolder();
  struct Case {
    int row;  // -1: nothing selected
    const char* button;
    std::string path;
  };
  const Case cases[] = {
      {2, "cmdOK", s + "/Bluetooth/Phone B.desktop"},
      {4, "cmdOK", s + "/Work Bluetooth/Phone B.desktop"},
      {0, "cmdOK", s + "/Infrared Recipient.desktop"},
      {-1, "cmdOK", ""},
      {1, "cmdCancel", ""},
      {1, "close", ""},
  };
  for (const Case& c : cases) {
    frmSendTo form;
    form.show();
    if (c.row >= 0) form.lstDevices->setCurrentRow(c.row);
    if (std::string(c.button) == "close") {
      form.close();
    } else {
      form.findChild<QPushButton*>(c.button)->click();
    }
    EXPECT_FALSE(form.isVisible()) << c.row << c.button;
    EXPECT_EQ(form.SyncPath(), c.path) << c.row << " " << c.button;
  }
}

// The library's picker runs the window modally and returns its choice; its
// close box, pressed while the modal loop runs, is Cancel.
TEST(FrmSendTo, ThePickerRunsTheWindowModally) {
  SeedSendTo();
  for (const bool closeBox : {false, true}) {
    bool shown = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
      auto* form = qobject_cast<frmSendTo*>(QApplication::activeModalWidget());
      if (form == nullptr) return;
      shown = true;
      EXPECT_TRUE(form->isModal());
      form->lstDevices->setCurrentRow(1);
      if (closeBox) {
        QCloseEvent close;  // as the window manager's close box sends it
        QApplication::sendEvent(form->windowHandle(), &close);
      } else {
        form->cmdOK->click();
      }
    });
    timer.start(0);
    FormPicker picker;
    EXPECT_EQ(picker.Choose(), closeBox ? "" : test::SendToFolder() + "/Bluetooth/Phone A.desktop");
    EXPECT_TRUE(shown);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  }
}

// Called from another thread the picker makes no window and answers Cancel.
TEST(FrmSendTo, ThePickerOnAnotherThreadIsCancel) {
  SeedSendTo();
  std::string answer = "not asked";
  std::thread([&] { answer = FormPicker().Choose(); }).join();
  EXPECT_EQ(answer, "");
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(FrmSendTo, EmptyWithoutASendToFolder) {
  frmSendTo form;
  form.show();
  EXPECT_EQ(form.lstDevices->count(), 0);
  form.cmdOK->click();
  EXPECT_EQ(form.SyncPath(), "");
}

// The window drawn offscreen: every control inside it and big enough for its
// text.
TEST(FrmSendTo, Screenshot) {
  SeedSendTo();
  frmSendTo form;
  form.show();
  form.lstDevices->setCurrentRow(1);
  const QRect window = form.rect();
  for (QWidget* w : form.findChildren<QWidget*>()) {
    if (!w->isVisible() || w->objectName().isEmpty()) continue;
    const QRect inForm(w->mapTo(&form, QPoint(0, 0)), w->size());
    EXPECT_TRUE(window.contains(inForm)) << w->objectName().toStdString();
    EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
  }
  for (int i = 0; i < form.lstDevices->count(); ++i) {
    const QRect item = form.lstDevices->visualItemRect(form.lstDevices->item(i));
    EXPECT_TRUE(form.lstDevices->viewport()->rect().contains(item)) << i;
    EXPECT_GE(item.width(),
              form.lstDevices->fontMetrics().horizontalAdvance(form.lstDevices->item(i)->text()));
  }
  const std::string file = testing::SaveScreenshot(form, "frm_send_to");
  EXPECT_TRUE(stdfs::file_size(file) > 0);
}

}  // namespace
}  // namespace brevora::bvsync
