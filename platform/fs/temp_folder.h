#pragma once
// TempFolder: a new folder of our own (mode 0700, named with six random letters
// or digits, so no one else can have taken the name) for files that live only
// while one operation runs: the work files of a conversion, the copies of the
// pictures an album shows, a file made under its final name before it is moved
// where it belongs, a tree built whole before it is renamed into place.
//
// Its uses differ only in the options:
//   - where: the folder it is made in (else the system temporary folder);
//   - prefix: its name is "<prefix>XXXXXX", or ".<prefix>-XXXXXX.scratch" for
//     a scratch folder;
//   - scratch: nothing inside a scratch folder has to survive a crash, so
//     AtomicFile, AtomicWrite and CopyFile (files.h) skip their fsyncs for a
//     target directly in one; MoveOut makes a file durable where it lands;
// and in whether it goes: the folder is removed, with whatever is in it, when
// the object ends, unless Keep() was called (it was renamed into place).
//
// One that a killed process left behind is removed by RemoveLeftovers, which
// the caller runs under the lock that every maker of that name in that folder
// holds (folder_lock.h), so that it never removes a live one.
#include <string>
#include <string_view>

namespace brevora::fs {

class TempFolder {
 public:
  struct Options {
    std::string where{};  // an existing folder (system path); empty: TempDir()
    // Plain: any text a file name can start with. Scratch: 1 to 16 letters or digits.
    std::string prefix{};
    bool scratch = false;
  };

  // Makes the folder. Raises 5 for a prefix that breaks the rules, else the
  // file errors (76 when `where` is missing).
  explicit TempFolder(const Options& options);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's system path, ending with a separator.
  const std::string& Path() const { return path_; }

  // The folder stays when the object ends (it has been renamed into place).
  void Keep() { keep_ = true; }

  // When the target's new name is made durable: at once (MoveOut syncs the
  // target's folder after the rename), or by the caller, who syncs the folder
  // (SyncFolder, files.h) before it reports its work done, so that several
  // moves into one folder share one sync.
  enum class NameSync { kNow, kByCaller };

  // Moves the file `name` of this folder to `target`, a path on the same file
  // system: over an existing target when `replace`, else never (58). The
  // file's data is synced before the rename, so the target is either as it
  // was or the whole new file, and its folder after it as `sync` says.
  // Raises the file errors; on failure the target is as it was.
  void MoveOut(std::string_view name, std::string_view target, bool replace,
               NameSync sync = NameSync::kNow) const;

  // Removes the folders of these options' name directly in their `where`
  // (never anything else: a symbolic link or a file of that name stays) and
  // returns how many. A folder that can't be listed or removed is left;
  // nothing is raised.
  static int RemoveLeftovers(const Options& options);

  // True when the last component of the native path `nativeFolder` has the
  // form of a scratch folder's name (of any prefix).
  static bool IsScratchName(std::string_view nativeFolder);

 private:
  std::string native_;
  std::string path_;
  bool keep_ = false;
};

}  // namespace brevora::fs
