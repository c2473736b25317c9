#include "platform/registry/hive_store.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/regedit_format.h"

namespace brevora::registry {
namespace {

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) close(fd_);
  }
  Fd(Fd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Fd& operator=(Fd&& other) noexcept {
    if (this != &other) {
      if (fd_ >= 0) close(fd_);
      fd_ = other.fd_;
      other.fd_ = -1;
    }
    return *this;
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

struct Snapshot {
  std::string nativePath;
  Fd file;  // held open so that the inode stays unique while cached
  struct stat identity {};
  std::shared_ptr<const KeyNode> tree;
};

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

std::string RegistryFolder() { return fs::JoinPath(fs::ConfigDir(), "registry"); }

std::shared_ptr<KeyNode> ParseHive(Hive hive, const std::string& text, const std::string& path) {
  auto sections = ParseRegedit(text, path);
  for (const auto& section : sections) {
    if (section.hive != hive || section.remove) {
      throw AutomationError(
          kRegistryError, "Registry",
          path + ", line " + std::to_string(section.line) + ": key outside " + HiveName(hive));
    }
  }
  auto root = std::make_shared<KeyNode>();
  root->name = HiveName(hive);
  ApplySections(*root, hive, sections, path);
  return root;
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[1 << 14];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      fs::RaiseErrno(errno);
    }
    if (n == 0) return text;
    text.append(buffer, static_cast<size_t>(n));
  }
}

// Opens and parses the hive file; an absent file is an empty hive (`file` stays -1).
std::shared_ptr<KeyNode> LoadFresh(Hive hive, const std::string& path, Fd& file,
                                   struct stat& identity) {
  file = Fd(open(fs::NativePath(path).c_str(), O_RDONLY | O_CLOEXEC));
  identity = {};
  if (file.get() < 0) {
    if (errno != ENOENT) fs::RaiseErrno(errno);
    auto root = std::make_shared<KeyNode>();
    root->name = HiveName(hive);
    return root;
  }
  if (fstat(file.get(), &identity) != 0) fs::RaiseErrno(errno);
  return ParseHive(hive, ReadAll(file.get()), path);
}

std::mutex& CacheMutex() {
  static std::mutex mutex;
  return mutex;
}

Snapshot& CacheSlot(Hive hive) {
  static Snapshot slots[4];
  return slots[static_cast<int>(hive)];
}

// Under the hive's lock no other writer runs, so every temporary file of this
// hive is the remains of a writer that died before its rename.
void RemoveStaleTemporaries(const std::string& folder, Hive hive) {
  const std::string prefix = std::string(".") + HiveName(hive) + ".reg.tmp";
  const std::string native = fs::NativePath(folder);
  DIR* dir = opendir(native.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    if (std::string_view(entry->d_name).starts_with(prefix)) unlinkat(dirfd(dir), entry->d_name, 0);
  }
  closedir(dir);
}

}  // namespace

std::string HiveFilePath(Hive hive) {
  return fs::JoinPath(RegistryFolder(), std::string(HiveName(hive)) + ".reg");
}

std::shared_ptr<const KeyNode> ReadHive(Hive hive) {
  const std::string path = HiveFilePath(hive);
  const std::string native = fs::NativePath(path);
  std::lock_guard<std::mutex> lock(CacheMutex());
  Snapshot& slot = CacheSlot(hive);
  struct stat now {};
  const bool exists = stat(native.c_str(), &now) == 0;
  if (slot.tree && slot.nativePath == native) {
    if (exists ? slot.file.get() >= 0 && SameFile(now, slot.identity) : slot.file.get() < 0)
      return slot.tree;
  }
  Snapshot fresh;
  fresh.nativePath = native;
  fresh.tree = LoadFresh(hive, path, fresh.file, fresh.identity);
  slot = std::move(fresh);
  return slot.tree;
}

void UpdateHive(Hive hive, const std::function<void(KeyNode&)>& change) {
  const std::string folder = RegistryFolder();
  fs::MakeFolder(folder);
  const std::string path = HiveFilePath(hive);
  Fd lock(open(fs::NativePath(path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
  if (lock.get() < 0) fs::RaiseErrno(errno);
  while (flock(lock.get(), LOCK_EX) != 0) {
    if (errno != EINTR) fs::RaiseErrno(errno);
  }
  RemoveStaleTemporaries(folder, hive);
  Fd file;
  struct stat identity {};
  std::shared_ptr<KeyNode> root = LoadFresh(hive, path, file, identity);
  const std::string before = WriteRegedit(*root, hive);
  change(*root);
  const std::string after = WriteRegedit(*root, hive);
  if (after != before) fs::AtomicWrite(path, std::string_view(after));
  // The lock is released when `lock` closes, after the rename.
}

}  // namespace brevora::registry
