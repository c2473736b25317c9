#pragma once
// REGEDIT4 text, the form of the hive files and of test fixtures:
//
//   REGEDIT4
//
//   [HKEY_CURRENT_USER\Software\Orvanex]
//   "HomePath"="C:\\Palm"          strings escape '\' and '"'
//   @="default value"
//   "CellWarn"=dword:000005dc
//   "Data"=hex:01,02,ff            binary; long lists continue after ",\" on the next line
//   "Path"=hex(2):25,00,...        expandable string, UTF-16LE with a terminating zero
//   "Lines"=hex(1):61,00,...       string (used for strings holding line breaks)
//   "Old"=-                        deletes the value
//   [-HKEY_CURRENT_USER\Software\Gone]   deletes the key
//
// The text is UTF-8; names and strings are code-page strings in memory. The
// parser is strict: anything it does not understand raises AutomationError 32759
// "<origin>, line <n>: <reason>", so a damaged file is reported and never taken
// for an empty one.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/key_tree.h"
#include "platform/registry/registry.h"

namespace brevora::registry {

inline constexpr int32_t kRegistryError = 32759;

struct RegeditEntry {
  std::string name;            // "" for the default value (@)
  std::optional<Value> value;  // nullopt: delete the value
};

struct RegeditSection {
  int line = 0;
  bool remove = false;  // [-Key]
  Hive hive = Hive::CurrentUser;
  std::vector<std::string> path;
  std::vector<RegeditEntry> entries;
};

const char* HiveName(Hive hive);

// Parses REGEDIT4 text; `origin` names it in error messages (a file path).
std::vector<RegeditSection> ParseRegedit(std::string_view utf8, std::string_view origin);

// Applies the sections of `hive` to its tree in order (the others are skipped).
// Raises 32759 for a section that deletes the hive's root.
void ApplySections(KeyNode& root, Hive hive, const std::vector<RegeditSection>& sections,
                   std::string_view origin);

// The hive as REGEDIT4 text: every key as a section (so empty keys persist),
// parents before children, values in stored order.
std::string WriteRegedit(const KeyNode& root, Hive hive);

}  // namespace brevora::registry
