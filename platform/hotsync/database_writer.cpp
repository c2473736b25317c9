#include "platform/hotsync/database_writer.h"

#include <algorithm>
#include <utility>

#include "platform/bytes/big_endian.h"
#include "platform/error/error.h"
#include "platform/hotsync/database_format.h"

namespace brevora::hotsync {
namespace {

namespace fmt = database_format;

// Gathers small pieces into one buffer so that the sink gets few large writes;
// a piece as large as the buffer goes out directly.
class ChunkedOutput {
 public:
  explicit ChunkedOutput(const std::function<void(std::span<const uint8_t>)>& sink) : sink_(sink) {
    buffer_.reserve(kChunk);
  }
  void Put(std::span<const uint8_t> bytes) {
    if (buffer_.size() + bytes.size() > kChunk) Flush();
    if (bytes.size() >= kChunk) {
      sink_(bytes);
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
    if (!buffer_.empty()) sink_(buffer_);
    written_ += buffer_.size();
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kChunk = 256 * 1024;
  const std::function<void(std::span<const uint8_t>)>& sink_;
  std::vector<uint8_t> buffer_;
  uint64_t written_ = 0;
};

}  // namespace

DatabaseWriter::DatabaseWriter(const DatabaseHeader& header, std::span<const uint8_t> appInfo,
                               std::span<const uint8_t> sortInfo, std::vector<Record> records,
                               Placement placement)
    : header_(header), appInfo_(appInfo), sortInfo_(sortInfo), records_(std::move(records)) {
  const std::size_t n = records_.size();
  if (n > fmt::kMaxRecords) RaiseRuntimeError(6);

  uint64_t offset = fmt::DataAreaOffset(n);
  uint64_t end = fmt::kHeaderSize;  // an empty database is the header alone
  auto place = [&](std::span<const uint8_t> block) -> uint64_t {
    if (block.empty()) return 0;
    const uint64_t at = offset;
    end = at + block.size();
    offset = placement == Placement::Aligned ? fmt::AlignUp(end) : end;
    return at;
  };
  const uint64_t appInfoID = place(appInfo_);
  const uint64_t sortInfoID = place(sortInfo_);

  dataOffsets_.reserve(n);
  for (const Record& r : records_) {
    if (offset > UINT32_MAX) RaiseRuntimeError(6);
    dataOffsets_.push_back(static_cast<uint32_t>(offset));
    offset += r.data.size();
    end = offset;
  }
  if (end > UINT32_MAX) RaiseRuntimeError(6);
  header_.appInfoID = static_cast<uint32_t>(appInfoID);
  header_.sortInfoID = static_cast<uint32_t>(sortInfoID);
  header_.numRecords = static_cast<uint16_t>(n);
  size_ = end;
}

void DatabaseWriter::WriteTo(const std::function<void(std::span<const uint8_t>)>& sink) const {
  ChunkedOutput out(sink);
  const DatabaseHeader& h = header_;
  uint8_t header[fmt::kHeaderSize] = {};
  std::copy(h.name.begin(), h.name.end(), header + fmt::kNameOffset);
  bytes::StoreBigEndian16(header + fmt::kAttributesOffset, h.attributes);
  bytes::StoreBigEndian16(header + fmt::kVersionOffset, h.version);
  bytes::StoreBigEndian32(header + fmt::kCreationDateOffset, h.creationDate);
  bytes::StoreBigEndian32(header + fmt::kModificationDateOffset, h.modificationDate);
  bytes::StoreBigEndian32(header + fmt::kLastBackupDateOffset, h.backupDate);
  bytes::StoreBigEndian32(header + fmt::kModificationNumberOffset, h.modificationNumber);
  bytes::StoreBigEndian32(header + fmt::kAppInfoIDOffset, h.appInfoID);
  bytes::StoreBigEndian32(header + fmt::kSortInfoIDOffset, h.sortInfoID);
  std::copy(h.type.begin(), h.type.end(), header + fmt::kTypeOffset);
  std::copy(h.creator.begin(), h.creator.end(), header + fmt::kCreatorOffset);
  bytes::StoreBigEndian32(header + fmt::kUniqueIDSeedOffset, h.uniqueIDSeed);
  bytes::StoreBigEndian32(header + fmt::kNextRecordListIDOffset, h.nextRecordListID);
  bytes::StoreBigEndian16(header + fmt::kNumRecordsOffset, h.numRecords);
  out.Put(header);

  for (std::size_t i = 0; i < records_.size(); ++i) {
    uint8_t entry[fmt::kEntrySize];
    bytes::StoreBigEndian32(entry + fmt::kEntryDataOffset, dataOffsets_[i]);
    entry[fmt::kEntryAttributes] = records_[i].attributes;
    bytes::StoreBigEndian24(entry + fmt::kEntryUniqueID, records_[i].uniqueID & fmt::kMaxUniqueID);
    out.Put(entry);
  }
  // Zero bytes (filler, alignment) before each block and the records' data.
  if (h.appInfoID != 0) {
    out.ZerosTo(h.appInfoID);
    out.Put(appInfo_);
  }
  if (h.sortInfoID != 0) {
    out.ZerosTo(h.sortInfoID);
    out.Put(sortInfo_);
  }
  for (std::size_t i = 0; i < records_.size(); ++i) {
    out.ZerosTo(dataOffsets_[i]);
    out.Put(records_[i].data);
  }
  out.ZerosTo(size_);
  out.Flush();
}

std::vector<uint8_t> DatabaseWriter::Bytes() const {
  std::vector<uint8_t> bytes;
  bytes.reserve(static_cast<std::size_t>(size_));
  WriteTo([&](std::span<const uint8_t> piece) {
    bytes.insert(bytes.end(), piece.begin(), piece.end());
  });
  return bytes;
}

}  // namespace brevora::hotsync
