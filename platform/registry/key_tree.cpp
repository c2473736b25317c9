#include "platform/registry/key_tree.h"

#include <algorithm>

#include "platform/text/case.h"

namespace brevora::registry {
namespace {

template <class Node>
auto FindChild(Node& node, std::string_view name) -> decltype(&node.children.front()) {
  for (auto& child : node.children) {
    if (text::EqualsNoCase(child.name, name)) return &child;
  }
  return nullptr;
}

template <class Values>
auto FindValueEntry(Values& values, std::string_view name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const auto& entry) { return text::EqualsNoCase(entry.first, name); });
}

}  // namespace

const KeyNode* KeyNode::Child(std::string_view childName) const {
  return FindChild(*this, childName);
}
KeyNode* KeyNode::Child(std::string_view childName) { return FindChild(*this, childName); }

KeyNode& KeyNode::ChildOrAdd(std::string_view childName) {
  if (KeyNode* found = Child(childName)) return *found;
  children.push_back(KeyNode{std::string(childName), {}, {}});
  return children.back();
}

bool KeyNode::RemoveChild(std::string_view childName) {
  auto it = std::find_if(children.begin(), children.end(), [&](const KeyNode& child) {
    return text::EqualsNoCase(child.name, childName);
  });
  if (it == children.end()) return false;
  children.erase(it);
  return true;
}

const Value* KeyNode::FindValue(std::string_view valueName) const {
  auto it = FindValueEntry(values, valueName);
  return it == values.end() ? nullptr : &it->second;
}

bool KeyNode::SetValue(std::string_view valueName, const Value& value) {
  auto it = FindValueEntry(values, valueName);
  if (it == values.end()) {
    values.emplace_back(std::string(valueName), value);
    return true;
  }
  if (it->second == value) return false;
  it->second = value;
  return true;
}

bool KeyNode::RemoveValue(std::string_view valueName) {
  auto it = FindValueEntry(values, valueName);
  if (it == values.end()) return false;
  values.erase(it);
  return true;
}

std::vector<std::string> SplitKeyPath(std::string_view path) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('\\', start);
    if (end == std::string_view::npos) end = path.size();
    if (end > start) parts.emplace_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

const KeyNode* FindKey(const KeyNode& root, const std::vector<std::string>& path) {
  const KeyNode* node = &root;
  for (const auto& part : path) {
    node = node->Child(part);
    if (!node) return nullptr;
  }
  return node;
}

KeyNode* FindKey(KeyNode& root, const std::vector<std::string>& path) {
  return const_cast<KeyNode*>(FindKey(static_cast<const KeyNode&>(root), path));
}

KeyNode& FindOrCreateKey(KeyNode& root, const std::vector<std::string>& path) {
  KeyNode* node = &root;
  for (const auto& part : path) node = &node->ChildOrAdd(part);
  return *node;
}

bool RemoveKey(KeyNode& root, const std::vector<std::string>& path) {
  if (path.empty()) return false;
  KeyNode* parent = FindKey(root, std::vector<std::string>(path.begin(), path.end() - 1));
  return parent && parent->RemoveChild(path.back());
}

}  // namespace brevora::registry
