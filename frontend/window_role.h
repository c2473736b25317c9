#pragma once
// How the window frmSave looks in its role and file mode, decided without a
// window: the stand-alone main window, the modal Open dialog (role 2) and the
// modal Save dialog (role 1), each in one of the three file modes. The form
// applies these answers to its controls; the tests check them as tables.
#include <cstdint>
#include <optional>
#include <string>

namespace brevora::frontend {

inline constexpr int32_t kSaveRole = 1;
inline constexpr int32_t kOpenRole = 2;

// What a file mode changes in the window (the file-mode switch).
struct FileModeView {
  std::string addTip;     // tool tip of btnAdd
  std::string deleteTip;  // tool tip of btnDelete
  std::string column1;    // header of the list's first column
  std::string helpFile;   // gHelpFile
  int nameMaximum = 0;    // maximum length of the name box
  bool excel = false;     // btnExcel, btnWord, btnPowerPoint enabled
  bool word = false;
  bool powerPoint = false;
  bool operator==(const FileModeView&) const = default;
};

// The view of file mode 0, 1 or 2; nullopt for any other value.
std::optional<FileModeView> FileModeViewOf(int16_t fileMode);

// What the role changes in the window.
struct RoleView {
  std::string caption;
  std::string okCaption;        // cmdOkCancel 0
  bool fileModeBar = false;     // Toolbar1 shown
  bool nameBox = false;         // OK, Cancel, txtWorkbook and lblName shown
  bool linkColumns = false;     // list columns 2 to 4 exist
  bool openAsTemplate = false;  // cbxOpenAsTemplate shown
  bool options = false;         // cmdOptions shown
  bool sideBar = false;         // picOutlook shown
  bool statusBar = false;       // StatusBar1 shown
  bool fileCommands = false;    // btnLink, btnAdd, btnDelete enabled
};

// The view of a role. `saveRole` is iRole = 1; `applicationTitle` is the
// stand-alone caption. The presentation dialogs are "Open Slidora
// Presentation" and "Save Slidora Presentation".
RoleView RoleViewOf(bool standAlone, bool saveRole, int16_t fileMode,
                    const std::string& applicationTitle);

// Whether cmdOptions shows in a file mode: presentations outside the
// stand-alone window.
bool OptionsVisible(bool standAlone, int16_t fileMode);

// The type name after "Open " and "Save " in the dialogs' captions.
std::string DialogTypeName(int16_t fileMode);

// The help the window's help command opens: the suite's contents in the
// stand-alone window, else the mode's help file at the dialog's context.
struct RoleHelp {
  std::string file;
  uint32_t command = 0;  // 3 contents, 1 context
  uint32_t data = 0;
};
RoleHelp HelpOf(bool standAlone, int32_t role, const std::string& modeHelpFile);

// The file-mode button (1 to 3) the stand-alone window opens with, from the
// stored "LastFileMode" text and which products are installed: nullopt when
// the stored value is not 1, 2 or 3 (the window keeps the Session's mode); a
// product that is not installed gives way to another as the window's rules
// say. No product installed raises 32760 "FrmSave.InitializeForm" "Invalid
// installation configuration.  Please reinstall <title>.".
std::optional<int16_t> StartFileModeButton(const std::string& stored, const bool installed[3],
                                           const std::string& applicationTitle);

}  // namespace brevora::frontend
