#include "album/private_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "platform/error/error.h"
#include "platform/fs/paths.h"

namespace brevora::album {
namespace {

constexpr int32_t kPathFileAccessError = 75;

}  // namespace

PrivateFolder::PrivateFolder() {
  std::string pattern = fs::NativePath(fs::TempDir()) + "tbrXXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) RaiseRuntimeError(kPathFileAccessError);
  native_ = pattern;
  try {
    path_ = fs::SystemPath(native_) + "/";
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(native_, ignored);
    throw;
  }
}

PrivateFolder::~PrivateFolder() {
  // remove_all removes symbolic links themselves, never what they point at.
  std::error_code ignored;
  std::filesystem::remove_all(native_, ignored);
}

}  // namespace brevora::album
