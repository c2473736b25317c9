#include "platform/fs/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>

#include "platform/error/error.h"
#include "platform/fs/file_error.h"
#include "platform/fs/paths.h"
#include "platform/fs/rename_no_replace.h"
#include "platform/fs/temp_folder.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"
#include "platform/time/dates.h"

namespace brevora::fs {
namespace {

struct FdCloser {
  int fd;
  ~FdCloser() {
    if (fd >= 0) close(fd);
  }
};

// Removes a native file on scope exit unless released.
struct NativeUnlinker {
  std::string path;
  ~NativeUnlinker() {
    if (!path.empty()) unlink(path.c_str());
  }
};

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

bool StatNative(const std::string& native, struct stat& st) {
  return stat(native.c_str(), &st) == 0;
}

// The order of listings: without regard to case, names differing only in case
// in a fixed order.
bool ListingOrder(const std::string& a, const std::string& b) {
  const int c = text::CompareNoCase(a, b);
  return c != 0 ? c < 0 : a < b;
}

std::string NativeFolderOf(const std::string& native) {
  const size_t slash = native.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : native.substr(0, slash);
}

// ENOENT is 53 when the folder exists and 76 when the folder itself is missing.
[[noreturn]] void RaiseOpenError(int err, const std::string& native) {
  struct stat st {};
  if (err == ENOENT && !(StatNative(NativeFolderOf(native), st) && S_ISDIR(st.st_mode))) {
    RaiseFileError(kPathNotFound);
  }
  RaiseErrno(err);
}

void WriteAll(int fd, const void* data, size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = write(fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseErrno(errno);
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
}

void SyncNativeFolder(const std::string& nativeFolder) {
  const int fd = open(nativeFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);  // best effort: the rename itself has already happened
  close(fd);
}

constexpr std::string_view kTempMark = ".tmp";
constexpr std::size_t kTempRandom = 8;
constexpr std::string_view kTempDigits = "abcdefghijklmnopqrstuvwxyz0123456789";

// Creates "<folder>/.<name>.tmp<random>" beside `nativeTarget`, hidden from
// listings, and locks it (see AtomicFile). New files get the usual 0666 &
// ~umask; returns the descriptor.
int CreateTempBeside(const std::string& nativeTarget, std::string& tempOut) {
  const std::string folder = NativeFolderOf(nativeTarget);
  const std::string name = nativeTarget.substr(nativeTarget.rfind('/') + 1);
  for (int attempt = 0; attempt < 100; ++attempt) {
    unsigned char random[kTempRandom];
    if (getrandom(random, sizeof random, 0) != sizeof random) RaiseErrno(errno);
    std::string temp = folder + "/." + name + std::string(kTempMark);
    for (unsigned char r : random) temp.push_back(kTempDigits[r % kTempDigits.size()]);
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno != EEXIST) RaiseErrno(errno, true);
      continue;
    }
    // A cleaner that found the new file first holds its lock and removes it:
    // it is left to the cleaner and another name taken. A file system without
    // locks leaves the file unlocked (it is then only ever removed by its writer).
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
      close(fd);
      continue;
    }
    tempOut = temp;
    return fd;
  }
  RaiseFileError(kPathFileAccess);
}

void FsyncOrRaise(int fd) {
  if (fsync(fd) != 0) RaiseErrno(errno);
}

// Files made in a scratch folder are made durable only when they are moved
// out of it (temp_folder.h).
bool InScratchFolder(const std::string& nativeTarget) {
  return TempFolder::IsScratchName(NativeFolderOf(nativeTarget));
}

void ReplaceWith(const std::string& temp, const std::string& target) {
  if (rename(temp.c_str(), target.c_str()) != 0) RaiseErrno(errno, true);
  if (!InScratchFolder(target)) SyncNativeFolder(NativeFolderOf(target));
}

}  // namespace

bool FileExists(std::string_view path) {
  struct stat st {};
  return StatNative(NativePath(path), st) && S_ISREG(st.st_mode);
}

