#include "core/handheld_database_writer.h"

#include <algorithm>
#include <span>
#include <string>

#include "core/format_errors.h"
#include "core/handheld_database.h"
#include "platform/bytes/big_endian.h"
#include "platform/hotsync/database_format.h"

namespace brevora::core {

namespace fmt = hotsync::database_format;

namespace {

// Gathers small pieces into one buffer so that the file gets few large writes;
// a piece as large as the buffer goes out directly.
class ChunkedOutput {
 public:
  explicit ChunkedOutput(fs::AtomicFile& out) : out_(out) { buffer_.reserve(kChunk); }

  void Put(std::span<const uint8_t> bytes) {
    if (buffer_.size() + bytes.size() > kChunk) Flush();
    if (bytes.size() >= kChunk) {
      out_.Write(bytes);
      written_ += bytes.size();
    } else {
      buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    }
  }
  // Pads with zero bytes up to `offset` (never beyond what was put already).
  void ZerosTo(uint64_t offset) {
    static constexpr uint8_t kZeros[8] = {};
    for (uint64_t at = written_ + buffer_.size(); at < offset; at = written_ + buffer_.size()) {
      Put(std::span(kZeros, static_cast<std::size_t>(std::min<uint64_t>(offset - at, 8))));
    }
  }
  void Flush() {
    out_.Write(buffer_);
    written_ += buffer_.size();
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kChunk = 256 * 1024;
  fs::AtomicFile& out_;
  std::vector<uint8_t> buffer_;
  uint64_t written_ = 0;
};

}  // namespace

HandheldDatabaseWriter::HandheldDatabaseWriter(HandheldDatabase& db) : db_(db) {
  const std::size_t n = static_cast<std::size_t>(db.records_.Count());
  if (n > fmt::kMaxRecords) RaiseRuntimeError(6);

  // Blocks start after the record list and its filler, each at a multiple of 4;
  // the records' data follows at the next multiple of 4, without padding.
  uint64_t offset = fmt::AlignUp(fmt::EntryOffset(n) - 1);
  uint64_t end = fmt::kHeaderSize;  // an empty database is the header alone
  auto place = [&](const std::string& block) -> uint64_t {
    if (block.empty()) return 0;
    const uint64_t at = offset;
    end = at + block.size();
    offset = fmt::AlignUp(end);
    return at;
  };
  const uint64_t appInfoID = place(db.appInfoBlock_);
  const uint64_t sortInfoID = place(db.sortInfoBlock_);

  dataOffsets_.reserve(n);
  for (const RecordRef& rec : db.records_) {
    if (!rec) RaiseRuntimeError(91);
    if (offset > UINT32_MAX) RaiseRuntimeError(6);
    dataOffsets_.push_back(static_cast<uint32_t>(offset));
    offset += rec->Data().size();
    end = offset;
  }
  if (end > UINT32_MAX) RaiseRuntimeError(6);
  appInfoID_ = static_cast<uint32_t>(appInfoID);
  sortInfoID_ = static_cast<uint32_t>(sortInfoID);
  size_ = static_cast<std::size_t>(end);
}

void HandheldDatabaseWriter::WriteTo(fs::AtomicFile& out) {
  HandheldDatabase& db = db_;
  const std::size_t n = dataOffsets_.size();
  if (db.modificationDate_.Value() < db.creationDate_.Value()) {
    db.modificationDate_ = db.creationDate_;
  }
  db.recordCount_.SetValue(static_cast<int32_t>(n));
  db.appInfoID_.SetValue(appInfoID_);
  db.sortInfoID_.SetValue(sortInfoID_);
  std::size_t i = 0;
  for (const RecordRef& rec : db.records_) rec->DataOffset().SetValue(dataOffsets_[i++]);

  ChunkedOutput sink(out);
  uint8_t header[fmt::kHeaderSize] = {};
  auto u32 = [](const BigEndian32& d) { return static_cast<uint32_t>(d.Value()); };
  auto u16 = [](const BigEndian16& w) { return static_cast<uint16_t>(w.Value()); };
  std::copy(db.name_.begin(), db.name_.end(), header + fmt::kNameOffset);
  bytes::StoreBigEndian16(header + fmt::kAttributesOffset, u16(db.attributes_));
  bytes::StoreBigEndian16(header + fmt::kVersionOffset, u16(db.version_));
  bytes::StoreBigEndian32(header + fmt::kCreationDateOffset, u32(db.creationDate_));
  bytes::StoreBigEndian32(header + fmt::kModificationDateOffset, u32(db.modificationDate_));
  bytes::StoreBigEndian32(header + fmt::kLastBackupDateOffset, u32(db.lastBackupDate_));
  bytes::StoreBigEndian32(header + fmt::kModificationNumberOffset, u32(db.modificationNumber_));
  bytes::StoreBigEndian32(header + fmt::kAppInfoIDOffset, appInfoID_);
  bytes::StoreBigEndian32(header + fmt::kSortInfoIDOffset, sortInfoID_);
  std::copy(db.type_.begin(), db.type_.end(), header + fmt::kTypeOffset);
  std::copy(db.creator_.begin(), db.creator_.end(), header + fmt::kCreatorOffset);
  bytes::StoreBigEndian32(header + fmt::kUniqueIDSeedOffset, u32(db.uniqueIDSeed_));
  bytes::StoreBigEndian32(header + fmt::kNextRecordListIDOffset, u32(db.nextRecordListID_));
  bytes::StoreBigEndian16(header + fmt::kNumRecordsOffset, static_cast<uint16_t>(n));
  sink.Put(header);

  i = 0;
  for (const RecordRef& rec : db.records_) {
    uint8_t entry[fmt::kEntrySize];
    bytes::StoreBigEndian32(entry + fmt::kEntryDataOffset, dataOffsets_[i++]);
    entry[fmt::kEntryAttributes] = rec->Attributes();
    const auto id = rec->UniqueIDBytes();
    std::copy(id.begin(), id.end(), entry + fmt::kEntryUniqueID);
    sink.Put(entry);
  }

  // Zero bytes (filler, alignment) before each block and the records' data.
  auto bytes = [](const std::string& s) {
    return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  };
  if (appInfoID_ != 0) {
    sink.ZerosTo(appInfoID_);
    sink.Put(bytes(db.appInfoBlock_));
  }
  if (sortInfoID_ != 0) {
    sink.ZerosTo(sortInfoID_);
    sink.Put(bytes(db.sortInfoBlock_));
  }
  i = 0;
  for (const RecordRef& rec : db.records_) {
    sink.ZerosTo(dataOffsets_[i++]);
    sink.Put(rec->Data());
  }
  sink.ZerosTo(size_);
  sink.Flush();
}

}  // namespace brevora::core
