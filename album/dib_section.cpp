#include "album/dib_section.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace brevora::album {
namespace {

constexpr uint64_t kMaxImageSize = std::numeric_limits<int32_t>::max();

// FreeImage keeps 24-bit pixels in the order of the machine's DIBs, which is
// the section's (blue, green, red) on every little-endian machine.
static_assert(FI_RGBA_BLUE == 0 && FI_RGBA_GREEN == 1 && FI_RGBA_RED == 2,
              "FreeImage's 24-bit pixels are not blue, green, red here");

// Single precision, rounded to the nearest integer with halves to the even
// neighbour (the default rounding mode).
float RoundHalfEven(float value) { return std::nearbyint(value); }

}  // namespace

uint32_t DibSection::BytesPerScanLineFor(int32_t width) {
  if (width < 1) return 0;
  const uint64_t bytes = (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4;
  return bytes > kMaxImageSize ? 0 : static_cast<uint32_t>(bytes);
}

DibSection::DibSection(DibSection&& other) noexcept
    : bitmap_(std::move(other.bitmap_)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      stride_(std::exchange(other.stride_, 0)) {}

DibSection& DibSection::operator=(DibSection&& other) noexcept {
  if (this != &other) {
    bitmap_ = std::move(other.bitmap_);
    bits_ = std::exchange(other.bits_, nullptr);
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    stride_ = std::exchange(other.stride_, 0);
  }
  return *this;
}

void DibSection::Reset() {
  bits_ = nullptr;
  bitmap_.reset();
  width_ = height_ = 0;
  stride_ = 0;
}

slides::Bitmap DibSection::Release() {
  slides::Bitmap bitmap = std::move(bitmap_);
  Reset();
  return bitmap;
}

bool DibSection::Create(int32_t width, int32_t height) {
  Reset();
  const uint32_t stride = BytesPerScanLineFor(width);
  if (stride == 0 || height < 1) return false;
  if (static_cast<uint64_t>(stride) * static_cast<uint64_t>(height) > kMaxImageSize) return false;
  // FreeImage clears the pixels it allocates: the section starts black.
  slides::Bitmap bitmap(FreeImage_Allocate(width, height, 24));
  return bitmap && Adopt(bitmap);
}

bool DibSection::Adopt(slides::Bitmap& bitmap) {
  Reset();
  FIBITMAP* b = bitmap.get();
  if (!b || !FreeImage_HasPixels(b) || FreeImage_GetImageType(b) != FIT_BITMAP ||
      FreeImage_GetBPP(b) != 24) {
    return false;
  }
  const unsigned width = FreeImage_GetWidth(b);
  const unsigned height = FreeImage_GetHeight(b);
  if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) return false;
  const uint32_t stride = BytesPerScanLineFor(static_cast<int32_t>(width));
  if (stride == 0 || FreeImage_GetPitch(b) != stride ||
      static_cast<uint64_t>(stride) * height > kMaxImageSize) {
    return false;
  }
  // The rows must follow each other: the layout counts rows from the bits.
  if (height > 1 && FreeImage_GetScanLine(b, 1) != FreeImage_GetBits(b) + stride) return false;
  bitmap_ = std::move(bitmap);
  bits_ = FreeImage_GetBits(bitmap_.get());
  width_ = static_cast<int32_t>(width);
  height_ = static_cast<int32_t>(height);
  stride_ = stride;
  const size_t pixelBytes = static_cast<size_t>(width_) * 3;
  if (stride_ > pixelBytes) {
    for (int32_t y = 0; y < height_; ++y) std::memset(Row(y) + pixelBytes, 0, stride_ - pixelBytes);
  }
  return true;
}

std::optional<DibSection> DibSection::Resample(int32_t newHeight, int32_t newWidth) const {
  DibSection out;
  if (Empty() || !out.Create(newWidth, newHeight)) return std::nullopt;
  if (newWidth == width_ && newHeight == height_) {
    std::memcpy(out.Bits(), Bits(), ImageSize());
    return out;
  }
  const float xScale = static_cast<float>(static_cast<double>(width_ - 1) / newWidth);
  const float yScale = static_cast<float>(static_cast<double>(height_ - 1) / newHeight);
  const int32_t lastX = width_ - 1;
  const int32_t lastY = height_ - 1;
  for (int32_t y = 0; y < newHeight; ++y) {
    const float fy = static_cast<float>(y) * yScale;
    const int32_t iy = std::min(static_cast<int32_t>(std::floor(fy)), lastY);
    const float dy = fy - static_cast<float>(iy);
    const float ky = 1.0f - dy;
    const uint8_t* top = Row(iy);
    const uint8_t* bottom = Row(std::min(iy + 1, lastY));
    uint8_t* dest = out.Row(y);
    for (int32_t x = 0; x < newWidth; ++x) {
      const float fx = static_cast<float>(x) * xScale;
      const int32_t ix = std::min(static_cast<int32_t>(std::floor(fx)), lastX);
      const float dx = fx - static_cast<float>(ix);
      const float kx = 1.0f - dx;
      const size_t l = static_cast<size_t>(ix) * 3;
      const size_t r = static_cast<size_t>(std::min(ix + 1, lastX)) * 3;
      for (size_t c = 0; c < 3; ++c) {
        // One product per statement: each is rounded to single precision on
        // its own, never fused with the sum.
        const float topLeft = ky * top[l + c];
        const float bottomLeft = dy * bottom[l + c];
        const float left = RoundHalfEven(topLeft + bottomLeft);
        const float topRight = ky * top[r + c];
        const float bottomRight = dy * bottom[r + c];
        const float right = RoundHalfEven(topRight + bottomRight);
        const float leftPart = kx * left;
        const float rightPart = dx * right;
        const float value = RoundHalfEven(leftPart + rightPart);
        dest[static_cast<size_t>(x) * 3 + c] =
            static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f));
      }
    }
  }
  return out;
}

}  // namespace brevora::album
