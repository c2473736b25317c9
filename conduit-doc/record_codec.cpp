#include "conduit-doc/record_codec.h"

#include <limits>
#include <stdexcept>

#include "conduit-doc/document_db_format.h"
#include "support/tabrelc.h"

namespace brevora::scriv {

std::span<const uint8_t> CompressRecord(std::span<const uint8_t> text,
                                        std::vector<uint8_t>& buffer) {
  // Every byte takes at most two (an escaped literal).
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max() / 2)) {
    throw std::length_error("text record too long to compress");
  }
  if (buffer.size() < text.size() * 2) buffer.resize(text.size() * 2);
  const int32_t n = CompressString(text.data(), static_cast<int32_t>(text.size()), buffer.data(),
                                   static_cast<int32_t>(text.size() * 2));
  if (n < 0) throw std::runtime_error("text record could not be compressed");
  return std::span<const uint8_t>(buffer.data(), static_cast<std::size_t>(n));
}

std::vector<uint8_t> CompressRecord(std::span<const uint8_t> text) {
  std::vector<uint8_t> buffer;
  const auto out = CompressRecord(text, buffer);
  return std::vector<uint8_t>(out.begin(), out.end());
}

std::optional<std::vector<uint8_t>> DecompressRecord(std::span<const uint8_t> record) {
  if (record.size() > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
    return std::nullopt;
  std::vector<uint8_t> out(scriv_format::kExpansionRoom);
  const int32_t n = DecompressString(record.data(), static_cast<int32_t>(record.size()), out.data(),
                                     static_cast<int32_t>(out.size()));
  if (n < 0 || static_cast<std::size_t>(n) > scriv_format::kTextRecordSize) return std::nullopt;
  out.resize(static_cast<std::size_t>(n));
  return out;
}

}  // namespace brevora::scriv
