#include "core/handheld_database_reader.h"

#include <algorithm>
#include <string>
#include <utility>

#include "core/format_errors.h"
#include "core/handheld_database.h"
#include "platform/bytes/big_endian.h"
#include "platform/hotsync/database_format.h"

namespace brevora::core {

namespace fmt = hotsync::database_format;

static_assert(HandheldDatabaseReader::kFirstBytes == fmt::EntryOffset(1));

HandheldDatabaseReader::HandheldDatabaseReader(std::shared_ptr<const std::vector<uint8_t>> file)
    : HandheldDatabaseReader(file, file ? file->size() : 0) {}

std::size_t HandheldDatabaseReader::HeaderPartSize(std::span<const uint8_t> first, std::size_t fileSize) {
  if (first.size() < kFirstBytes) return fileSize;  // short: the reader refuses it
  const std::size_t n = bytes::LoadBigEndian16(first.data() + fmt::kNumRecordsOffset);
  if (n == 0) return fileSize;
  const std::size_t listEnd = std::min(fmt::EntryOffset(n), fileSize);
  const std::size_t firstData = bytes::LoadBigEndian32(first.data() + fmt::EntryOffset(0) + fmt::kEntryDataOffset);
  return std::max(listEnd, std::min(firstData, fileSize));
}

HandheldDatabaseReader::HandheldDatabaseReader(std::shared_ptr<const std::vector<uint8_t>> start, std::size_t fileSize)
    : file_(std::move(start)), fileSize_(fileSize) {
  const std::size_t size = fileSize_;
  if (file_->size() > size) RaiseInvalidFormat();
  if (size < fmt::kHeaderSize) RaiseInvalidFormat();
  const uint8_t* p = file_->data();
  const std::size_t n = bytes::LoadBigEndian16(p + fmt::kNumRecordsOffset);
  const std::size_t listEnd = fmt::EntryOffset(n);
  if (listEnd > size) RaiseInvalidFormat();

  // A block offset past the end of the file means no block.
  appInfoID_ = bytes::LoadBigEndian32(p + fmt::kAppInfoIDOffset);
  sortInfoID_ = bytes::LoadBigEndian32(p + fmt::kSortInfoIDOffset);
  if (appInfoID_ > size) appInfoID_ = 0;
  if (sortInfoID_ > size) sortInfoID_ = 0;

  // Everything that starts in the data area, in file order: each starts where
  // the one before may end at the earliest, and runs to the start of the next.
  std::vector<std::size_t> starts;
  starts.reserve(n + 2);
  if (appInfoID_ != 0) starts.push_back(appInfoID_);
  if (sortInfoID_ != 0) starts.push_back(sortInfoID_);
  for (std::size_t i = 0; i < n; ++i) {
    starts.push_back(bytes::LoadBigEndian32(p + fmt::EntryOffset(i) + fmt::kEntryDataOffset));
  }
  std::size_t previous = listEnd;
  for (const std::size_t start : starts) {
    if (start < previous || start > size) RaiseInvalidFormat();
    previous = start;
  }

  std::size_t next = 0;
  auto rangeAt = [&](std::size_t k) {
    return Range{starts[k], k + 1 < starts.size() ? starts[k + 1] : size};
  };
  if (appInfoID_ != 0) appInfo_ = rangeAt(next++);
  if (sortInfoID_ != 0) sortInfo_ = rangeAt(next++);
  // Given only the start of the file, the header, the list and the blocks
  // must lie in it.
  if (listEnd > file_->size() || appInfo_.end > file_->size() || sortInfo_.end > file_->size()) {
    RaiseInvalidFormat();
  }
  records_.reserve(n);
  for (std::size_t i = 0; i < n; ++i) records_.push_back(rangeAt(next++));
}

void HandheldDatabaseReader::Fill(HandheldDatabase& db, bool readData, bool keyed) const {
  if (readData && file_->size() != fileSize_) RaiseInvalidFormat();
  const uint8_t* p = file_->data();
  auto text = [&](Range r) {
    return std::string(reinterpret_cast<const char*>(p) + r.begin, r.end - r.begin);
  };

  // Everything that can fail is built first; the commit below cannot fail.
  std::string appInfoBlock = text(appInfo_);
  std::string sortInfoBlock = text(sortInfo_);
  RecordCollection records;
  uint32_t highestId = 0;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    const uint8_t* entry = p + fmt::EntryOffset(i);
    RecordRef rec = MakeRef<DatabaseRecord>();
    rec->DataOffset().SetValue(bytes::LoadBigEndian32(entry + fmt::kEntryDataOffset));
    rec->SetAttributes(entry[fmt::kEntryAttributes]);
    rec->SetUniqueIDBytes(std::span<const uint8_t, 3>(entry + fmt::kEntryUniqueID, 3));
    if (readData) {
      rec->SetDataSlice(file_, records_[i].begin, records_[i].end - records_[i].begin);
    }
    if (!keyed) {
      records.Add(std::move(rec));
      continue;
    }
    // The first record with a given id keeps the key; later ones get none.
    // An id above every id so far (ids rise as writers give them) cannot be
    // taken yet, so only the others are looked up.
    const uint32_t id = static_cast<uint32_t>(rec->UniqueID());
    std::string key = "K" + std::to_string(id);
    if (id <= highestId && records.Find(key) != nullptr) key.clear();
    highestId = std::max(highestId, id);
    records.Add(std::move(rec), key);
  }

  std::copy_n(p + fmt::kNameOffset, fmt::kNameSize, db.name_.begin());
  std::copy_n(p + fmt::kTypeOffset, fmt::kCodeSize, db.type_.begin());
  std::copy_n(p + fmt::kCreatorOffset, fmt::kCodeSize, db.creator_.begin());
  db.attributes_.SetValue(bytes::LoadBigEndian16(p + fmt::kAttributesOffset));
  db.version_.SetValue(bytes::LoadBigEndian16(p + fmt::kVersionOffset));
  db.creationDate_.SetValue(bytes::LoadBigEndian32(p + fmt::kCreationDateOffset));
  db.modificationDate_.SetValue(bytes::LoadBigEndian32(p + fmt::kModificationDateOffset));
  db.lastBackupDate_.SetValue(bytes::LoadBigEndian32(p + fmt::kLastBackupDateOffset));
  db.modificationNumber_.SetValue(bytes::LoadBigEndian32(p + fmt::kModificationNumberOffset));
  db.appInfoID_.SetValue(appInfoID_);
  db.sortInfoID_.SetValue(sortInfoID_);
  db.uniqueIDSeed_.SetValue(bytes::LoadBigEndian32(p + fmt::kUniqueIDSeedOffset));
  db.nextRecordListID_.SetValue(bytes::LoadBigEndian32(p + fmt::kNextRecordListIDOffset));
  db.recordCount_.SetValue(static_cast<int32_t>(records_.size()));
  db.appInfoBlock_.swap(appInfoBlock);
  db.sortInfoBlock_.swap(sortInfoBlock);
  db.records_ = std::move(records);
}

}  // namespace brevora::core
