#pragma once
// CVantaPCDlg: the receiver's one window, with the port box, Start, Stop and
// Hide, and the tray icon ("Slidora Remote Control") that brings it back.
//
// Start saves the port ("ComPort") and starts the serial worker (an empty port:
// the window shows "Select the port for the incoming bluetooth connection, then
// select 'Start'"); Stop stops it; Hide hides the window (minimises it when the
// desktop has no tray, and then Start keeps the window shown too). Choosing
// another port while the worker runs says it takes effect after Stop and
// Start. Closing the window stops the worker, removes the tray icon and asks
// the program to end (exitRequested). The window's system menu (a right click
// on the window, or Alt+Space) holds, after a separator, "&About VantaPC...",
// which shows the About box (CAboutDlg) modally.
//
// The worker reaches the window through a ReceiverHost whose calls run on the
// window's thread while the worker waits; Stop and Close cancel such waits
// before they wait for the worker. Messages and the choice of a presentation
// file go through the platform's services (services::ShowMessage,
// services::ShowFileDialog).
#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/input/input_events.h"
#include "remote/serial_worker.h"

class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QSystemTrayIcon;

namespace brevora::remote::app {

class CVantaPCDlg : public QDialog {
  Q_OBJECT

 public:
  // `input` must outlive the window; `versionWord` is for the hello reply.
  CVantaPCDlg(input::InputSink& input, uint32_t versionWord, QWidget* parent = nullptr);
  ~CVantaPCDlg() override;

  void OnStart();
  void OnStop();
  void OnCancel();
  void OnClose();
  void OnTrayNotify();
  void OnSelChangePort();
  void RemoveTrayIcon();
  // A command of the system menu; kCommandAbout shows the About box.
  void OnSysCommand(int command);
  static constexpr int kCommandAbout = 16;

  void ShowAndRaise();
  bool HasTrayIcon() const { return tray_ != nullptr; }
  bool IsListening() const { return worker_.IsRunning(); }
  SerialWorker& Worker() { return worker_; }

  QLabel* lblPort;
  QComboBox* cboPort;
  QPushButton* btnStart;
  QPushButton* btnStop;
  QPushButton* btnHide;
  QMenu* systemMenu;

 signals:
  void exitRequested();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void reject() override;  // Escape acts as Hide

 private:
  class Host;

  void OnInitDialog();
  void StopWorker();
  void Message(const char* text);

  std::unique_ptr<Host> host_;
  SerialWorker worker_;
  QSystemTrayIcon* tray_ = nullptr;
};

}  // namespace brevora::remote::app
