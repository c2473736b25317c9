// SaveForm: how each role of frmSave is built, its properties, its unload,
// the file-mode switch and help.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

#include "core/module_state.h"
#include "core/session.h"
#include "frontend/forms/button_control.h"
#include "frontend/forms/form_controls.h"
#include "frontend/forms/form_utility.h"
#include "frontend/forms/frm_save.h"
#include "frontend/forms/qt_form_factory.h"
#include "frontend/forms/save_form_commands.h"
#include "frontend/forms/window_registration.h"
#include "frontend/tabrel_pc.h"
#include "frontend/window_placement.h"
#include "frontend/window_role.h"
#include "office/desktop_windows.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/registry/registry.h"
#include "platform/services/help.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

const FormRegistration registration("frmSave", [] { return Ref<QtForm>(MakeRef<SaveForm>()); });

constexpr const char* kProgram = "tabrelpc";
constexpr const char* kMainWindowClass = "ThunderRT5Form";
constexpr const char* kButtonClass = "ThunderRT5CommandButton";

TwipRect Twips(const QRect& r) {
  return {int64_t{r.x()} * kTwipsPerPixel, int64_t{r.y()} * kTwipsPerPixel,
          int64_t{r.width()} * kTwipsPerPixel, int64_t{r.height()} * kTwipsPerPixel};
}

}  // namespace

SaveForm::SaveForm() : QtForm("frmSave"), commands_(std::make_unique<SaveFormCommands>(*this)) {}

SaveForm::~SaveForm() = default;

frmSave& SaveForm::window() const {
  QWidget* w = Window();
  if (!w) RaiseRuntimeError(91);
  return *static_cast<frmSave*>(w);
}

void SaveForm::SetOwner(Ref<TabrelPC> owner) {
  const bool reused = IsLoaded() && standAlone_ && owner;
  owner_ = std::move(owner);
  // A main window shown again for a new caller keeps its view: the Session's
  // file mode (which the caller reset) is made that of the view again.
  if (reused) {
    if (const std::optional<int16_t> mode = ShownFileMode())
      ApplyFileMode(static_cast<int16_t>(*mode + 1));
  }
}

QWidget* SaveForm::MakeWindow() {
  auto* w = new frmSave;
  Connect(*w);
  ConnectLook(*w);
  commands_->Connect(*w);
  return w;
}

