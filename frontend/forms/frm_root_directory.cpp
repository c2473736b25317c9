#include "frontend/forms/frm_root_directory.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/module_state.h"
#include "frontend/forms/form_controls.h"
#include "frontend/forms/form_utility.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/root_directory.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::frontend::forms {
namespace {

const FormRegistration registration("frmRootDirectory",
                                    [] { return Ref<QtForm>(MakeRef<RootDirectoryForm>()); });

// The hourglass while the form loads; the normal pointer on every path out.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

void ShowError(const AutomationError& error) {
  services::ShowMessage(
      {error.description(), "", services::MsgButtons::Ok, services::MsgIcon::Critical});
}

// Runs an event handler; its errors are shown, never raised into Qt.
template <class F>
void Handle(F&& handler) {
  try {
    handler();
  } catch (...) {
    ShowError(CurrentError());
  }
}

}  // namespace

frmRootDirectory::frmRootDirectory(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Select Directory"));
  lblDrive = Named<QLabel>("lblDrive", QStringLiteral("&Drive:"));
  Drive1 = Named<QComboBox>("Drive1");
  lblFolders = Named<QLabel>("lblFolders", QStringLiteral("&Folders:"));
  Dir1 = Named<QTreeView>("Dir1");
  lblDirectory = Named<QLabel>("lblDirectory", QStringLiteral("&Path:"));
  txtDirectory = Named<QLineEdit>("txtDirectory");
  const char* names[] = {"cmdOkCancel_0", "cmdOkCancel_1", "cmdOkCancel_2"};
  const QString captions[] = {QStringLiteral("OK"), QStringLiteral("Cancel"),
                              QStringLiteral("&Help")};
  for (int i = 0; i < 3; ++i) cmdOkCancel[i] = Named<QPushButton>(names[i], captions[i]);
  cmdOkCancel[0]->setDefault(true);
  lblDrive->setBuddy(Drive1);
  lblFolders->setBuddy(Dir1);
  lblDirectory->setBuddy(txtDirectory);

  // The drives: the user's home first, then every mounted file system.
  const QString home = QDir::homePath();
  Drive1->addItem(QStringLiteral("Home (%1)").arg(home), home);
  QStringList roots;
  for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
    if (volume.isValid() && volume.isReady() && QFileInfo(volume.rootPath()).isDir()) {
      roots << volume.rootPath();
    }
  }
  roots.removeDuplicates();
  roots.sort();
  for (const QString& root : roots) Drive1->addItem(root, root);

  folders_ = new QFileSystemModel(this);
  folders_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
  folders_->setRootPath(QStringLiteral("/"));
  Dir1->setModel(folders_);
  Dir1->setRootIndex(folders_->index(QStringLiteral("/")));
  for (int column = 1; column < folders_->columnCount(); ++column) Dir1->hideColumn(column);
  Dir1->header()->hide();
  Dir1->setMinimumSize(360, 240);
  Drive1->setMinimumWidth(360);

  auto* grid = new QGridLayout;
  grid->addWidget(lblDrive, 0, 0);
  grid->addWidget(Drive1, 0, 1);
  grid->addWidget(lblFolders, 1, 0, Qt::AlignTop);
  grid->addWidget(Dir1, 1, 1);
  grid->addWidget(lblDirectory, 2, 0);
  grid->addWidget(txtDirectory, 2, 1);
  grid->setRowStretch(1, 1);
  grid->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdOkCancel[2]);
  buttons->addStretch(1);
  buttons->addWidget(cmdOkCancel[0]);
  buttons->addWidget(cmdOkCancel[1]);

  auto* form = new QVBoxLayout(this);
  form->addLayout(grid, 1);
  form->addLayout(buttons);

  connect(Drive1, &QComboBox::currentIndexChanged, this, &frmRootDirectory::Drive1_Change);
  connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &frmRootDirectory::Dir1_Change);
  for (int i = 0; i < 3; ++i) {
    connect(cmdOkCancel[i], &QPushButton::clicked, this, [this, i] { emit cmdOkCancel_Click(i); });
  }
  // Folders above the current one are read in the background; as their rows
  // arrive the current folder moves down, so it is brought back into view.
  connect(folders_, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex& parent) {
    for (QModelIndex above = Dir1->currentIndex().parent(); above.isValid();
         above = above.parent()) {
      if (above == parent) {
        QTimer::singleShot(0, this, [this] { Dir1->scrollTo(Dir1->currentIndex()); });
        return;
      }
    }
  });
  txtDirectory->installEventFilter(this);
}

bool frmRootDirectory::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtDirectory && event->type() == QEvent::FocusIn) {
    // After the focus change is done, or a mouse click would clear the selection again.
    QTimer::singleShot(0, this, [this] { emit txtDirectory_GotFocus(); });
  }
  return QDialog::eventFilter(watched, event);
}

QString frmRootDirectory::SetFolder(const QString& nativePath) {
  QDir folder(nativePath.isEmpty() ? QDir::currentPath() : nativePath);
  while (!folder.exists() && folder.cdUp()) {
  }
  if (!folder.exists()) folder = QDir::root();
  const QString path = folder.absolutePath();
  const QModelIndex index = folders_->index(path);
  Dir1->setCurrentIndex(index);
  Dir1->expand(index);
  Dir1->scrollTo(index);
  return path;
}

