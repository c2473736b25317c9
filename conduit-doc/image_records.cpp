#include "conduit-doc/image_records.h"

#include <algorithm>
#include <cassert>

#include "conduit-doc/document_db_format.h"
#include "platform/bytes/big_endian.h"

namespace brevora::scriv {
namespace {

namespace fmt = scriv_format;

void Little16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void Little32(uint8_t* p, uint32_t v) {
  Little16(p, v);
  Little16(p + 2, v >> 16);
}

}  // namespace

std::size_t BitmapStride(uint32_t width) { return (std::size_t{width} * 2 + 3) / 4 * 4; }

std::vector<uint8_t> BitmapFileImage(uint32_t width, uint32_t height,
                                     std::span<const uint8_t> rows) {
  assert(rows.size() == BitmapStride(width) * height);
  std::vector<uint8_t> out(fmt::kBitmapBitsOffset + rows.size());
  uint8_t* p = out.data();
  p[0] = 'B';
  p[1] = 'M';
  Little32(p + 2, static_cast<uint32_t>(out.size()));
  Little32(p + 10, fmt::kBitmapBitsOffset);
  uint8_t* info = p + fmt::kBitmapFileHeaderSize;
  Little32(info, fmt::kBitmapInfoHeaderSize);
  Little32(info + 4, width);
  Little32(info + 8, height);  // positive: the rows run bottom-up
  Little16(info + 12, 1);
  Little16(info + 14, fmt::kBitmapBitsPerPixel);
  Little32(info + 16, fmt::kBitmapBitFields);
  Little32(info + 20, static_cast<uint32_t>(rows.size()));
  uint8_t* masks = info + fmt::kBitmapInfoHeaderSize;
  Little32(masks, fmt::kRedMask);
  Little32(masks + 4, fmt::kGreenMask);
  Little32(masks + 8, fmt::kBlueMask);
  std::copy(rows.begin(), rows.end(), p + fmt::kBitmapBitsOffset);
  return out;
}

std::vector<uint8_t> ImageListRecord(std::size_t count) {
  assert(count <= fmt::kMaxPictures);
  return {fmt::kImageListMark, static_cast<uint8_t>(count)};
}

std::vector<std::vector<uint8_t>> ImageDataRecords(std::string_view name,
                                                   std::span<const uint8_t> bitmap) {
  const std::size_t chunks =
      std::max<std::size_t>(1, (bitmap.size() + fmt::kMaxChunkData - 1) / fmt::kMaxChunkData);
  if (chunks > fmt::kMaxChunks) return {};
  name = name.substr(0, std::min(name.find('\0'), fmt::kMaxPictureNameLength));
  std::vector<std::vector<uint8_t>> records;
  records.reserve(chunks);
  for (std::size_t i = 0; i < chunks; ++i) {
    const std::span<const uint8_t> piece =
        bitmap.subspan(i * fmt::kMaxChunkData,
                       std::min(fmt::kMaxChunkData, bitmap.size() - i * fmt::kMaxChunkData));
    std::vector<uint8_t> record(fmt::kChunkHeaderSize + piece.size());
    record[0] = fmt::kImageChunkMark;
    std::copy(name.begin(), name.end(), record.begin() + fmt::kChunkNameOffset);
    record[fmt::kChunkIndexOffset] = static_cast<uint8_t>(i);
    bytes::StoreBigEndian16(record.data() + fmt::kChunkCountOffset, static_cast<uint16_t>(chunks));
    std::copy(piece.begin(), piece.end(), record.begin() + fmt::kChunkHeaderSize);
    records.push_back(std::move(record));
  }
  return records;
}

}  // namespace brevora::scriv
