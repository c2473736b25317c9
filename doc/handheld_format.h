#pragma once
// The layout of the two handheld document databases: the suite's own document
// database (type "zIZU", creator "Scrv", text records of one 2,048-character
// block each) and PalmDOC (type "TEXt", creator "REAd", text records of 4,096
// characters). Numbers are unsigned and big-endian.
//
// Records, in order, every record's attribute byte 8:
//   header record      id 1     16 bytes + a 2-byte size per text record
//   text records       ids 2..  the text, PalmDOC-compressed when the
//                               compression flag is 2
//   bookmark records   after    20 bytes each
//
// Header record:
//   0   1  editable flag (1 editable, 0 not)
//   1   1  compression flag (2 compressed, 1 not)
//   2   1  search mode 0..2
//   3   1  the constant 1
//   4   4  text length in characters
//   8   2  number of text records n
//   10  2  record size (2048 or 4096)
//   12  4  the handheld database value (below 2^31)
//   16  2n record size table: the record size for each but the last record,
//          then the last record's length
// A plain PalmDOC header begins 00 02 00 00 or 00 01 00 00: bytes 0 and 2 read
// as not editable and search mode 0.
//
// Bookmark record:
//   0   16 name: at most 15 characters, NUL-padded (at least one NUL)
//   16  4  offset, a character position in the text (below 2^31)
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace brevora::doc::handheld_format {

inline constexpr uint16_t kDatabaseAttributes = 8;
inline constexpr uint8_t kRecordAttributes = 8;
inline constexpr int32_t kHeaderRecordID = 1;

inline constexpr std::string_view kDocType = "zIZU";
inline constexpr std::string_view kDocCreator = "Scrv";
inline constexpr int32_t kDocRecordSize = 2048;

inline constexpr std::string_view kPalmDocType = "TEXt";
inline constexpr std::string_view kPalmDocCreator = "REAd";
inline constexpr int32_t kPalmDocRecordSize = 4096;

// Header record fields.
inline constexpr size_t kEditableOffset = 0;
inline constexpr size_t kCompressionOffset = 1;
inline constexpr size_t kSearchModeOffset = 2;
inline constexpr size_t kConstantOffset = 3;
inline constexpr uint8_t kConstant = 1;
inline constexpr size_t kTextLengthOffset = 4;
inline constexpr size_t kRecordCountOffset = 8;
inline constexpr size_t kRecordSizeOffset = 10;
inline constexpr size_t kDatabaseValueOffset = 12;
inline constexpr size_t kHeaderRecordSize = 16;  // the size table follows

// Bookmark record fields.
inline constexpr size_t kBookmarkNameSize = 16;
inline constexpr size_t kBookmarkNameLength = 15;
inline constexpr size_t kBookmarkOffsetOffset = 16;
inline constexpr size_t kBookmarkRecordSize = 20;

// The most bookmarks a reader takes.
inline constexpr int kMaxBookmarkRecords = 25;

// The compression flag that marks compressed text records.
inline constexpr uint8_t kCompressedFlag = 2;

}  // namespace brevora::doc::handheld_format
