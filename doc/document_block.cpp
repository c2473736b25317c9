#include "doc/document_block.h"

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"

namespace brevora::doc {

namespace {
const ClassRegistration registration(DocumentBlock::kProgId, DocumentBlock::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<DocumentBlock>()); });
}

const MemberTable<DocumentBlock>& DocumentBlock::Members() {
  using M = CallKind;
  using B = DocumentBlock;
  static const MemberTable<DocumentBlock> table{
      {"Key", M::Get, [](B& b, Args) { return Variant(b.Key()); }},
      {"Key", M::Let, [](B& b, Args a) { b.SetKey(CStr(a[0])); }},
      {"Text", M::Get, [](B& b, Args) { return Variant(b.Text()); }},
      {"Text", M::Let, [](B& b, Args a) { b.SetText(CStr(a[0])); }}};
  return table;
}

DocumentBlock::~DocumentBlock() = default;

}  // namespace brevora::doc
