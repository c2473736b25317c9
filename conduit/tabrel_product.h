#pragma once
// The workbook conduit "Tabulyn" as the framework sees it: its product
// description (TabulynProduct, which the plug-in hands to the framework), the
// converter it calls for linked office files, and how it reads a desktop
// file's header while collecting.
#include <optional>
#include <string>

#include "conduit-framework/product.h"

namespace brevora::tabrel {

inline constexpr const char* kConverterProgId = "TabulynPC.SDK";
inline constexpr const char* kXlsToTbr = "XLSToTBRExt_Sync";
inline constexpr const char* kTbrToXls = "TBRToXLSExt_Sync";
inline constexpr const char* kRefresh = "Refresh";

// Names, codes and classes of the workbook conduit; one for the process.
const conduit::Product& TabulynProduct();

// The modified flag and version of the desktop file `path` and, for versions
// 8 and 9, its link. nullopt when the file can't be read, its first two lines
// are not a modified flag and a version of 0 to 9, or (from version 8 on) its
// header does not hold together (logged).
std::optional<conduit::DesktopHeader> ReadWorkbookHeader(const std::string& path);

}  // namespace brevora::tabrel
