#include "conduit-doc/text_header.h"

#include "conduit-doc/document_db_format.h"
#include "platform/bytes/big_endian.h"

namespace brevora::scriv {
namespace {

namespace fmt = scriv_format;

}  // namespace

bool TextHeader::compressed() const { return compression == fmt::kCompressedFlag; }

std::optional<TextHeader> TextHeader::Parse(std::span<const uint8_t> record, uint32_t recordCount,
                                            std::string& problem) {
  if (record.size() < fmt::kHeaderRecordSize) {
    problem = "its document header (record 0) is " + std::to_string(record.size()) +
              " bytes long, too short.";
    return std::nullopt;
  }
  const uint8_t* p = record.data();
  TextHeader h;
  h.editable = p[fmt::kEditableOffset];
  h.compression = p[fmt::kCompressionOffset];
  h.mode = p[fmt::kModeOffset];
  h.textLength = bytes::LoadBigEndian32(p + fmt::kTextLengthOffset);
  h.position = bytes::LoadBigEndian32(p + fmt::kPositionOffset);
  const uint32_t count = bytes::LoadBigEndian16(p + fmt::kRecordCountOffset);
  if (record.size() != fmt::kHeaderRecordSize + 2 * std::size_t{count}) {
    problem = "its document header (record 0) is " + std::to_string(record.size()) +
              " bytes long for " + std::to_string(count) + " text records.";
    return std::nullopt;
  }
  if (recordCount == 0 || count > recordCount - 1) {
    problem = "its document header names " + std::to_string(count) +
              " text records, but the database holds " +
              std::to_string(recordCount == 0 ? 0 : recordCount - 1) + " records after it.";
    return std::nullopt;
  }
  h.sizes.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint16_t size = bytes::LoadBigEndian16(p + fmt::kSizeTableOffset + 2 * i);
    if (size > fmt::kTextRecordSize) {
      problem = "its document header gives text record " + std::to_string(i + 1) + " a size of " +
                std::to_string(size) + " bytes, more than 3072.";
      return std::nullopt;
    }
    h.sizes.push_back(size);
  }
  return h;
}

std::vector<uint8_t> TextHeader::Bytes() const {
  std::vector<uint8_t> out(fmt::kHeaderRecordSize + 2 * sizes.size());
  uint8_t* p = out.data();
  p[fmt::kEditableOffset] = editable;
  p[fmt::kCompressionOffset] = compression;
  p[fmt::kModeOffset] = mode;
  p[fmt::kConstantOffset] = fmt::kConstant;
  bytes::StoreBigEndian32(p + fmt::kTextLengthOffset, textLength);
  bytes::StoreBigEndian16(p + fmt::kRecordCountOffset, static_cast<uint16_t>(sizes.size()));
  bytes::StoreBigEndian16(p + fmt::kRecordSizeOffset, static_cast<uint16_t>(fmt::kTextRecordSize));
  bytes::StoreBigEndian32(p + fmt::kPositionOffset, position);
  for (std::size_t i = 0; i < sizes.size(); ++i)
    bytes::StoreBigEndian16(p + fmt::kSizeTableOffset + 2 * i, sizes[i]);
  return out;
}

}  // namespace brevora::scriv
