#include "slides/outline.h"

#include <vector>

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "slides/member_key.h"
#include "slides/presentation_writer.h"

namespace brevora::slides {
namespace {

const ClassRegistration kOutline(Outline::kProgId, Outline::kClsid,
                                 [] { return Ref<Dispatch>(MakeRef<Outline>()); });
const ClassRegistration kOutlines(Outlines::kProgId, Outlines::kClsid,
                                  [] { return Ref<Dispatch>(MakeRef<Outlines>()); });

}  // namespace

const MemberTable<Outline>& Outline::Members() {
  using M = CallKind;
  using O = Outline;
  static const MemberTable<Outline> table{
      {"Section", M::Let, [](O& o, Args a) { o.SetSection(CInt(a[0])); }},
      {"Section", M::Get, [](O& o, Args) { return Variant(o.Section()); }},
      {"bullet", M::Get, [](O& o, Args) { return Variant(o.Bullet()); }},
      {"bullet", M::Let, [](O& o, Args a) { o.SetBullet(CInt(a[0])); }},
      {"SeqNum", M::Let, [](O& o, Args a) { o.SetSeqNum(CInt(a[0])); }},
      {"SeqNum", M::Get, [](O& o, Args) { return Variant(o.SeqNum()); }},
      {"Text", M::Let, [](O& o, Args a) { o.SetText(CStr(a[0])); }},
      {"Text", M::Get, [](O& o, Args) { return Variant(o.Text()); }},
      {"HierLevel", M::Let, [](O& o, Args a) { o.SetHierLevel(CInt(a[0])); }},
      {"HierLevel", M::Get, [](O& o, Args) { return Variant(o.HierLevel()); }},
      {"appendText", M::Method, [](O& o, Args a) { o.AppendText(CStr(a[0])); }, 1}};
  return table;
}

void Outline::WriteRecord(PresentationWriter& writer, int32_t slideIndex) const {
  writer.AddOutline(slideIndex, {seqNum_, section_, hierLevel_, bullet_, text_});
}

const MemberTable<Outlines>& Outlines::Members() {
  using M = CallKind;
  using C = Outlines;
  static const MemberTable<Outlines> table{
      {"Add", M::Method,
       [](C& c, Args a) {
         return Variant(c.Add(CInt(a[0]), CInt(a[1]), CInt(a[2]), CInt(a[3]), CStr(a[4])));
       },
       5},
      {"Item", M::Method, [](C& c, Args a) { return Variant(c.Item(a[0])); }, 1},
      {"Count", M::Get, [](C& c, Args) { return Variant(c.Count()); }},
      {"Remove", M::Method, [](C& c, Args a) { c.Remove(a[0]); }, 1},
      {"NewEnum", M::Method, [](C& c, Args) { return c.NewEnum(); }}};
  return table;
}

Outlines::Outlines() { items_.Add(MakeRef<Outline>(), MemberKey(0)); }

Ref<Outline> Outlines::Add(int16_t seqNum, int16_t section, int16_t hierLevel, int16_t bullet,
                           std::string_view text) {
  if (hierLevel != 0 || items_.Count() == 0) {
    Ref<Outline> line = MakeRef<Outline>();
    line->SetSeqNum(seqNum);
    line->SetSection(section);
    line->SetHierLevel(hierLevel);
    line->SetBullet(bullet);
    line->SetText(std::string(text));
    items_.Add(line, MemberKey(seqNum));
    return line;
  }
  Ref<Outline> title = items_.Item(1);
  title->SetSection(0);
  title->SetSeqNum(0);
  title->SetBullet(bullet);
  title->SetText(std::string(text));
  title->SetHierLevel(0);
  return title;
}

Variant Outlines::NewEnum() const {
  std::vector<Variant> members;
  for (const Ref<Outline>& o : items_) members.emplace_back(o);
  return Variant(std::move(members));
}

}  // namespace brevora::slides
