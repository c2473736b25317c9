#include "platform/hotsync/device_file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <vector>

#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/sync_manager.h"
#include "platform/hotsync/unique_fd.h"

namespace brevora::hotsync {
namespace {

// Removes a file of the folder on scope exit unless released.
class TempName {
 public:
  TempName(int dir, std::string name) : dir_(dir), name_(std::move(name)) {}
  ~TempName() {
    if (!name_.empty()) unlinkat(dir_, name_.c_str(), 0);
  }
  TempName(const TempName&) = delete;
  TempName& operator=(const TempName&) = delete;
  const std::string& name() const { return name_; }
  void Release() { name_.clear(); }

 private:
  int dir_;
  std::string name_;
};

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

int32_t ReadAt(int fd, uint64_t offset, std::span<uint8_t> out) {
  while (!out.empty()) {
    const ssize_t n = pread(fd, out.data(), out.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return kSyncErrIo;
    out = out.subspan(static_cast<std::size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
  return kSyncOk;
}

int32_t WriteWholeFile(
    int dir, const std::string& name, bool replace,
    const std::function<void(const std::function<void(std::span<const uint8_t>)>&)>& fill,
    bool flush, const std::function<void()>& beforeRename) {
  // The descriptor, and with it the lock, stays open until the file has its
  // final name (or is removed).
  UniqueFd fd;
  std::string tempName;
  for (int attempt = 0; attempt < 100 && !fd; ++attempt) {
    uint32_t random = 0;
    if (getrandom(&random, sizeof random, 0) != sizeof random)
      random = static_cast<uint32_t>(attempt);
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", random);
    tempName = "." + name + suffix;
    fd = UniqueFd(openat(dir, tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (!fd && errno != EEXIST) return kSyncErrIo;
    // A cleaner that found the new file first removes it: take another name.
    if (fd && flock(fd.get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) fd.reset();
  }
  if (!fd) return kSyncErrIo;
  TempName temp(dir, tempName);
  bool ok = true;
  try {
    fill([&](std::span<const uint8_t> bytes) {
      if (ok) ok = WriteAll(fd.get(), bytes);
    });
  } catch (...) {
    ok = false;
  }
  if (!ok || (flush && fsync(fd.get()) != 0)) return kSyncErrIo;
  if (beforeRename) beforeRename();
  if (replace) {
    if (renameat(dir, temp.name().c_str(), dir, name.c_str()) != 0) return kSyncErrIo;
  } else if (syscall(SYS_renameat2, dir, temp.name().c_str(), dir, name.c_str(),
                     RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) return kSyncErrExists;
    if (errno != EINVAL && errno != ENOSYS) return kSyncErrIo;
    // No renameat2 here: a hard link refuses an existing name just the same;
    // the temporary name is then removed by `temp`.
    if (linkat(dir, temp.name().c_str(), dir, name.c_str(), 0) != 0) {
      return errno == EEXIST ? kSyncErrExists : kSyncErrIo;
    }
    return kSyncOk;
  }
  temp.Release();
  return kSyncOk;
}

std::optional<std::string> WholeFileTemporaryTarget(std::string_view name) {
  constexpr std::string_view kEnd = ".tmp";
  constexpr std::size_t kDigits = 8;
  if (name.size() <= 1 + 1 + kDigits + kEnd.size() || name[0] != '.' || !name.ends_with(kEnd)) {
    return std::nullopt;
  }
  name.remove_suffix(kEnd.size());
  const std::string_view digits = name.substr(name.size() - kDigits);
  if (digits.find_first_not_of("0123456789abcdef") != std::string_view::npos) return std::nullopt;
  name.remove_suffix(kDigits);
  if (!name.ends_with('.')) return std::nullopt;
  name.remove_suffix(1);
  name.remove_prefix(1);
  if (name.empty()) return std::nullopt;
  return std::string(name);
}

std::size_t RemoveAbandonedWholeFiles(const std::string& folder,
                                      const std::function<bool(std::string_view target)>& whose) {
  struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
  };
  std::vector<std::string> names;
  {
    const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir) return 0;
    while (const dirent* e = readdir(dir.get())) {
      const auto target = WholeFileTemporaryTarget(e->d_name);
      if (target && whose(*target)) names.emplace_back(e->d_name);
    }
  }
  std::size_t removed = 0;
  for (const std::string& name : names) {
    try {
      if (fs::RemoveAbandonedFile(fs::SystemPath(folder + "/" + name))) ++removed;
    } catch (...) {
      // A name the code page can't hold was never one of ours.
    }
  }
  return removed;
}

}  // namespace brevora::hotsync
