#include "platform/fs/scratch_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <memory>
#include <system_error>
#include <vector>

#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/paths.h"
#include "platform/fs/rename_no_replace.h"

namespace brevora::fs {
namespace {

constexpr std::string_view kSuffix = ".scratch";
constexpr size_t kRandomLength = 6;
constexpr size_t kMaxTag = 16;

bool IsAlnum(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsTag(std::string_view tag) {
  if (tag.empty() || tag.size() > kMaxTag) return false;
  for (const char c : tag) {
    if (!IsAlnum(c)) return false;
  }
  return true;
}

// ".<tag>-XXXXXX.scratch" for this tag, or for any tag when `tag` is empty.
bool MatchesName(std::string_view name, std::string_view tag) {
  if (name.size() < 1 + 1 + 1 + kRandomLength + kSuffix.size() || name[0] != '.' || !name.ends_with(kSuffix)) {
    return false;
  }
  const std::string_view stem = name.substr(1, name.size() - 1 - kSuffix.size());  // <tag>-XXXXXX
  const size_t dash = stem.size() - kRandomLength - 1;
  if (stem[dash] != '-') return false;
  const std::string_view nameTag = stem.substr(0, dash);
  if (tag.empty() ? !IsTag(nameTag) : nameTag != tag) return false;
  for (const char c : stem.substr(dash + 1)) {
    if (!IsAlnum(c)) return false;
  }
  return true;
}

std::string LastComponent(std::string_view native) {
  while (native.size() > 1 && native.back() == '/') native.remove_suffix(1);
  const size_t slash = native.rfind('/');
  return std::string(slash == std::string_view::npos ? native : native.substr(slash + 1));
}

std::string NativeFolderOf(const std::string& native) {
  const size_t slash = native.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : native.substr(0, slash);
}

void SyncFolder(const std::string& nativeFolder) {
  const int fd = open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);  // best effort: the rename itself has already happened
  close(fd);
}

void SyncFile(const std::string& native) {
  const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) RaiseErrno(errno);
  const int result = fsync(fd);
  const int err = errno;
  close(fd);
  if (result != 0) RaiseErrno(err);
}

}  // namespace

ScratchFolder::ScratchFolder(std::string_view folder, std::string_view tag) {
  if (!IsTag(tag)) RaiseError(5, "ScratchFolder", "A scratch folder's tag is 1 to 16 letters or digits.");
  std::string parent = NativePath(folder);
  while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
  static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[kRandomLength];
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) RaiseErrno(errno);
    std::string name = "." + std::string(tag) + "-";
    for (const unsigned char r : random) name.push_back(kDigits[r % 36]);
    name += kSuffix;
    const std::string native = parent + "/" + name;
    if (mkdir(native.c_str(), 0700) == 0) {
      native_ = native;
      path_ = JoinPath(folder, name);
      return;
    }
    if (errno != EEXIST) RaiseErrno(errno, /*missingIsPath=*/true);
  }
  RaiseFileError(kPathFileAccess);
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(native_, ignored);
}

void ScratchFolder::MoveOut(std::string_view name, std::string_view target, bool replace) const {
  if (!IsPlainName(name)) RaiseFileError(kBadFileName);
  const std::string from = native_ + "/" + NativePath(name);
  const std::string to = NativePath(target);
  SyncFile(from);
  if (replace) {
    if (rename(from.c_str(), to.c_str()) != 0) RaiseErrno(errno, true);
  } else {
    detail::RenameNoReplaceNative(from, to);
  }
  SyncFolder(NativeFolderOf(to));
}

int ScratchFolder::RemoveLeftovers(std::string_view folder, std::string_view tag) {
  if (!IsTag(tag)) return 0;
  int removed = 0;
  try {
    const std::string native = NativePath(folder);
    struct DirCloser {
      void operator()(DIR* d) const { closedir(d); }
    };
    std::unique_ptr<DIR, DirCloser> dir(opendir(native.c_str()));
    if (!dir) return 0;
    std::vector<std::string> names;
    while (const dirent* e = readdir(dir.get())) {
      if (!MatchesName(e->d_name, tag)) continue;
      struct stat st {};
      if (fstatat(dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode)) {
        names.emplace_back(e->d_name);
      }
    }
    for (const std::string& name : names) {
      std::error_code error;
      std::filesystem::remove_all(native + "/" + name, error);
      if (!error) ++removed;
    }
  } catch (...) {
    // A folder name the code page can't hold: nothing of ours is in it.
  }
  return removed;
}

bool ScratchFolder::IsScratchName(std::string_view nativeFolder) {
  return MatchesName(LastComponent(nativeFolder), {});
}

}  // namespace brevora::fs
