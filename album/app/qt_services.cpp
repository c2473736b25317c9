#include "album/app/qt_services.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

#include "platform/fs/paths.h"
#include "platform/text/codepage.h"

namespace brevora::album {
namespace {

using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

QString ToQt(const std::string& codePage) { return QString::fromStdString(text::CpToUtf8(codePage)); }

QMessageBox::Icon IconOf(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::Critical: return QMessageBox::Critical;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Exclamation: return QMessageBox::Warning;
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

std::vector<std::pair<QMessageBox::StandardButton, MsgResult>> ButtonsOf(MsgButtons buttons) {
  using B = QMessageBox;
  switch (buttons) {
    case MsgButtons::Ok: return {{B::Ok, MsgResult::Ok}};
    case MsgButtons::OkCancel: return {{B::Ok, MsgResult::Ok}, {B::Cancel, MsgResult::Cancel}};
    case MsgButtons::AbortRetryIgnore:
      return {{B::Abort, MsgResult::Abort}, {B::Retry, MsgResult::Retry}, {B::Ignore, MsgResult::Ignore}};
    case MsgButtons::YesNoCancel:
      return {{B::Yes, MsgResult::Yes}, {B::No, MsgResult::No}, {B::Cancel, MsgResult::Cancel}};
    case MsgButtons::YesNo: return {{B::Yes, MsgResult::Yes}, {B::No, MsgResult::No}};
    case MsgButtons::RetryCancel: return {{B::Retry, MsgResult::Retry}, {B::Cancel, MsgResult::Cancel}};
  }
  return {{B::Ok, MsgResult::Ok}};
}

// "Pictures (*.png)|*.png|All Files|*.*" as Qt's "Pictures (*.png) (*.png);;All Files (*.*)".
QString QtFilter(const std::string& filter) {
  if (filter.empty()) return {};
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace

MsgResult QtMessageBox::Show(const services::Message& message) {
  QMessageBox box(IconOf(message.icon), ToQt(message.title.empty() ? "Brevora" : message.title),
                  ToQt(message.text), QMessageBox::NoButton, QApplication::activeWindow());
  const auto buttons = ButtonsOf(message.buttons);
  for (const auto& [button, result] : buttons) box.addButton(button);
  box.setDefaultButton(buttons.front().first);
  const auto clicked = static_cast<QMessageBox::StandardButton>(box.exec());
  for (const auto& [button, result] : buttons) {
    if (button == clicked) return result;
  }
  return services::SafeAnswer(message.buttons);
}

std::optional<std::string> QtFileDialog::Show(const services::FileRequest& request) {
  QWidget* owner = QApplication::activeWindow();
  const QString title = ToQt(request.title);
  const QString initial = QString::fromStdString(fs::NativePath(request.fileName));
  const QString filter = QtFilter(request.filter);
  const QString chosen = request.kind == services::FileDialogKind::Open
                             ? QFileDialog::getOpenFileName(owner, title, initial, filter)
                             : QFileDialog::getSaveFileName(owner, title, initial, filter);
  if (chosen.isEmpty()) return std::nullopt;
  return fs::SystemPath(chosen.toStdString());
}

}  // namespace brevora::album
