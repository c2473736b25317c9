#include "platform/hotsync/host/conduit_registry.h"

#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "platform/text/case.h"

namespace brevora::hotsync::host {
namespace {

using registry::Hive;

std::string ConduitsKey() { return std::string(kHotSyncKey) + "\\Conduits"; }
std::string ActionKey(int32_t userId, const std::string& conduit) {
  return std::string(kHotSyncKey) + "\\Actions\\" + std::to_string(userId) + "\\" + conduit;
}

std::optional<std::string> Text(const std::string& key, const char* name) {
  const auto value = registry::QueryValue(Hive::CurrentUser, key, name);
  if (!value || value->type != registry::ValueType::String) return std::nullopt;
  return value->text;
}

std::optional<int32_t> Number(const std::string& key, const char* name) {
  const auto value = registry::QueryValue(Hive::CurrentUser, key, name);
  if (!value || value->type != registry::ValueType::DWord) return std::nullopt;
  return static_cast<int32_t>(value->dword);
}

void SetNumber(const std::string& key, const char* name, const std::optional<int32_t>& number) {
  if (number) {
    registry::SetValue(Hive::CurrentUser, key, name,
                       registry::Value::DWord(static_cast<uint32_t>(*number)));
  } else {
    registry::DeleteValue(Hive::CurrentUser, key, name);
  }
}

// The conduit of the key `name` (as stored), when its values are whole.
std::optional<ConduitRegistration> ReadConduit(const std::string& name);

}  // namespace

std::string RegistrationProblem(const ConduitRegistration& conduit) {
  if (!fs::IsPlainName(conduit.name) || conduit.name.find('\\') != std::string::npos) {
    return "A conduit's name must be a plain name without '\\'.";
  }
  if (conduit.library.empty()) return "A conduit needs its library.";
  if (!fs::IsPlainName(conduit.directory))
    return "A conduit's directory must be a plain folder name.";
  if (conduit.creator.size() != 4) return "A conduit's creator must be four characters.";
  return {};
}

namespace {

std::optional<ConduitRegistration> ReadConduit(const std::string& name) {
  const std::string key = ConduitsKey() + "\\" + name;
  const auto library = Text(key, "Library");
  const auto directory = Text(key, "Directory");
  const auto creator = Text(key, "Creator");
  if (!library || !directory || !creator) return std::nullopt;
  ConduitRegistration conduit{name, *library, *directory, *creator};
  if (!RegistrationProblem(conduit).empty()) return std::nullopt;
  return conduit;
}

}  // namespace

void RegisterConduit(const ConduitRegistration& conduit) {
  const std::string problem = RegistrationProblem(conduit);
  if (!problem.empty()) RaiseError(5, "RegisterConduit", problem);
  const std::string key = ConduitsKey() + "\\" + conduit.name;
  registry::SetValue(Hive::CurrentUser, key, "Library", registry::Value::String(conduit.library));
  registry::SetValue(Hive::CurrentUser, key, "Directory",
                     registry::Value::String(conduit.directory));
  registry::SetValue(Hive::CurrentUser, key, "Creator", registry::Value::String(conduit.creator));
}

std::vector<ConduitRegistration> RegisteredConduits() {
  std::vector<ConduitRegistration> conduits;
  for (const std::string& name : registry::SubKeys(Hive::CurrentUser, ConduitsKey())) {
    if (auto conduit = ReadConduit(name)) conduits.push_back(std::move(*conduit));
  }
  return conduits;
}

std::optional<ConduitRegistration> FindConduit(const std::string& name) {
  for (const std::string& stored : registry::SubKeys(Hive::CurrentUser, ConduitsKey())) {
    if (text::EqualsNoCase(stored, name)) return ReadConduit(stored);
  }
  return std::nullopt;
}

int32_t SyncAction::Next() const { return once ? *once : permanent ? *permanent : 0; }

SyncAction ReadSyncAction(int32_t userId, const std::string& conduit) {
  const std::string key = ActionKey(userId, conduit);
  return {Number(key, "Permanent"), Number(key, "Once"),
          Number(key, "AlternateDesktop").value_or(0) == 1};
}

void WriteSyncAction(int32_t userId, const std::string& conduit, const SyncAction& action) {
  const std::string key = ActionKey(userId, conduit);
  if (!action.permanent && !action.once && !action.alternateDesktop) {
    registry::DeleteKey(Hive::CurrentUser, key);
    return;
  }
  SetNumber(key, "Permanent", action.permanent);
  SetNumber(key, "Once", action.once);
  SetNumber(key, "AlternateDesktop",
            action.alternateDesktop ? std::optional<int32_t>(1) : std::nullopt);
}

}  // namespace brevora::hotsync::host
