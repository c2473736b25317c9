#include "album/decoded_picture.h"

#include <sys/stat.h>

#include "album/image_pipeline.h"
#include "platform/fs/paths.h"

namespace brevora::album {

std::optional<DecodedPicture::FileStamp> DecodedPicture::StampOf(std::string_view path) {
  struct stat st {};
  if (::stat(fs::NativePath(path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  FileStamp stamp;
  stamp.device = static_cast<uint64_t>(st.st_dev);
  stamp.inode = static_cast<uint64_t>(st.st_ino);
  stamp.size = static_cast<uint64_t>(st.st_size);
  stamp.modifiedSeconds = static_cast<int64_t>(st.st_mtim.tv_sec);
  stamp.modifiedNanoseconds = static_cast<int64_t>(st.st_mtim.tv_nsec);
  return stamp;
}

const DibSection* DecodedPicture::Find(std::string_view path) const {
  if (!picture_ || path != path_) return nullptr;
  const std::optional<FileStamp> now = StampOf(path);
  return now && *now == stamp_ ? &*picture_ : nullptr;
}

const DibSection& DecodedPicture::Decode(std::string_view path) {
  if (const DibSection* held = Find(path)) return *held;
  Clear();
  // Stamped before it is read: a file changed while it is decoded counts as
  // changed the next time.
  const std::optional<FileStamp> stamp = StampOf(path);
  DibSection picture = DecodePicture(path);
  if (stamp) {
    path_ = std::string(path);
    stamp_ = *stamp;
  }
  picture_ = std::move(picture);
  return *picture_;
}

void DecodedPicture::Clear() {
  picture_.reset();
  path_.clear();
  stamp_ = FileStamp();
}

}  // namespace brevora::album
