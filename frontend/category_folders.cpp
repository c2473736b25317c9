#include "frontend/category_folders.h"

#include <filesystem>
#include <system_error>

#include "core/file_mode.h"
#include "frontend/category_names.h"
#include "frontend/tabrel_pc.h"
#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/message_box.h"
#include "platform/text/case.h"

namespace brevora::frontend {

using services::ShowCritical;

std::string CategoryFolder(std::string_view home, std::string_view category) {
  return fs::JoinPath(home, category);
}

std::vector<std::string> CategoryDocuments(std::string_view folder, int fileMode) {
  const std::string extension = "." + core::FileModeExtension(static_cast<int16_t>(fileMode));
  if (extension == ".") return {};
  return fs::ListFolder(folder, fs::ListKind::Files, extension);
}

bool IsFolderEmpty(std::string_view folder) {
  std::error_code error;
  std::filesystem::directory_iterator entries(fs::NativePath(folder), error);
  if (error) fs::RaiseErrno(error.value(), true);
  return entries == std::filesystem::directory_iterator();
}

std::optional<DuplicateDocument> DupInAnotherDir(std::string_view fileName,
                                                 std::string_view excludedCategory,
                                                 std::string_view root) {
  return CategoryNames(std::string(root)).FindElsewhere(fileName, excludedCategory);
}

bool CopyCategoryFiles(TabrelPC& app, std::string_view source, std::string_view target) {
  try {
    const std::string home = app.HomeDirectory();
    const std::string targetFolder = CategoryFolder(home, target);
    const std::string sourceFolder = CategoryFolder(home, source);
    const int fileMode = app.Session()->FileMode();
    const std::vector<std::string> documents = CategoryDocuments(sourceFolder, fileMode);
    // A clash anywhere refuses the whole copy before a file is touched.
    for (const std::string& name : documents) {
      if (fs::FindNoCase(targetFolder, name)) {
        ShowCritical("Cannot copy: " + fs::JoinPath(sourceFolder, name) + "\r\nThe category '" +
                     std::string(target) + "' already holds a file of that name.");
        return false;
      }
    }
    if (!fs::FolderExists(targetFolder)) fs::MakeFolder(targetFolder);
    bool all = true;
    for (const std::string& name : documents) {
      const std::string from = fs::JoinPath(sourceFolder, name);
      try {
        app.MakeDirty(from);
      } catch (...) {
        ShowCritical("Cannot copy: " + from);
        all = false;
        continue;
      }
      fs::CopyFile(from, fs::JoinPath(targetFolder, name), /*replace=*/false);
    }
    return all;
  } catch (...) {
    ShowCritical(CurrentError().description());
    return false;
  }
}

}  // namespace brevora::frontend
