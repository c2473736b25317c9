#include "phonesync/shortcut.h"

#include <dlfcn.h>
#include <limits.h>

#include <cstdint>
#include <vector>

#include "phonesync/library_folder.h"
#include "platform/error/error.h"

namespace brevora::bvsync {
namespace {

constexpr const char* kLibrary = "libtabrelc.so";

using ResolveItFn = int32_t (*)(void* window, const char* linkPath, char* pathBuf, int32_t pathCap,
                                char* argsBuf, int32_t argsCap);

ResolveItFn LoadResolveIt() {
  void* library = dlopen((LibraryFolder() + "/" + kLibrary).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
  if (library == nullptr) RaiseError(53, "", std::string("File not found: ") + kLibrary);
  auto entry = reinterpret_cast<ResolveItFn>(dlsym(library, "ResolveIt"));
  if (entry == nullptr) {
    RaiseError(453, "", std::string("Can't find DLL entry point ResolveIt in ") + kLibrary);
  }
  return entry;
}

// The entry, bound on the first call; a failed binding is tried again next time.
ResolveItFn ResolveIt() {
  static const ResolveItFn entry = LoadResolveIt();
  return entry;
}

std::string TextBefore(const std::vector<char>& buffer) {
  size_t n = 0;
  while (n < buffer.size() && buffer[n] != '\0') ++n;
  return std::string(buffer.data(), n);
}

}  // namespace

std::optional<ResolvedShortcut> ResolveShortcut(const std::string& shortcut) {
  const ResolveItFn resolve = ResolveIt();
  // Room for any path the system can name.
  std::vector<char> target(PATH_MAX + 1, '\0');
  std::vector<char> arguments(PATH_MAX + 1, '\0');
  const int32_t result =
      resolve(nullptr, shortcut.c_str(), target.data(), static_cast<int32_t>(target.size()),
              arguments.data(), static_cast<int32_t>(arguments.size()));
  if (result != 0) return std::nullopt;
  ResolvedShortcut resolved{TextBefore(target), TextBefore(arguments)};
  if (resolved.target.empty()) return std::nullopt;
  return resolved;
}

}  // namespace brevora::bvsync