QString frmRootDirectory::Folder() const {
  const QModelIndex index = Dir1->currentIndex();
  return index.isValid() ? folders_->filePath(index) : QString();
}

void frmRootDirectory::SelectDriveFor(const QString& nativePath) {
  const QString path = QDir::cleanPath(QDir(nativePath).absolutePath());
  int best = -1;
  qsizetype bestLength = -1;
  for (int i = 0; i < Drive1->count(); ++i) {
    const QString root = QDir::cleanPath(Drive1->itemData(i).toString());
    const bool holds = path == root || path.startsWith(root.endsWith('/') ? root : root + '/');
    if (holds && root.size() > bestLength) {
      best = i;
      bestLength = root.size();
    }
  }
  if (best >= 0) Drive1->setCurrentIndex(best);
}

QString frmRootDirectory::DriveRoot() const { return Drive1->currentData().toString(); }

RootDirectoryForm::RootDirectoryForm() : QtForm("frmRootDirectory") {}

frmRootDirectory& RootDirectoryForm::window() const {
  return *static_cast<frmRootDirectory*>(Window());
}

QWidget* RootDirectoryForm::MakeWindow() {
  auto* window = new frmRootDirectory;
  // Only while loaded: the tree's model may still report a change while the
  // window of an unloaded form is deleted.
  QObject::connect(window, &frmRootDirectory::Drive1_Change, [this] {
    if (IsLoaded()) Handle([this] { Drive1_Change(); });
  });
  QObject::connect(window, &frmRootDirectory::Dir1_Change, [this] {
    if (IsLoaded()) Handle([this] { Dir1_Change(); });
  });
  QObject::connect(window, &frmRootDirectory::txtDirectory_GotFocus,
                   [window] { Utility::SelectAllText(*window->txtDirectory); });
  QObject::connect(window, &frmRootDirectory::cmdOkCancel_Click, [this](int index) {
    if (IsLoaded()) Handle([this, index] { cmdOkCancel_Click(index); });
  });
  return window;
}

void RootDirectoryForm::FormLoad() {
  const WaitCursor wait;
  loading_ = true;
  try {
    frmRootDirectory& box = window();
    Utility::DoLocalizeControls(box);
    const QString shown = QString::fromStdString(fs::NativePath(directory_));
    // A folder that is not there keeps its text, so that OK can say so; the
    // tree shows the nearest folder above it.
    const QString folder = box.SetFolder(shown);
    box.SelectDriveFor(folder);
    box.txtDirectory->setText(directory_.empty() ? box.Folder() : shown);
    Utility::CenterForm(box);
  } catch (...) {
    loading_ = false;
    throw;
  }
  loading_ = false;
}

void RootDirectoryForm::Drive1_Change() {
  if (loading_) return;
  window().SetFolder(window().DriveRoot());
}

void RootDirectoryForm::Dir1_Change() {
  if (loading_) return;
  window().txtDirectory->setText(window().Folder());
}

void RootDirectoryForm::cmdOkCancel_Click(int index) {
  switch (index) {
    case 0:
      Ok();
      break;
    case 1:
      Cancel();
      break;
    case 2:
      Help();
      break;
    default:
      break;
  }
}

void RootDirectoryForm::Ok() {
  QLineEdit& text = *window().txtDirectory;
  std::string typed;
  bool representable = true;
  try {
    typed = fs::SystemPath(text.text().toStdString());
  } catch (...) {
    representable = false;  // a name the code page can't hold names no folder
  }
  const RootDirectoryChoice choice = CheckRootDirectory(typed);
  if (representable) text.setText(QString::fromStdString(fs::NativePath(choice.directory)));
  if (!representable || !choice.valid) {
    services::ShowMessage({kInvalidPathMessage, kInvalidPathTitle, services::MsgButtons::Ok,
                           services::MsgIcon::Critical});
    text.setFocus();
    return;
  }
  core::Module().gDialogCancelled = false;
  directory_ = choice.directory;
  Unload();
}

void RootDirectoryForm::Cancel() {
  core::Module().gDialogCancelled = true;
  Unload();
}

void RootDirectoryForm::Help() {
  services::ShowHelp({core::Module().gHelpFile, services::kHelpContext, kRootDirectoryHelpContext});
}

Variant RootDirectoryForm::InvokeMember(std::string_view name, CallKind kind, Args args) {
  if (text::LCase(name) == "directory") {
    if (kind == CallKind::Get || kind == CallKind::Method) {
      if (!args.empty()) RaiseRuntimeError(450);
      return Variant(directory_);
    }
    if (kind != CallKind::Let || args.size() != 1)
      RaiseRuntimeError(kind == CallKind::Set ? 438 : 450);
    directory_ = CStr(args[0]);
    return Variant();
  }
  return QtForm::InvokeMember(name, kind, args);
}

}  // namespace brevora::frontend::forms
