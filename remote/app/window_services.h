#pragma once
// The receiver's message boxes and file dialog (the platform's services) as Qt
// dialogs. A message box is titled with the program's name unless the message
// names another title. Both are owned by the main window while that is visible
// (which is raised first) and are brought to the foreground. They run on the
// window's thread; the worker reaches them through UiCaller.
#include <QPointer>
#include <QWidget>

#include "platform/services/file_dialog.h"
#include "platform/services/message_box.h"

namespace brevora::remote::app {

class WindowMessageBox : public services::MessageBox {
 public:
  void SetOwner(QWidget* owner) { owner_ = owner; }
  services::MsgResult Show(const services::Message& message) override;

 private:
  QPointer<QWidget> owner_;
};

// Open dialogs take only a file that exists; the first pattern of the filter
// gives the extension added to a name typed without one. A chosen path the code
// page cannot hold is answered as a cancel.
class WindowFileDialog : public services::FileDialog {
 public:
  void SetOwner(QWidget* owner) { owner_ = owner; }
  std::optional<std::string> Show(const services::FileRequest& request) override;

 private:
  QPointer<QWidget> owner_;
};

// The visible owner, raised, or null.
QWidget* RaisedOwner(QWidget* owner);

}  // namespace brevora::remote::app
