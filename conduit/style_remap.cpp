#include "conduit/style_remap.h"

#include <array>

namespace brevora::tabrel {
namespace {

constexpr std::array<uint16_t, 57> kRemap = {
    0,   230, 0,  125, 210, 95,  120, 5,   90,  226, 228, 107, 158, 227, 229,  // 0-14
    225, 220, 38, 148, 6,   18,  167, 14,  99,  19,  107, 5,   120, 90,  227,  // 15-29
    226, 229, 95, 91,  18,  24,  12,  37,  8,   20,  13,  75,  79,  157, 121,  // 30-44
    122, 123, 69, 50,  202, 182, 214, 196, 160, 148, 88,  190};                // 45-56

}  // namespace

uint32_t RemapFormat2(uint32_t format2) {
  uint32_t low = format2 & 0xFFFF;
  uint32_t high = format2 >> 16;
  if (low < 1 || low >= kRemap.size()) low = 1;
  if (high < 1 || high >= kRemap.size()) high = 0;
  return kRemap[low] + kRemap[high] * 65536u;
}

}  // namespace brevora::tabrel
