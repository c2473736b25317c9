#pragma once
// File operations with Windows semantics where the system relies on them:
// names matched without regard to case, listings sorted case-insensitively,
// renames that never replace, and replacement of a file only through a temporary
// file in the same folder renamed over it when complete.
// Failures raise AutomationError with Visual Basic's run-time numbers and texts:
// 53 "File not found", 58 "File already exists", 70 "Permission denied",
// 75 "Path/File access error", 76 "Path not found", 61 "Disk full",
// 57 "Device I/O error", 52 "Bad file name or number", 74 "Can't rename with
// different drive"; source "" (platform/fs/file_error.h maps errno).
// Every reader opens without waiting on what it opens and takes only a regular
// file: a folder, FIFO, socket or device gives 75 at once.
// The writers make their result durable (the file's data, then its folder)
// except for a target directly in a scratch folder (temp_folder.h), whose files
// are made durable only when they are moved out of it.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brevora::fs {

bool FileExists(std::string_view path);    // a regular file
bool FolderExists(std::string_view path);  // a directory
uint64_t FileSize(std::string_view path);  // 53 when missing

enum class ListKind { Files, Folders };
// Names (not paths) in `folder`, sorted without regard to case; hidden (leading
// dot) entries skipped; names that the code page cannot represent are skipped.
// `extension` (".tbr"), when given, filters files without regard to case.
// When `unrepresentable` is given, the native names (UTF-8) of the entries of
// that kind skipped for the code page are added to it, so the caller can say so.
std::vector<std::string> ListFolder(std::string_view folder, ListKind kind,
                                    std::string_view extension = {},
                                    std::vector<std::string>* unrepresentable = nullptr);
// One entry of a folder as the folder itself holds it (a symbolic link is a
// link, whatever it points to).
enum class EntryType { File, Folder, Link, Other };
struct FolderEntry {
  std::string name;  // code page
  EntryType type;
};
// Every entry of `folder` but the hidden ones and names the code page cannot
// represent, sorted like ListFolder.
std::vector<FolderEntry> ListEntries(std::string_view folder);

// The name of the entry of `folder` that equals `name` without regard to case.
std::optional<std::string> FindNoCase(std::string_view folder, std::string_view name);
// The path of the regular file `path` names, its last component matched without
// regard to case (an exact match first), as Windows finds files: the path to use
// for that file from then on. nullopt when there is none, when it is a folder,
// or when the path cannot be searched.
std::optional<std::string> FindFileNoCase(std::string_view path);
// `path` without double quotes, its last component replaced by the name the
// folder holds for it (matched without regard to case); the quote-free path
// unchanged when nothing matches.
std::string WithStoredCase(std::string_view path);

// Flushes the entries of the folder `path` (the names made, renamed or removed
// in it) to the disk, so that they outlive a crash. Best effort: the changes
// themselves are made; nothing is raised.
void SyncFolder(std::string_view path);
void MakeFolder(std::string_view path);    // with missing parents; existing is fine
void RemoveFile(std::string_view path);    // 53 when missing
void RemoveFolder(std::string_view path);  // an empty folder; 75 when not empty
// Renames a file or folder; never replaces an existing target (58).
void RenameNoReplace(std::string_view from, std::string_view to);
// Copies a file; the target is replaced atomically when `replace`, else 58 if present.
void CopyFile(std::string_view from, std::string_view to, bool replace);

// The bytes of the regular file `path`: as many as it held when opened (fewer
// when it shrinks meanwhile); a file that reports a length of 0 (as /proc
// files do) is read to its end. Raises 53 or 76 when missing, 75 when `path`
// is not a regular file (a folder, a FIFO: refused without waiting for a
// writer), and the number of a failed read.
std::vector<uint8_t> ReadWholeFile(std::string_view path);

// A regular file opened for reading parts of it (a header without the data
// behind it). Opening raises as ReadWholeFile does; the descriptor is closed
// when the object goes.
class InputFile {
 public:
  explicit InputFile(std::string_view path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // The size when the file was opened.
  uint64_t Size() const { return size_; }
  // The bytes from `offset` on, at most `count`: fewer where the file ends.
  // A failed read raises.
  std::vector<uint8_t> Read(uint64_t offset, size_t count) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};
// Replaces (or creates) `path` with `data` through a temporary file in the same
// folder, fsync and rename; on failure the old file is untouched and the
// temporary file removed.
void AtomicWrite(std::string_view path, std::span<const uint8_t> data);
void AtomicWrite(std::string_view path, std::string_view data);

// A writer for files built piece by piece: writes go to a temporary file beside
// the target, ".<name>.tmp" and eight random letters or digits, hidden from
// listings; Commit() renames it over the target; destruction without Commit()
// removes the temporary file and leaves the target untouched. While the writer
// lives it holds a lock (flock) on its temporary file, which the kernel drops
// when the process dies: RemoveAbandonedTemporaries then knows a writer that
// was killed from one that is still writing.
class AtomicFile {
 public:
  explicit AtomicFile(std::string_view path);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes);
  void Write(std::span<const uint8_t> bytes);
  // Raises (and removes the temporary file) when the data can't be made durable
  // or the rename fails; after a failed Write it raises 75 without renaming.
  void Commit();

 private:
  std::string target_;  // native paths
  std::string temp_;
  int fd_ = -1;
  bool failed_ = false;  // a write failed: Commit refuses
};

// The target name of a temporary file name that AtomicFile makes: "Plan.tbr"
// of ".Plan.tbr.tmpk3x0a9zq"; nullopt for any other name.
std::optional<std::string> AtomicTemporaryTarget(std::string_view name);

// Removes the regular file `path` unless a process holds a lock on it (a
// writer's temporary file that is still being written); true when removed.
// Never raises: a file that can't be opened, locked or removed stays.
bool RemoveAbandonedFile(std::string_view path);

// Removes from `folder` the temporary files that AtomicFile writers left when
// they were killed: those whose target name `whose` accepts (code page) and
// that no live writer holds. Nothing else is touched. Returns how many were
// removed; a folder that can't be read gives 0.
std::size_t RemoveAbandonedTemporaries(std::string_view folder,
                                       const std::function<bool(std::string_view target)>& whose);

// Creates a new empty file "<prefix>XXXXXX<extension>" in TempDir() and returns its
// system path. The caller removes it (see TempFileGuard). A prefix or extension
// holding a separator raises 52.
std::string MakeTempFile(std::string_view prefix, std::string_view extension = {});

// Removes a file when it goes out of scope (temporary files on every path).
class TempFileGuard {
 public:
  explicit TempFileGuard(std::string path) : path_(std::move(path)) {}
  ~TempFileGuard();
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  const std::string& path() const { return path_; }
  void Release() { path_.clear(); }

 private:
  std::string path_;
};

// The file's last modification time as a Visual Basic date (local time, whole
// seconds); 53 when missing.
double FileDateTime(std::string_view path);
void SetFileDateTime(std::string_view path, double vbDate);

// Windows' read-only attribute: a file whose owner may not write it (the
// permission bits, whoever asks); 53 when missing.
bool IsReadOnly(std::string_view path);

}  // namespace brevora::fs
