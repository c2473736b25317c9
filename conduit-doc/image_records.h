#pragma once
// The image records of a handheld document (document_db_format.h) and the
// bitmap file image they carry.
//
//   BitmapFileImage: a 16-bit 5-6-5 bitmap file of `width` x `height` from
//     its rows bottom-up, each `stride` bytes (width x 2 rounded up to a
//     multiple of 4): the 66-byte header, then the rows.
//   ImageListRecord: 2, then the number of pictures (at most 255).
//   ImageDataRecords: a picture's bitmap file image cut into records of a
//     36-byte chunk header and at most 62,000 bytes each, chunk indexes from 0,
//     each header carrying the number of chunks; empty when the picture needs
//     more than 256 records (its chunk index would not fit).
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace brevora::scriv {

std::size_t BitmapStride(uint32_t width);
std::vector<uint8_t> BitmapFileImage(uint32_t width, uint32_t height,
                                     std::span<const uint8_t> rows);
std::vector<uint8_t> ImageListRecord(std::size_t count);
std::vector<std::vector<uint8_t>> ImageDataRecords(std::string_view name,
                                                   std::span<const uint8_t> bitmap);

}  // namespace brevora::scriv
