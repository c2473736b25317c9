#include "slides/dialog/frm_slidr_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "platform/error/error.h"
#include "platform/qt/named.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"

namespace brevora::slides::dialog {
namespace {

using qt::Named;

QString FromCodePage(const std::string& text) {
  return QString::fromStdString(text::CpToUtf8(text));
}

std::string ToCodePage(const QString& text) { return text::Utf8ToCp(text.toStdString()); }

void Fill(QComboBox* combo, const ComboState& state) {
  combo->clear();
  for (const std::string& item : state.items) combo->addItem(FromCodePage(item));
  combo->setCurrentIndex(state.selected);
}

}  // namespace

frmSlidr_Options::frmSlidr_Options(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmSlidr_Options"));
  setWindowTitle(QStringLiteral("Slidora Presentation Options"));
  setModal(true);

  Label1 = Named<QLabel>("Label1", QStringLiteral("Slide Resolution (Pixels):"));
  cbResolution = Named<QComboBox>("cbResolution");
  Label2 = Named<QLabel>("Label2", QStringLiteral("Slide Color Bit Depth:"));
  cbBitDepth = Named<QComboBox>("cbBitDepth");
  chkLinked = Named<QCheckBox>("chkLinked", QStringLiteral("Link to presentation:"));
  lblFile = Named<QLabel>("lblFile");
  cmdAdvanced = Named<QPushButton>("cmdAdvanced", QStringLiteral("Advanced..."));
  fmeAdvanced = Named<QGroupBox>("fmeAdvanced", QStringLiteral("Advanced Options"));
  chkVantaSlide = Named<QCheckBox>(
      "chkVantaSlide",
      QStringLiteral("Include secondary file for optional higher resolution Vanta"));
  lblVantaRes = Named<QLabel>("lblVantaRes", QStringLiteral("Vanta Resolution (Pixels):"));
  cbVantaRes = Named<QComboBox>("cbVantaRes");
  lblVantaDepth = Named<QLabel>("lblVantaDepth", QStringLiteral("Vanta Color Bit Depth:"));
  cbVantaDepth = Named<QComboBox>("cbVantaDepth");
  cmdOK = Named<QPushButton>("cmdOK", QStringLiteral("Ok"));
  cmdCancel = Named<QPushButton>("cmdCancel", QStringLiteral("Cancel"));

  Label1->setBuddy(cbResolution);
  Label2->setBuddy(cbBitDepth);
  lblVantaRes->setBuddy(cbVantaRes);
  lblVantaDepth->setBuddy(cbVantaDepth);
  lblFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cmdOK->setDefault(true);

  auto* slide = new QGridLayout;
  slide->addWidget(Label1, 0, 0);
  slide->addWidget(cbResolution, 0, 1);
  slide->addWidget(Label2, 1, 0);
  slide->addWidget(cbBitDepth, 1, 1);
  slide->setColumnStretch(1, 1);

  auto* link = new QHBoxLayout;
  link->addWidget(chkLinked);
  link->addWidget(lblFile, 1);

  auto* advancedRow = new QHBoxLayout;
  advancedRow->addWidget(cmdAdvanced);
  advancedRow->addStretch(1);

  auto* vanta = new QGridLayout;
  vanta->addWidget(chkVantaSlide, 0, 0, 1, 2);
  vanta->addWidget(lblVantaRes, 1, 0);
  vanta->addWidget(cbVantaRes, 1, 1);
  vanta->addWidget(lblVantaDepth, 2, 0);
  vanta->addWidget(cbVantaDepth, 2, 1);
  vanta->setColumnStretch(1, 1);
  fmeAdvanced->setLayout(vanta);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdOK);
  buttons->addWidget(cmdCancel);

  auto* form = new QVBoxLayout(this);
  form->addLayout(slide);
  form->addLayout(link);
  form->addLayout(advancedRow);
  form->addWidget(fmeAdvanced);
  form->addLayout(buttons);
  // The dialog takes the size its visible controls need, so hiding the link
  // row or the frame moves what follows up and shortens the form.
  form->setSizeConstraint(QLayout::SetFixedSize);

