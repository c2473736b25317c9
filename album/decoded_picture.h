#pragma once
// DecodedPicture: the one picture the album keeps decoded at full size, the
// entry the window shows. Its preview is drawn from it (again at every
// resize), and a save that comes to the same file takes it from here instead
// of decoding the file once more. The file is looked at (stat) each time a
// caller asks for it: a picture changed on disk since it was decoded (another
// file, size or modification time) is decoded afresh.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "album/dib_section.h"

namespace brevora::album {

class DecodedPicture {
 public:
  // The picture of the file: the one held when it is of this file as the file
  // is now, else decoded (DecodePicture, which raises 32751) and held in its
  // place. On an error nothing is held.
  const DibSection& Decode(std::string_view path);

  // The picture held when it is of this file as the file is now; null
  // otherwise. Never decodes.
  const DibSection* Find(std::string_view path) const;

  // The picture held, whichever its file; null when none.
  const DibSection* Held() const { return picture_ ? &*picture_ : nullptr; }

  void Clear();

 private:
  // What tells a file's content changed without reading it.
  struct FileStamp {
    uint64_t device = 0, inode = 0, size = 0;
    int64_t modifiedSeconds = 0, modifiedNanoseconds = 0;
    bool operator==(const FileStamp&) const = default;
  };
  static std::optional<FileStamp> StampOf(std::string_view path);

  std::string path_;
  FileStamp stamp_;
  std::optional<DibSection> picture_;
};

}  // namespace brevora::album
