#pragma once
// frmRootDirectory: the modal folder chooser. The caller sets "Directory",
// shows it through Utility::ShowDialog and, unless gDialogCancelled is set
// afterwards, reads "Directory" (a system path), also after the dialog has
// unloaded. Drive1 lists the user's home and the mounted file systems, Dir1 is
// the folder tree, txtDirectory the path typed or picked. OK takes an existing
// folder only; Cancel, Escape and the close box cancel; Help opens gHelpFile at
// context 720.
#include <QDialog>
#include <array>
#include <string>

#include "frontend/forms/qt_form.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace brevora::frontend::forms {

// The window: its controls under their own names, and the moves between them.
class frmRootDirectory : public QDialog {
  Q_OBJECT

 public:
  explicit frmRootDirectory(QWidget* parent = nullptr);

  // Moves the folder tree to `nativePath`, or to the nearest folder above it
  // that exists; returns the folder it went to.
  QString SetFolder(const QString& nativePath);
  // The folder tree's folder ("" when none is current).
  QString Folder() const;
  // Selects the drive holding `nativePath` (the one with the longest root).
  void SelectDriveFor(const QString& nativePath);
  // The root folder of the drive list's current entry.
  QString DriveRoot() const;

  QLabel* lblDrive;
  QComboBox* Drive1;
  QLabel* lblFolders;
  QTreeView* Dir1;
  QLabel* lblDirectory;
  QLineEdit* txtDirectory;
  std::array<QPushButton*, 3> cmdOkCancel;  // 0 OK, 1 Cancel, 2 Help

 signals:
  void Drive1_Change();
  void Dir1_Change();
  void txtDirectory_GotFocus();
  void cmdOkCancel_Click(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void reject() override { emit cmdOkCancel_Click(1); }

 private:
  QFileSystemModel* folders_;
};

// The form: the Directory property and what the controls' events do.
class RootDirectoryForm : public QtForm {
 public:
  RootDirectoryForm();

  const std::string& Directory() const { return directory_; }
  void SetDirectory(std::string directory) { directory_ = std::move(directory); }

 protected:
  QWidget* MakeWindow() override;
  void FormLoad() override;
  void QueryClose() override { Cancel(); }
  Variant InvokeMember(std::string_view name, CallKind kind, Args args) override;

 private:
  frmRootDirectory& window() const;
  void Drive1_Change();
  void Dir1_Change();
  void cmdOkCancel_Click(int index);
  void Ok();
  void Cancel();
  void Help();

  std::string directory_;  // system path
  bool loading_ = false;   // Form_Load places the controls itself
};

}  // namespace brevora::frontend::forms
