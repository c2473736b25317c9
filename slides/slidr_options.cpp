#include "slides/slidr_options.h"

#include <string>

#include "core/registry_helpers.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"

namespace brevora::slides {
namespace {

const ClassRegistration kRegistration(SlidrOptions::kProgId, SlidrOptions::kClsid,
                                      [] { return Ref<Dispatch>(MakeRef<SlidrOptions>()); });

// The stored number, or the default when it is missing or negative.
int32_t LoadValue(const char* name, int32_t defaultValue) {
  const int32_t value = core::GetRegistryWord(SlidrOptions::kRegistryKey, name, defaultValue);
  return value < 0 ? defaultValue : value;
}

void SaveValue(const char* name, int32_t value) {
  core::SetRegistryWord(SlidrOptions::kRegistryKey, name, std::to_string(value));
}

}  // namespace

const MemberTable<SlidrOptions>& SlidrOptions::Members() {
  using M = CallKind;
  using O = SlidrOptions;
  static const MemberTable<SlidrOptions> table{
      {"DEFAULT_SLIDE_HEIGHT", M::Get, [](O&, Args) { return Variant(DEFAULT_SLIDE_HEIGHT); }},
      {"DEFAULT_SLIDE_DEPTH", M::Get, [](O&, Args) { return Variant(DEFAULT_SLIDE_DEPTH); }},
      {"DEFAULT_VANTA_WIDTH", M::Get, [](O&, Args) { return Variant(DEFAULT_VANTA_WIDTH); }},
      {"DEFAULT_VANTA_HEIGHT", M::Get, [](O&, Args) { return Variant(DEFAULT_VANTA_HEIGHT); }},
      {"DEFAULT_SLIDE_WIDTH", M::Get, [](O&, Args) { return Variant(DEFAULT_SLIDE_WIDTH); }},
      {"DEFAULT_VANTA_DEPTH", M::Get, [](O&, Args) { return Variant(DEFAULT_VANTA_DEPTH); }},
      {"Load", M::Method, [](O& o, Args) { o.Load(); }},
      {"VantaWidth", M::Let, [](O& o, Args a) { o.SetVantaWidth(CLng(a[0])); }},
      {"VantaWidth", M::Get, [](O& o, Args) { return Variant(o.VantaWidth()); }},
      {"VantaHeight", M::Let, [](O& o, Args a) { o.SetVantaHeight(CLng(a[0])); }},
      {"VantaHeight", M::Get, [](O& o, Args) { return Variant(o.VantaHeight()); }},
      {"VantaDepth", M::Let, [](O& o, Args a) { o.SetVantaDepth(CLng(a[0])); }},
      {"VantaDepth", M::Get, [](O& o, Args) { return Variant(o.VantaDepth()); }},
      {"Save", M::Method, [](O& o, Args) { o.Save(); }},
      {"UseVanta", M::Let, [](O& o, Args a) { o.SetUseVanta(CBool(a[0])); }},
      {"UseVanta", M::Get, [](O& o, Args) { return Variant(o.UseVanta()); }},
      {"SlideDepth", M::Let, [](O& o, Args a) { o.SetSlideDepth(CLng(a[0])); }},
      {"SlideDepth", M::Get, [](O& o, Args) { return Variant(o.SlideDepth()); }},
      {"SlideHeight", M::Let, [](O& o, Args a) { o.SetSlideHeight(CLng(a[0])); }},
      {"SlideHeight", M::Get, [](O& o, Args) { return Variant(o.SlideHeight()); }},
      {"SlideWidth", M::Let, [](O& o, Args a) { o.SetSlideWidth(CLng(a[0])); }},
      {"SlideWidth", M::Get, [](O& o, Args) { return Variant(o.SlideWidth()); }}};
  return table;
}

SlidrOptions::SlidrOptions() { Load(); }

void SlidrOptions::Load() {
  slideWidth_ = LoadValue("SlideWidth", DEFAULT_SLIDE_WIDTH);
  slideHeight_ = LoadValue("SlideHeight", DEFAULT_SLIDE_HEIGHT);
  slideDepth_ = LoadValue("BitDepth", DEFAULT_SLIDE_DEPTH);
  vantaWidth_ = LoadValue("VantaWidth", DEFAULT_VANTA_WIDTH);
  vantaHeight_ = LoadValue("VantaHeight", DEFAULT_VANTA_HEIGHT);
  vantaDepth_ = LoadValue("VantaDepth", DEFAULT_VANTA_DEPTH);
  useVanta_ = core::GetRegistryWord(kRegistryKey, "VantaSlide", 0) == 1;
}

void SlidrOptions::Save() const {
  SaveValue("SlideWidth", slideWidth_);
  SaveValue("SlideHeight", slideHeight_);
  SaveValue("BitDepth", slideDepth_);
  SaveValue("VantaSlide", useVanta_ ? 1 : 0);
  SaveValue("VantaWidth", vantaWidth_);
  SaveValue("VantaHeight", vantaHeight_);
  SaveValue("VantaDepth", vantaDepth_);
}

}  // namespace brevora::slides
