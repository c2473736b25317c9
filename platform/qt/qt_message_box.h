#pragma once
// QtMessageBox: the message-box service (platform/services/message_box.h) as a
// QMessageBox, for every Qt program and the windows library. Texts are code
// page; Qt gets UTF-8. A message without a title gets the box's default title.
// The box belongs to the owner window when one is set and visible, else to
// the active window (either is raised first); with neither it stays on top.
// The first button is the default, as on Windows. Call it on the thread of the
// QApplication (a worker asks that thread to show it).
#include <QPointer>
#include <QWidget>
#include <string>

#include "platform/services/message_box.h"

namespace brevora::qt {

class QtMessageBox : public services::MessageBox {
 public:
  explicit QtMessageBox(std::string defaultTitle = "Brevora")
      : defaultTitle_(std::move(defaultTitle)) {}
  void SetOwner(QWidget* owner) { owner_ = owner; }
  services::MsgResult Show(const services::Message& message) override;

 private:
  std::string defaultTitle_;
  QPointer<QWidget> owner_;
};

}  // namespace brevora::qt
