#include "sheet/format_word.h"

#include "core/number_text.h"
#include "platform/automation/convert.h"

namespace brevora::sheet {

uint32_t WordBits(double word) {
  if (word >= 0 && word <= 4294967295.0 &&
      word == static_cast<double>(static_cast<uint32_t>(word))) {
    return static_cast<uint32_t>(word);
  }
  // Anything else goes the way the AND of the support library reads it: as the
  // number's text.
  return static_cast<uint32_t>(core::BitAndDecimal(FormatDouble(word), "4294967295"));
}

}  // namespace brevora::sheet
