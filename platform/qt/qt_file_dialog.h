#pragma once
// QtFileDialog: the file-dialog service (platform/services/file_dialog.h) as
// Qt's file dialog. It belongs to the owner window when one is set and visible
// (raised first), else to the active window, and is brought to the front. An
// Open dialog takes only a file that exists; a filter whose first pair names a
// single pattern "*.ext" adds that extension to a name typed without one. The
// title and the filter are code page; the initial name and the chosen file are
// system paths. A chosen name the code page can't hold raises 52 "Bad file
// name or number". Call it on the thread of the QApplication.
#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>
#include <vector>

#include "platform/services/file_dialog.h"

namespace brevora::qt {

class QtFileDialog : public services::FileDialog {
 public:
  void SetOwner(QWidget* owner) { owner_ = owner; }
  std::optional<std::string> Show(const services::FileRequest& request) override;

 private:
  QPointer<QWidget> owner_;
};

// Visual Basic's filter text ("Pictures (*.png)|*.png|All Files|*.*") as Qt's
// filters ("Pictures (*.png) (*.png)", "All Files (*.*)"), code page; a pair
// left without its patterns is dropped.
std::vector<std::string> QtFilters(const std::string& filter);

}  // namespace brevora::qt
