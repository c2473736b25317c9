#include "phonesync/send_target.h"

#include <sys/stat.h>
#include <unistd.h>

#include "phonesync/argument_words.h"
#include "phonesync/library_folder.h"
#include "phonesync/shortcut.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/spawn.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::bvsync {
namespace {

constexpr std::string_view kLauncherExtension = ".desktop";

bool EndsWithNoCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         text::EqualsNoCase(text.substr(text.size() - end.size()), end);
}

// A send program runs in the library's folder with signals at their defaults
// (a host that ignores SIGPIPE or SIGINT does not pass that on).
bool Run(const std::vector<std::string>& nativeArguments) {
  return services::RunAndWait(nativeArguments, {.folder = LibraryFolder(), .resetSignals = true})
      .Succeeded();
}

bool SendThroughLauncher(const std::string& launcher, const std::string& file) {
  const std::optional<ResolvedShortcut> resolved = ResolveShortcut(launcher);
  if (!resolved) return false;  // starts nothing
  return Run(LauncherArguments(resolved->target, resolved->arguments, file));
}

bool CopyIntoFolder(const std::string& folder, const std::string& file) {
  if (!fs::FolderExists(folder)) return false;
  const std::string name = fs::FileNamePart(file);
  if (!fs::IsPlainName(name)) return false;
  try {
    fs::CopyFile(file, fs::JoinPath(folder, name), /*replace=*/true);
    return true;
  } catch (const AutomationError&) {
    return false;
  }
}

}  // namespace

TargetKind KindOfTarget(const std::string& target) {
  if (EndsWithNoCase(target, kLauncherExtension)) return TargetKind::Launcher;
  const std::string native = fs::NativePath(target);
  struct stat st {};
  if (stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(native.c_str(), X_OK) == 0) {
    return TargetKind::Program;
  }
  return TargetKind::Other;
}

std::vector<std::string> LauncherArguments(const std::string& program, const std::string& arguments,
                                           const std::string& file) {
  std::vector<std::string> words{fs::NativePath(program)};
  if (arguments.find_first_not_of(' ') != std::string::npos) {
    for (const std::string& w : SplitArguments(arguments)) words.push_back(text::CpToUtf8(w));
  }
  words.push_back(fs::NativePath(file));
  return words;
}

bool SendFile(const std::string& target, TargetKind kind, const std::string& file) {
  switch (kind) {
    case TargetKind::Launcher:
      return SendThroughLauncher(target, file);
    case TargetKind::Program:
      return Run({fs::NativePath(target), fs::NativePath(file)});
    case TargetKind::Other:
      return CopyIntoFolder(target, file);
  }
  return false;
}

}  // namespace brevora::bvsync
