#pragma once
// The record codecs shared by the handheld document database and PalmDOC
// readers and writers (layout in doc/handheld_format.h): the header record, the
// bookmark record and the PalmDOC compression of text records. Decoders check
// every bound: bad data raises an error, never reads outside the record.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/handheld_database.h"
#include "doc/document_header.h"
#include "doc/handheld_document.h"

namespace brevora::doc {

// The fields of a header record that writers fill and readers take.
struct HandheldHeader {
  int16_t editable = 0;  // stored as one byte each (0 to 255)
  int16_t compression = 0;
  int16_t searchMode = 0;
  uint32_t textLength = 0;  // characters
  int32_t recordCount = 0;  // n, 0 to 65535
  int32_t recordSize = 0;   // 2048 or 4096
  int32_t databaseValue = 0;
  int32_t lastRecordLength = 0;  // the last entry of the size table (n > 0)
};

// The header record bytes: 16 + 2n. Raises 6 (overflow) for a flag outside 0
// to 255, a count or last length outside 0 to 65535, or a negative value.
std::vector<uint8_t> EncodeHeaderRecord(const HandheldHeader& header);

// Reads flags, n and the handheld database value (the rest is not used by
// readers). Raises 321 for a record shorter than 16 bytes and 6 (overflow) for
// a database value of 2^31 or more.
HandheldHeader DecodeHeaderRecord(std::span<const uint8_t> record);

// The 20 bytes of a bookmark: markup::FixLength(name, 15), then the offset.
// Raises 6 for a negative offset.
std::vector<uint8_t> EncodeBookmarkRecord(const Bookmark& bookmark);
// The name (the first 15 characters, cut before the first NUL) and offset.
// Raises 321 for a record shorter than 20 bytes and 6 for an offset of 2^31
// or more.
Bookmark DecodeBookmarkRecord(std::span<const uint8_t> record);

// The PalmDOC form of `text` (support library CompressString, with room for
// the worst case).
std::vector<uint8_t> CompressRecord(std::string_view text);
// The text of a compressed record (support library DecompressString). A record
// that is damaged or expands beyond `limit` characters raises 321 with a
// message that says so; nothing is written beyond the limit.
std::string ExpandRecord(std::span<const uint8_t> record, int32_t limit);

// The header record (record 1) of a text database, checked against the records
// present: raises 321 when it is missing or announces more text records than
// follow it. Copies its flags and database value into `fields`.
HandheldHeader ReadHeaderRecord(const core::RecordCollection& records, HandheldFields& fields);

// Raises 321 "Invalid file format" with `message` as description.
[[noreturn]] void RaiseBadRecord(const std::string& message);

// Sets what both writers set in a new database: the name, attributes 8, the
// version, the creation date (now), type and creator.
void StartDatabase(core::HandheldDatabase& db, const HandheldFields& fields, std::string_view type,
                   std::string_view creator);
// Adds a record with attribute byte 8, the unique id and the data, keyed "K"
// and the id.
void AddRecord(core::HandheldDatabase& db, int32_t id, std::vector<uint8_t> data);

}  // namespace brevora::doc
