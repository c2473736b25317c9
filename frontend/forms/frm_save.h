#pragma once
// frmSave: the front end's one window, in three roles: the stand-alone main
// window (a file manager of one handheld user's files by category and file
// mode), the modal Open dialog and the modal Save dialog of one file mode.
//
// frmSave (the QMainWindow) holds the controls under their own names; SaveForm
// (the Form) holds the window's state and what its events do. The events are
// grouped by topic over several files:
//   save_form.cpp          construction of each role, properties, unload,
//                          file-mode switch and help
//   save_form_lists.cpp    category and file lists, refresh
//   save_form_users.cpp    the user box
//   save_form_confirm.cpp  OK and Cancel, the command tool bar, explore,
//                          the wait window and SelectFileName
// Further commands of the window (import, category and file commands, phone
// sync, layout, banner, themes, drawing, properties) go into files of their
// own beside these, as SaveForm members declared in the marked sections below.
#include <QImage>
#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "frontend/category_listing.h"
#include "frontend/forms/qt_form.h"
#include "frontend/user_choice.h"
#include "frontend/window_layout.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QStatusBar;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;
class QVBoxLayout;

namespace brevora::frontend {
class TabrelPC;
}

namespace brevora::frontend::forms {

class WindowRegistration;
class SaveFormCommands;

// The window: its controls under their own names (objectName too). Menu
// entries and tool bar buttons are QActions named after the entry or key.
class frmSave : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmSave(QWidget* parent = nullptr);

  // The file-mode bar: buttons 1 to 4 at index 0 to 3 ("Tabulyn", "Scrivane",
  // "Slidora" checkable, "Filvane").
  QToolBar* Toolbar1;
  std::array<QAction*, 4> fileModeButtons;
  // The command tool bar, keyed by the actions' object names.
  QWidget* picToolbar;
  QToolBar* Toolbar;
  QAction* btnLink;
  QAction* btnAdd;
  QAction* btnDelete;
  QAction* btnExcel;
  QAction* btnWord;
  QAction* btnPowerPoint;

  QLabel* lblCategory;
  QListWidget* lstCategory;
  QTreeWidget* lstWorkbook;
  QLabel* lblName;
  QLineEdit* txtWorkbook;
  std::array<QPushButton*, 2> cmdOkCancel;  // 0 OK, 1 Cancel
  QCheckBox* cbxOpenAsTemplate;
  QPushButton* cmdOptions;
  QPushButton* cmdExplore;
  QPushButton* cmdSync;
  QPushButton* btnRefresh;
  QLabel* lblUser;
  QComboBox* cboUser;
  QLabel* picUser;
  QWidget* picOutlook;  // the side bar with the file-mode bar
  QLabel* Picture2;     // the banner (hidden until a banner is shown)
  QLabel* picDownload;
  QLabel* picLogo;
  // The drag icons of the spreadsheet (0) and word-processor (1) modes.
  std::array<QLabel*, 2> picDragIcon;
  QStatusBar* StatusBar1;

  QMenu* mnuFile;
  QAction* mnuOpen;
  std::array<QAction*, 3> mnuCategory;
  QAction* mnuFileAdd;
  QAction* mnuFileDelete;
  QAction* mnuFileLinked;
  QAction* mnuExit;
  QMenu* mnuEdit;
  QAction* mnuCut;
  QAction* mnuCopy;
  QAction* mnuPaste;
  QMenu* mnuView;
  QMenu* mnuthm;
  std::array<QAction*, 7> mnuTheme;
  QAction* mnuEnableBanner;
  QAction* mnuRefresh;
  QMenu* mnuDownload;
  QAction* mnuDLWorkbooks;
  QMenu* mnuDLText;
  QAction* mnuGutenberg;
  QAction* mnuMemoware;
  QMenu* mnuHelp;
  QAction* mnuHelpTopics;
  QAction* mnuSupport;
  QAction* mnuUpdate;
  QAction* mnuWeb;
  QAction* mnuAbout;

  // The list's column headers (1 to 4); columns 2 to 4 exist only in the
  // stand-alone window.
  void SetColumns(const std::string& column1, bool linkColumns);

 private:
  // The pieces of the window, made by the constructor in this order.
  void BuildMenus();
  void BuildCommandToolBar();  // the command tool bar with the logo (picToolbar)
  void BuildPictures();        // the banner and the picture buffers
  void BuildFileModeBar();     // the side bar picOutlook with Toolbar1
  // The user row, the category and file lists, the banner strip and the name
  // and button rows, laid out one above the other.
  QVBoxLayout* BuildLists();
};

// The form: frmSave's state, properties and events.
class SaveForm : public QtForm {
 public:
  SaveForm();
  ~SaveForm() override;

  frmSave& window() const;

