#pragma once
// The Qt faces of the platform's message-box and file-dialog services, which a
// Qt program installs at start (tests keep their scripted ones): QMessageBox
// and QFileDialog, owned by the active window. Texts are code page; Qt gets
// UTF-8.
#include "platform/services/file_dialog.h"
#include "platform/services/message_box.h"

namespace brevora::album {

class QtMessageBox : public services::MessageBox {
 public:
  services::MsgResult Show(const services::Message& message) override;
};

// The chosen file comes back as a system path; a name the code page can't
// hold raises 52 "Bad file name or number".
class QtFileDialog : public services::FileDialog {
 public:
  std::optional<std::string> Show(const services::FileRequest& request) override;
};

}  // namespace brevora::album
