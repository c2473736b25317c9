#pragma once
// Collection<T>: Visual Basic's keyed collection. Items keep the order they were
// added in (or the place given by before/after); each may have a key, unique
// without regard to case. Item and Remove take a 1-based position or a key.
// Errors: 457 duplicate key, 5 unknown key (or a bad before/after place), 9 a
// position outside 1..Count, 13 a Variant that is neither number nor string.
// Position and key lookups are O(1); Add at the end is O(1); Remove and Add
// with before/after are O(n). Adding or removing while iterating invalidates
// the iteration.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/automation/convert.h"
#include "platform/automation/variant.h"
#include "platform/error/error.h"
#include "platform/text/case.h"

namespace brevora {

template <class T>
class Collection {
  struct Node {
    T item;
    std::string key;  // folded; empty when the item has none
  };
  using Nodes = std::vector<std::unique_ptr<Node>>;

 public:
  template <class It, class V>
  class Iter {
   public:
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using reference = V&;
    Iter() = default;
    explicit Iter(It it) : it_(it) {}
    V& operator*() const { return (*it_)->item; }
    V* operator->() const { return &(*it_)->item; }
    Iter& operator++() {
      ++it_;
      return *this;
    }
    Iter operator++(int) {
      Iter old = *this;
      ++it_;
      return old;
    }
    bool operator==(const Iter& other) const { return it_ == other.it_; }

   private:
    It it_{};
  };
  using iterator = Iter<typename Nodes::iterator, T>;
  using const_iterator = Iter<typename Nodes::const_iterator, const T>;

  Collection() = default;
  Collection(const Collection&) = delete;
  Collection& operator=(const Collection&) = delete;
  Collection(Collection&&) noexcept = default;
  Collection& operator=(Collection&&) noexcept = default;

  // Adds `item` under `key` ("" for none) at the end, or before or after the
  // item named by a position or key (Empty or Missing: not given; both given: 5).
  T& Add(T item, std::string_view key = {}, const Variant& before = {}, const Variant& after = {}) {
    const bool hasBefore = Given(before), hasAfter = Given(after);
    if (hasBefore && hasAfter) RaiseRuntimeError(5);
    size_t at = nodes_.size();
    if (hasBefore) at = PlaceOf(before);
    if (hasAfter) at = PlaceOf(after) + 1;
    std::string folded = text::LCase(key);
    if (!folded.empty() && keys_.count(folded)) RaiseRuntimeError(457);
    auto node = std::make_unique<Node>(Node{std::move(item), std::move(folded)});
    Node* raw = node.get();
    nodes_.insert(nodes_.begin() + static_cast<std::ptrdiff_t>(at), std::move(node));
    if (!raw->key.empty()) {
      try {
        keys_.emplace(raw->key, raw);
      } catch (...) {
        nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(at));
        throw;
      }
    }
    return raw->item;
  }

  int32_t Count() const { return static_cast<int32_t>(nodes_.size()); }

  T& Item(int32_t index) { return nodes_[IndexOf(index)]->item; }
  T& Item(std::string_view key) { return NodeOf(key).item; }
  T& Item(const char* key) { return Item(std::string_view(key)); }
  T& Item(const std::string& key) { return Item(std::string_view(key)); }
  // A String is a key; anything else is converted to a position (CLng).
  T& Item(const Variant& indexOrKey) {
    if (indexOrKey.type() == VarType::String) return Item(std::string_view(indexOrKey.AsString()));
    return Item(CLng(indexOrKey));
  }
  const T& Item(int32_t index) const { return const_cast<Collection*>(this)->Item(index); }
  const T& Item(std::string_view key) const { return const_cast<Collection*>(this)->Item(key); }

  // The item under `key`, or null; never raises.
  T* Find(std::string_view key) {
    auto it = keys_.find(text::LCase(key));
    return it == keys_.end() ? nullptr : &it->second->item;
  }

  // True when an item is stored under `key` (any case).
  bool Contains(std::string_view key) const { return keys_.count(text::LCase(key)) != 0; }

  void Remove(int32_t index) { RemoveAt(IndexOf(index)); }
  void Remove(std::string_view key) {
    Node& node = NodeOf(key);
    for (size_t i = 0; i < nodes_.size(); ++i) {
      if (nodes_[i].get() == &node) return RemoveAt(i);
    }
  }
  void Remove(const char* key) { Remove(std::string_view(key)); }
  void Remove(const std::string& key) { Remove(std::string_view(key)); }
  void Remove(const Variant& indexOrKey) {
    if (indexOrKey.type() == VarType::String)
      return Remove(std::string_view(indexOrKey.AsString()));
    Remove(CLng(indexOrKey));
  }

  iterator begin() { return iterator(nodes_.begin()); }
  iterator end() { return iterator(nodes_.end()); }
  const_iterator begin() const { return const_iterator(nodes_.begin()); }
  const_iterator end() const { return const_iterator(nodes_.end()); }

 private:
  static bool Given(const Variant& v) { return !v.IsEmpty() && !v.IsMissing(); }

  // 0-based slot of a 1-based position; 9 when outside 1..Count.
  size_t IndexOf(int32_t index) const {
    if (index < 1 || index > Count()) RaiseRuntimeError(9);
    return static_cast<size_t>(index - 1);
  }

  Node& NodeOf(std::string_view key) {
    auto it = keys_.find(text::LCase(key));
    if (it == keys_.end()) RaiseRuntimeError(5);
    return *it->second;
  }

  // 0-based slot of the item a before/after argument names; 5 when it names none.
  size_t PlaceOf(const Variant& where) {
    if (where.type() == VarType::String) {
      Node& node = NodeOf(where.AsString());
      for (size_t i = 0; i < nodes_.size(); ++i) {
        if (nodes_[i].get() == &node) return i;
      }
    }
    const int32_t index = CLng(where);
    if (index < 1 || index > Count()) RaiseRuntimeError(5);
    return static_cast<size_t>(index - 1);
  }

  void RemoveAt(size_t i) {
    // Take the item out first: its destructor may run code that looks at this collection.
    std::unique_ptr<Node> node = std::move(nodes_[i]);
    nodes_.erase(nodes_.begin() + static_cast<std::ptrdiff_t>(i));
    if (!node->key.empty()) keys_.erase(node->key);
  }

  Nodes nodes_;
  std::unordered_map<std::string, Node*> keys_;
};

}  // namespace brevora
