#include "remote/app/cvantapc_app.h"

#include <QMetaObject>
#include <cstdio>
#include <memory>

#include "platform/error/error.h"
#include "platform/qt/qt_file_dialog.h"
#include "platform/qt/qt_message_box.h"
#include "platform/services/message_box.h"
#include "platform/services/service_slot.h"
#include "remote/app/cvantapc_dlg.h"
#include "remote/app/instance_channel.h"
#include "remote/build_version.h"
#include "remote/receiver_strings.h"

namespace brevora::remote::app {
namespace {

// The file dialog of the receiver: the serial worker asks for the file and can
// take no error back, so a chosen name the code page can't hold is answered
// as a cancel.
class ReceiverFileDialog : public qt::QtFileDialog {
 public:
  std::optional<std::string> Show(const services::FileRequest& request) override {
    try {
      return qt::QtFileDialog::Show(request);
    } catch (const AutomationError& e) {
      if (e.number() != 52) throw;
      return std::nullopt;
    }
  }
};

}  // namespace

int CVantaPCApp::Run(QApplication& application, StartupAction action, InstanceLock& lock,
                     input::InputSink& input) {
  const QString socketPath = InstanceChannel::SocketPath();
  InstanceChannel channel;
  if (!channel.Listen(socketPath)) {
    std::fprintf(stderr, "vantapc: cannot listen on %s; other starts will not find this one\n",
                 socketPath.toLocal8Bit().constData());
  }
  lock.Release();

  // Hiding the window, or closing a message box while it is hidden, must not end the program.
  application.setQuitOnLastWindowClosed(false);
  // Message boxes are titled with the program's name; they and the file dialog
  // belong to the window while it is shown.
  auto messageBox = std::make_shared<qt::QtMessageBox>(kProgramTitle);
  services::ScopedService<services::MessageBox> scopedBox(services::InstallMessageBox, messageBox);
  auto fileDialog = std::make_shared<ReceiverFileDialog>();
  services::ScopedService<services::FileDialog> scopedDialog(services::InstallFileDialog,
                                                             fileDialog);

  CVantaPCDlg dialog(input, GetBuildVersionWord());
  messageBox->SetOwner(&dialog);
  fileDialog->SetOwner(&dialog);
  QObject::connect(&dialog, &CVantaPCDlg::exitRequested, &application, &QApplication::quit,
                   Qt::QueuedConnection);
  QObject::connect(&channel, &InstanceChannel::commandReceived, &dialog,
                   [&dialog](StartupAction command) {
                     switch (command) {
                       case StartupAction::kStart:
                         dialog.OnStart();
                         break;
                       case StartupAction::kStop:
                         dialog.close();
                         break;
                       case StartupAction::kShow:
                         dialog.ShowAndRaise();
                         break;
                     }
                   });

  if (action == StartupAction::kStart) {
    if (!dialog.HasTrayIcon())
      dialog.show();  // without a tray, a hidden window could not be reached
    QMetaObject::invokeMethod(
        &dialog, [&dialog] { dialog.OnStart(); }, Qt::QueuedConnection);
  } else {
    dialog.show();
  }
  return application.exec();
}

}  // namespace brevora::remote::app
