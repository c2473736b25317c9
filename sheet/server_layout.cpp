#include "sheet/server_layout.h"

#include "core/module_error.h"
#include "platform/error/error.h"
#include "sheet/workbook_pdb_format.h"

namespace brevora::sheet::server_layout {

namespace {

void Add(std::string& layout, std::string_view entries, int times = 1) {
  for (int i = 0; i < times; ++i) {
    if (!layout.empty()) layout += ',';
    layout += entries;
  }
}

}  // namespace

std::string AppInfoLayout(int16_t version) {
  if (!workbook_pdb_format::IsKnownVersion(version)) {
    core::RaiseModuleError(265, "Can only work with Tabulyn 5.0 files.");
  }
  std::string layout;
  Add(layout, "WORD");
  Add(layout, "BYTE[16]", kSheetSlots);
  Add(layout, "BYTE", kSheetSlots);
  Add(layout, "BYTE,BYTE,WORD");
  Add(layout, "WORD,DWORD,DWORD,BYTE[2],WORD");
  for (int s = 0; s < kSheetSlots; ++s) {
    Add(layout, "WORD", 10);
    Add(layout, "WORD", 40);
    Add(layout, "WORD");
  }
  Add(layout, "DWORD,DWORD,BYTE,BYTE,WORD");
  Add(layout, "DWORD,BYTE[16]", 16);
  Add(layout, "WORD,WORD");
  Add(layout, "BYTE[256],WORD,WORD,DWORD");
  return layout;
}

}  // namespace brevora::sheet::server_layout