  connect(chkLinked, &QCheckBox::toggled, this, [this] { LinkedClicked(); });
  connect(chkVantaSlide, &QCheckBox::toggled, this, [this] { VantaSlideClicked(); });
  connect(cmdAdvanced, &QPushButton::clicked, this, [this] { AdvancedClicked(); });
  connect(cmdCancel, &QPushButton::clicked, this, [this] { CancelClicked(); });
  connect(cmdOK, &QPushButton::clicked, this, [this] { OkClicked(); });

  fmeAdvanced->setVisible(false);
}

frmSlidr_Options::~frmSlidr_Options() = default;

void frmSlidr_Options::Load() {
  const SlidrOptionsControls controls = logic_.Load();
  InitControls(controls);
  loaded_ = true;
}

int frmSlidr_Options::exec() {
  if (!loaded_) Load();
  return QDialog::exec();
}

void frmSlidr_Options::showEvent(QShowEvent* event) {
  if (!loaded_) {
    try {
      Load();
    } catch (...) {
      // No caller to raise to from an event: report it and leave as cancelled.
      services::ShowMessage({"Slidora options: " + CurrentError().description(), "Slidora Error",
                             services::MsgButtons::Ok, services::MsgIcon::None});
      logic_.SetCancelled(true);
      loaded_ = true;
    }
  }
  QDialog::showEvent(event);
}

void frmSlidr_Options::InitControls(const SlidrOptionsControls& c) {
  chkLinked->setChecked(c.linkedTicked);
  lblFile->setText(FromCodePage(c.linkFile));
  Fill(cbResolution, c.resolution);
  Fill(cbBitDepth, c.bitDepth);
  Fill(cbVantaRes, c.vantaRes);
  Fill(cbVantaDepth, c.vantaDepth);
  chkVantaSlide->setChecked(c.vantaTicked);
  EnableVantaControls(c.vantaControlsEnabled);
  chkLinked->setVisible(c.showLinking);
  lblFile->setVisible(c.showLinking);
  ShowAdvanced(c.advancedShown);
}

void frmSlidr_Options::ShowAdvanced(bool show) {
  cmdAdvanced->setText(show ? QStringLiteral("Hide Advanced") : QStringLiteral("Advanced..."));
  fmeAdvanced->setVisible(show);
  // Re-lay out now rather than on the next event, so that the form's size
  // follows at once.
  layout()->activate();
}

void frmSlidr_Options::EnableVantaControls(bool enable) {
  lblVantaRes->setEnabled(enable);
  cbVantaRes->setEnabled(enable);
  lblVantaDepth->setEnabled(enable);
  cbVantaDepth->setEnabled(enable);
}

void frmSlidr_Options::LinkedClicked() { logic_.LinkedClicked(chkLinked->isChecked()); }

void frmSlidr_Options::VantaSlideClicked() { EnableVantaControls(chkVantaSlide->isChecked()); }

void frmSlidr_Options::AdvancedClicked() { ShowAdvanced(!fmeAdvanced->isVisibleTo(this)); }

void frmSlidr_Options::CancelClicked() {
  logic_.CancelClicked();
  QDialog::reject();
}

void frmSlidr_Options::reject() { CancelClicked(); }

void frmSlidr_Options::OkClicked() {
  SlidrOptionsChoice choice;
  choice.resolution = ToCodePage(cbResolution->currentText());
  choice.bitDepth = ToCodePage(cbBitDepth->currentText());
  choice.vantaSlide = chkVantaSlide->isChecked();
  choice.vantaRes = ToCodePage(cbVantaRes->currentText());
  choice.vantaDepth = ToCodePage(cbVantaDepth->currentText());
  if (logic_.OkClicked(choice)) accept();
}

}  // namespace brevora::slides::dialog
