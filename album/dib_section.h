#pragma once
// DibSection: the resampler's picture, laid out as a 24-bit device-independent
// bitmap: `Height` rows from the bottom row up (row 0 is the bottom row), each
// row `Width` pixels of blue, green, red bytes, padded with zeros to a multiple
// of four bytes (BytesPerScanLine). The album scales every picture with
// Resample, the bilinear resampler below, so slide pictures, thumbnails and the
// preview come out the same on every machine.
//
// A section is the one buffer of the album's picture pipeline: its bytes are
// those of a 24-bit FreeImage bitmap that it owns, one it made (Create) or one
// whose pixels already have this layout and which it takes over (Adopt). So a
// decoded picture is never copied, and what the resampler writes goes to
// FreeImage's colour reduction and PNG encoder as it is (Bitmap).
// Create and Resample refuse (false, nullopt) rather than raise: a size below
// 1, a picture whose bytes would not fit the 32-bit image size of the layout,
// or memory that can't be had.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "slides/freeimage_bitmap.h"

namespace brevora::album {

class DibSection {
 public:
  DibSection() = default;
  // A section moved from is empty.
  DibSection(DibSection&& other) noexcept;
  DibSection& operator=(DibSection&& other) noexcept;
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;

  // Bytes of one row for a width: width x 3 rounded up to a multiple of 4;
  // 0 when the width is below 1 or the row would not fit 32 bits.
  static uint32_t BytesPerScanLineFor(int32_t width);

  // Makes a black section of width x height (replacing what it held); false,
  // and the section left empty, when it can't be made.
  bool Create(int32_t width, int32_t height);

  // Takes over a FreeImage bitmap of 24 bits a pixel whose rows are laid out as
  // a section's (blue, green, red; BytesPerScanLine apart; bottom row first),
  // zeroing its row padding. False, with `bitmap` left as it was and the
  // section empty, for any other bitmap.
  bool Adopt(slides::Bitmap& bitmap);

  // The section scaled to newWidth x newHeight (note the order: height first).
  // The same size copies the pixels unchanged; any other size is resampled
  // bilinearly, every step in single precision:
  //   xScale = (Width - 1) / newWidth, yScale = (Height - 1) / newHeight;
  //   for a destination pixel (x, y): fx = x * xScale, ix = floor(fx),
  //   dx = fx - ix (likewise fy, iy, dy); for each colour byte
  //   left  = round((1 - dy) * p(ix, iy)     + dy * p(ix, iy + 1)),
  //   right = round((1 - dy) * p(ix + 1, iy) + dy * p(ix + 1, iy + 1)),
  //   value = round((1 - dx) * left + dx * right), clamped to 0..255,
  // rounding halves to the even neighbour and counting rows in the section's
  // own order. Because the scales divide by the new size, the last destination
  // pixel samples short of the source's last one. A neighbour beyond the last
  // column or row (a picture one pixel wide or high) is the edge pixel itself,
  // so no read leaves the picture. nullopt when this section is empty or the
  // new one can't be made.
  std::optional<DibSection> Resample(int32_t newHeight, int32_t newWidth) const;

  // The section as the FreeImage bitmap it is, for FreeImage's own steps; it
  // stays the section's. Null when the section is empty.
  FIBITMAP* Bitmap() const { return bitmap_.get(); }
  // Gives the bitmap up to the caller; the section is empty afterwards.
  slides::Bitmap Release();

  bool Empty() const { return bits_ == nullptr; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  uint32_t BytesPerScanLine() const { return stride_; }
  // Height x BytesPerScanLine.
  size_t ImageSize() const { return static_cast<size_t>(stride_) * static_cast<size_t>(height_); }

  // Row y (0 = bottom) of a non-empty section; the caller keeps y in range.
  uint8_t* Row(int32_t y) { return bits_ + static_cast<size_t>(stride_) * static_cast<size_t>(y); }
  const uint8_t* Row(int32_t y) const {
    return bits_ + static_cast<size_t>(stride_) * static_cast<size_t>(y);
  }
  uint8_t* Bits() { return bits_; }
  const uint8_t* Bits() const { return bits_; }

 private:
  void Reset();

  slides::Bitmap bitmap_;  // holds the bytes
  uint8_t* bits_ = nullptr;
  int32_t width_ = 0;
  int32_t height_ = 0;
  uint32_t stride_ = 0;
};

}  // namespace brevora::album
