#pragma once
// ScratchFolder: a hidden folder "<folder>/.<tag>-XXXXXX.scratch" in which a
// file is made under its final name before it is moved where it belongs (a
// file whose name is part of its content, as a handheld database's is, can't
// be made under a temporary name beside its target).
//
// Nothing inside a scratch folder has to survive a crash, so nothing there is
// made durable: AtomicFile, AtomicWrite and CopyFile (files.h) skip their
// fsyncs for a target directly in a scratch folder. MoveOut makes the file durable where
// it lands: its data, then the rename, then the folder that receives the name.
//
// The folder goes, with whatever is left in it, when the object does. One
// that a killed process left behind is removed by RemoveLeftovers, which the
// caller runs under the lock that every maker of that tag in that folder
// holds (folder_lock.h), so that it never removes a live one.
#include <string>
#include <string_view>

namespace brevora::fs {

class ScratchFolder {
 public:
  // Makes the folder (mode 0700) in the existing folder `folder` (a system
  // path). `tag` is 1 to 16 letters or digits (else 5). Raises the file errors.
  ScratchFolder(std::string_view folder, std::string_view tag);
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The folder's system path (no trailing separator).
  const std::string& path() const { return path_; }

  // Moves the file `name` of this folder to `target`, a path on the same file
  // system: over an existing target when `replace`, else never (58). The
  // file's data is synced before the rename and the target's folder after it.
  // Raises the file errors; on failure the target is as it was.
  void MoveOut(std::string_view name, std::string_view target, bool replace) const;

  // Removes the scratch folders of `tag` directly in `folder` (never anything
  // else: a symbolic link or a file of that name stays) and returns how many.
  // A folder that can't be listed or removed is left; nothing is raised.
  static int RemoveLeftovers(std::string_view folder, std::string_view tag);

  // True when the last component of the native path `nativeFolder` has the
  // form of a scratch folder's name (of any tag).
  static bool IsScratchName(std::string_view nativeFolder);

 private:
  std::string native_;
  std::string path_;
};

}  // namespace brevora::fs
