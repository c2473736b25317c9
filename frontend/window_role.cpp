#include "frontend/window_role.h"

#include "core/file_mode.h"
#include "platform/error/error.h"

namespace brevora::frontend {

std::optional<FileModeView> FileModeViewOf(int16_t fileMode) {
  switch (fileMode) {
    case 0:
      return FileModeView{
          "Add Workbook", "Delete Workbook", "Workbook", "TABRELPC.HLP", 30, true, false, false};
    case 1:
      return FileModeView{
          "Add Document", "Delete Document", "Document", "SCRIV.HLP", 31, false, true, false};
    case 2:
      return FileModeView{"Add Presentation",
                          "Delete Presentation",
                          "Presentation",
                          "SLIDR.HLP",
                          31,
                          false,
                          false,
                          true};
    default:
      return std::nullopt;
  }
}

bool OptionsVisible(bool standAlone, int16_t fileMode) { return fileMode == 2 && !standAlone; }

std::string DialogTypeName(int16_t fileMode) {
  // The modules' type names stop at documents; presentations get their own.
  return fileMode == 2 ? "Slidora Presentation" : core::FileModeTypeName(fileMode);
}

RoleView RoleViewOf(bool standAlone, bool saveRole, int16_t fileMode,
                    const std::string& applicationTitle) {
  RoleView view;
  if (saveRole) {
    view.caption = "Save " + DialogTypeName(fileMode);
    view.okCaption = "Save";
  } else {
    view.caption = standAlone ? applicationTitle : "Open " + DialogTypeName(fileMode);
    view.okCaption = "Open";
  }
  view.fileModeBar = standAlone && !saveRole;
  view.nameBox = !standAlone;
  view.linkColumns = standAlone;
  view.openAsTemplate = !standAlone && !saveRole && fileMode == 0;
  view.options = OptionsVisible(standAlone, fileMode);
  view.sideBar = standAlone;
  view.statusBar = standAlone;
  view.fileCommands = standAlone;
  return view;
}

RoleHelp HelpOf(bool standAlone, int32_t role, const std::string& modeHelpFile) {
  if (standAlone) return {"VARNIX.HLP", 3, 0};
  return {modeHelpFile, 1, role == kOpenRole ? 725u : 726u};
}

namespace {

// Visual Basic's Val of a setting: the leading number, 0 when there is none.
int LeadingValue(const std::string& text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  int value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    if (value > 1000) return 0;  // far outside 1 to 3 either way
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

}  // namespace

std::optional<int16_t> StartFileModeButton(const std::string& stored, const bool installed[3],
                                           const std::string& applicationTitle) {
  const int m = LeadingValue(stored);
  if (m < 1 || m > 3) return std::nullopt;
  if (!installed[0] && !installed[1] && !installed[2]) {
    RaiseError(kWrapError, "FrmSave.InitializeForm",
               "Invalid installation configuration.  Please reinstall " + applicationTitle + ".");
  }
  if (installed[m - 1]) return static_cast<int16_t>(m);
  // The other two in the order each mode prefers them.
  static constexpr int kNext[3][2] = {{2, 3}, {1, 3}, {2, 1}};
  for (int other : kNext[m - 1]) {
    if (installed[other - 1]) return static_cast<int16_t>(other);
  }
  return std::nullopt;  // unreachable: one of the three is installed
}

}  // namespace brevora::frontend
