#include "doc/document_block_collection.h"

#include "platform/automation/convert.h"

namespace brevora::doc {

const MemberTable<DocumentBlockCollection>& DocumentBlockCollection::Members() {
  using M = CallKind;
  using C = DocumentBlockCollection;
  static const MemberTable<DocumentBlockCollection> table{
      {"Add", M::Method,
       [](C& c, Args a) {
         const std::string collectionKey = a[1].IsMissing() ? std::string() : CStr(a[1]);
         return Variant(Ref<DocumentBlock>(&c.Add(CStr(a[0]), collectionKey)));
       },
       1, 2},
      {"Item", M::Get, [](C& c, Args a) { return Variant(Ref<DocumentBlock>(&c.Item(a[0]))); }, 1},
      {"", M::Get, [](C& c, Args a) { return Variant(Ref<DocumentBlock>(&c.Item(a[0]))); }, 1},
      {"BlockFactor", M::Get, [](C&, Args) { return Variant(BlockFactor()); }},
      {"Count", M::Get, [](C& c, Args) { return Variant(c.Count()); }},
      {"Remove", M::Method, [](C& c, Args a) { c.Remove(a[0]); }, 1},
      {"NewEnum", M::Get, [](C& c, Args) {
         std::vector<Variant> items;
         for (const Ref<DocumentBlock>& block : c) items.emplace_back(block);
         return Variant(std::move(items));
       }}};
  return table;
}

DocumentBlockCollection::~DocumentBlockCollection() = default;

DocumentBlock& DocumentBlockCollection::Add(std::string_view key, std::string_view collectionKey) {
  Ref<DocumentBlock> block = MakeRef<DocumentBlock>();
  block->SetKey(key);
  return *items_.Add(std::move(block), collectionKey);
}

std::vector<std::string_view> DocumentBlockCollection::Texts() const {
  std::vector<std::string_view> texts;
  texts.reserve(static_cast<size_t>(Count()));
  for (const Ref<DocumentBlock>& block : items_) texts.emplace_back(block->Text());
  return texts;
}

}  // namespace brevora::doc