void SaveForm::Connect(frmSave& w) {
  // The user's actions; changes the form makes itself run their handlers
  // directly, with the controls' signals blocked.
  for (int16_t i = 0; i < 4; ++i) {
    QObject::connect(w.fileModeButtons[i], &QAction::triggered, [this, i] {
      HandleFormEvent(*this, [this, i] { Toolbar1_ButtonClick(static_cast<int16_t>(i + 1)); });
    });
  }
  for (QAction* button :
       {w.btnLink, w.btnAdd, w.btnDelete, w.btnExcel, w.btnWord, w.btnPowerPoint}) {
    const std::string key = button->objectName().toStdString();
    QObject::connect(button, &QAction::triggered, [this, key] {
      HandleFormEvent(*this, [this, key] { Toolbar_ButtonClick(key); });
    });
  }
  QObject::connect(w.lstCategory, &QListWidget::currentRowChanged,
                   [this](int) { HandleFormEvent(*this, [this] { lstCategory_Click(); }); });
  QObject::connect(w.lstWorkbook, &QTreeWidget::currentItemChanged,
                   [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
                     HandleFormEvent(*this, [this, item] { lstWorkbook_ItemClick(item); });
                   });
  QObject::connect(w.lstWorkbook, &QTreeWidget::itemSelectionChanged,
                   [this] { HandleFormEvent(*this, [this] { lstWorkbook_SelectionChanged(); }); });
  QObject::connect(w.lstWorkbook, &QTreeWidget::itemDoubleClicked, [this](QTreeWidgetItem*, int) {
    HandleFormEvent(*this, [this] { lstWorkbook_DblClick(); });
  });
  QObject::connect(w.cboUser, &QComboBox::activated,
                   [this](int) { HandleFormEvent(*this, [this] { cboUser_Click(); }); });
  ConnectUsers(w);
  QObject::connect(w.txtWorkbook, &QLineEdit::textChanged, [this](const QString&) {
    HandleFormEvent(*this, [this] { txtWorkbook_Change(); });
  });
  for (int i = 0; i < 2; ++i) {
    QObject::connect(w.cmdOkCancel[i], &QPushButton::clicked,
                     [this, i] { HandleFormEvent(*this, [this, i] { cmdOkCancel_Click(i); }); });
  }
  QObject::connect(w.btnRefresh, &QPushButton::clicked,
                   [this] { HandleFormEvent(*this, [this] { btnRefresh_Click(); }); });
  QObject::connect(w.cmdExplore, &QPushButton::clicked,
                   [this] { HandleFormEvent(*this, [this] { cmdExplore_Click(); }); });
  QObject::connect(w.mnuOpen, &QAction::triggered,
                   [this] { HandleFormEvent(*this, [this] { cmdOkCancel_Click(0); }); });
  QObject::connect(w.mnuExit, &QAction::triggered,
                   [this] { HandleFormEvent(*this, [this] { cmdOkCancel_Click(1); }); });
  QObject::connect(w.mnuRefresh, &QAction::triggered,
                   [this] { HandleFormEvent(*this, [this] { btnRefresh_Click(); }); });
  QObject::connect(w.mnuHelpTopics, &QAction::triggered,
                   [this] { HandleFormEvent(*this, [this] { DoHelp(); }); });
  // Esc presses Cancel in the dialogs.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), &w);
  QObject::connect(escape, &QShortcut::activated, [this] {
    if (!standAlone_) HandleFormEvent(*this, [this] { cmdOkCancel_Click(1); });
  });
  for (int i = 0; i < 3; ++i) {
    QObject::connect(w.mnuCategory[i], &QAction::triggered,
                     [this, i] { HandleFormEvent(*this, [this, i] { mnuCategory_Click(i); }); });
  }
}

int16_t SaveForm::FileMode() const {
  if (!owner_ || !owner_->Session()) RaiseRuntimeError(91);
  return static_cast<int16_t>(owner_->Session()->FileMode());
}

std::string SaveForm::Home() const {
  if (!owner_) RaiseRuntimeError(91);
  return owner_->HomeDirectory();
}

void SaveForm::FileModeVisible(bool visible) {
  frmSave& w = window();
  w.cmdOkCancel[0]->setVisible(visible);
  w.cmdOkCancel[1]->setVisible(visible);
  w.txtWorkbook->setVisible(visible);
  w.lblName->setVisible(visible);
}

void SaveForm::FormLoad() {
  office::SetMessagePump(ProcessWindowMessages);
  office::RegisterDesktopWindow(Ref<Dispatch>(this));
  try {
    InitializeForm();
  } catch (...) {
    initializing_ = false;
    services::ShowMessage({CurrentError().description(), "Brevora", services::MsgButtons::Ok,
                           services::MsgIcon::Critical});
  }
  if (standAlone_) RegisterWindow();
}

