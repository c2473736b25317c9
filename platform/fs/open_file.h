#pragma once
// OpenFile: an existing file opened for reading or for reading and writing in
// place, at explicit offsets, shared with other users of the file (no lock).
// For files the system updates piece by piece where they lie (a record of a
// property file, a flag byte); a whole new content goes through AtomicWrite
// instead. The descriptor is closed when the object ends.
// Failures raise the Visual Basic file errors of file_error.h.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brevora::fs {

class OpenFile {
 public:
  enum class Mode { Read, ReadWrite };

  // Opens the file at the system path `path`; never creates one (53 when it is
  // missing, 76 when its folder is, 70 when access is denied, 75 for a folder).
  OpenFile(std::string_view path, Mode mode);
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  uint64_t Size() const;
  // Reads up to `size` bytes at `offset` into `buffer`; returns how many were
  // read, fewer only where the file ends.
  std::size_t ReadAt(uint64_t offset, void* buffer, std::size_t size) const;
  // Writes all of `bytes` at `offset` (the file grows when it reaches past its end).
  void WriteAt(uint64_t offset, std::string_view bytes);

 private:
  int fd_ = -1;
};

}  // namespace brevora::fs
