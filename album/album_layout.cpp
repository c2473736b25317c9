#include "album/album_layout.h"

namespace brevora::album {
namespace {

int32_t AtLeastZero(int32_t twips) { return twips < 1 ? 0 : twips; }

}  // namespace

ResizedLayout ResizeLayout(int32_t windowWidth, int32_t windowHeight,
                           const DesignedLayout& design) {
  ResizedLayout l;
  l.listLeft = AtLeastZero(windowWidth - design.listWidth - 165);
  l.listHeight = AtLeastZero(windowHeight - design.listTop - 660);
  l.frameTop = AtLeastZero(windowHeight - design.frameHeight - 750);
  l.previewWidth = AtLeastZero(l.listLeft - 105);
  l.previewHeight = AtLeastZero(l.frameTop - design.previewTop - 105);
  return l;
}

}  // namespace brevora::album