void SaveForm::InitializeForm() {
  frmSave& w = window();
  initializing_ = true;
  usersPending_ = true;
  Utility::DoLocalizeControls(w);
  InitializeLook();

  if (!owner_) RaiseRuntimeError(91);
  TabrelPC& app = *owner_;
  installed[0] = app.InstalledTabulyn();
  installed[1] = app.InstalledScrivane();
  installed[2] = app.InstalledSlidora();
  for (int i = 0; i < 3; ++i) {
    if (!installed[i]) w.fileModeButtons[i]->setEnabled(false);
  }

  const int16_t mode = FileMode();
  if (const std::optional<FileModeView> view = FileModeViewOf(mode)) {
    w.fileModeButtons[mode]->setChecked(true);
    w.btnAdd->setToolTip(ToQt(view->addTip));
    w.btnDelete->setToolTip(ToQt(view->deleteTip));
    w.SetColumns(view->column1, true);
    w.txtWorkbook->setMaxLength(view->nameMaximum);
    w.cmdOptions->setVisible(OptionsVisible(standAlone_, mode));
    // The Office button of the mode only, as every later switch leaves them.
    w.btnExcel->setEnabled(view->excel);
    w.btnWord->setEnabled(view->word);
    w.btnPowerPoint->setEnabled(view->powerPoint);
  }

  const RoleView role = RoleViewOf(standAlone_, role_ == kSave, mode, app.ApplicationTitle());
  SetCaption(role.caption);
  w.Toolbar1->setVisible(role.fileModeBar);
  w.cmdOkCancel[0]->setText(ToQt(role.okCaption));
  if (role_ == kSave) w.cbxOpenAsTemplate->hide();

  if (standAlone_) {
    FileModeVisible(false);
    w.btnAdd->setEnabled(true);
    w.btnDelete->setEnabled(true);
  } else {
    const std::optional<FileModeView> view = FileModeViewOf(mode);
    w.SetColumns(view ? view->column1 : std::string("Workbook"), false);
    for (QAction* button :
         {w.btnLink, w.btnAdd, w.btnDelete, w.btnWord, w.btnExcel, w.btnPowerPoint}) {
      button->setEnabled(false);
    }
    FileModeVisible(true);
    w.cmdOkCancel[1]->setText(QStringLiteral("Cancel"));
    w.cbxOpenAsTemplate->setVisible(role.openAsTemplate);
    w.picOutlook->hide();
    w.Picture2->setFixedHeight(1000 / kTwipsPerPixel);
    w.StatusBar1->hide();
    w.resize(w.width(), w.height() - 800 / kTwipsPerPixel);
    ApplyFileMode(static_cast<int16_t>(mode + 1));
  }

  txtWorkbook_Change();
  usersPending_ = false;
  LoadUsers();
  if (!standAlone_ && role_ == kSave) w.txtWorkbook->clear();

  // Never smaller than its controls need in this role (a stored or default
  // placement narrower than that would cut the lists at the window's edge).
  w.ensurePolished();
  w.setMinimumSize(w.minimumSize().expandedTo(w.minimumSizeHint()));

  Utility::CenterForm(w);
  w.raise();

  if (app.IsCustomHomeDirectory()) {
    {
      const QSignalBlocker quiet(w.cboUser);
      w.cboUser->setCurrentIndex(-1);
    }
    w.cboUser->setEnabled(false);
    w.lblUser->setEnabled(false);
    cboUser_Click();
  }
  if (!standAlone_) PreselectRequestedFile();

  initializing_ = false;
  FinishLook();

  if (standAlone_) {
    RestoreWindowPlacement();
    const std::string stored = registry::GetSetting(kProgram, "General", "LastFileMode", "0");
    if (const std::optional<int16_t> button =
            StartFileModeButton(stored, installed, app.ApplicationTitle())) {
      w.lstWorkbook->clear();
      w.lstWorkbook->repaint();
      ProcessWindowMessages();
      if (!IsLoaded()) return;  // closed while its messages ran
      w.fileModeButtons[*button - 1]->setChecked(true);
      Toolbar1_ButtonClick(*button);
      w.Toolbar1->repaint();
    }
  }
}

void SaveForm::RestoreWindowPlacement() {
  frmSave& w = window();
  const StoredPlacement stored{registry::GetSetting(kProgram, "WindowSize", "Top", "0"),
                               registry::GetSetting(kProgram, "WindowSize", "Left", "0"),
                               registry::GetSetting(kProgram, "WindowSize", "Width", "9300"),
                               registry::GetSetting(kProgram, "WindowSize", "Height", "0")};
  std::vector<TwipRect> screens;
  if (QScreen* primary = QGuiApplication::primaryScreen())
    screens.push_back(Twips(primary->availableGeometry()));
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen())
      screens.push_back(Twips(screen->availableGeometry()));
  }
  const TwipRect placed = RestoredPlacement(stored, Twips(w.geometry()), screens);
  w.setGeometry(static_cast<int>(placed.left / kTwipsPerPixel),
                static_cast<int>(placed.top / kTwipsPerPixel),
                static_cast<int>(placed.width / kTwipsPerPixel),
                static_cast<int>(placed.height / kTwipsPerPixel));
}

