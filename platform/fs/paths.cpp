#include "platform/fs/paths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/fs/file_error.h"
#include "platform/text/codepage.h"

namespace brevora::fs {
namespace {

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::string StripTrailingSeparators(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// Creates a native folder and its missing parents, private to the user.
void MakePrivateFolder(const std::string& native) {
  struct stat existing {};
  if (stat(native.c_str(), &existing) == 0 && S_ISDIR(existing.st_mode)) return;
  for (size_t pos = 1; pos <= native.size(); ++pos) {
    if (pos != native.size() && native[pos] != '/') continue;
    const std::string part = native.substr(0, pos);
    if (mkdir(part.c_str(), 0700) == 0 || errno == EEXIST) continue;
    const int err = errno;
    struct stat st {};
    if (stat(part.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) RaiseErrno(err, true);
  }
  struct stat st {};
  if (stat(native.c_str(), &st) != 0) RaiseErrno(errno, true);
  if (!S_ISDIR(st.st_mode)) RaiseFileError(kPathNotFound);
}

// The folder for one of the XDG kinds, created on demand.
std::string UserRoot(const char* xdgVariable, const char* homeFallback) {
  std::string root = Env("BREVORA_HOME");
  if (root.empty()) {
    std::string base = Env(xdgVariable);
    if (base.empty() || base[0] != '/') {  // XDG ignores relative values
      const std::string home = Env("HOME");
      if (home.empty()) RaiseFileError(kPathNotFound);
      base = home + homeFallback;
    }
    root = StripTrailingSeparators(base) + "/brevora";
  }
  root = StripTrailingSeparators(root);
  MakePrivateFolder(root);
  return SystemPath(root);
}

}  // namespace

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

std::string NativePath(std::string_view systemPath) {
  std::string path(systemPath);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return text::CpToUtf8(path);
}

std::string SystemPath(std::string_view nativePath) {
  auto cp = text::Utf8ToCpExact(nativePath);
  if (!cp) RaiseFileError(kBadFileName);
  return *cp;
}

std::string FileNamePart(std::string_view path) {
  size_t pos = path.size();
  while (pos > 0 && !IsSeparator(path[pos - 1])) --pos;
  return std::string(path.substr(pos));
}

std::string FolderPart(std::string_view path) {
  size_t pos = path.size();
  while (pos > 0 && !IsSeparator(path[pos - 1])) --pos;
  return std::string(path.substr(0, pos));
}

std::string ExtensionPart(std::string_view path) {
  const std::string name = FileNamePart(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string PathPartOrWhole(std::string_view path) {
  const std::string folder = FolderPart(path);
  return folder.empty() ? std::string(path) : folder;
}

std::string StripExtension(std::string_view text) {
  const size_t dot = text.rfind('.');
  return std::string(dot == std::string_view::npos ? text : text.substr(0, dot));
}

std::string ExtensionOrWhole(std::string_view text) {
  const size_t dot = text.rfind('.');
  return std::string(dot == std::string_view::npos ? text : text.substr(dot + 1));
}

std::string StripQuotes(std::string_view text) {
  std::string result;
  result.reserve(text.size());
  for (char c : text) {
    if (c != '"') result.push_back(c);
  }
  return result;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  while (!name.empty() && IsSeparator(name.front())) name.remove_prefix(1);
  std::string out(folder);
  if (!out.empty() && !IsSeparator(out.back())) out.push_back('/');
  out.append(name);
  return out;
}

std::string WithSeparator(std::string_view folder) {
  std::string result(folder);
  if (result.empty() || !IsSeparator(result.back())) result.push_back('\\');
  return result;
}

bool IsPlainName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsSeparator(c) || byte < 0x20 || byte == 0x7F) return false;
  }
  return true;
}

std::string ConfigDir() { return UserRoot("XDG_CONFIG_HOME", "/.config"); }
std::string StateDir() { return UserRoot("XDG_STATE_HOME", "/.local/state"); }
std::string DataDir() { return UserRoot("XDG_DATA_HOME", "/.local/share"); }

std::string RuntimeDir() {
  // XDG_RUNTIME_DIR has no default; without it the state folder holds a "run" folder.
  if (Env("BREVORA_HOME").empty() && Env("XDG_RUNTIME_DIR").starts_with('/')) {
    return UserRoot("XDG_RUNTIME_DIR", "");
  }
  const std::string run = StateDir() + "/run";
  MakePrivateFolder(NativePath(run));
  return run;
}

std::string TempDir() {
  std::string dir = Env("TMPDIR");
  if (dir.empty()) dir = "/tmp";
  dir = StripTrailingSeparators(dir);
  if (dir.back() != '/') dir.push_back('/');
  return SystemPath(dir);
}

}  // namespace brevora::fs
