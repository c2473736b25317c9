#pragma once
// Thumbnail ("TabulynPC.Thumbnail"): a slide's small picture; VantaImage
// ("TabulynPC.VantaImage"): its optional large-screen picture (an empty
// ImagePath means none). Both name a PNG file and carry a compression code that
// is stored, not interpreted. Their writers read the file at the time of the
// write (raising the file's error when it can't be read).
#include <cstdint>
#include <string>

#include "platform/automation/member_table.h"

namespace brevora::slides {

class PresentationWriter;

class Thumbnail : public Dispatchable<Thumbnail> {
 public:
  static constexpr const char* kProgId = "TabulynPC.Thumbnail";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B08}";
  static const MemberTable<Thumbnail>& Members();

  int16_t Compression() const { return compression_; }
  void SetCompression(int16_t v) { compression_ = v; }
  const std::string& ImagePath() const { return imagePath_; }
  void SetImagePath(std::string v) { imagePath_ = std::move(v); }

  // Adds the thumbnail record (type 5): the whole file, shorter than 32,768 bytes.
  void WriteRecord(PresentationWriter& writer, int32_t slideIndex) const;

 private:
  int16_t compression_ = 0;
  std::string imagePath_;
};

class VantaImage : public Dispatchable<VantaImage> {
 public:
  static constexpr const char* kProgId = "TabulynPC.VantaImage";
  static constexpr const char* kClsid = "{5D1E7B30-2A4C-4F86-B1D9-6C0E3A7F5B09}";
  static const MemberTable<VantaImage>& Members();

  int32_t ID() const { return id_; }
  void SetID(int32_t v) { id_ = v; }
  int16_t Compression() const { return compression_; }
  void SetCompression(int16_t v) { compression_ = v; }
  const std::string& ImagePath() const { return imagePath_; }
  void SetImagePath(std::string v) { imagePath_ = std::move(v); }

  // Adds the large-screen picture records (type 8): header, then the parts.
  void WriteRecords(PresentationWriter& writer, int32_t slideIndex) const;

 private:
  int32_t id_ = 0;
  int16_t compression_ = 0;
  std::string imagePath_;
};

}  // namespace brevora::slides
