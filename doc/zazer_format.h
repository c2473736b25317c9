#pragma once
// The blocks a document hands to a RivorOdurov server database object
// (Document::WriteToZazerDB). Numbers are big-endian: WORD 2 bytes (the low 16
// bits of the value), DWORD 4 bytes. A text field of size n takes n + 1 bytes:
// the text cut to n characters, blanks trimmed, NUL-padded (markup::FixLength).
//
// Application-info block, 400 bytes:
//   0    2    Version
//   2    32   DocName, size 31, its first text line only
//   34   32   password, size 31
//   66   10   0
//   76   2    reading position (LastReadPos / CursorStartPos)
//   78   2    CursorEndPos
//   80   53   0
//   133  1    1 when modified, else 0
//   134  1    the server-sync flag
//   135  1    0
//   136  256  LinkedDOCFileName, size 255
//   392  2    LinkedDOCSyncMethod
//   394  2    LinkedDOCSyncOption
//   396  4    LinkedDOCFileModDateTime: its decimal text read as an unsigned
//             32-bit number (the whole part)
//
// Header record (record 0), 16 + 2B bytes, B the number of text blocks:
//   0    1    editable flag
//   1    1    compression flag (2 compressed)
//   2    1    search mode
//   3    1    1
//   4    4    text length: the characters of all blocks
//   8    2    B
//   10   2    block size 2048
//   12   4    the handheld database value
//   16   2B   2048 for every block but the last, the last block's length
//
// Text record, one per block: the block's text, PalmDOC-compressed when the
// compression flag is 2. A record is at least as long as the text (L bytes):
// compressed data shorter than that is followed by zeros; compressed data
// longer than that is passed whole.
//
// Bookmark record, one per bookmark: the name, size 15 (16 bytes), then the
// offset as a DWORD.
#include <cstddef>
#include <cstdint>

namespace brevora::doc::zazer_format {

inline constexpr size_t kAppInfoSize = 400;
inline constexpr size_t kNameSize = 31;
inline constexpr size_t kPasswordSize = 31;
inline constexpr size_t kGapAfterPassword = 10;
inline constexpr size_t kGapAfterCursor = 53;
inline constexpr size_t kLinkNameSize = 255;

inline constexpr size_t kHeaderRecordSize = 16;  // the block table follows
inline constexpr uint8_t kHeaderConstant = 1;
inline constexpr int32_t kBlockSize = 2048;
inline constexpr int16_t kCompressedFlag = 2;

inline constexpr size_t kBookmarkNameSize = 15;
inline constexpr size_t kBookmarkRecordSize = 20;

}  // namespace brevora::doc::zazer_format
