#pragma once
// The layout of a handheld database file, described once for its one reader
// and writer (database_reader.h, database_writer.h), which the device folder
// and the connectivity core's HandheldDatabase both use, and for the tests.
// All numbers are unsigned and big-endian; offsets count from the first byte
// of the file.
//
//   header           78 bytes (fields below)
//   record list      numRecords entries of 8 bytes
//   filler           2 zero bytes
//   app-info block   (optional)
//   sort-info block  (optional, at the next multiple of 4)
//   record data      (at the next multiple of 4, one after the other)
#include <cstddef>
#include <cstdint>

namespace brevora::hotsync::database_format {

inline constexpr std::size_t kHeaderSize = 78;
inline constexpr std::size_t kEntrySize = 8;
inline constexpr std::size_t kFillerSize = 2;
inline constexpr std::size_t kBlockAlignment = 4;

// Header fields: offset and size.
inline constexpr std::size_t kNameOffset = 0;
inline constexpr std::size_t kNameSize = 32;
inline constexpr std::size_t kMaxNameLength = kNameSize - 1;  // at least one zero byte
inline constexpr std::size_t kAttributesOffset = 32;          // 2 bytes
inline constexpr std::size_t kVersionOffset = 34;             // 2 bytes
inline constexpr std::size_t kCreationDateOffset = 36;        // 4 bytes
inline constexpr std::size_t kModificationDateOffset = 40;    // 4 bytes
inline constexpr std::size_t kLastBackupDateOffset = 44;      // 4 bytes
inline constexpr std::size_t kModificationNumberOffset = 48;  // 4 bytes
inline constexpr std::size_t kAppInfoIDOffset = 52;           // 4 bytes, 0 = no block
inline constexpr std::size_t kSortInfoIDOffset = 56;          // 4 bytes, 0 = no block
inline constexpr std::size_t kTypeOffset = 60;
inline constexpr std::size_t kCreatorOffset = 64;
inline constexpr std::size_t kCodeSize = 4;                 // type and creator
inline constexpr std::size_t kUniqueIDSeedOffset = 68;      // 4 bytes
inline constexpr std::size_t kNextRecordListIDOffset = 72;  // 4 bytes
inline constexpr std::size_t kNumRecordsOffset = 76;        // 2 bytes

// Record list entry fields, relative to the entry.
inline constexpr std::size_t kEntryDataOffset = 0;  // 4 bytes: offset of the data
inline constexpr std::size_t kEntryAttributes = 4;  // 1 byte
inline constexpr std::size_t kEntryUniqueID = 5;    // 3 bytes
inline constexpr std::size_t kUniqueIDSize = 3;

inline constexpr uint32_t kMaxUniqueID = 0xFFFFFF;
inline constexpr uint32_t kMaxRecords = 0xFFFF;

// Offset of the record list entry of record i (0-based).
constexpr std::size_t EntryOffset(std::size_t i) { return kHeaderSize + kEntrySize * i; }
// First byte after the record list and its filler.
constexpr std::size_t DataAreaOffset(std::size_t n) { return EntryOffset(n) + kFillerSize; }
// Rounds up to a multiple of 4 (a multiple stays).
constexpr uint64_t AlignUp(uint64_t v) {
  return (v + kBlockAlignment - 1) / kBlockAlignment * kBlockAlignment;
}

static_assert(EntryOffset(0) == kHeaderSize);
static_assert(kNumRecordsOffset + 2 == kHeaderSize);
static_assert(DataAreaOffset(1) == 88);
static_assert(AlignUp(77 + 8) == 88 && AlignUp(88) == 88);

}  // namespace brevora::hotsync::database_format
