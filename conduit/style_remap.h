#pragma once
// RemapFormat2: the second format word of a cell of a desktop file older than
// version 9, as the handheld's version-9 workbooks number their styles. Each
// 16-bit half is an index into the 57-entry remap table; a low half outside
// 1..56 is taken as 1, a high half outside 1..56 as 0.
#include <cstdint>

#include "conduit/cell_record.h"

namespace brevora::tabrel {

uint32_t RemapFormat2(uint32_t format2);
inline void RemapFormat2(CellRecord& cell) { cell.format2 = RemapFormat2(cell.format2); }

}  // namespace brevora::tabrel
