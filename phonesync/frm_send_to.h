#pragma once
// frmSendTo: the small modal window "Select Sync Method" in which the user
// picks the send tool (an infrared or Bluetooth target of the Send To folder)
// that carries files to the phone. exec() lists the targets (Form_Load), runs
// the window and leaves the chosen target's path in SyncPath: "" after Cancel,
// the close box or OK with nothing selected. What the lines stand for lives in
// SendToList; this class holds the widgets.
#include <QDialog>
#include <string>

#include "phonesync/send_to_list.h"
#include "phonesync/send_to_picker.h"

class QListWidget;
class QPushButton;

namespace brevora::bvsync {

class frmSendTo : public QDialog {
  Q_OBJECT

 public:
  explicit frmSendTo(QWidget* parent = nullptr);
  ~frmSendTo() override;

  // The chosen target's full path (a system path); "" when none was chosen.
  const std::string& SyncPath() const { return syncPath_; }

  // Lists the targets of the current Send To folder. exec() and the first
  // show() run it.
  void Form_Load();
  int exec() override;
  // The close box and Escape: Cancel.
  void reject() override;

  QListWidget* lstDevices;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void LoadDeviceList();
  void cmdOK_Click();
  void cmdCancel_Click();

  SendToList list_;
  std::string syncPath_;
  bool loaded_ = false;
};

// The picker of the engine's library: frmSendTo when a Qt application runs
// and this is its thread, Cancel otherwise (a host without a display, or a
// call from another thread, where no window may be made).
class FormPicker : public SendToPicker {
 public:
  std::string Choose() override;
};

}  // namespace brevora::bvsync
