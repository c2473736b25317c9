#pragma once
// The presentation database, described once for the reader, the writer and the
// tests. A presentation is a handheld database (platform/hotsync/database_format.h) of type
// "Spdb" and creator "Sldr". Numbers are unsigned and big-endian; text is
// code-page bytes. Offsets below count from 0 (the first byte of the block or
// record).
//
// Application-info block (272 bytes):
//   0   2    format version, always 1
//   2   1    modified flag (1 or 0)
//   3   1    reserved, written 0, ignored when read
//   4   256  linked PowerPoint file name, NUL-padded (at least one NUL)
//   260 2    link sync method (0-3)
//   262 2    link sync option (0-3)
//   264 4    linked file's modification time in whole seconds
//   268 4    reserved field, carried unchanged
//
// Records: a 2-byte type, then (for every type but 0) a 2-byte slide number.
//   0 info            count (2), presentation name, NUL
//   1 slide picture   part 0: byte 0, compression (1), slide ID (2)
//                     part p>=1: byte p, then up to 62,000 bytes of the PNG file
//   2 outline line    SeqNum, Section, HierLevel, bullet, 0, 0 (1 each), text, NUL
//   3 note            modification time (4, handheld seconds), text with LF line ends, NUL
//   5 thumbnail       compression (2, not read back), the whole PNG file (< 32,768 bytes)
//   8 large picture   as type 1, with the large picture's compression, ID and file
// Every record has attribute byte 8 and unique id 1, 2, 3... in writing order.
// Annotations are not stored.
#include <cstddef>
#include <cstdint>

namespace brevora::slides::presentation_format {

inline constexpr const char* kType = "Spdb";
inline constexpr const char* kCreator = "Sldr";
inline constexpr int32_t kDatabaseAttributes = 8;
inline constexpr uint8_t kRecordAttributes = 8;

// Application-info block.
inline constexpr std::size_t kAppInfoSize = 272;
inline constexpr std::size_t kFormatVersionOffset = 0;
inline constexpr std::size_t kModifiedOffset = 2;
inline constexpr std::size_t kReservedByteOffset = 3;
inline constexpr std::size_t kLinkNameOffset = 4;
inline constexpr std::size_t kLinkNameSize = 256;
inline constexpr std::size_t kSyncMethodOffset = 260;
inline constexpr std::size_t kSyncOptionOffset = 262;
inline constexpr std::size_t kLinkTimeOffset = 264;
inline constexpr std::size_t kReservedFieldOffset = 268;
inline constexpr std::size_t kReservedFieldSize = 4;
inline constexpr uint16_t kFormatVersion = 1;
// The longest link name the field holds with its NUL; a longer one is refused.
inline constexpr std::size_t kMaxStoredLinkName = kLinkNameSize - 1;

// Record types.
enum RecordType : uint16_t {
  kInfoRecord = 0,
  kSlidePictureRecord = 1,
  kOutlineRecord = 2,
  kNoteRecord = 3,
  kThumbnailRecord = 5,
  kVantaPictureRecord = 8,
};

inline constexpr std::size_t kTypeSize = 2;
inline constexpr std::size_t kRecordHeaderSize = 4;       // type, slide number
inline constexpr std::size_t kInfoHeaderSize = 4;         // type, count
inline constexpr std::size_t kPictureHeaderSize = 8;      // part 0
inline constexpr std::size_t kPicturePartHeaderSize = 5;  // part p >= 1
inline constexpr std::size_t kPartOffset = 4;
inline constexpr std::size_t kPictureCompressionOffset = 5;
inline constexpr std::size_t kPictureIdOffset = 6;
inline constexpr std::size_t kMaxPartBytes = 62000;
inline constexpr std::size_t kOutlineHeaderSize = 10;  // text follows
inline constexpr std::size_t kNoteHeaderSize = 8;      // text follows
inline constexpr std::size_t kNoteTimeOffset = 4;
inline constexpr std::size_t kThumbnailHeaderSize = 6;  // PNG follows
inline constexpr std::size_t kMaxThumbnailBytes = 32767;

// Slide numbers and IDs are stored as 2 bytes but kept to 0..32767;
// SeqNum, Section, HierLevel, bullet and compression to one byte.
inline constexpr int32_t kMaxSlideNumber = 32767;
inline constexpr int32_t kMaxByteField = 255;

// Names of the unpacked pictures in the image folder, followed by the slide
// number in decimal and ".PNG".
inline constexpr const char* kSlidePictureName = "slide";
inline constexpr const char* kThumbnailName = "slideThumb";
inline constexpr const char* kVantaPictureName = "slideVanta";
inline constexpr const char* kPictureExtension = ".PNG";
// The image folder is the database path without its extension and this suffix.
inline constexpr const char* kImageFolderSuffix = "img/";

// The number of picture parts of a file of `length` bytes.
constexpr std::size_t PartCount(std::size_t length) {
  return (length + kMaxPartBytes - 1) / kMaxPartBytes;
}

static_assert(kReservedFieldOffset + kReservedFieldSize == kAppInfoSize);
static_assert(kLinkNameOffset + kLinkNameSize == kSyncMethodOffset);
static_assert(PartCount(0) == 0 && PartCount(62000) == 1 && PartCount(62001) == 2);

}  // namespace brevora::slides::presentation_format
