#pragma once
// WindowMessageBox: the receiver's message boxes (services::MessageBox) as Qt
// dialogs, titled with the program's name unless the message names another
// title. A box is owned by the main window while that is visible (which is
// raised first), and is brought to the foreground. Runs on the window's thread;
// the worker reaches it through UiCaller.
#include <QPointer>
#include <QWidget>

#include "platform/services/message_box.h"

namespace brevora::remote::app {

class WindowMessageBox : public services::MessageBox {
 public:
  void SetOwner(QWidget* owner) { owner_ = owner; }
  services::MsgResult Show(const services::Message& message) override;

 private:
  QPointer<QWidget> owner_;
};

}  // namespace brevora::remote::app
