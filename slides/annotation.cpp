#include "slides/annotation.h"

#include <vector>

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "slides/member_key.h"

namespace brevora::slides {
namespace {

const ClassRegistration kAnnotation(Annotation::kProgId, Annotation::kClsid,
                                    [] { return Ref<Dispatch>(MakeRef<Annotation>()); });
const ClassRegistration kAnnotations(Annotations::kProgId, Annotations::kClsid,
                                     [] { return Ref<Dispatch>(MakeRef<Annotations>()); });

}  // namespace

const MemberTable<Annotation>& Annotation::Members() {
  using M = CallKind;
  static const MemberTable<Annotation> table{
      {"Y", M::Let, [](Annotation& a, Args v) { a.SetY(CLng(v[0])); }},
      {"Y", M::Get, [](Annotation& a, Args) { return Variant(a.Y()); }},
      {"X", M::Let, [](Annotation& a, Args v) { a.SetX(CLng(v[0])); }},
      {"X", M::Get, [](Annotation& a, Args) { return Variant(a.X()); }},
      {"SeqNum", M::Let, [](Annotation& a, Args v) { a.SetSeqNum(CLng(v[0])); }},
      {"SeqNum", M::Get, [](Annotation& a, Args) { return Variant(a.SeqNum()); }}};
  return table;
}

const MemberTable<Annotations>& Annotations::Members() {
  using M = CallKind;
  using C = Annotations;
  static const MemberTable<Annotations> table{
      {"Add", M::Method,
       [](C& c, Args a) { return Variant(c.Add(CLng(a[0]), CLng(a[1]), CLng(a[2]))); }, 3},
      {"Item", M::Method, [](C& c, Args a) { return Variant(c.Item(a[0])); }, 1},
      {"Count", M::Get, [](C& c, Args) { return Variant(c.Count()); }},
      {"Remove", M::Method, [](C& c, Args a) { c.Remove(a[0]); }, 1},
      {"NewEnum", M::Method, [](C& c, Args) { return c.NewEnum(); }}};
  return table;
}

Ref<Annotation> Annotations::Add(int32_t seqNum, int32_t x, int32_t y) {
  Ref<Annotation> a = MakeRef<Annotation>();
  a->SetSeqNum(seqNum);
  a->SetX(x);
  a->SetY(y);
  items_.Add(a, MemberKey(seqNum));
  return a;
}

Variant Annotations::NewEnum() const {
  std::vector<Variant> members;
  for (const Ref<Annotation>& a : items_) members.emplace_back(a);
  return Variant(std::move(members));
}

}  // namespace brevora::slides
