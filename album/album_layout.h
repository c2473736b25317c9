#pragma once
// The album window's resize rules, in twips (15 to a pixel): the entry list
// keeps its width on the right and grows downwards, the "Picture Info" frame
// stays at the bottom, and the preview and the frame take the width left of the
// list. A computed value below 1 becomes 0.
#include <cstdint>

namespace brevora::album {

inline constexpr int32_t kTwipsPerPixel = 15;

// What the rules keep: the list's top and width, the frame's height and the
// preview's top, as the window was designed.
struct DesignedLayout {
  int32_t listTop = 120;
  int32_t listWidth = 3300;
  int32_t frameHeight = 1560;
  int32_t previewTop = 120;
};

// What they compute.
struct ResizedLayout {
  int32_t listLeft = 0;
  int32_t listHeight = 0;
  int32_t frameTop = 0;
  int32_t previewWidth = 0;  // also the frame's width
  int32_t previewHeight = 0;
  bool operator==(const ResizedLayout&) const = default;
};

// list left = width - list width - 165; list height = height - list top - 660;
// frame top = height - frame height - 750; preview and frame width = list left
// - 105; preview height = frame top - preview top - 105.
ResizedLayout ResizeLayout(int32_t windowWidth, int32_t windowHeight, const DesignedLayout& design);

}  // namespace brevora::album
