#include "remote/receiver_settings.h"

#include "platform/registry/registry.h"

namespace brevora::remote {

std::string LoadComPort() {
  const auto value = registry::QueryValue(registry::Hive::CurrentUser, kSettingsKey, kComPortValue);
  if (!value || value->type != registry::ValueType::String) return {};
  return value->text;
}

void SaveComPort(std::string_view port) {
  registry::SetValue(registry::Hive::CurrentUser, kSettingsKey, kComPortValue,
                     registry::Value::String(std::string(port)));
}

StartupAction ParseCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& a : arguments) line += a + " ";
  if (line.find("-start") != std::string::npos) return StartupAction::kStart;
  if (line.find("-stop") != std::string::npos) return StartupAction::kStop;
  return StartupAction::kShow;
}

}  // namespace brevora::remote
