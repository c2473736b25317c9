#include "album/image_folder_install.h"

#include <sys/stat.h>
#include <unistd.h>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace brevora::album {
namespace {

constexpr int32_t kFileAlreadyExists = 58;
constexpr int kAsideAttempts = 100;

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(fs::NativePath(path).c_str(), &st) == 0;
}

}  // namespace

std::string ImageFolderInstall::AsideName(std::string_view name, int attempt) const {
  return folder_ + ".tbr" + std::to_string(::getpid()) + "-" + std::to_string(attempt) + "-" +
         std::string(name);
}

std::string ImageFolderInstall::Install(std::string_view staged) {
  const std::string name = fs::FileNamePart(staged);
  Placed placed;
  placed.target = folder_ + name;
  if (Exists(placed.target)) {
    for (int attempt = 1;; ++attempt) {
      const std::string aside = AsideName(name, attempt);
      try {
        fs::RenameNoReplace(placed.target, aside);
        placed.aside = aside;
        break;
      } catch (const AutomationError& e) {
        if (e.number() != kFileAlreadyExists || attempt == kAsideAttempts) throw;
      }
    }
  }
  placed_.push_back(placed);
  fs::CopyFile(staged, placed.target, /*replace=*/false);
  placed_.back().installed = true;
  return placed.target;
}

ImageFolderInstall::~ImageFolderInstall() {
  for (auto it = placed_.rbegin(); it != placed_.rend(); ++it) {
    try {
      if (it->installed && fs::FileExists(it->target)) fs::RemoveFile(it->target);
      if (!it->aside.empty()) fs::RenameNoReplace(it->aside, it->target);
    } catch (...) {
      // The rest is still put back; what stays aside keeps its hidden name.
    }
  }
}

}  // namespace brevora::album
