#pragma once
// The handheld workbook database, described once for the handheld workbook
// classes and the tests: type "Data", creator "Zeri"; its application-info block
// holds the workbook header, every record one cell as a NUL-terminated line of
// text (cell_record.h). Numbers in the block are big-endian, except the words
// marked "raw", which are carried as their two bytes.
//
// Five layouts of the block, by database version:
//   4      968 bytes     5, 6, 7   1748 bytes     8, 9   2524 bytes
// and the block of version 0 (313 bytes), which the version-4 class reads and
// converts into the version-4 layout.
//
//              V4    V5-7  V8/9
//   W          0     0     0       header word
//   16 x 16    2     2     2       sheet names, NUL-terminated, slot 0 first
//   16 x B     258   258   258     sheet IDs
//   B          274   274   274     last sheet ID
//   bytes      275:3 275:5 275:5   reserved (V4: a byte and a raw word)
//   10 x W     278   -     -       workbook-wide column widths (V4)
//   W raw      298   -     -       reserved (V4)
//   D          300   280   280     properties word (V8: bit 13 = server sync)
//   D          304   284   284     default style flags
//   2 bytes    308   288   288     currency character and a second one
//   W          310   290   290     current sheet
//   16 x rec   312   292   292     sheet records (below)
//   2 x D      632   1412  1924    reserved double words
//   B          640   1420  1932    category ID
//   B          641   1421  1933    modified flag (not 0: modified)
//   W raw      642   1422  1934    reserved
//   16 x 20    644   1424  1936    style table: D flags, 16-byte name
//   W          964   1744  2256    user style count
//   2 bytes    966   1746  2258    padding
//   256        -     -     2260    linked office file path, NUL-terminated
//   W, W, D    -     -     2516    link sync method, link option, link date
//
// Sheet records:
//   V4, 20 bytes:   8 setting bytes, D, D, W the setting of 0 to 9 (+16), W raw (+18)
//   V5, 70 bytes:   8 setting words, D (+16), D (+20), W setting (+24),
//                   W default column width (+26), 20 W column widths (+28), W raw (+68)
//   V8, 102 bytes:  8 setting words, W setting (+16), W default width (+18),
//                   40 W column widths (+20), W raw (+100)
// A setting word above 32000 in a V5 or V8 record reads as 1.
//
// Version-0 block (313 bytes): header word, names, IDs and last ID at the same
// offsets as above; 10 W column widths at 280; D properties at 300; B category
// ID at 304; D default style flags at 305; D at 309 (into the V4 block's
// second reserved double word).
#include <cstddef>
#include <cstdint>

namespace brevora::tabrel::workbook_format {

inline constexpr const char* kType = "Data";
inline constexpr const char* kCreator = "Zeri";
inline constexpr uint16_t kNewestVersion = 9;  // every database the conduit writes

inline constexpr std::size_t kSheetSlots = 16;
inline constexpr std::size_t kNameSize = 16;
inline constexpr std::size_t kMaxNameLength = kNameSize - 1;
inline constexpr std::size_t kNamesOffset = 2;
inline constexpr std::size_t kSheetIdsOffset = 258;
inline constexpr std::size_t kLastSheetIdOffset = 274;
inline constexpr std::size_t kSettings = 8;
inline constexpr std::size_t kStyleCount = 16;
inline constexpr std::size_t kStyleSize = 20;
inline constexpr std::size_t kStyleNameSize = 16;
inline constexpr std::size_t kLinkPathSize = 256;
inline constexpr uint16_t kSettingCeiling = 32000;
inline constexpr uint32_t kServerSyncBit = 0x2000;

// Where a sheet record keeps its fields; kNone where it has no such field.
inline constexpr std::size_t kNone = static_cast<std::size_t>(-1);
struct SheetLayout {
  std::size_t size;
  bool byteSettings;    // V4: one byte per setting
  std::size_t doubles;  // two D
  std::size_t setting;  // W, the setting of 0 to 9
  std::size_t defaultWidth;
  std::size_t widths;
  std::size_t widthCount;
  std::size_t lastWord;  // W raw
};

struct BlockLayout {
  std::size_t size;
  std::size_t reserved;  // bytes after the last sheet ID
  std::size_t reservedSize;
  std::size_t columnWidths;  // V4 only: 10 W
  std::size_t properties;
  std::size_t defaultStyleFlags;
  std::size_t currency;
  std::size_t currentSheet;
  std::size_t sheets;
  SheetLayout sheet;
  std::size_t reservedDoubles;
  std::size_t categoryId;
  std::size_t modified;
  std::size_t reservedWord;
  std::size_t styles;
  std::size_t userStyleCount;
  std::size_t linkPath;  // V8 only, and the three link fields after it
  std::size_t linkMethod;
  std::size_t linkOption;
  std::size_t linkDate;
};

inline constexpr std::size_t kV4ColumnWidths = 10;

inline constexpr BlockLayout kV4{
    968, 275, 3,   278, 300, 304, 308,   310,   312,   {20, true, 8, 16, kNone, kNone, 0, 18},
    632, 640, 641, 642, 644, 964, kNone, kNone, kNone, kNone};
inline constexpr BlockLayout kV5{
    1748, 275,  5,    kNone, 280,  284,  288,   290,   292,   {70, false, 16, 24, 26, 28, 20, 68},
    1412, 1420, 1421, 1422,  1424, 1744, kNone, kNone, kNone, kNone};
inline constexpr BlockLayout kV8{
    2524, 275,  5,    kNone, 280,  284,  288,  290,  292,  {102, false, kNone, 16, 18, 20, 40, 100},
    1924, 1932, 1933, 1934,  1936, 2256, 2260, 2516, 2518, 2520};

// The version-0 block.
inline constexpr std::size_t kV0Size = 313;
inline constexpr std::size_t kV0ColumnWidths = 280;
inline constexpr std::size_t kV0Properties = 300;
inline constexpr std::size_t kV0CategoryId = 304;
inline constexpr std::size_t kV0DefaultStyleFlags = 305;
inline constexpr std::size_t kV0Double = 309;

static_assert(kV4.sheets + kSheetSlots * kV4.sheet.size == kV4.reservedDoubles);
static_assert(kV5.sheets + kSheetSlots * kV5.sheet.size == kV5.reservedDoubles);
static_assert(kV8.sheets + kSheetSlots * kV8.sheet.size == kV8.reservedDoubles);
static_assert(kV4.styles + kStyleCount * kStyleSize == kV4.userStyleCount);
static_assert(kV5.styles + kStyleCount * kStyleSize == kV5.userStyleCount);
static_assert(kV8.styles + kStyleCount * kStyleSize == kV8.userStyleCount);
static_assert(kV4.userStyleCount + 4 == kV4.size && kV5.userStyleCount + 4 == kV5.size);
static_assert(kV8.linkDate + 4 == kV8.size);
static_assert(kV5.sheet.widths + 2 * kV5.sheet.widthCount == kV5.sheet.lastWord);
static_assert(kV8.sheet.widths + 2 * kV8.sheet.widthCount == kV8.sheet.lastWord);

}  // namespace brevora::tabrel::workbook_format
