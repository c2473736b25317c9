#pragma once
// One hive in memory: a tree of keys, each with its values in stored order.
// Names are code-page strings, looked up without regard to case and kept with
// the case they were created with.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/registry/registry.h"

namespace brevora::registry {

struct KeyNode {
  std::string name;
  std::vector<std::pair<std::string, Value>> values;
  std::vector<KeyNode> children;

  const KeyNode* Child(std::string_view childName) const;
  KeyNode* Child(std::string_view childName);
  KeyNode& ChildOrAdd(std::string_view childName);
  // Removes a child with its sub-keys; false when absent.
  bool RemoveChild(std::string_view childName);

  const Value* FindValue(std::string_view valueName) const;
  // Sets a value, keeping the stored name's case when it exists; false when the
  // value was already exactly this.
  bool SetValue(std::string_view valueName, const Value& value);
  bool RemoveValue(std::string_view valueName);
};

// The deepest key below a hive's root (as on Windows). The tree code recurses
// per level and a hive file writes every key's whole path, so the reader refuses
// deeper paths (32759) and the writes refuse them (5).
inline constexpr size_t kMaxKeyDepth = 512;

// The parts of a key path ("Software\\Orvanex\\Tabulyn"); empty parts are skipped.
std::vector<std::string> SplitKeyPath(std::string_view path);

const KeyNode* FindKey(const KeyNode& root, const std::vector<std::string>& path);
KeyNode* FindKey(KeyNode& root, const std::vector<std::string>& path);
KeyNode& FindOrCreateKey(KeyNode& root, const std::vector<std::string>& path);
// Removes the key at `path` (not the root); false when absent.
bool RemoveKey(KeyNode& root, const std::vector<std::string>& path);

}  // namespace brevora::registry
