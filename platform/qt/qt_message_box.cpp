#include "platform/qt/qt_message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "platform/text/codepage.h"

namespace brevora::qt {
namespace {

using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

QString ToQt(const std::string& codePage) {
  return QString::fromStdString(text::CpToUtf8(codePage));
}

QMessageBox::Icon IconOf(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical:
      return QMessageBox::Critical;
    case MsgIcon::Question:
      return QMessageBox::Question;
    case MsgIcon::Exclamation:
      return QMessageBox::Warning;
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ButtonsOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
      return QMessageBox::Ok;
    case MsgButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
      return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::RetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

// The first button of the set, as Windows makes it the default.
QMessageBox::StandardButton DefaultOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel:
      return QMessageBox::Ok;
    case MsgButtons::AbortRetryIgnore:
      return QMessageBox::Abort;
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNo:
      return QMessageBox::Yes;
    case MsgButtons::RetryCancel:
      return QMessageBox::Retry;
  }
  return QMessageBox::Ok;
}

MsgResult ResultOf(int button, MsgButtons buttons) {
  switch (button) {
    case QMessageBox::Ok:
      return MsgResult::Ok;
    case QMessageBox::Cancel:
      return MsgResult::Cancel;
    case QMessageBox::Abort:
      return MsgResult::Abort;
    case QMessageBox::Retry:
      return MsgResult::Retry;
    case QMessageBox::Ignore:
      return MsgResult::Ignore;
    case QMessageBox::Yes:
      return MsgResult::Yes;
    case QMessageBox::No:
      return MsgResult::No;
    default:
      return services::SafeAnswer(buttons);  // closed without a button
  }
}

}  // namespace

MsgResult QtMessageBox::Show(const services::Message& message) {
  QWidget* owner = owner_ && owner_->isVisible() ? owner_.data() : QApplication::activeWindow();
  if (owner) {
    owner->raise();
    owner->activateWindow();
  }
  QMessageBox box(IconOf(message.icon), ToQt(message.title.empty() ? defaultTitle_ : message.title),
                  ToQt(message.text), ButtonsOf(message.buttons), owner);
  box.setDefaultButton(DefaultOf(message.buttons));
  box.setWindowFlag(Qt::WindowStaysOnTopHint, owner == nullptr);
  // In front even when the program's window is hidden (a tray program's).
  box.setWindowModality(Qt::ApplicationModal);  // modal from its first show on
  box.show();
  box.raise();
  box.activateWindow();
  return ResultOf(box.exec(), message.buttons);
}

}  // namespace brevora::qt
