#include "platform/registry/registry.h"

#include "platform/error/error.h"
#include "platform/registry/hive_store.h"
#include "platform/registry/key_tree.h"
#include "platform/registry/regedit_format.h"

namespace brevora::registry {
namespace {

[[noreturn]] void RaiseInvalidArgument() {
  throw AutomationError(5, "Registry", "Invalid procedure call or argument");
}

bool HasControlCharacter(std::string_view name) {
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return true;
  }
  return false;
}

// The parts of a key path that a write may create.
std::vector<std::string> WritablePath(std::string_view key) {
  std::vector<std::string> path = SplitKeyPath(key);
  if (path.size() > kMaxKeyDepth) RaiseInvalidArgument();
  for (const auto& part : path) {
    if (HasControlCharacter(part)) RaiseInvalidArgument();
  }
  return path;
}

}  // namespace

bool KeyExists(Hive hive, std::string_view key) {
  return FindKey(*ReadHive(hive), SplitKeyPath(key)) != nullptr;
}

void CreateKey(Hive hive, std::string_view key) {
  const auto path = WritablePath(key);
  UpdateHive(hive, [&](KeyNode& root) { FindOrCreateKey(root, path); });
}

bool DeleteKey(Hive hive, std::string_view key) {
  const auto path = SplitKeyPath(key);
  if (path.empty()) RaiseInvalidArgument();  // a hive's root stays
  bool removed = false;
  UpdateHive(hive, [&](KeyNode& root) { removed = RemoveKey(root, path); });
  return removed;
}

std::optional<Value> QueryValue(Hive hive, std::string_view key, std::string_view name) {
  const auto tree = ReadHive(hive);
  const KeyNode* node = FindKey(*tree, SplitKeyPath(key));
  if (!node) return std::nullopt;
  const Value* value = node->FindValue(name);
  return value ? std::optional<Value>(*value) : std::nullopt;
}

void SetValue(Hive hive, std::string_view key, std::string_view name, const Value& value) {
  const auto path = WritablePath(key);
  if (HasControlCharacter(name)) RaiseInvalidArgument();
  UpdateHive(hive, [&](KeyNode& root) { FindOrCreateKey(root, path).SetValue(name, value); });
}

bool DeleteValue(Hive hive, std::string_view key, std::string_view name) {
  const auto path = SplitKeyPath(key);
  bool removed = false;
  UpdateHive(hive, [&](KeyNode& root) {
    if (KeyNode* node = FindKey(root, path)) removed = node->RemoveValue(name);
  });
  return removed;
}

std::vector<std::string> SubKeys(Hive hive, std::string_view key) {
  const auto tree = ReadHive(hive);
  std::vector<std::string> names;
  if (const KeyNode* node = FindKey(*tree, SplitKeyPath(key))) {
    for (const auto& child : node->children) names.push_back(child.name);
  }
  return names;
}

std::vector<std::string> ValueNames(Hive hive, std::string_view key) {
  const auto tree = ReadHive(hive);
  std::vector<std::string> names;
  if (const KeyNode* node = FindKey(*tree, SplitKeyPath(key))) {
    for (const auto& entry : node->values) names.push_back(entry.first);
  }
  return names;
}

void ImportRegedit(std::string_view regeditText) {
  const auto sections = ParseRegedit(regeditText, "REGEDIT4 text");
  for (Hive hive : {Hive::CurrentUser, Hive::LocalMachine, Hive::Users, Hive::ClassesRoot}) {
    bool touched = false;
    for (const auto& section : sections) touched = touched || section.hive == hive;
    if (!touched) continue;
    UpdateHive(hive, [&](KeyNode& root) { ApplySections(root, hive, sections, "REGEDIT4 text"); });
  }
}

}  // namespace brevora::registry
