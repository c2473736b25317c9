#include "album/app/about_box.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace brevora::album {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmAbout"));
  const QString title = QString::fromLatin1(kProgramTitle);
  setWindowTitle(QStringLiteral("About ") + title);
  setModal(true);

  lblTitle = new QLabel(title);
  lblTitle->setObjectName(QStringLiteral("lblTitle"));
  QFont big = lblTitle->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  lblTitle->setFont(big);
  lblVersion = new QLabel(QStringLiteral("Version %1.%2.%3")
                              .arg(kVersionMajor)
                              .arg(kVersionMinor)
                              .arg(kVersionRevision));
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  cmdOK = new QPushButton(QStringLiteral("OK"));
  cmdOK->setObjectName(QStringLiteral("cmdOK"));
  cmdOK->setDefault(true);
  connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  auto* form = new QVBoxLayout(this);
  form->addWidget(lblTitle);
  form->addWidget(lblVersion);
  form->addSpacing(12);
  form->addLayout(buttons);
  form->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace brevora::album
