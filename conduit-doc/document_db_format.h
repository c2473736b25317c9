#pragma once
// The handheld document database as the document conduit reads and writes it
// (type "zIZU", creator "Scrv", database version 5). Numbers are big-endian.
//
// Application-info block, 1020 bytes:
//   0     2  document version (5 when created)
//   2    32  first name, NUL-terminated
//   34   32  second name, NUL-terminated
//   66  320  reserved
//   386   2  info word A
//   388   2  info word B
//   390 363  reserved
//   753   1  modified flag
//   754   1  server-sync flag
//   755   1  reserved
//   756 256  linked office file path, NUL-terminated
//   1012  2  link sync method
//   1014  2  link option
//   1016  4  link date (seconds since 1899-12-30, local time)
// Older blocks of 400 and 636 bytes hold the same fields at other offsets
// (kOldBlocks); they are read into the 1020-byte layout, marked modified.
//
// Records, each carrying the document's category:
//   record 0        the document header: 16 bytes, then a 2-byte uncompressed
//                   size per text record
//   records 1..N    the text, at most 3,072 bytes each before compression,
//                   PalmDOC-compressed when the header's compression byte is 2
//   image list      2 bytes: 2, the number of pictures       (after the text)
//   image data      36-byte chunk header, then at most 62,000 bytes of a
//                   picture's bitmap file image
//   bookmarks       20 bytes each: a 16-byte name, a 4-byte text position
// Every record after the text that is exactly 20 bytes long is a bookmark.
//
// Document header (record 0):
//   0  1  editable flag        1 or 0
//   1  1  compression          2 compressed, anything else stored plain
//   2  1  mode byte            carried to and from the desktop file
//   3  1  the constant 3
//   4  4  text length          the sum of the uncompressed sizes
//   8  2  number of text records N
//   10 2  record size          3072
//   12 4  position             carried to and from the desktop file
//   16 2N uncompressed size of each text record
//
// Image data chunk header (36 bytes):
//   0  1  3
//   1 32  the picture's file name, at most 31 bytes, NUL-padded
//   33 1  the chunk's index within the picture, from 0
//   34 2  the picture's number of chunks
// A picture's bitmap file image is a Windows bitmap file of 16 bits per pixel
// (5-6-5, bit fields), rows bottom-up, each padded to a multiple of 4 bytes:
//   0  2  "BM"          2  4  file size       6 4  0        10 4  66
//   14 40 info header: 40, width, height, 1 plane, 16 bits, 3 (bit fields),
//         row size x height, then 16 bytes of 0
//   54 12 the masks 0xF800, 0x07E0, 0x001F          66 the rows
// (little-endian, as in any bitmap file).
#include <cstddef>
#include <cstdint>

#include "doc/handheld_format.h"

namespace brevora::scriv_format {

using doc::handheld_format::kDocCreator;
using doc::handheld_format::kDocType;
inline constexpr uint16_t kDatabaseVersion = 5;

// Application-info block.
inline constexpr std::size_t kBlockSize = 1020;
inline constexpr uint16_t kDocumentVersion = 5;
inline constexpr std::size_t kVersionOffset = 0;
inline constexpr std::size_t kFirstNameOffset = 2;
inline constexpr std::size_t kSecondNameOffset = 34;
inline constexpr std::size_t kNameSize = 32;
inline constexpr std::size_t kMaxNameLength = kNameSize - 1;
inline constexpr std::size_t kWordAOffset = 386;
inline constexpr std::size_t kWordBOffset = 388;
inline constexpr std::size_t kModifiedOffset = 753;
inline constexpr std::size_t kServerSyncOffset = 754;
inline constexpr std::size_t kLinkPathOffset = 756;
inline constexpr std::size_t kLinkPathSize = 256;
inline constexpr std::size_t kMaxLinkPathLength = kLinkPathSize - 1;
inline constexpr std::size_t kLinkMethodOffset = 1012;
inline constexpr std::size_t kLinkOptionOffset = 1014;
inline constexpr std::size_t kLinkDateOffset = 1016;
static_assert(kLinkDateOffset + 4 == kBlockSize);
static_assert(kLinkPathOffset + kLinkPathSize == kLinkMethodOffset);

// Where an older block keeps the fields (the version and the names are where
// they are in the current one).
struct OldBlock {
  std::size_t size;
  std::size_t wordA, wordB, modified, serverSync, linkPath, linkMethod, linkOption, linkDate;
};
inline constexpr OldBlock kOldBlocks[] = {
    {400, 76, 78, 133, 134, 136, 392, 394, 396},
    {636, 194, 196, 369, 370, 372, 628, 630, 632},
};

// Document header record.
using doc::handheld_format::kCompressedFlag;
using doc::handheld_format::kCompressionOffset;
using doc::handheld_format::kEditableOffset;
using doc::handheld_format::kHeaderRecordSize;
using doc::handheld_format::kRecordCountOffset;
using doc::handheld_format::kRecordSizeOffset;
using doc::handheld_format::kSearchModeOffset;
using doc::handheld_format::kTextLengthOffset;
inline constexpr std::size_t kModeOffset = kSearchModeOffset;
inline constexpr std::size_t kConstantOffset = doc::handheld_format::kConstantOffset;
inline constexpr uint8_t kConstant = 3;
inline constexpr std::size_t kPositionOffset = doc::handheld_format::kDatabaseValueOffset;
inline constexpr std::size_t kSizeTableOffset = kHeaderRecordSize;

// Text records.
inline constexpr std::size_t kTextRecordSize = 3072;
// The room an expanded record is given; more than kTextRecordSize is refused.
inline constexpr std::size_t kExpansionRoom = 3840;

// Bookmark records.
using doc::handheld_format::kBookmarkNameSize;
using doc::handheld_format::kBookmarkOffsetOffset;
using doc::handheld_format::kBookmarkRecordSize;

// Image records.
inline constexpr uint8_t kImageListMark = 2;
inline constexpr std::size_t kImageListSize = 2;
inline constexpr std::size_t kMaxPictures = 255;
inline constexpr uint8_t kImageChunkMark = 3;
inline constexpr std::size_t kChunkNameOffset = 1;
inline constexpr std::size_t kChunkNameSize = 32;
inline constexpr std::size_t kMaxPictureNameLength = kChunkNameSize - 1;
inline constexpr std::size_t kChunkIndexOffset = 33;
inline constexpr std::size_t kChunkCountOffset = 34;
inline constexpr std::size_t kChunkHeaderSize = 36;
inline constexpr std::size_t kMaxChunkData = 62000;
inline constexpr std::size_t kMaxChunks = 256;
static_assert(kChunkCountOffset + 2 == kChunkHeaderSize);

// The bitmap file image of a picture.
inline constexpr std::size_t kBitmapFileHeaderSize = 14;
inline constexpr std::size_t kBitmapInfoHeaderSize = 40;
inline constexpr std::size_t kBitmapMasksSize = 12;
inline constexpr std::size_t kBitmapBitsOffset =
    kBitmapFileHeaderSize + kBitmapInfoHeaderSize + kBitmapMasksSize;
inline constexpr uint16_t kBitmapBitsPerPixel = 16;
inline constexpr uint32_t kBitmapBitFields = 3;
inline constexpr uint32_t kRedMask = 0xF800;
inline constexpr uint32_t kGreenMask = 0x07E0;
inline constexpr uint32_t kBlueMask = 0x001F;
static_assert(kBitmapBitsOffset == 66);

}  // namespace brevora::scriv_format
