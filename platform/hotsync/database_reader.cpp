#include "platform/hotsync/database_reader.h"

#include <algorithm>

#include "platform/bytes/big_endian.h"

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

uint64_t DatabaseReader::HeadSize(std::span<const uint8_t> first, uint64_t fileSize) {
  if (first.size() < kFirstBytes) return fileSize;  // short: Parse refuses it
  const uint8_t* p = first.data();
  const uint64_t n = bytes::LoadBigEndian16(p + fmt::kNumRecordsOffset);
  if (n == 0) return fileSize;  // the blocks run to the end of the file
  const uint64_t listEnd = std::min<uint64_t>(fmt::EntryOffset(n), fileSize);
  const uint64_t firstData =
      bytes::LoadBigEndian32(p + fmt::EntryOffset(0) + fmt::kEntryDataOffset);
  return std::max(listEnd, std::min(firstData, fileSize));
}

std::optional<DatabaseLayout> DatabaseReader::Parse(std::span<const uint8_t> prefix,
                                                    uint64_t fileSize) {
  if (prefix.size() < fmt::kHeaderSize || fileSize < fmt::kHeaderSize || prefix.size() > fileSize) {
    return std::nullopt;
  }
  DatabaseLayout layout;
  layout.header = ParseHeader(prefix);
  DatabaseHeader& h = layout.header;
  const uint64_t listEnd = PrefixSize(h);
  if (listEnd > prefix.size()) return std::nullopt;

  if (h.appInfoID > fileSize) h.appInfoID = 0;
  if (h.sortInfoID > fileSize) h.sortInfoID = 0;

  // Everything that starts in the data area, in file order (app-info,
  // sort-info, records): each starts where the one before may end at the
  // earliest, and runs to the start of the next (the last to the end of the
  // file). The starts are checked going forward, the ends set going back.
  uint64_t previous = listEnd;
  auto follows = [&](uint64_t start) {
    if (start < previous || start > fileSize) return false;
    previous = start;
    return true;
  };
  if (h.appInfoID != 0 && !follows(h.appInfoID)) return std::nullopt;
  if (h.sortInfoID != 0 && !follows(h.sortInfoID)) return std::nullopt;
  const uint8_t* p = prefix.data();
  layout.records.resize(h.numRecords);
  for (std::size_t i = 0; i < h.numRecords; ++i) {
    const uint8_t* entry = p + fmt::EntryOffset(i);
    RecordEntry& r = layout.records[i];
    r.attributes = entry[fmt::kEntryAttributes];
    r.uniqueID = bytes::LoadBigEndian24(entry + fmt::kEntryUniqueID);
    r.data.begin = bytes::LoadBigEndian32(entry + fmt::kEntryDataOffset);
    if (!follows(r.data.begin)) return std::nullopt;
  }
  uint64_t next = fileSize;
  for (auto r = layout.records.rbegin(); r != layout.records.rend(); ++r) {
    r->data.end = next;
    next = r->data.begin;
  }
  if (h.sortInfoID != 0) {
    layout.sortInfo = {h.sortInfoID, next};
    next = h.sortInfoID;
  }
  if (h.appInfoID != 0) layout.appInfo = {h.appInfoID, next};
  return layout;
}

}  // namespace brevora::hotsync
