#include "remote/app/window_message_box.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/text/codepage.h"
#include "remote/receiver_strings.h"

namespace brevora::remote::app {
namespace {

using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

QMessageBox::StandardButtons ButtonsOf(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok: return QMessageBox::Ok;
    case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore: return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::None: return QMessageBox::NoIcon;
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

MsgResult ResultOf(int button, MsgButtons buttons) {
  switch (button) {
    case QMessageBox::Ok: return MsgResult::Ok;
    case QMessageBox::Cancel: return MsgResult::Cancel;
    case QMessageBox::Abort: return MsgResult::Abort;
    case QMessageBox::Retry: return MsgResult::Retry;
    case QMessageBox::Ignore: return MsgResult::Ignore;
    case QMessageBox::Yes: return MsgResult::Yes;
    case QMessageBox::No: return MsgResult::No;
    default: return services::SafeAnswer(buttons);  // closed without a button
  }
}

}  // namespace

MsgResult WindowMessageBox::Show(const services::Message& message) {
  QWidget* owner = owner_ && owner_->isVisible() ? owner_.data() : nullptr;
  if (owner) {
    owner->raise();
    owner->activateWindow();
  }
  const std::string title = message.title.empty() ? std::string(kProgramTitle) : message.title;
  QMessageBox box(IconOf(message.icon), QString::fromStdString(text::CpToUtf8(title)),
                  QString::fromStdString(text::CpToUtf8(message.text)), ButtonsOf(message.buttons), owner);
  box.setWindowFlag(Qt::WindowStaysOnTopHint, owner == nullptr);
  box.show();
  box.raise();
  box.activateWindow();
  return ResultOf(box.exec(), message.buttons);
}

}  // namespace brevora::remote::app
