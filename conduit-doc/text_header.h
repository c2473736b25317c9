#pragma once
// TextHeader: record 0 of a handheld document (document_db_format.h): the
// flags, the text's length and position, and the uncompressed size of each
// text record.
//
// Parse checks what a reader relies on before it reads a text record: the
// record is exactly 16 + 2 N bytes, the N text records exist among the
// database's `recordCount` records (record 0 is not one of them) and no size
// is above 3,072. Anything else is refused with `problem` saying what is
// wrong; the text length, the record size field and the constant are carried,
// not checked.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace brevora::scriv {

struct TextHeader {
  uint8_t editable = 1;
  uint8_t compression = 2;
  uint8_t mode = 0;
  uint32_t textLength = 0;
  uint32_t position = 0;
  std::vector<uint16_t> sizes;  // one per text record
  bool operator==(const TextHeader&) const = default;

  bool compressed() const;

  static std::optional<TextHeader> Parse(std::span<const uint8_t> record, uint32_t recordCount,
                                         std::string& problem);
  // The record as written: the constant 3 and the record size 3072.
  std::vector<uint8_t> Bytes() const;
};

}  // namespace brevora::scriv
