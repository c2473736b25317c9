#include "platform/qt/qt_message_box.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace brevora::qt {
namespace {

using services::Message;
using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

struct Seen {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons buttons;
  QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Shows `message` and, once the box is up, notes what it shows and does `act` on it.
MsgResult ShowAndAct(const Message& message, Seen& seen,
                     const std::function<void(QMessageBox&)>& act) {
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      ADD_FAILURE() << "the dialog is not the modal window";
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) d->reject();  // never hang
      }
      return;
    }
    seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
            box->standardButton(box->defaultButton())};
    act(*box);
  });
  QtMessageBox service;
  return service.Show(message);
}

TEST(QtMessageBox, ShowsTheMessageAndAnswersWithTheButtonPressed) {
  const struct {
    MsgButtons buttons;
    QMessageBox::StandardButton press;
    MsgResult result;
    QMessageBox::StandardButton defaultButton;
  } cases[] = {
      {MsgButtons::Ok, QMessageBox::Ok, MsgResult::Ok, QMessageBox::Ok},
      {MsgButtons::YesNo, QMessageBox::No, MsgResult::No, QMessageBox::Yes},
      {MsgButtons::YesNoCancel, QMessageBox::Cancel, MsgResult::Cancel, QMessageBox::Yes},
      {MsgButtons::AbortRetryIgnore, QMessageBox::Ignore, MsgResult::Ignore, QMessageBox::Abort},
      {MsgButtons::RetryCancel, QMessageBox::Retry, MsgResult::Retry, QMessageBox::Retry},
      {MsgButtons::OkCancel, QMessageBox::Cancel, MsgResult::Cancel, QMessageBox::Ok},
  };
  for (const auto& c : cases) {
    Seen seen;
    const MsgResult result =
        ShowAndAct({"Caf\xE9 closed.", "Select Path", c.buttons, MsgIcon::Critical}, seen,
                   [&](QMessageBox& box) { box.button(c.press)->click(); });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(seen.title, QStringLiteral("Select Path"));
    EXPECT_EQ(seen.text, QString::fromUtf8("Caf\xC3\xA9 closed."));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.defaultButton, c.defaultButton);
  }
}

TEST(QtMessageBox, DefaultTitleAndClosingWithoutAButton) {
  Seen seen;
  const MsgResult result = ShowAndAct({"Sure?", "", MsgButtons::YesNo, MsgIcon::Question}, seen,
                                      [](QMessageBox& box) { box.done(-1); });
  EXPECT_EQ(result, MsgResult::No);  // the answer that changes nothing
  EXPECT_EQ(seen.title, QStringLiteral("Brevora"));
  EXPECT_EQ(seen.icon, QMessageBox::Question);
}

}  // namespace
}  // namespace brevora::qt
