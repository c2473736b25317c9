#include "frontend/file_choice.h"

#include "core/file_mode.h"
#include "frontend/name_validator.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::frontend {
namespace {

std::string Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

bool Ask(const std::string& text, const std::string& title) {
  return services::ShowMessage({text, title, services::MsgButtons::YesNo,
                                services::MsgIcon::Question}) == services::MsgResult::Yes;
}

// `home` with the category folder and the file name.
std::string InCategory(const std::string& home, const std::string& category,
                       const std::string& name) {
  return fs::JoinPath(fs::JoinPath(home, category), name);
}

}  // namespace

std::optional<std::string> NameProblem(std::string_view typed, int16_t fileMode, int maximum) {
  const std::string bare = core::RemoveFileModeExtension(typed, fileMode);
  const std::size_t limit = maximum > 0 ? static_cast<std::size_t>(maximum) : bare.size();
  const NameFault fault = CheckName(bare, limit);
  if (fault == NameFault::kNone) return std::nullopt;
  return NameFaultMessage(fault, limit, "document");
}

std::optional<std::string> ConfirmSave(const std::string& home, const std::string& category,
                                       const std::string& typed, int16_t fileMode) {
  const std::string name = core::AddFileModeExtension(typed, fileMode);
  if (const std::optional<DuplicateDocument> other = DupInAnotherDir(name, category, home)) {
    if (!Ask("This workbook already exists in the category: '" + other->category +
                 "'.  Do you want to overwrite?",
             "Overwrite workbook")) {
      return std::nullopt;
    }
    return other->path;
  }
  // An existing file is replaced under its own name, whatever the case typed.
  const std::string folder = fs::JoinPath(home, category);
  const std::optional<std::string> existing = fs::FindNoCase(folder, name);
  const bool exists = existing && fs::FileExists(fs::JoinPath(folder, *existing));
  const std::string path = fs::JoinPath(folder, exists ? *existing : name);
  if (exists && !Ask("Workbook '" + typed + "' exists in category '" + category +
                         "'.  Click Yes to overwrite.",
                     "Overwrite Workbook")) {
    return std::nullopt;
  }
  return path;
}

std::string OpenPath(const std::string& home, const std::string& category, const std::string& typed,
                     int16_t fileMode) {
  return InCategory(home, category, core::AddFileModeExtension(typed, fileMode));
}

std::optional<Preselection> PreselectionOf(const std::string& fileName, const std::string& home,
                                           int16_t fileMode) {
  const std::string given = fs::NativePath(Trimmed(fileName));
  std::string root = fs::NativePath(home);
  while (!root.empty() && root.back() == '/') root.pop_back();
  if (given.size() <= root.size() + 1 || given.compare(0, root.size(), root) != 0 ||
      given[root.size()] != '/') {
    return std::nullopt;
  }
  const std::string rest = given.substr(root.size() + 1);
  const std::size_t slash = rest.find('/');
  if (slash == std::string::npos || slash == 0 || rest.find('/', slash + 1) != std::string::npos)
    return std::nullopt;
  try {
    const std::string category = fs::SystemPath(rest.substr(0, slash));
    const std::string file = fs::SystemPath(rest.substr(slash + 1));
    if (!fs::IsPlainName(category) || !fs::IsPlainName(file)) return std::nullopt;
    return Preselection{category, core::RemoveFileModeExtension(file, fileMode)};
  } catch (...) {
    return std::nullopt;  // a name the code page can't hold is in no category
  }
}

}  // namespace brevora::frontend
