#pragma once
// Numbers as the module's files and callers handle them: as byte strings (one
// character per byte, most significant byte first), as decimal texts combined
// bit by bit, and as 16-bit counters that must not wrap.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevora::core {

// An unsigned 32-bit value as 4 bytes (negative values down to -2^31 as two's
// complement); outside that range, or not a whole number after rounding
// (halves to even): 6 "Overflow".
std::string BigEndianBytes32(double value);
// The low 16 bits of `value` as 2 bytes.
std::string BigEndianBytes16(int32_t value);
// The character of a byte value; 5 outside 0 to 255.
std::string ByteChar(int32_t value);

// The bitwise AND of two unsigned decimal numbers given as text (the support
// library's parsing: blanks, sign, digits; saturating at 4294967295).
double BitAndDecimal(std::string_view a, std::string_view b);

// value += amount; a result outside -32768..32767 raises 6 "Overflow" and
// leaves `value` unchanged.
void AddChecked(int16_t& value, int16_t amount);

}  // namespace brevora::core
