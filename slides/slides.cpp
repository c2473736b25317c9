#include "slides/slides.h"

#include <vector>

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "slides/member_key.h"

namespace brevora::slides {
namespace {

const ClassRegistration kSlides(Slides::kProgId, Slides::kClsid,
                                [] { return Ref<Dispatch>(MakeRef<Slides>()); });

}  // namespace

const MemberTable<Slides>& Slides::Members() {
  using M = CallKind;
  using C = Slides;
  static const MemberTable<Slides> table{
      {"Add", M::Method,
       [](C& c, Args a) { return Variant(c.Add(CInt(a[0]), CInt(a[1]), CStr(a[2]))); }, 3},
      {"Item", M::Method, [](C& c, Args a) { return Variant(c.Item(a[0])); }, 1},
      {"Count", M::Get, [](C& c, Args) { return Variant(c.Count()); }},
      {"Remove", M::Method, [](C& c, Args a) { c.Remove(a[0]); }, 1},
      {"NewEnum", M::Method, [](C& c, Args) { return c.NewEnum(); }}};
  return table;
}

Ref<Slide> Slides::Add(int16_t index, int16_t compression, std::string_view filePath) {
  Ref<Slide> slide = MakeRef<Slide>();
  slide->SetIndex(index);
  slide->SetCompression(compression);
  slide->SetFilePath(std::string(filePath));
  items_.Add(slide, MemberKey(index));
  return slide;
}

Ref<Slide> Slides::FindByIndex(int32_t index) {
  Ref<Slide>* slide = items_.Find(MemberKey(index));
  return slide ? *slide : nullptr;
}

Variant Slides::NewEnum() const {
  std::vector<Variant> members;
  for (const Ref<Slide>& s : items_) members.emplace_back(s);
  return Variant(std::move(members));
}

}  // namespace brevora::slides
