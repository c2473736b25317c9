#include "remote/app/cvantapc_dlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QVBoxLayout>

#include "platform/error/error.h"
#include "platform/qt/named.h"
#include "platform/serial/port_list.h"
#include "platform/services/file_dialog.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"
#include "remote/app/about_dlg.h"
#include "remote/app/ui_caller.h"
#include "remote/receiver_settings.h"
#include "remote/receiver_strings.h"

namespace brevora::remote::app {
namespace {

using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;

using qt::Named;

QString FromCodePage(std::string_view text) { return QString::fromStdString(text::CpToUtf8(text)); }

// The program's icon: a projection screen with a play mark, drawn once.
QIcon ProgramIcon() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x4e, 0x8c));
  p.drawRoundedRect(QRectF(4, 8, 56, 42), 6, 6);
  p.setBrush(QColor(0x1f, 0x4e, 0x8c));
  p.drawRect(QRectF(29, 50, 6, 8));
  p.drawRoundedRect(QRectF(18, 56, 28, 4), 2, 2);
  QPainterPath play;
  play.moveTo(25, 18);
  play.lineTo(45, 29);
  play.lineTo(25, 40);
  play.closeSubpath();
  p.setBrush(Qt::white);
  p.drawPath(play);
  p.end();
  return QIcon(pixmap);
}

}  // namespace

// The worker's view of the window: every call runs on the window's thread.
class CVantaPCDlg::Host : public ReceiverHost {
 public:
  explicit Host(CVantaPCDlg& dialog) : dialog_(dialog), caller_(dialog) {}

  void ShowMainWindow() override {
    caller_.Call<bool>(
        [d = &dialog_] {
          d->ShowAndRaise();
          return true;
        },
        false);
  }
  void HideMainWindow() override {
    caller_.Call<bool>(
        [d = &dialog_] {
          if (d->HasTrayIcon())
            d->hide();  // without a tray the window stays where the user can reach it
          return true;
        },
        false);
  }
  void ShowMessage(std::string_view text) override {
    caller_.Call<bool>(
        [t = std::string(text)] {
          services::ShowMessage({t, kProgramTitle, MsgButtons::Ok, MsgIcon::Exclamation});
          return true;
        },
        false);
  }
  MsgResult Ask(std::string_view text, MsgButtons buttons) override {
    return caller_.Call<MsgResult>(
        [t = std::string(text), buttons] {
          return services::ShowMessage({t, kProgramTitle, buttons, MsgIcon::Question});
        },
        MsgResult::Cancel);
  }
  std::optional<std::string> ChooseFile(std::string_view initialName) override {
    return caller_.Call<std::optional<std::string>>(
        [name = std::string(initialName)] {
          return services::ShowFileDialog(
              {services::FileDialogKind::Open, "", name, "PowerPoint Files (*.ppt)|*.ppt"});
        },
        std::nullopt);
  }

  void Cancel() { caller_.Cancel(); }
  void Resume() { caller_.Resume(); }

 private:
  CVantaPCDlg& dialog_;
  UiCaller caller_;
};

