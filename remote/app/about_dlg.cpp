#include "remote/app/about_dlg.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "remote/receiver_strings.h"

namespace brevora::remote::app {

CAboutDlg::CAboutDlg(const QIcon& icon, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("CAboutDlg"));
  const QString program = QString::fromLatin1(kProgramTitle);
  setWindowTitle(QStringLiteral("About ") + program);
  setModal(true);

  lblIcon = new QLabel;
  lblIcon->setObjectName(QStringLiteral("lblIcon"));
  lblIcon->setPixmap(icon.pixmap(32, 32));
  lblVersion =
      new QLabel(program + QStringLiteral(" Version ") + QString::fromLatin1(kProgramVersion));
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  btnOK = new QPushButton(QStringLiteral("OK"));
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

  auto* text = new QHBoxLayout;
  text->addWidget(lblIcon, 0, Qt::AlignTop);
  text->addSpacing(12);
  text->addWidget(lblVersion, 1, Qt::AlignVCenter);
  text->addSpacing(24);
  text->addWidget(btnOK, 0, Qt::AlignTop);
  auto* form = new QVBoxLayout(this);
  form->addLayout(text);
  form->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace brevora::remote::app
