#pragma once
// FreeImageImage ("FreeImage.Image"): a small picture class over FreeImage for
// late-bound callers (the image-class path of the PNG reduction). It holds one
// picture at a time. Each member returns a 16-bit number, 1 on success and 0 on
// failure; none raises for a bad picture or file.
//   Open(path)          loads the picture in the format FreeImage detects.
//   ChangeColors(value) converts the held picture: 8 to 8-bit grey, 256 to a
//                       256-colour palette (NeuQuant), 16 to 5-6-5 colour
//                       precision kept in 24 bits (PNG holds no 16-bit RGB), 24
//                       and 32 to that many bits per pixel; other values fail.
//   Save(path)          writes the held picture as PNG; the file is replaced
//                       only when the picture is complete.
#include <cstdint>
#include <string_view>

#include "platform/automation/member_table.h"
#include "slides/freeimage_bitmap.h"
#include "slides/freeimage_init.h"

namespace brevora::slides {

class FreeImageImage : public Dispatchable<FreeImageImage> {
 public:
  static constexpr const char* kProgId = "FreeImage.Image";
  static constexpr const char* kClsid = "{7A41C2E0-5B3D-4E19-8F62-0D9C1B4A7E01}";

  static const MemberTable<FreeImageImage>& Members();

  int16_t Open(std::string_view path);
  int16_t ChangeColors(int32_t value);
  int16_t Save(std::string_view path);

  // Bits per pixel of the held picture; 0 when none is held.
  unsigned BitsPerPixel() const;

 private:
  FreeImageLibrary library_;  // started for as long as the object holds a picture
  Bitmap picture_;
};

}  // namespace brevora::slides
