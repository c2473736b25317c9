#include "platform/fs/temp_folder.h"

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

constexpr std::string_view kScratchSuffix = ".scratch";
constexpr size_t kRandomLength = 6;
constexpr size_t kMaxTag = 16;

bool IsAlnum(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsTag(std::string_view tag) {
  if (tag.empty() || tag.size() > kMaxTag) return false;
  for (const char c : tag) {
    if (!IsAlnum(c)) return false;
  }
  return true;
}

bool IsRandomPart(std::string_view part) {
  if (part.size() != kRandomLength) return false;
  for (const char c : part) {
    if (!IsAlnum(c)) return false;
  }
  return true;
}

// A folder's name is head + six random letters or digits + tail.
struct Naming {
  std::string head;
  std::string_view tail;
};

Naming NamingOf(const TempFolder::Options& options) {
  if (options.scratch) {
    if (!IsTag(options.prefix)) {
      RaiseError(5, "TempFolder", "A scratch folder's prefix is 1 to 16 letters or digits.");
    }
    return {"." + options.prefix + "-", kScratchSuffix};
  }
  if (!IsPlainName(options.prefix + std::string(kRandomLength, 'X'))) {
    RaiseError(5, "TempFolder",
               "A temporary folder's prefix can't hold a separator or control character.");
  }
  return {options.prefix, {}};
}

bool Matches(std::string_view name, const Naming& naming) {
  return name.size() == naming.head.size() + kRandomLength + naming.tail.size() &&
         name.starts_with(naming.head) && name.ends_with(naming.tail) &&
         IsRandomPart(name.substr(naming.head.size(), kRandomLength));
}

// ".<tag>-XXXXXX.scratch" of any tag.
bool IsAnyScratchName(std::string_view name) {
  if (name.size() < 1 + 1 + 1 + kRandomLength + kScratchSuffix.size() || name[0] != '.' ||
      !name.ends_with(kScratchSuffix)) {
    return false;
  }
  const std::string_view stem =
      name.substr(1, name.size() - 1 - kScratchSuffix.size());  // <tag>-XXXXXX
  const size_t dash = stem.size() - kRandomLength - 1;
  return stem[dash] == '-' && IsTag(stem.substr(0, dash)) && IsRandomPart(stem.substr(dash + 1));
}

std::string WhereOf(const TempFolder::Options& options) {
  return options.where.empty() ? TempDir() : options.where;
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

TempFolder::TempFolder(const Options& options) {
  const Naming naming = NamingOf(options);
  const std::string where = WhereOf(options);
  static constexpr char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[kRandomLength];
    if (getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random))
      RaiseErrno(errno);
    std::string name = naming.head;
    for (const unsigned char r : random) name.push_back(kDigits[r % 36]);
    name += naming.tail;
    const std::string path = JoinPath(where, name);
    const std::string native = NativePath(path);
    if (mkdir(native.c_str(), 0700) == 0) {
      native_ = native;
      path_ = path + "/";
      return;
    }
    if (errno != EEXIST) RaiseErrno(errno, /*missingIsPath=*/true);
  }
  RaiseFileError(kPathFileAccess);
}

TempFolder::~TempFolder() {
  if (keep_) return;
  // remove_all removes symbolic links themselves, never what they point at.
  std::error_code ignored;
  std::filesystem::remove_all(native_, ignored);
}

void TempFolder::MoveOut(std::string_view name, std::string_view target, bool replace,
                         NameSync sync) const {
  if (!IsPlainName(name)) RaiseFileError(kBadFileName);
  const std::string from = native_ + "/" + NativePath(name);
  const std::string to = NativePath(target);
  SyncFile(from);
  if (replace) {
    if (rename(from.c_str(), to.c_str()) != 0) RaiseErrno(errno, true);
  } else {
    detail::RenameNoReplaceNative(from, to);
  }
  if (sync == NameSync::kNow) SyncFolder(NativeFolderOf(to));
}

int TempFolder::RemoveLeftovers(const Options& options) {
  int removed = 0;
  try {
    const Naming naming = NamingOf(options);
    const std::string native = NativePath(WhereOf(options));
    struct DirCloser {
      void operator()(DIR* d) const { closedir(d); }
    };
    std::unique_ptr<DIR, DirCloser> dir(opendir(native.c_str()));
    if (!dir) return 0;
    std::vector<std::string> names;
    while (const dirent* e = readdir(dir.get())) {
      if (!Matches(e->d_name, naming)) continue;
      struct stat st {};
      if (fstatat(dirfd(dir.get()), e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
          S_ISDIR(st.st_mode)) {
        names.emplace_back(e->d_name);
      }
    }
    for (const std::string& name : names) {
      std::error_code error;
      std::filesystem::remove_all(native + "/" + name, error);
      if (!error) ++removed;
    }
  } catch (...) {
    // Options no folder is made with, or a folder name the code page can't
    // hold: nothing of ours is in it.
  }
  return removed;
}

bool TempFolder::IsScratchName(std::string_view nativeFolder) {
  return IsAnyScratchName(LastComponent(nativeFolder));
}

}  // namespace brevora::fs
