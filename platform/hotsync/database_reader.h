#pragma once
// DatabaseReader: the one reader of handheld database files (layout in
// database_format.h). It takes apart the header and record list over a span of
// the file's bytes, without copying them, and works out where the blocks and
// records lie; it reads no block or record itself. The device folder and the
// connectivity core's HandheldDatabase each map a refusal onto their own errors.
//
// The file does not hold together, and Parse gives nullopt, when it is shorter
// than its header, its record list runs past its end, or a block or record
// offset lies inside the header or record list, past the end of the file, or
// out of order (app-info, sort-info, records). An app-info or sort-info offset
// past the end of the file counts as no block. Each block and record runs to the
// start of the next one (or the end of the file) and may be empty.
//
// A caller need not hold the whole file: Parse needs the header and the record
// list (PrefixSize bytes), and the blocks lie in the first HeadSize bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/hotsync/database_format.h"

namespace brevora::hotsync {

struct DatabaseHeader {
  std::array<uint8_t, 32> name{};
  uint16_t attributes = 0;
  uint16_t version = 0;
  uint32_t creationDate = 0;  // seconds since 1904-01-01
  uint32_t modificationDate = 0;
  uint32_t backupDate = 0;
  uint32_t modificationNumber = 0;
  uint32_t appInfoID = 0;  // offsets of the blocks, 0 = none
  uint32_t sortInfoID = 0;
  std::array<uint8_t, 4> type{};
  std::array<uint8_t, 4> creator{};
  uint32_t uniqueIDSeed = 0;
  uint32_t nextRecordListID = 0;
  uint16_t numRecords = 0;
  bool operator==(const DatabaseHeader&) const = default;
};

struct ByteRange {
  uint64_t begin = 0;
  uint64_t end = 0;
  uint64_t size() const { return end - begin; }
  bool operator==(const ByteRange&) const = default;
};

struct RecordEntry {
  uint8_t attributes = 0;
  uint32_t uniqueID = 0;  // 24 bits
  ByteRange data;         // begins at the offset the record list gives
  bool operator==(const RecordEntry&) const = default;
};

struct DatabaseLayout {
  DatabaseHeader header;  // the block offsets as found (past the end: 0)
  ByteRange appInfo;      // empty when there is no block
  ByteRange sortInfo;
  std::vector<RecordEntry> records;
  bool operator==(const DatabaseLayout&) const = default;
};

class DatabaseReader {
 public:
  // The first bytes HeadSize looks at: the header and the first record entry.
  static constexpr std::size_t kFirstBytes = database_format::EntryOffset(1);

  // The header alone; `bytes` holds at least 78.
  static DatabaseHeader ParseHeader(std::span<const uint8_t> bytes);
  // How many bytes from the start Parse needs: the header and the record list.
  static uint64_t PrefixSize(const DatabaseHeader& header);
  // How many bytes from the start hold the header, the record list and the
  // blocks: everything before the first record's data, at least the record
  // list, at most the file. `first` holds the first kFirstBytes of a file of
  // `fileSize` bytes (or all of a shorter one, which gives the whole file).
  static uint64_t HeadSize(std::span<const uint8_t> first, uint64_t fileSize);
  // The layout of a file of `fileSize` bytes that starts with `prefix` (at least
  // PrefixSize bytes and at most the file, else nullopt); nullopt when it does
  // not hold together.
  static std::optional<DatabaseLayout> Parse(std::span<const uint8_t> prefix, uint64_t fileSize);
};

}  // namespace brevora::hotsync
