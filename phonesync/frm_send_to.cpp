#include "phonesync/frm_send_to.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <utility>

#include "platform/qt/named.h"
#include "platform/text/codepage.h"

namespace brevora::bvsync {
namespace {

using qt::Named;

}  // namespace

frmSendTo::frmSendTo(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmSendTo"));
  setWindowTitle(QStringLiteral("Select Sync Method"));
  setModal(true);

  lstDevices = Named<QListWidget>("lstDevices");
  cmdOK = Named<QPushButton>("cmdOK", QStringLiteral("Ok"));
  cmdCancel = Named<QPushButton>("cmdCancel", QStringLiteral("Cancel"));
  lstDevices->setSelectionMode(QAbstractItemView::SingleSelection);
  lstDevices->setMinimumSize(280, 160);
  cmdOK->setDefault(true);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);
  auto* form = new QVBoxLayout(this);
  form->addWidget(lstDevices, 1);
  form->addLayout(buttons);

  connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

frmSendTo::~frmSendTo() = default;

void frmSendTo::Form_Load() {
  loaded_ = true;
  LoadDeviceList();
}

int frmSendTo::exec() {
  if (!loaded_) Form_Load();
  return QDialog::exec();
}

void frmSendTo::showEvent(QShowEvent* event) {
  if (!loaded_) Form_Load();
  QDialog::showEvent(event);
}

void frmSendTo::LoadDeviceList() {
  lstDevices->clear();
  list_.LoadDeviceList(GetSendToFolder());
  for (const DeviceLine& line : list_.Lines()) {
    auto* item = new QListWidgetItem(QString::fromStdString(text::CpToUtf8(line.text)));
    item->setData(Qt::UserRole, line.itemData);
    lstDevices->addItem(item);
  }
}

void frmSendTo::cmdOK_Click() {
  const QList<QListWidgetItem*> selected = lstDevices->selectedItems();
  syncPath_ =
      selected.isEmpty() ? std::string() : list_.PathOfLine(lstDevices->row(selected.front()));
  accept();
}

void frmSendTo::cmdCancel_Click() {
  syncPath_.clear();
  QDialog::reject();
}

void frmSendTo::reject() { cmdCancel_Click(); }

std::string FormPicker::Choose() {
  // Windows live on the application's thread only: elsewhere there is no one
  // to ask.
  const QApplication* app = qobject_cast<QApplication*>(QCoreApplication::instance());
  if (app == nullptr || QThread::currentThread() != app->thread()) return {};
  frmSendTo form;
  form.exec();
  return form.SyncPath();
}

}  // namespace brevora::bvsync
