#pragma once
// Flag and field words held as doubles (a cell's format word, a workbook's flags
// word). A field is read with the module's bitwise AND and set by clearing its
// mask and adding the new value. WordBits gives the unsigned 32-bit value the AND
// reads from such a double, so callers can do the arithmetic on integers.
#include <cstdint>

namespace brevora::sheet {

// A whole number in 0..4294967295 is itself; any other value is read as the
// module's AND reads its decimal text (the fraction dropped, a negative number
// as two's complement, saturating at 4294967295).
uint32_t WordBits(double word);

// True when every bit of `mask` is set in the word.
inline bool HasBits(double word, uint32_t mask) { return (WordBits(word) & mask) == mask; }

// The word with `mask` cleared and `value` added (value lies inside the mask).
inline double SetField(double word, uint32_t mask, uint32_t value) {
  return static_cast<double>((WordBits(word) & ~mask) + value);
}

inline double SetFlag(double word, uint32_t bit, bool on) {
  return SetField(word, bit, on ? bit : 0);
}

}  // namespace brevora::sheet
