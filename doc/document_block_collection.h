#pragma once
// DocumentBlockCollection: the text blocks of a document, in order (not
// creatable). The document's text is the blocks' Text joined in this order.
// Blocks are found by 1-based position or by the collection key they were
// added under; the keyed collection's errors pass to the caller (5 unknown
// key, 9 position out of range, 457 duplicate key).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "doc/document_block.h"
#include "doc/document_header.h"
#include "platform/automation/collection.h"
#include "platform/automation/member_table.h"

namespace brevora::doc {

class DocumentBlockCollection : public Dispatchable<DocumentBlockCollection> {
 public:
  static const MemberTable<DocumentBlockCollection>& Members();

  // The number of characters per text block.
  static constexpr int32_t BlockFactor() { return kBlockFactor; }

  DocumentBlockCollection() = default;
  ~DocumentBlockCollection() override;

  // A new block whose Key is `key`, added under the collection key `collectionKey`
  // when that is not empty, else without one.
  DocumentBlock& Add(std::string_view key, std::string_view collectionKey = {});
  DocumentBlock& Item(const Variant& indexOrKey) { return *items_.Item(indexOrKey); }
  DocumentBlock& Item(int32_t index) { return *items_.Item(index); }
  int32_t Count() const { return items_.Count(); }
  void Remove(const Variant& indexOrKey) { items_.Remove(indexOrKey); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

  // The blocks' texts in order (views valid while the blocks are unchanged).
  std::vector<std::string_view> Texts() const;

 private:
  Collection<Ref<DocumentBlock>> items_;
};

}  // namespace brevora::doc
