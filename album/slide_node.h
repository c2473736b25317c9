#pragma once
// SlideNode: one entry of an album, the picture a slide is made of.
#include <cstdint>
#include <string>

namespace brevora::album {

struct SlideNode {
  std::string fullPath;       // the picture file the entry shows (system path)
  std::string title;          // becomes the slide's outline line
  int16_t slideNumber = 0;    // 1-based position in the album
  std::string thumbnailPath;  // the thumbnail PNG written by the last save
  std::string presImagePath;  // the slide PNG written by the last save
  int16_t uniqueId = 0;       // the entry's key; never reused while the album lives
};

}  // namespace brevora::album