CVantaPCDlg::CVantaPCDlg(input::InputSink& input, uint32_t versionWord, QWidget* parent)
    : QDialog(parent), host_(std::make_unique<Host>(*this)), worker_(*host_, input, versionWord) {
  setObjectName(QStringLiteral("CVantaPCDlg"));
  setWindowTitle(QString::fromLatin1(kProgramTitle));
  setWindowIcon(ProgramIcon());

  lblPort = Named<QLabel>("lblPort", QStringLiteral("&Port:"));
  cboPort = Named<QComboBox>("cboPort");
  btnStart = Named<QPushButton>("btnStart", QStringLiteral("&Start"));
  btnStop = Named<QPushButton>("btnStop", QStringLiteral("S&top"));
  btnHide = Named<QPushButton>("btnHide", QStringLiteral("&Hide"));
  systemMenu = Named<QMenu>("systemMenu", this);

  cboPort->setEditable(true);
  cboPort->setInsertPolicy(QComboBox::NoInsert);
  cboPort->setMinimumContentsLength(24);
  cboPort->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  lblPort->setBuddy(cboPort);
  btnStart->setDefault(true);

  auto* portRow = new QHBoxLayout;
  portRow->addWidget(lblPort);
  portRow->addWidget(cboPort, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(btnStart);
  buttons->addWidget(btnStop);
  buttons->addWidget(btnHide);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(portRow);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(btnStart, &QPushButton::clicked, this, &CVantaPCDlg::OnStart);
  connect(btnStop, &QPushButton::clicked, this, &CVantaPCDlg::OnStop);
  connect(btnHide, &QPushButton::clicked, this, &CVantaPCDlg::OnCancel);
  connect(cboPort, &QComboBox::activated, this, &CVantaPCDlg::OnSelChangePort);

  OnInitDialog();
}

CVantaPCDlg::~CVantaPCDlg() { RemoveTrayIcon(); }

void CVantaPCDlg::OnInitDialog() {
  // The system menu: Qt leaves the window manager's own menu alone, so the
  // window carries its equivalent, on a right click and on Alt+Space.
  systemMenu->addSeparator();
  QAction* about = systemMenu->addAction(QString::fromLatin1(kMenuAbout));
  about->setObjectName(QStringLiteral("IDM_ABOUTBOX"));
  connect(about, &QAction::triggered, this, [this] { OnSysCommand(kCommandAbout); });
  auto* menuKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Space), this);
  connect(menuKey, &QShortcut::activated, this,
          [this] { systemMenu->popup(mapToGlobal(QPoint(0, 0))); });

  for (const std::string& port : serial::ListPorts()) cboPort->addItem(FromCodePage(port));
  cboPort->setCurrentText(FromCodePage(LoadComPort()));
  btnStop->hide();
  if (QSystemTrayIcon::isSystemTrayAvailable()) {
    tray_ = new QSystemTrayIcon(windowIcon(), this);
    tray_->setObjectName(QStringLiteral("trayIcon"));
    tray_->setToolTip(QString::fromLatin1(kTrayTip));
    connect(tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
              if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context)
                OnTrayNotify();
            });
    tray_->show();
  }
}

void CVantaPCDlg::Message(const char* text) {
  services::ShowMessage({text, kProgramTitle, MsgButtons::Ok, MsgIcon::Exclamation});
}

void CVantaPCDlg::ShowAndRaise() {
  if (isMinimized()) showNormal();
  show();
  raise();
  activateWindow();
}

void CVantaPCDlg::OnStart() {
  const std::string port = text::Utf8ToCp(cboPort->currentText().trimmed().toStdString());
  if (port.empty()) {
    ShowAndRaise();
    Message(kMsgSelectPort);
    return;
  }
  if (worker_.IsRunning()) return;  // one worker at a time
  btnStop->show();
  btnStart->hide();
  try {
    SaveComPort(port);
  } catch (const AutomationError& e) {
    services::ShowMessage({e.description(), kProgramTitle, MsgButtons::Ok, MsgIcon::Exclamation});
  }
  host_->Resume();
  worker_.Start(port);
}

void CVantaPCDlg::StopWorker() {
  host_->Cancel();  // a worker waiting for this window gives up first
  worker_.Stop();
  host_->Resume();
}

void CVantaPCDlg::OnStop() {
  btnStop->hide();
  btnStart->show();
  StopWorker();
}

void CVantaPCDlg::OnCancel() {
  if (tray_) {
    hide();
  } else {
    showMinimized();
  }
}

void CVantaPCDlg::reject() { OnCancel(); }

void CVantaPCDlg::OnClose() {
  RemoveTrayIcon();
  emit exitRequested();
}

void CVantaPCDlg::closeEvent(QCloseEvent* event) {
  OnClose();
  event->accept();
}

void CVantaPCDlg::contextMenuEvent(QContextMenuEvent* event) {
  systemMenu->popup(event->globalPos());
  event->accept();
}

void CVantaPCDlg::OnSysCommand(int command) {
  if (command != kCommandAbout) return;
  CAboutDlg about(windowIcon(), this);
  about.exec();
}

void CVantaPCDlg::OnTrayNotify() { ShowAndRaise(); }

void CVantaPCDlg::OnSelChangePort() {
  if (worker_.IsRunning()) Message(kMsgNewPort);
}

void CVantaPCDlg::RemoveTrayIcon() {
  StopWorker();
  if (tray_) {
    tray_->hide();
    delete tray_;
    tray_ = nullptr;
  }
}

}  // namespace brevora::remote::app