  // ---- Properties ----
  const std::string& FileName() const { return fileName_; }
  void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }
  bool SaveMode() const { return role_ == kSave; }
  void SetSaveMode(bool save) { role_ = save ? kSave : kOpen; }
  bool StandAlone() const { return standAlone_; }
  void SetStandAlone(bool standAlone) { standAlone_ = standAlone; }
  bool OpenAsTemplate() const { return openAsTemplate_; }
  void SetOpenAsTemplate(bool value) { openAsTemplate_ = value; }
  // The owning application object (null until set, and after unload).
  TabrelPC* Owner() const { return owner_.get(); }
  void SetOwner(Ref<TabrelPC> owner);

  // ---- Construction and file mode (save_form.cpp) ----
  void FileModeVisible(bool visible);
  void InitializeForm();
  void ApplyFileMode(int16_t index);
  void Toolbar1_ButtonClick(int16_t index);
  void DoHelp();
  // The file mode the window shows: the index of the first pressed file-mode
  // button less one; nullopt when none is pressed.
  std::optional<int16_t> ShownFileMode() const;

  // ---- Lists (save_form_lists.cpp) ----
  void InitCategories();
  void InitWorkbooks(const std::string& category, bool append);
  void ShowAllCategories();
  std::string CurrentCategory() const;
  void lstCategory_Click();
  void Refresh1();
  void btnRefresh_Click();
  void txtWorkbook_Change();

  // ---- Users (save_form_users.cpp) ----
  void ConnectUsers(frmSave& w);
  void LoadUsers();
  void cboUser_Click();
  void cboUser_KeyPress();

  // ---- Confirmation (save_form_confirm.cpp) ----
  void cmdOkCancel_Click(int index);
  void lstWorkbook_ItemClick(QTreeWidgetItem* item);
  // The list's selection changed: with no file selected, Link and Delete are off.
  void lstWorkbook_SelectionChanged();
  void lstWorkbook_DblClick();
  void Toolbar_ButtonClick(const std::string& key);
  void cmdExplore_Click();
  void ShowWait(const std::string& text, bool force);
  void HideWait(bool force);
  void SelectFileName();

  // ---- Commands of other topics, declared here and defined in their files ----
  // Category commands: index 0 add, 1 rename, 2 delete.
  void mnuCategory_Click(int index);
  // The command tool bar's file commands: link settings, add a file, delete.
  void EditFileProperties();
  void AddExistingFile();
  void DeleteCommand();

  // ---- Layout, banner, themes, web links (save_form_look.cpp) ----
  void ConnectLook(frmSave& w);
  // The start of InitializeForm (web-request object, theme) and its end
  // (banner, banner picture).
  void InitializeLook();
  void FinishLook();
  void Form_Resize();
  void Form_Paint();
  bool IsBannerEnabled() const;
  int16_t GetTheme() const;
  void SetTheme(int16_t theme);
  void LoadAdGraphic();
  void DownloadComplete(const std::string& localPath, bool success);
  void mnuView_Click();
  void mnuEnableBanner_Click();
  void mnuTheme_Click(int index);
  void mnuFile_Click();
  void mnuAbout_Click();
  void OpenWebPage(const std::string& address);
  void Picture2_Click();
  void picLogo_Click();
  // Drawing: each schedules the repaint of its control, which draws it.
  void DrawBanner();
  void DrawCategoryFrame();
  void DrawOutlookBar();
  void DrawToolbar();
  // The late-bound members of this topic; false for other names.
  bool InvokeLookMember(const std::string& key, CallKind kind, Args args, Variant& result);
  // ---- Link settings and image options (save_form_properties.cpp) ----
  void mnuFileLinked_Click();
  void cmdOptions_Click();
  // Import, category, file and phone-sync commands and the Edit menu
  // (save_form_commands.h); made with the form.
  SaveFormCommands& Commands() { return *commands_; }

  // The window's state the other topics share.
  bool initializing() const { return initializing_; }
  bool listDragFlag = false;
  int16_t listDragSourceIndex = -1;
  std::string listDragSourceCategory;
  int categoryRowHeight = 0;
  int16_t iTheme = 0;
  Ref<Dispatch> oInternet;  // "WebRequest.cInternet", null when it can't be made
  QImage picDownload;       // the downloaded banner picture
  WindowLayout windowLayout;
  bool installed[3] = {false, false, false};

 protected:
  QWidget* MakeWindow() override;
  void FormLoad() override;
  void FormUnload() override;
  void QueryClose() override;
  Variant InvokeMember(std::string_view name, CallKind kind, Args args) override;

 private:
  enum Role : int32_t { kNone = 0, kSave = 1, kOpen = 2 };

  void Connect(frmSave& w);
  void RegisterWindow();
  void RestoreWindowPlacement();
  void SaveWindowPlacement();
  void PreselectRequestedFile();
  void OpenInOfficeApplication();
  int16_t FileMode() const;
  std::string Home() const;

  std::string fileName_;
  std::string requestedFile_;  // FileName as the caller gave it, for preselection
  int32_t role_ = kNone;
  bool standAlone_ = false;
  bool openAsTemplate_ = false;
  bool initializing_ = false;
  bool usersPending_ = false;  // InitializeForm has not filled the user box yet
  Ref<TabrelPC> owner_;
  DocumentLister lister_;
  std::vector<UserEntry> users_;
  std::unique_ptr<WindowRegistration> registration_;
  std::unique_ptr<SaveFormCommands> commands_;
};

}  // namespace brevora::frontend::forms
