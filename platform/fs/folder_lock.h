#pragma once
// FolderLock: an exclusive lock on a folder, for a check-and-change that must
// not run in two processes (or two threads) at once: find-or-make, clean up
// what a killed run left, then work. It is a flock on the folder itself, so no
// lock file is left behind; the kernel releases it when the process dies, so a
// killed holder never blocks the next one. Taking it waits for the holder.
// Only code that takes the same lock is kept out: it guards nothing by itself.
// A thread that already holds a folder's lock must not take it again (the
// second waits for the first, on the same thread: for ever).
#include <string_view>

namespace brevora::fs {

class FolderLock {
 public:
  // Waits for and takes the lock of the folder `path` (a system path; the
  // folder must exist). Raises the file errors of file_error.h when the folder
  // can't be opened (76 missing, 70 denied, 75 not a folder).
  explicit FolderLock(std::string_view path);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace brevora::fs