void SaveForm::SaveWindowPlacement() {
  frmSave& w = window();
  if (!w.isMinimized() && !w.isMaximized() && !w.isFullScreen()) {
    const QRect r = w.geometry();
    registry::SaveSetting(kProgram, "WindowSize", "Top",
                          std::to_string(int64_t{r.y()} * kTwipsPerPixel));
    registry::SaveSetting(kProgram, "WindowSize", "Left",
                          std::to_string(int64_t{r.x()} * kTwipsPerPixel));
    registry::SaveSetting(kProgram, "WindowSize", "Width",
                          std::to_string(int64_t{r.width()} * kTwipsPerPixel));
    registry::SaveSetting(kProgram, "WindowSize", "Height",
                          std::to_string(int64_t{r.height()} * kTwipsPerPixel));
  }
  if (const std::optional<int16_t> mode = ShownFileMode()) {
    registry::SaveSetting(kProgram, "General", "LastFileMode", std::to_string(*mode + 1));
  }
}

void SaveForm::RegisterWindow() {
  frmSave& w = window();
  try {
    registration_ = std::make_unique<WindowRegistration>(
        w, kMainWindowClass, Caption(),
        std::vector<WindowRegistration::Button>{{kButtonClass, "Refresh", w.btnRefresh}});
    QObject::connect(&w, &QWidget::windowTitleChanged, [this](const QString& title) {
      if (!registration_) return;
      try {
        registration_->SetTitle(text::Utf8ToCp(title.toStdString()));
      } catch (...) {
        // A title other programs can't hold: they keep finding the old one.
      }
    });
  } catch (...) {
    // Without its entry the window works; only other programs can't find it.
    services::ShowMessage({CurrentError().description(), "Brevora", services::MsgButtons::Ok,
                           services::MsgIcon::Critical});
  }
}

void SaveForm::FormUnload() {
  if (standAlone_) {
    try {
      SaveWindowPlacement();
      SetTheme(iTheme);
    } catch (...) {
      // The placement is a convenience: the window closes regardless.
    }
    // Only the stand-alone window tells its host that it is finished: closing
    // an Open or Save dialog must not end the program that asked for it.
    if (owner_) owner_->NotifyFinished();
  }
  HideWait(true);
  registration_.reset();
  office::UnregisterDesktopWindow(Ref<Dispatch>(this));
  owner_ = nullptr;
}

void SaveForm::QueryClose() { cmdOkCancel_Click(1); }

std::optional<int16_t> SaveForm::ShownFileMode() const {
  const QWidget* w = Window();
  if (!w) return std::nullopt;
  const frmSave& s = *static_cast<const frmSave*>(w);
  for (int16_t i = 0; i < 3; ++i) {
    if (s.fileModeButtons[i]->isChecked()) return i;
  }
  return std::nullopt;
}

void SaveForm::Toolbar1_ButtonClick(int16_t index) { ApplyFileMode(index); }

void SaveForm::ApplyFileMode(int16_t index) {
  frmSave& w = window();
  listDragSourceIndex = -1;
  listDragFlag = false;
  if (index >= 1 && index <= 3) {
    const int16_t mode = static_cast<int16_t>(index - 1);
    owner_->SetFileMode(mode);
    const FileModeView view = *FileModeViewOf(mode);
    w.fileModeButtons[mode]->setChecked(true);
    w.btnAdd->setToolTip(ToQt(view.addTip));
    w.btnDelete->setToolTip(ToQt(view.deleteTip));
    w.btnWord->setEnabled(view.word);
    w.btnExcel->setEnabled(view.excel);
    w.btnPowerPoint->setEnabled(view.powerPoint);
    w.cmdOptions->setVisible(OptionsVisible(standAlone_, mode));
    w.SetColumns(view.column1, standAlone_);
    core::Module().gHelpFile = view.helpFile;
    w.txtWorkbook->setMaxLength(view.nameMaximum);
  }
  SelectFileName();
}

