#include "phonesync/library_folder.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace brevora::bvsync {

std::string LibraryFile() {
  Dl_info info{};
  std::string file;
  if (dladdr(reinterpret_cast<void*>(&LibraryFile), &info) != 0 && info.dli_fname != nullptr) {
    file = info.dli_fname;
  }
  // The main program may be named as it was started (no folder at all).
  if (file.find('/') == std::string::npos) file = "/proc/self/exe";
  std::error_code ec;
  const std::filesystem::path resolved = std::filesystem::canonical(file, ec);
  return ec ? file : resolved.string();
}

std::string LibraryFolder() { return std::filesystem::path(LibraryFile()).parent_path().string(); }

}  // namespace brevora::bvsync