bool FolderExists(std::string_view path) {
  struct stat st {};
  return StatNative(NativePath(path), st) && S_ISDIR(st.st_mode);
}

uint64_t FileSize(std::string_view path) {
  struct stat st {};
  if (!StatNative(NativePath(path), st) || S_ISDIR(st.st_mode)) RaiseFileError(kFileNotFound);
  return static_cast<uint64_t>(st.st_size);
}

std::vector<std::string> ListFolder(std::string_view folder, ListKind kind,
                                    std::string_view extension,
                                    std::vector<std::string>* unrepresentable) {
  const std::string native = NativePath(folder);
  DirHandle dir(opendir(native.c_str()));
  if (!dir) RaiseErrno(errno, true);
  std::vector<std::string> names;
  while (dirent* entry = readdir(dir.get())) {
    const std::string_view raw = entry->d_name;
    if (raw.empty() || raw[0] == '.') continue;
    bool isDir;
    if (entry->d_type == DT_DIR || entry->d_type == DT_REG) {
      isDir = entry->d_type == DT_DIR;
    } else {  // unknown type or a symbolic link: follow it
      struct stat st {};
      if (fstatat(dirfd(dir.get()), entry->d_name, &st, 0) != 0) continue;
      if (!S_ISDIR(st.st_mode) && !S_ISREG(st.st_mode)) continue;
      isDir = S_ISDIR(st.st_mode);
    }
    if (isDir != (kind == ListKind::Folders)) continue;
    auto name = text::Utf8ToCpExact(raw);
    if (!name) {
      if (unrepresentable) unrepresentable->emplace_back(raw);
      continue;
    }
    if (kind == ListKind::Files && !extension.empty() &&
        !text::EqualsNoCase(ExtensionPart(*name), extension)) {
      continue;
    }
    names.push_back(std::move(*name));
  }
  std::sort(names.begin(), names.end(), ListingOrder);
  return names;
}