void SaveForm::DoHelp() {
  try {
    const RoleHelp help = HelpOf(standAlone_, role_, core::Module().gHelpFile);
    services::ShowHelp({help.file, help.command, help.data});
  } catch (...) {
    services::ShowMessage({CurrentError().description(), "Brevora", services::MsgButtons::Ok,
                           services::MsgIcon::Information});
  }
}

Variant SaveForm::InvokeMember(std::string_view name, CallKind kind, Args args) {
  const std::string key = text::LCase(name);
  const bool get = kind == CallKind::Get || kind == CallKind::Method;
  const bool let = kind == CallKind::Let;
  auto property = [&](auto read, auto write) -> Variant {
    if (get && args.empty()) return read();
    if (let && args.size() == 1) {
      write(args[0]);
      return Variant();
    }
    RaiseRuntimeError(450);
  };
  if (key == "filename") {
    return property([&] { return Variant(fileName_); },
                    [&](const Variant& v) {
                      fileName_ = CStr(v);
                      if (!IsLoaded()) requestedFile_ = fileName_;
                    });
  }
  if (key == "savemode") {
    return property([&] { return Variant(SaveMode()); },
                    [&](const Variant& v) { SetSaveMode(CBool(v)); });
  }
  if (key == "standalone") {
    return property([&] { return Variant(standAlone_); },
                    [&](const Variant& v) { standAlone_ = CBool(v); });
  }
  if (key == "openastemplate") {
    return property([&] { return Variant(openAsTemplate_); },
                    [&](const Variant& v) { openAsTemplate_ = CBool(v); });
  }
  if (key == "otabrelpc") {
    if (get && args.empty()) return Variant(Ref<Dispatch>(owner_));
    if (kind == CallKind::Set && args.size() == 1) {
      Ref<TabrelPC> owner;
      if (!args[0].IsObject()) RaiseRuntimeError(424);
      if (args[0].AsObject()) {
        owner = RefCast<TabrelPC>(args[0].AsObject());
        if (!owner) RaiseRuntimeError(13);
      }
      SetOwner(std::move(owner));
      return Variant();
    }
    RaiseRuntimeError(450);
  }
  if (key == "btnrefresh" && get && args.empty()) {
    return Variant(
        Ref<Dispatch>(MakeRef<ButtonControl>(IsLoaded() ? window().btnRefresh : nullptr)));
  }
  if (kind == CallKind::Method || kind == CallKind::Get) {
    if (key == "filemodevisible" && args.size() == 1) {
      FileModeVisible(CBool(args[0]));
      return Variant();
    }
    if (key == "initializeform" && args.empty()) {
      InitializeForm();
      return Variant();
    }
    if (key == "refresh1" && args.empty()) {
      Refresh1();
      return Variant();
    }
    if (key == "currentcategory" && args.empty()) return Variant(CurrentCategory());
    if (key == "bringfilein" && args.size() == 1) {
      commands_->BringFileIn(CStr(args[0]));
      return Variant();
    }
    if (key == "initworkbooks" && args.size() == 2) {
      InitWorkbooks(CStr(args[0]), CBool(args[1]));
      return Variant();
    }
    if (key == "showallcategories" && args.empty()) {
      ShowAllCategories();
      return Variant();
    }
    if (key == "dohelp" && args.empty()) {
      DoHelp();
      return Variant();
    }
    if (key == "selectfilename" && args.empty()) {
      SelectFileName();
      return Variant();
    }
  }
  Variant result;
  if (InvokeLookMember(key, kind, args, result)) return result;
  return QtForm::InvokeMember(name, kind, args);
}

}  // namespace brevora::frontend::forms
