#include "doc/temp_work_folder.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "platform/error/error.h"
#include "platform/fs/paths.h"

namespace brevora::doc {

namespace {

constexpr int32_t kPathAccessError = 75;

}  // namespace

TempWorkFolder::TempWorkFolder(std::string_view prefix) {
  const std::string base = fs::TempDir() + std::string(prefix);
  std::string pattern = fs::NativePath(base) + "XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) RaiseRuntimeError(kPathAccessError);
  // mkdtemp puts six letters or digits in place of the X's.
  path_ = base + pattern.substr(pattern.size() - 6) + "/";
}

TempWorkFolder::~TempWorkFolder() {
  std::error_code ignored;  // nothing to report on the way out
  std::filesystem::remove_all(fs::NativePath(path_), ignored);
}

}  // namespace brevora::doc
