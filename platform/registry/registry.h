#pragma once
// The registry: four hives, each one REGEDIT4 text file under
// <ConfigDir>/registry/ (UTF-8 on disk, code-page strings in memory). Key and
// value names are case-insensitive and case-preserving; key paths use '\'.
// Every write takes an exclusive flock on the hive, re-reads it, changes it and
// writes it through a temporary file + rename, so several processes may share it;
// every read sees the file as it is now. A malformed hive file raises
// AutomationError 32759 naming its path and line; it is never silently emptied.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::registry {

enum class Hive { CurrentUser, LocalMachine, Users, ClassesRoot };
enum class ValueType { String, ExpandString, DWord, Binary };

struct Value {
  ValueType type = ValueType::String;
  std::string text;             // String, ExpandString
  uint32_t dword = 0;           // DWord
  std::vector<uint8_t> bytes;   // Binary
  static Value String(std::string s) { Value v; v.text = std::move(s); return v; }
  static Value DWord(uint32_t d) { Value v; v.type = ValueType::DWord; v.dword = d; return v; }
};

bool KeyExists(Hive hive, std::string_view key);
void CreateKey(Hive hive, std::string_view key);              // with missing parents
bool DeleteKey(Hive hive, std::string_view key);              // with its sub-keys; false if absent
// The value "name" ("" = the key's default value); nullopt when key or value is missing.
std::optional<Value> QueryValue(Hive hive, std::string_view key, std::string_view name);
void SetValue(Hive hive, std::string_view key, std::string_view name, const Value& value);  // creates the key
bool DeleteValue(Hive hive, std::string_view key, std::string_view name);
std::vector<std::string> SubKeys(Hive hive, std::string_view key);     // names, in stored order
std::vector<std::string> ValueNames(Hive hive, std::string_view key);  // names, in stored order

// Merges REGEDIT4 text ("REGEDIT4" line, [HKEY_...\Key] sections, "Name"="text",
// "Name"=dword:0000abcd, hex:..., hex(2):..., [-Key] deletes) into the hives.
// Used to seed tests; raises 32759 with the line number on malformed text.
void ImportRegedit(std::string_view regeditText);

// The per-program settings store (Visual Basic's GetSetting/SaveSetting):
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>.
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue = {});
void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value);
void DeleteSetting(std::string_view app, std::string_view section, std::string_view key);

}  // namespace brevora::registry
