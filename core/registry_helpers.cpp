#include "core/registry_helpers.h"

#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::core {
namespace {

using registry::Hive;
using registry::ValueType;

// The string value, or "" when the key or value is missing or not a string.
std::string ReadString(const char* source, Hive root, std::string_view keyPath,
                       std::string_view valueName) {
  try {
    const auto value = registry::QueryValue(root, keyPath, valueName);
    if (!value || (value->type != ValueType::String && value->type != ValueType::ExpandString)) {
      return {};
    }
    return value->text;
  } catch (...) {
    throw Wrap32760(CurrentError(), source, "Error getting registry string.");
  }
}

}  // namespace

std::string GetRegistryString(std::string_view keyPath, std::string_view valueName, Hive root) {
  return ReadString("GetRegistryString", root, keyPath, valueName);
}

std::string GetRegistryStringEx(Hive root, std::string_view keyPath, std::string_view valueName,
                                std::optional<Hive> secondRoot) {
  return ReadString("GetRegistryStringEx", secondRoot.value_or(root), keyPath, valueName);
}

void SetRegistryString(std::string_view keyPath, std::string_view valueName, const Variant& value) {
  constexpr const char* kSource = "SetRegistryString";
  constexpr const char* kMessage = "Could not Set Registry string";
  std::string text;
  try {
    text = CStr(value);
  } catch (...) {
    throw Wrap32760(CurrentError(), kSource, kMessage);
  }
  try {
    registry::SetValue(Hive::CurrentUser, keyPath, valueName,
                       registry::Value::String(std::move(text)));
  } catch (...) {
    throw AutomationError(kWrapError, kSource, kMessage);
  }
}

int32_t GetRegistryWord(std::string_view keyPath, std::string_view valueName,
                        int32_t defaultValue) {
  try {
    const auto value = registry::QueryValue(Hive::CurrentUser, keyPath, valueName);
    if (!value || value->type != ValueType::DWord) return defaultValue;
    return static_cast<int32_t>(value->dword);  // the stored bits, read as signed
  } catch (...) {
    throw Wrap32760(CurrentError(), "GetRegistryWord", "Error setting registry word.");
  }
}

void SetRegistryWord(std::string_view keyPath, std::string_view valueName, std::string_view word) {
  constexpr const char* kSource = "SetRegistryWord";
  int32_t value = 0;
  try {
    value = CLng(Variant(std::string(word)));
  } catch (...) {
    // Not a number (13), or a number no 32-bit word holds (6).
    throw AutomationError(kWrapError, kSource,
                          "SetRegistry Word:  Invalid sWord:" + std::string(word));
  }
  try {
    registry::SetValue(Hive::CurrentUser, keyPath, valueName,
                       registry::Value::DWord(static_cast<uint32_t>(value)));
  } catch (...) {
    throw AutomationError(kWrapError, kSource, "Could not set registry value.");
  }
}

}  // namespace brevora::core
