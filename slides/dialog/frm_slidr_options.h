#pragma once
// frmSlidr_Options: the modal "Slidora Presentation Options" dialog in which the
// user picks the size and colour depth of slide pictures and of the optional
// large-screen pictures, and, when a PowerPoint file is being brought in,
// whether the new presentation stays linked to it.
//
// The caller sets linkFile and showLinking, runs exec() and then reads
// cancelled and fileLinked. The controls keep their names as members and as
// objectName; the event handlers keep theirs. What the buttons do lives in
// SlidrOptionsFormLogic; this class only holds the widgets and lays them out
// (a layout closes the gaps of hidden controls, and the dialog's size follows).
// The window's close box and Escape act as Cancel.
#include <QDialog>
#include <string>

#include "slides/dialog/slidr_options_form_logic.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace brevora::slides::dialog {

class frmSlidr_Options : public QDialog {
  Q_OBJECT

 public:
  explicit frmSlidr_Options(QWidget* parent = nullptr);
  ~frmSlidr_Options() override;

  // Code-page text, shown in lblFile.
  const std::string& LinkFile() const { return logic_.LinkFile(); }
  void SetLinkFile(std::string file) { logic_.SetLinkFile(std::move(file)); }
  bool ShowLinking() const { return logic_.ShowLinking(); }
  void SetShowLinking(bool show) { logic_.SetShowLinking(show); }
  bool FileLinked() const { return logic_.FileLinked(); }
  bool Cancelled() const { return logic_.Cancelled(); }
  void SetCancelled(bool cancelled) { logic_.SetCancelled(cancelled); }

  // Reads the options and fills the controls. exec() runs it first (its errors
  // reach the caller); a plain show() runs it when the dialog first appears.
  void Load();
  int exec() override;
  // The close box and Escape: Cancel.
  void reject() override;

  QLabel* Label1;
  QComboBox* cbResolution;
  QLabel* Label2;
  QComboBox* cbBitDepth;
  QCheckBox* chkLinked;
  QLabel* lblFile;
  QPushButton* cmdAdvanced;
  QGroupBox* fmeAdvanced;
  QCheckBox* chkVantaSlide;
  QLabel* lblVantaRes;
  QComboBox* cbVantaRes;
  QLabel* lblVantaDepth;
  QComboBox* cbVantaDepth;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void LinkedClicked();
  void VantaSlideClicked();
  void AdvancedClicked();
  void CancelClicked();
  void OkClicked();

  void InitControls(const SlidrOptionsControls& controls);
  void ShowAdvanced(bool show);
  void EnableVantaControls(bool enable);

  SlidrOptionsFormLogic logic_;
  bool loaded_ = false;
};

}  // namespace brevora::slides::dialog
