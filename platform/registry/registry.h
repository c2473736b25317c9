#pragma once
// The registry: four hives, each one REGEDIT4 text file under
// <ConfigDir>/registry/ (UTF-8 on disk, code-page strings in memory). Key and
// value names are case-insensitive and case-preserving; key paths use '\'.
// Every write takes an exclusive flock on the hive, re-reads it, changes it and
// writes it through a temporary file + rename, so several processes may share it;
// every read sees the file as it is now. A malformed hive file raises
// AutomationError 32759 naming its path and line; it is never silently emptied.
// Key paths are split at '\' (empty parts ignored; "" is the hive's root). Key and
// value names holding control characters, and key paths deeper than
// kMaxKeyDepth (512) levels, are refused on writes with error 5.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace brevora::registry {

enum class Hive { CurrentUser, LocalMachine, Users, ClassesRoot };
enum class ValueType { String, ExpandString, DWord, Binary };

struct Value {
  ValueType type = ValueType::String;
  std::string text;            // String, ExpandString
  uint32_t dword = 0;          // DWord
  std::vector<uint8_t> bytes;  // Binary
  static Value String(std::string s) {
    Value v;
    v.text = std::move(s);
    return v;
  }
  static Value ExpandString(std::string s) {
    Value v;
    v.type = ValueType::ExpandString;
    v.text = std::move(s);
    return v;
  }
  static Value DWord(uint32_t d) {
    Value v;
    v.type = ValueType::DWord;
    v.dword = d;
    return v;
  }
  static Value Binary(std::vector<uint8_t> b) {
    Value v;
    v.type = ValueType::Binary;
    v.bytes = std::move(b);
    return v;
  }
  bool operator==(const Value&) const = default;
};

bool KeyExists(Hive hive, std::string_view key);
void CreateKey(Hive hive, std::string_view key);  // with missing parents
bool DeleteKey(Hive hive, std::string_view key);  // with its sub-keys; false if absent
// The value "name" ("" = the key's default value); nullopt when key or value is missing.
std::optional<Value> QueryValue(Hive hive, std::string_view key, std::string_view name);
void SetValue(Hive hive, std::string_view key, std::string_view name,
              const Value& value);  // creates the key
bool DeleteValue(Hive hive, std::string_view key, std::string_view name);
// Names in stored order; empty when the key is missing.
std::vector<std::string> SubKeys(Hive hive, std::string_view key);
std::vector<std::string> ValueNames(Hive hive, std::string_view key);

// Merges REGEDIT4 text ("REGEDIT4" line, [HKEY_...\Key] sections, "Name"="text",
// "Name"=dword:0000abcd, hex:..., hex(2):..., [-Key] deletes, "Name"=- deletes)
// into the hives. The text is UTF-8, like a .reg file on disk; HKCU, HKLM, HKU and
// HKCR are accepted for the root names. Used to seed tests; raises 32759 with the
// line number on malformed text (nothing of it is applied then).
void ImportRegedit(std::string_view regeditText);

// The per-program settings store (Visual Basic's GetSetting/SaveSetting):
// HKEY_CURRENT_USER\Software\VB and VBA Program Settings\<app>\<section>.
std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue = {});
void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value);
// Deletes the value `key`, or the whole section when `key` is empty; like Visual
// Basic, raises 5 when that setting does not exist. SaveSetting raises 5 for an
// empty app, section or key name.
void DeleteSetting(std::string_view app, std::string_view section, std::string_view key = {});

}  // namespace brevora::registry