std::vector<FolderEntry> ListEntries(std::string_view folder) {
  DirHandle dir(opendir(NativePath(folder).c_str()));
  if (!dir) RaiseErrno(errno, true);
  std::vector<FolderEntry> entries;
  while (dirent* entry = readdir(dir.get())) {
    const std::string_view raw = entry->d_name;
    if (raw.empty() || raw[0] == '.') continue;
    unsigned char type = entry->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st {};
      if (fstatat(dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = S_ISREG(st.st_mode)   ? DT_REG
             : S_ISDIR(st.st_mode) ? DT_DIR
             : S_ISLNK(st.st_mode) ? DT_LNK
                                   : DT_UNKNOWN;
    }
    auto name = text::Utf8ToCpExact(raw);
    if (!name) continue;
    const EntryType kind = type == DT_REG   ? EntryType::File
                           : type == DT_DIR ? EntryType::Folder
                           : type == DT_LNK ? EntryType::Link
                                            : EntryType::Other;
    entries.push_back({std::move(*name), kind});
  }
  std::sort(entries.begin(), entries.end(), [](const FolderEntry& a, const FolderEntry& b) {
    return ListingOrder(a.name, b.name);
  });
  return entries;
}

std::optional<std::string> FindNoCase(std::string_view folder, std::string_view name) {
  DirHandle dir(opendir(NativePath(folder).c_str()));
  if (!dir) return std::nullopt;
  std::optional<std::string> found;
  while (dirent* entry = readdir(dir.get())) {
    const std::string_view raw = entry->d_name;
    if (raw == "." || raw == "..") continue;
    auto cp = text::Utf8ToCpExact(raw);
    if (!cp || !text::EqualsNoCase(*cp, name)) continue;
    if (*cp == name) return cp;  // an exact match wins over others that differ in case
    if (!found || *cp < *found) found = std::move(cp);
  }
  return found;
}

std::optional<std::string> FindFileNoCase(std::string_view path) {
  if (path.empty()) return std::nullopt;
  try {
    if (FileExists(path)) return std::string(path);
    const std::string folder = FolderPart(path);
    const std::string name = FileNamePart(path);
    if (name.empty()) return std::nullopt;
    const auto found = FindNoCase(folder.empty() ? "." : folder, name);
    if (found && FileExists(folder + *found)) return folder + *found;
  } catch (const AutomationError&) {
    // A name the file system cannot hold names no file.
  }
  return std::nullopt;
}

std::string WithStoredCase(std::string_view path) {
  const std::string plain = StripQuotes(path);
  const std::string folder = FolderPart(plain);
  const std::string name = FileNamePart(plain);
  if (name.empty()) return plain;
  try {
    const auto found = FindNoCase(folder.empty() ? "." : folder, name);
    return found ? folder + *found : plain;
  } catch (const AutomationError&) {
    return plain;
  }
}

void SyncFolder(std::string_view path) { SyncNativeFolder(NativePath(path)); }

void MakeFolder(std::string_view path) {
  const std::string native = NativePath(path);
  for (size_t pos = 1; pos <= native.size(); ++pos) {
    if (pos != native.size() && native[pos] != '/') continue;
    const std::string part = native.substr(0, pos);
    if (mkdir(part.c_str(), 0777) == 0 || errno == EEXIST) continue;
    const int err = errno;
    struct stat st {};
    if (!StatNative(part, st) || !S_ISDIR(st.st_mode)) RaiseErrno(err, true);
  }
  struct stat st {};
  if (!StatNative(native, st)) RaiseErrno(errno, true);
  if (!S_ISDIR(st.st_mode)) RaiseFileError(kPathFileAccess);
}

void RemoveFile(std::string_view path) {
  const std::string native = NativePath(path);
  if (unlink(native.c_str()) != 0) RaiseOpenError(errno, native);
}

void RemoveFolder(std::string_view path) {
  // A folder that is not empty gives 75, like every unlisted errno.
  if (rmdir(NativePath(path).c_str()) != 0) RaiseErrno(errno, true);
}

void RenameNoReplace(std::string_view from, std::string_view to) {
  detail::RenameNoReplaceNative(NativePath(from), NativePath(to));
}

// The readers open with O_NONBLOCK: opening a FIFO would otherwise wait for a
// writer; the fstat after the open refuses anything but a regular file.
void CopyFile(std::string_view from, std::string_view to, bool replace) {
  const std::string source = NativePath(from);
  const std::string target = NativePath(to);
  FdCloser in{open(source.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  if (in.fd < 0) RaiseOpenError(errno, source);
  struct stat st {};
  if (fstat(in.fd, &st) != 0) RaiseErrno(errno);
  if (!S_ISREG(st.st_mode)) RaiseFileError(kPathFileAccess);
  struct stat existing {};
  if (!replace && lstat(target.c_str(), &existing) == 0) RaiseFileError(kFileAlreadyExists);

  std::string temp;
  FdCloser out{CreateTempBeside(target, temp)};
  NativeUnlinker guard{temp};
  std::vector<char> buffer(1 << 16);
  for (;;) {
    const ssize_t n = read(in.fd, buffer.data(), buffer.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseErrno(errno);
    }
    if (n == 0) break;
    WriteAll(out.fd, buffer.data(), static_cast<size_t>(n));
  }
  // Like the Windows copy: the copy keeps the source's attributes and write time.
  fchmod(out.fd, st.st_mode & 07777);
  const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
  futimens(out.fd, times);
  const bool durable = !InScratchFolder(target);
  if (durable) FsyncOrRaise(out.fd);
  const int fd = out.fd;
  out.fd = -1;
  if (close(fd) != 0) RaiseErrno(errno);
  if (replace) {
    ReplaceWith(temp, target);
  } else {
    detail::RenameNoReplaceNative(temp, target);
    if (durable) SyncNativeFolder(NativeFolderOf(target));
  }
  guard.path.clear();
}

namespace {

// read() that retries when interrupted and, on a file system that takes
// O_NONBLOCK to heart for a regular file, once blocking.
size_t ReadSome(int fd, uint8_t* into, size_t room) {
  for (;;) {
    const ssize_t n = read(fd, into, room);
    if (n >= 0) return static_cast<size_t>(n);
    if (errno == EAGAIN && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0) continue;
    if (errno != EINTR) RaiseErrno(errno);
  }
}

}  // namespace

std::vector<uint8_t> ReadWholeFile(std::string_view path) {
  const std::string native = NativePath(path);
  // O_NONBLOCK: opening a FIFO would otherwise wait for a writer; only
  // regular files are read (where the flag means nothing to read()).
  FdCloser in{open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
  if (in.fd < 0) RaiseOpenError(errno, native);
  struct stat st {};
  if (fstat(in.fd, &st) != 0) RaiseErrno(errno);
  if (!S_ISREG(st.st_mode)) RaiseFileError(kPathFileAccess);

  // The bytes are read straight into the result, a step at a time, so that
  // the zeroes resize writes are still in the cache when read() overwrites
  // them. What is read is the file as long as it was when opened: a file that
  // grows meanwhile is read up to that length, one that shrinks up to where
  // read() finds its end.
  constexpr size_t kStep = size_t{1} << 18;
  const size_t expected = static_cast<size_t>(st.st_size);
  std::vector<uint8_t> data;
  data.reserve(expected);
  size_t filled = 0;
  while (filled < expected) {
    if (filled == data.size()) data.resize(filled + std::min(kStep, expected - filled));
    const size_t n = ReadSome(in.fd, data.data() + filled, data.size() - filled);
    if (n == 0) break;
    filled += n;
  }
  if (expected == 0) {
    // A length of 0 may be a file whose length the system only learns by
    // reading it (as in /proc): read to its end.
    for (;;) {
      if (filled == data.size())
        data.resize(filled + std::max<size_t>(4096, std::min(kStep, filled)));
      const size_t n = ReadSome(in.fd, data.data() + filled, data.size() - filled);
      if (n == 0) break;
      filled += n;
    }
  }
  data.resize(filled);
  return data;
}

InputFile::InputFile(std::string_view path) {
  const std::string native = NativePath(path);
  fd_ = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) RaiseOpenError(errno, native);
  FdCloser closer{fd_};
  struct stat st {};
  if (fstat(fd_, &st) != 0) RaiseErrno(errno);
  if (!S_ISREG(st.st_mode)) RaiseFileError(kPathFileAccess);
  size_ = static_cast<uint64_t>(st.st_size);
  closer.fd = -1;  // kept open
}

InputFile::~InputFile() {
  if (fd_ >= 0) close(fd_);
}

std::vector<uint8_t> InputFile::Read(uint64_t offset, size_t count) const {
  std::vector<uint8_t> data;
  if (offset >= size_) return data;
  data.resize(static_cast<size_t>(std::min<uint64_t>(count, size_ - offset)));
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n =
        pread(fd_, data.data() + done, data.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      RaiseErrno(errno);
    }
    if (n == 0) break;  // the file became shorter
    done += static_cast<size_t>(n);
  }
  data.resize(done);
  return data;
}

void AtomicWrite(std::string_view path, std::span<const uint8_t> data) {
  AtomicFile file(path);
  file.Write(data);
  file.Commit();
}

void AtomicWrite(std::string_view path, std::string_view data) {
  AtomicFile file(path);
  file.Write(data);
  file.Commit();
}

AtomicFile::AtomicFile(std::string_view path) : target_(NativePath(path)) {
  struct stat existing {};
  const bool replacing = StatNative(target_, existing) && S_ISREG(existing.st_mode);
  fd_ = CreateTempBeside(target_, temp_);
  if (replacing) {
    // The replacement keeps the original's permissions (and owner, where allowed)
    // from the start, so its data is never more exposed than the original's.
    fchmod(fd_, existing.st_mode & 07777);
    if (fchown(fd_, existing.st_uid, existing.st_gid) != 0) {
      // Only the superuser may give a file away; the file stays the writer's.
    }
  }
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) close(fd_);
  if (!temp_.empty()) unlink(temp_.c_str());
}

void AtomicFile::Write(std::string_view bytes) {
  if (fd_ < 0) RaiseFileError(kPathFileAccess);
  try {
    WriteAll(fd_, bytes.data(), bytes.size());
  } catch (...) {
    failed_ = true;
    throw;
  }
}

void AtomicFile::Write(std::span<const uint8_t> bytes) {
  Write(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void AtomicFile::Commit() {
  if (fd_ < 0 || failed_) RaiseFileError(kPathFileAccess);
  // On any failure below the destructor removes the temporary file. The file
  // stays open, and locked, until it has its final name.
  if (!InScratchFolder(target_)) FsyncOrRaise(fd_);
  ReplaceWith(temp_, target_);
  temp_.clear();
  close(fd_);  // the data is durable already (in a scratch folder: when moved out)
  fd_ = -1;
}

std::optional<std::string> AtomicTemporaryTarget(std::string_view name) {
  if (name.size() <= 1 + kTempMark.size() + kTempRandom || name[0] != '.') return std::nullopt;
  const std::string_view random = name.substr(name.size() - kTempRandom);
  if (random.find_first_not_of(kTempDigits) != std::string_view::npos) return std::nullopt;
  name.remove_suffix(kTempRandom);
  if (!name.ends_with(kTempMark)) return std::nullopt;
  name.remove_suffix(kTempMark.size());
  name.remove_prefix(1);
  if (name.empty()) return std::nullopt;
  return std::string(name);
}

bool RemoveAbandonedFile(std::string_view path) {
  try {
    const std::string native = NativePath(path);
    const int fd = open(native.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    const FdCloser closer{fd};
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    // Held until the name is gone, so that no writer takes the file meanwhile.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) return false;
    return unlink(native.c_str()) == 0;
  } catch (...) {
    return false;
  }
}

std::size_t RemoveAbandonedTemporaries(std::string_view folder,
                                       const std::function<bool(std::string_view target)>& whose) {
  std::vector<std::string> names;
  try {
    const std::string native = NativePath(folder);
    const DirHandle dir(opendir(native.c_str()));
    if (!dir) return 0;
    while (const dirent* e = readdir(dir.get())) {
      const auto target = AtomicTemporaryTarget(e->d_name);
      if (!target) continue;
      const auto cp = text::Utf8ToCpExact(*target);
      if (cp && whose(*cp)) names.emplace_back(e->d_name);
    }
    std::size_t removed = 0;
    for (const std::string& name : names) {
      if (RemoveAbandonedFile(SystemPath(native + "/" + name))) ++removed;
    }
    return removed;
  } catch (...) {
    return 0;
  }
}

std::string MakeTempFile(std::string_view prefix, std::string_view extension) {
  const std::string name = std::string(prefix) + "XXXXXX" + std::string(extension);
  if (!IsPlainName(name)) RaiseFileError(kBadFileName);
  std::string pattern = NativePath(TempDir() + name);
  const std::string nativeExtension = text::CpToUtf8(extension);
  const int fd = mkostemps(pattern.data(), static_cast<int>(nativeExtension.size()), O_CLOEXEC);
  if (fd < 0) RaiseErrno(errno, true);
  close(fd);
  return SystemPath(pattern);
}

TempFileGuard::~TempFileGuard() {
  if (!path_.empty()) unlink(NativePath(path_).c_str());
}

double FileDateTime(std::string_view path) {
  struct stat st {};
  if (!StatNative(NativePath(path), st)) RaiseErrno(errno);
  return dates::TimeToVbDate(st.st_mtim.tv_sec);
}

bool IsReadOnly(std::string_view path) {
  struct stat st {};
  if (!StatNative(NativePath(path), st)) RaiseErrno(errno);
  return (st.st_mode & S_IWUSR) == 0;
}

void SetFileDateTime(std::string_view path, double vbDate) {
  const timespec times[2] = {{0, UTIME_OMIT}, {dates::VbDateToTime(vbDate), 0}};
  if (utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) != 0) RaiseErrno(errno);
}

}  // namespace brevora::fs
