#pragma once
// Where the stand-alone window opens: the stored placement ("WindowSize":
// "Top", "Left", "Width", "Height", in twips, 15 per pixel) over the window's
// own, kept on a screen. A stored value of 0 keeps the window's value; a
// placement smaller than 6480 x 3600 twips is made that large, and one that
// lies off every screen is brought back onto the first.
#include <cstdint>
#include <string>
#include <vector>

namespace brevora::frontend {

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int64_t kMinimumWidthTwips = 6480;
inline constexpr int64_t kMinimumHeightTwips = 3600;

struct TwipRect {
  int64_t left = 0;
  int64_t top = 0;
  int64_t width = 0;
  int64_t height = 0;
  bool operator==(const TwipRect&) const = default;
};

struct StoredPlacement {
  std::string top, left, width, height;  // as stored ("" when absent)
};

// The placement to move the window to. `screens` are the screens' free areas;
// with none, the stored placement is taken as it is (sizes still made large
// enough).
TwipRect RestoredPlacement(const StoredPlacement& stored, const TwipRect& current,
                           const std::vector<TwipRect>& screens);

}  // namespace brevora::frontend
