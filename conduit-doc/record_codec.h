#pragma once
// The compression of text records: the support library's PalmDOC codec
// (CompressString, DecompressString), bounded to the document's records.
//   CompressRecord: any bytes (NUL included) to their compressed form; the
//     output is given room for the worst case, so it never fails. A carriage
//     return comes back from the expansion as a line feed.
//   DecompressRecord: a record from the handheld to its text; nullopt when the
//     record is malformed or its text is longer than a text record may be
//     (3,072 bytes). The expansion never runs past its buffer.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace brevora::scriv {

std::vector<uint8_t> CompressRecord(std::span<const uint8_t> text);
// The same into `buffer` (reused from call to call); the result lies in it.
std::span<const uint8_t> CompressRecord(std::span<const uint8_t> text,
                                        std::vector<uint8_t>& buffer);
std::optional<std::vector<uint8_t>> DecompressRecord(std::span<const uint8_t> record);

}  // namespace brevora::scriv
