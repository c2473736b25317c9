#pragma once
// The property file, described once for its reader, its writer and the tests:
// fixed records and nothing else (no header, no trailer, no count).
//
//   offset in record   size   field
//   0                  50     key: code-page bytes, blank-padded, cut after 50
//   50                 255    value: the same, cut after 255
//
// Record n (from 0) starts at n * kRecordSize. A file whose length is not a
// multiple of kRecordSize ends in a partial record, which reads as its bytes
// followed by blanks.
#include <cstddef>
#include <string>
#include <string_view>

namespace brevora::frontend::property_file_format {

inline constexpr std::size_t kKeySize = 50;
inline constexpr std::size_t kValueSize = 255;
inline constexpr std::size_t kRecordSize = kKeySize + kValueSize;
inline constexpr char kPad = ' ';
static_assert(kRecordSize == 305);

// The record of `key` and `value`, each padded with blanks or cut to its field.
std::string EncodeRecord(std::string_view key, std::string_view value);

struct Record {
  std::string key;    // kKeySize bytes, padding included
  std::string value;  // kValueSize bytes, padding included
};
// The fields of a record's bytes; fewer than kRecordSize bytes are padded with
// blanks first, more are cut.
Record DecodeRecord(std::string_view bytes);

// True when a stored key field is the key `wanted`: both trimmed of blanks,
// the wanted key first cut to the field as it would be stored, then compared
// exactly (case counts).
bool KeyMatches(std::string_view storedKey, std::string_view wanted);

}  // namespace brevora::frontend::property_file_format
