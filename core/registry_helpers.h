#pragma once
// The registry helpers: every setting of the suite is read and written through
// these five procedures, as string values and 32-bit double-word values.
// A missing key or value is an expected case and reads as "" (strings) or the
// caller's default (words); so does a value of another type than the one asked
// for. Strings round-trip whole, at any length, "" included; a double-word
// round-trips all 32 bits (-1 included). Both writers create a missing key.
// Every other failure is raised as AutomationError 32760 with the procedure's
// name as source ("GetRegistryString", "SetRegistryWord", ...).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"
#include "platform/registry/registry.h"

namespace brevora::core {

// The string value `valueName` of `keyPath` under `root` (HKEY_CURRENT_USER by
// default). String and expandable-string values are read as stored (no expansion).
std::string GetRegistryString(std::string_view keyPath, std::string_view valueName,
                              registry::Hive root = registry::Hive::CurrentUser);

// As GetRegistryString under `root`, or under `secondRoot` when that is given.
std::string GetRegistryStringEx(registry::Hive root, std::string_view keyPath,
                                std::string_view valueName,
                                std::optional<registry::Hive> secondRoot = std::nullopt);

// Writes `value` (converted with CStr) as a string value under HKEY_CURRENT_USER,
// creating the key when it is missing.
void SetRegistryString(std::string_view keyPath, std::string_view valueName, const Variant& value);

// The double-word value under HKEY_CURRENT_USER as a signed 32-bit number (the
// stored bits unchanged); `defaultValue` when the key or value is missing.
int32_t GetRegistryWord(std::string_view keyPath, std::string_view valueName, int32_t defaultValue);

// Writes the number in `word` as a double-word value under HKEY_CURRENT_USER
// (stored least significant byte first), creating the key when it is missing.
// `word` is read as Visual Basic reads a number into a Long (blanks around it,
// "&H" hex, halves rounded to even); a text that is no number, or none that
// fits 32 signed bits, is refused with 32760 "SetRegistry Word:  Invalid
// sWord:" followed by the text, and nothing is written.
void SetRegistryWord(std::string_view keyPath, std::string_view valueName, std::string_view word);

}  // namespace brevora::core
