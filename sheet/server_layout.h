#pragma once
// The shape of a workbook in a server database object of the RivorOdurov host
// (Workbook::WriteToZazerDB), described once for the writer and the tests.
//
// The application-info layout is a comma-separated list of item types, one
// entry per item, items numbered from 0 (WORD 16-bit, DWORD 32-bit, BYTE
// 8-bit, BYTE[n] n bytes). The items follow the handheld database's
// application-info block (sheet/workbook_pdb_format.h) field by field:
//
//   item            type      value
//   0               WORD      32767
//   1..16           BYTE[16]  sheet names of slots 0 to 15 ("Clipboard" first)
//   17..32          BYTE      1 to 16
//   33..36          BYTE, BYTE, WORD, WORD   0
//   37              DWORD     Properties
//   38              DWORD     DefaultFormat
//   39              BYTE[2]   Currency
//   40              WORD      CurrentSheet
//   41 + 51*s + m   WORD      sheet slot s (0..15): m 0..3 Frozen, 4..7 Current,
//                             8 OverflowColumn, 9 Fixed47, 10..49 ColumnWidths
//                             0..39, 50 a 0
//   857, 858        DWORD     0
//   859             BYTE      Category
//   860             BYTE      IsModified
//   861             WORD      0
//   862 + 2*k       DWORD     format word of style slot k (0..15)
//   863 + 2*k       BYTE[16]  name of style slot k
//   894             WORD      Extra
//   895             WORD      0
//   896             BYTE[256] LinkedFileName
//   897, 898        WORD      SyncMethod, SyncOption
//   899             DWORD     LinkedFileTime
//
// A text item is passed as n + 1 bytes (sheet/byte_helpers.h). Each record has
// one item, the cell line (sheet/cell_line.h).
#include <cstddef>
#include <cstdint>
#include <string>

namespace brevora::sheet::server_layout {

inline constexpr const char* kRecordLayout = "STRING";
inline constexpr int16_t kItemCount = 900;
inline constexpr int16_t kSheetSlots = 16;
inline constexpr int16_t kSheetGroupItems = 51;
inline constexpr int16_t kFirstSheetItem = 41;
inline constexpr size_t kNameBytes = 16;
inline constexpr size_t kCurrencyBytes = 2;
inline constexpr size_t kLinkedFileNameBytes = 256;

// The application-info layout of workbook versions 8 and 9; any other version
// raises 0x80040109 "Can only work with Tabulyn 5.0 files.".
std::string AppInfoLayout(int16_t version);

}  // namespace brevora::sheet::server_layout
