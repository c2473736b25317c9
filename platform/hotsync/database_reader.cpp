#include "platform/hotsync/database_reader.h"

#include <algorithm>

#include "platform/bytes/big_endian.h"
#include "platform/hotsync/database_format.h"

namespace brevora::hotsync {

namespace fmt = database_format;

DatabaseHeader DatabaseReader::ParseHeader(std::span<const uint8_t> bytes) {
  const uint8_t* p = bytes.data();
  DatabaseHeader h;
  std::copy_n(p + fmt::kNameOffset, fmt::kNameSize, h.name.begin());
  h.attributes = bytes::LoadBigEndian16(p + fmt::kAttributesOffset);
  h.version = bytes::LoadBigEndian16(p + fmt::kVersionOffset);
  h.creationDate = bytes::LoadBigEndian32(p + fmt::kCreationDateOffset);
  h.modificationDate = bytes::LoadBigEndian32(p + fmt::kModificationDateOffset);
  h.backupDate = bytes::LoadBigEndian32(p + fmt::kLastBackupDateOffset);
  h.modificationNumber = bytes::LoadBigEndian32(p + fmt::kModificationNumberOffset);
  h.appInfoID = bytes::LoadBigEndian32(p + fmt::kAppInfoIDOffset);
  h.sortInfoID = bytes::LoadBigEndian32(p + fmt::kSortInfoIDOffset);
  std::copy_n(p + fmt::kTypeOffset, fmt::kCodeSize, h.type.begin());
  std::copy_n(p + fmt::kCreatorOffset, fmt::kCodeSize, h.creator.begin());
  h.uniqueIDSeed = bytes::LoadBigEndian32(p + fmt::kUniqueIDSeedOffset);
  h.nextRecordListID = bytes::LoadBigEndian32(p + fmt::kNextRecordListIDOffset);
  h.numRecords = bytes::LoadBigEndian16(p + fmt::kNumRecordsOffset);
  return h;
}

uint64_t DatabaseReader::PrefixSize(const DatabaseHeader& header) {
  return fmt::EntryOffset(header.numRecords);
}

std::optional<DatabaseLayout> DatabaseReader::Parse(std::span<const uint8_t> prefix,
                                                    uint64_t fileSize) {
  if (prefix.size() < fmt::kHeaderSize || fileSize < fmt::kHeaderSize) return std::nullopt;
  DatabaseLayout layout;
  layout.header = ParseHeader(prefix);
  DatabaseHeader& h = layout.header;
  const uint64_t listEnd = PrefixSize(h);
  if (listEnd > fileSize || listEnd > prefix.size()) return std::nullopt;

  if (h.appInfoID > fileSize) h.appInfoID = 0;
  if (h.sortInfoID > fileSize) h.sortInfoID = 0;

  // Everything that starts in the data area, in file order: each starts where
  // the one before may end at the earliest, and runs to the start of the next.
  std::vector<uint64_t> starts;
  starts.reserve(h.numRecords + 2u);
  if (h.appInfoID != 0) starts.push_back(h.appInfoID);
  if (h.sortInfoID != 0) starts.push_back(h.sortInfoID);
  const uint8_t* p = prefix.data();
  for (std::size_t i = 0; i < h.numRecords; ++i) {
    starts.push_back(bytes::LoadBigEndian32(p + fmt::EntryOffset(i) + fmt::kEntryDataOffset));
  }
  uint64_t previous = listEnd;
  for (const uint64_t start : starts) {
    if (start < previous || start > fileSize) return std::nullopt;
    previous = start;
  }
  std::size_t next = 0;
  auto rangeAt = [&](std::size_t k) {
    return ByteRange{starts[k], k + 1 < starts.size() ? starts[k + 1] : fileSize};
  };
  if (h.appInfoID != 0) layout.appInfo = rangeAt(next++);
  if (h.sortInfoID != 0) layout.sortInfo = rangeAt(next++);
  layout.records.reserve(h.numRecords);
  for (std::size_t i = 0; i < h.numRecords; ++i) {
    const uint8_t* entry = p + fmt::EntryOffset(i);
    layout.records.push_back(
        {entry[fmt::kEntryAttributes], bytes::LoadBigEndian24(entry + fmt::kEntryUniqueID), rangeAt(next++)});
  }
  return layout;
}

}  // namespace brevora::hotsync
