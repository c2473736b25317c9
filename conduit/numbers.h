#pragma once
// The decimal numbers of the workbook conduit's texts (cell lines, desktop
// header lines): an optional sign and digits, blanks around them allowed,
// nothing else; every value range-checked against the field it fills.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brevora::tabrel {

std::optional<int64_t> ParseInteger(std::string_view text);
std::optional<int32_t> ParseInt32(std::string_view text);
// 0 to 4294967295.
std::optional<uint32_t> ParseUInt32(std::string_view text);
// A 32-bit field written signed or unsigned: -2147483648 to 4294967295.
std::optional<uint32_t> ParseDWord(std::string_view text);
// A 16-bit field written signed or unsigned: -32768 to 65535.
std::optional<uint16_t> ParseWord(std::string_view text);

void AppendDecimal(std::string& out, int64_t value);
// A 16-bit field as the desktop program reads it back: signed.
inline void AppendWord(std::string& out, uint16_t value) {
  AppendDecimal(out, static_cast<int16_t>(value));
}

}  // namespace brevora::tabrel
