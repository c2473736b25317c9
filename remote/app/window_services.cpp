#include "remote/app/window_services.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "platform/fs/paths.h"
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

QString FromCodePage(const std::string& text) { return QString::fromStdString(text::CpToUtf8(text)); }

}  // namespace

QWidget* RaisedOwner(QWidget* owner) {
  if (!owner || !owner->isVisible()) return nullptr;
  owner->raise();
  owner->activateWindow();
  return owner;
}

MsgResult WindowMessageBox::Show(const services::Message& message) {
  QWidget* owner = RaisedOwner(owner_);
  const std::string title = message.title.empty() ? std::string(kProgramTitle) : message.title;
  QMessageBox box(IconOf(message.icon), FromCodePage(title), FromCodePage(message.text), ButtonsOf(message.buttons),
                  owner);
  box.setWindowFlag(Qt::WindowStaysOnTopHint, owner == nullptr);
  box.show();
  box.raise();
  box.activateWindow();
  return ResultOf(box.exec(), message.buttons);
}

std::optional<std::string> WindowFileDialog::Show(const services::FileRequest& request) {
  QFileDialog dialog(RaisedOwner(owner_));
  if (!request.title.empty()) dialog.setWindowTitle(FromCodePage(request.title));
  const bool open = request.kind == services::FileDialogKind::Open;
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // "PowerPoint Files (*.ppt)|*.ppt" as Qt's "PowerPoint Files (*.ppt) (*.ppt)".
  const QStringList parts = FromCodePage(request.filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    if (i == 0 && patterns.startsWith(QStringLiteral("*.")) && !patterns.contains(QLatin1Char(' '))) {
      dialog.setDefaultSuffix(patterns.mid(2));
    }
  }
  if (!filters.isEmpty()) dialog.setNameFilters(filters);
  if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(fs::NativePath(request.fileName)));
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const std::string chosen = dialog.selectedFiles().front().toStdString();
  if (!text::Utf8ToCpExact(chosen)) return std::nullopt;
  return fs::SystemPath(chosen);
}

}  // namespace brevora::remote::app
