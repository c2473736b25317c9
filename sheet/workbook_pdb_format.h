#pragma once
// The handheld spreadsheet database, described once for its reader, its writer
// and the tests. It is a standard handheld database file
// (platform/hotsync/database_format.h) of type "Data", creator "Zeri", version
// 8 or 9, whose application-info block is the workbook header laid out below
// and whose records are the cell lines (sheet/cell_line.h), one per cell,
// unique ids 1, 2, 3... in writing order.
//
// Application-info block: 2524 bytes, numbers unsigned big-endian (WORD 2 bytes,
// DWORD 4). A fixed text of n bytes holds the text cut to n - 1 characters, then
// stripped of blanks at both ends, NUL-padded to n bytes; the 2-byte currency
// is cut to 2 bytes and may have no NUL.
//
//   offset size      content
//   0      WORD      0x7FFF
//   2      16 x 16   sheet names 0 to 15 (name 0 "Clipboard")
//   258    16 x 1    the values 1 to 16
//   274    1, 1      0, 0
//   276    WORD      0
//   278    WORD      0
//   280    DWORD     Properties
//   284    DWORD     DefaultFormat
//   288    2         Currency
//   290    WORD      CurrentSheet
//   292    16 x 102  sheet entries 0 to 15: Frozen (4 WORDs), Current (4),
//                    OverflowColumn, Fixed47, ColumnWidths 0 to 39, a WORD 0
//   1924   DWORD     0
//   1928   DWORD     0
//   1932   1         Category
//   1933   1         255 when modified, else 0
//   1934   WORD      0
//   1936   16 x 20   style slots 0 to 15: Format (DWORD), Name (fixed text of 16)
//   2256   WORD      Extra
//   2258   WORD      0
//   2260   256       LinkedFileName (fixed text)
//   2516   WORD      SyncMethod
//   2518   WORD      SyncOption
//   2520   DWORD     LinkedFileTime
#include <cstddef>
#include <cstdint>

namespace brevora::sheet::workbook_pdb_format {

inline constexpr const char* kType = "Data";
inline constexpr const char* kCreator = "Zeri";

inline constexpr size_t kAppInfoSize = 2524;
inline constexpr uint16_t kMarker = 0x7FFF;

inline constexpr size_t kMarkerOffset = 0;
inline constexpr size_t kSheetNamesOffset = 2;
inline constexpr size_t kSheetNameSize = 16;
inline constexpr size_t kStoredSheets = 16;  // names and entries 0 to 15
inline constexpr size_t kSheetNumbersOffset = 258;
inline constexpr size_t kPropertiesOffset = 280;
inline constexpr size_t kDefaultFormatOffset = 284;
inline constexpr size_t kCurrencyOffset = 288;
inline constexpr size_t kCurrencySize = 2;
inline constexpr size_t kCurrentSheetOffset = 290;
inline constexpr size_t kSheetParamsOffset = 292;
inline constexpr size_t kSheetParamsSize = 102;
inline constexpr size_t kWidthsPerEntry = 40;
inline constexpr size_t kCategoryOffset = 1932;
inline constexpr size_t kModifiedOffset = 1933;
inline constexpr uint8_t kModifiedByte = 255;
inline constexpr size_t kStylesOffset = 1936;
inline constexpr size_t kStyleSize = 20;
inline constexpr size_t kStyleNameSize = 16;
inline constexpr size_t kExtraOffset = 2256;
inline constexpr size_t kLinkedFileNameOffset = 2260;
inline constexpr size_t kLinkedFileNameSize = 256;
inline constexpr size_t kSyncMethodOffset = 2516;
inline constexpr size_t kSyncOptionOffset = 2518;
inline constexpr size_t kLinkedFileTimeOffset = 2520;

// The only versions of this layout.
inline constexpr bool IsKnownVersion(int version) { return version == 8 || version == 9; }

}  // namespace brevora::sheet::workbook_pdb_format
