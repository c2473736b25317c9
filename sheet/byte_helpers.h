#pragma once
// Byte arrays of fixed texts, as the workbook's database exchange hands them to
// a server database object: a text as n + 1 bytes, and back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/variant.h"

namespace brevora::sheet {

// n + 1 bytes: the first characters of `text` (at most n), then zero bytes;
// the last byte is always 0.
std::vector<uint8_t> StringToBytes(std::string_view text, size_t n);

// The characters of a byte array from its first element up to, not including,
// the first 0 byte or the last element. A value that is not a byte array
// raises 0x80040111 "The parameter is not an array of byte." (source "tabrelpc").
std::string BytesToString(const Variant& bytes);

}  // namespace brevora::sheet
