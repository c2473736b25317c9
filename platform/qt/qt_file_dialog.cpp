#include "platform/qt/qt_file_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QString>
#include <QStringList>

#include "platform/fs/paths.h"
#include "platform/text/codepage.h"

namespace brevora::qt {
namespace {

QString ToQt(const std::string& codePage) {
  return QString::fromStdString(text::CpToUtf8(codePage));
}

}  // namespace

std::vector<std::string> QtFilters(const std::string& filter) {
  std::vector<std::string> filters;
  std::size_t start = 0;
  std::vector<std::string> parts;
  while (start <= filter.size() && !filter.empty()) {
    const std::size_t bar = filter.find('|', start);
    parts.push_back(
        filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
    std::string patterns = parts[i + 1];
    for (char& c : patterns) {
      if (c == ';') c = ' ';
    }
    filters.push_back(parts[i] + " (" + patterns + ")");
  }
  return filters;
}

std::optional<std::string> QtFileDialog::Show(const services::FileRequest& request) {
  QWidget* owner = owner_ && owner_->isVisible() ? owner_.data() : QApplication::activeWindow();
  if (owner) {
    owner->raise();
    owner->activateWindow();
  }
  QFileDialog dialog(owner);
  if (!request.title.empty()) dialog.setWindowTitle(ToQt(request.title));
  const bool open = request.kind == services::FileDialogKind::Open;
  dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
  dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  QStringList filters;
  for (const std::string& f : QtFilters(request.filter)) filters << ToQt(f);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    // "Name (*.ppt)": the extension of a single pattern.
    const QString first = filters.front();
    const qsizetype at = first.lastIndexOf(QStringLiteral("(*."));
    const QString suffix = at < 0 ? QString() : first.mid(at + 3, first.size() - at - 4);
    if (!suffix.isEmpty() && !suffix.contains(QLatin1Char(' ')) &&
        !suffix.contains(QLatin1Char('*'))) {
      dialog.setDefaultSuffix(suffix);
    }
  }
  if (!request.fileName.empty())
    dialog.selectFile(QString::fromStdString(fs::NativePath(request.fileName)));
  dialog.setWindowModality(Qt::ApplicationModal);  // modal from its first show on
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return fs::SystemPath(dialog.selectedFiles().front().toStdString());
}

}  // namespace brevora::qt
