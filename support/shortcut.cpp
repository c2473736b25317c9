// ResolveIt: shortcut resolution on Linux. A shortcut is a symbolic link
// (its target, no arguments) or a freedesktop launcher (Exec= gives the target
// and the arguments). Both output buffers are cleared first and are filled only
// when everything succeeded, so a failure always leaves zero bytes behind.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/text/codepage.h"
#include "support/desktop_entry.h"
#include "support/tabrelc.h"

namespace tabrelc {
namespace {

// Launchers are small; a bigger file is not one.
constexpr std::streamsize kMaxLauncherSize = 64 * 1024;

struct Shortcut {
  std::string target;  // UTF-8
  std::string arguments;
};

int32_t ReadSymlink(const std::string& path, Shortcut* out) {
  std::string target(256, '\0');
  for (;;) {
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return TABRELC_E_FAIL;
    if (static_cast<size_t>(n) < target.size()) {
      target.resize(static_cast<size_t>(n));
      break;
    }
    target.resize(target.size() * 2);
  }
  namespace fs = std::filesystem;
  fs::path resolved(target);
  if (resolved.is_relative()) {
    std::error_code ec;
    const fs::path link = fs::absolute(fs::path(path), ec);
    if (ec) return TABRELC_E_FAIL;
    resolved = link.parent_path() / resolved;
  }
  out->target = resolved.string();
  return TABRELC_S_OK;
}

int32_t ReadLauncher(const std::string& path, Shortcut* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return TABRELC_E_FAIL;
  std::string text(static_cast<size_t>(kMaxLauncherSize) + 1, '\0');
  in.read(text.data(), kMaxLauncherSize + 1);
  if (in.bad() || in.gcount() > kMaxLauncherSize) return TABRELC_E_FAIL;
  text.resize(static_cast<size_t>(in.gcount()));
  const auto words = ParseDesktopExec(text);
  if (!words) return TABRELC_E_FAIL;
  out->target = words->front();
  out->arguments = JoinArguments(std::vector<std::string>(words->begin() + 1, words->end()));
  return TABRELC_S_OK;
}

int32_t Resolve(const char* link_path, Shortcut* out) {
  std::string path = brevora::text::CpToUtf8(link_path);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  struct stat st {};
  if (path.empty() || ::lstat(path.c_str(), &st) != 0) {
    return path.empty() || errno == ENOENT || errno == ENOTDIR ? TABRELC_E_FILE_NOT_FOUND
                                                               : TABRELC_E_FAIL;
  }
  if (S_ISLNK(st.st_mode)) return ReadSymlink(path, out);
  if (S_ISREG(st.st_mode)) return ReadLauncher(path, out);
  return TABRELC_E_FAIL;
}

// True when the text and a zero byte after it fit into cap bytes.
bool Fits(const std::string& text, int32_t cap) { return text.size() < static_cast<size_t>(cap); }

}  // namespace
}  // namespace tabrelc

extern "C" int32_t ResolveIt(void* /*window*/, const char* linkPath, char* pathBuf, int32_t pathCap,
                             char* argsBuf, int32_t argsCap) {
  if (pathBuf != nullptr && pathCap > 0) std::memset(pathBuf, 0, static_cast<size_t>(pathCap));
  if (argsBuf != nullptr && argsCap > 0) std::memset(argsBuf, 0, static_cast<size_t>(argsCap));
  if (linkPath == nullptr || pathBuf == nullptr || argsBuf == nullptr || pathCap <= 0 ||
      argsCap <= 0) {
    return TABRELC_E_INVALIDARG;
  }
  try {
    tabrelc::Shortcut shortcut;
    const int32_t hr = tabrelc::Resolve(linkPath, &shortcut);
    if (hr != TABRELC_S_OK) return hr;
    const auto target = brevora::text::Utf8ToCpExact(shortcut.target);
    const auto arguments = brevora::text::Utf8ToCpExact(shortcut.arguments);
    if (!target || !arguments) return TABRELC_E_FAIL;
    if (!tabrelc::Fits(*target, pathCap) || !tabrelc::Fits(*arguments, argsCap)) {
      return TABRELC_E_INSUFFICIENT_BUFFER;
    }
    std::memcpy(pathBuf, target->data(), target->size());
    std::memcpy(argsBuf, arguments->data(), arguments->size());
    return TABRELC_S_OK;
  } catch (const std::exception&) {  // out of memory: nothing throws across the C boundary
    return TABRELC_E_FAIL;
  }
}
