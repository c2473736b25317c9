#include "album/album_layout.h"

#include <gtest/gtest.h>

namespace brevora::album {
namespace {

TEST(AlbumLayout, ResizeRules) {
  struct Case {
    int32_t width;
    int32_t height;
    ResizedLayout expected;
  };
  const DesignedLayout design;  // list top 120, width 3300; frame height 1560; preview top 120
  const Case cases[] = {
      // 640 x 480 pixels.
      {9600, 7200, {6135, 6420, 4890, 6030, 4665}},
      // Wider and higher: the list keeps its width, the preview takes the rest.
      {15000, 9000, {11535, 8220, 6690, 11430, 6465}},
      // Too small for anything: every value below 1 becomes 0.
      {3000, 2000, {0, 1220, 0, 0, 0}},
      {0, 0, {0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResizeLayout(c.width, c.height, design), c.expected) << c.width << " x " << c.height;
  }
}

}  // namespace
}  // namespace brevora::album
