// The per-program settings store on top of HKEY_CURRENT_USER.
#include "platform/error/error.h"
#include "platform/registry/registry.h"

namespace brevora::registry {
namespace {

std::string SectionKey(std::string_view app, std::string_view section) {
  return "Software\\VB and VBA Program Settings\\" + std::string(app) + "\\" + std::string(section);
}

[[noreturn]] void RaiseInvalidArgument() {
  throw AutomationError(5, "", "Invalid procedure call or argument");
}

}  // namespace

std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                       std::string_view defaultValue) {
  if (app.empty() || section.empty() || key.empty()) return std::string(defaultValue);
  auto value = QueryValue(Hive::CurrentUser, SectionKey(app, section), key);
  if (value && (value->type == ValueType::String || value->type == ValueType::ExpandString)) {
    return value->text;
  }
  return std::string(defaultValue);
}

void SaveSetting(std::string_view app, std::string_view section, std::string_view key,
                 std::string_view value) {
  if (app.empty() || section.empty() || key.empty()) RaiseInvalidArgument();
  SetValue(Hive::CurrentUser, SectionKey(app, section), key, Value::String(std::string(value)));
}

void DeleteSetting(std::string_view app, std::string_view section, std::string_view key) {
  if (app.empty() || section.empty()) RaiseInvalidArgument();
  const bool deleted = key.empty() ? DeleteKey(Hive::CurrentUser, SectionKey(app, section))
                                   : DeleteValue(Hive::CurrentUser, SectionKey(app, section), key);
  if (!deleted) RaiseInvalidArgument();
}

}  // namespace brevora::registry
