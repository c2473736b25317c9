#include "slides/slidr_options.h"

#include <gtest/gtest.h>

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/registry/registry.h"

namespace brevora::slides {
namespace {

using registry::Hive;

constexpr const char* kKey = SlidrOptions::kRegistryKey;

void StoreWord(const char* name, uint32_t value) {
  registry::SetValue(Hive::CurrentUser, kKey, name, registry::Value::DWord(value));
}

std::optional<uint32_t> StoredWord(const char* name) {
  auto v = registry::QueryValue(Hive::CurrentUser, kKey, name);
  if (!v || v->type != registry::ValueType::DWord) return std::nullopt;
  return v->dword;
}

TEST(SlidrOptions, DefaultsWithoutAnyKey) {
  ASSERT_FALSE(registry::KeyExists(Hive::CurrentUser, kKey));
  SlidrOptions o;
  EXPECT_EQ(o.SlideWidth(), 320);
  EXPECT_EQ(o.SlideHeight(), 240);
  EXPECT_EQ(o.SlideDepth(), 8);
  EXPECT_FALSE(o.UseVanta());
  EXPECT_EQ(o.VantaWidth(), 800);
  EXPECT_EQ(o.VantaHeight(), 600);
  EXPECT_EQ(o.VantaDepth(), 8);
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, kKey)) << "loading writes nothing";
}

// Save creates the missing key (it used to fail with "Could not set registry
// value."), and everything saved loads back into a new object.
TEST(SlidrOptions, SaveCreatesTheKeyAndRoundTrips) {
  SlidrOptions o;
  o.SetSlideWidth(160);
  o.SetSlideHeight(-5);  // no range check on let or save
  o.SetSlideDepth(4);
  o.SetUseVanta(true);
  o.SetVantaWidth(0);
  o.SetVantaHeight(480);
  o.SetVantaDepth(24);
  o.Save();
  EXPECT_EQ(StoredWord("SlideWidth"), 160u);
  EXPECT_EQ(StoredWord("SlideHeight"), static_cast<uint32_t>(-5));
  EXPECT_EQ(StoredWord("BitDepth"), 4u);
  EXPECT_EQ(StoredWord("VantaSlide"), 1u);
  EXPECT_EQ(StoredWord("VantaWidth"), 0u);
  EXPECT_EQ(StoredWord("VantaHeight"), 480u);
  EXPECT_EQ(StoredWord("VantaDepth"), 24u);

  SlidrOptions back;
  EXPECT_EQ(back.SlideWidth(), 160);
  EXPECT_EQ(back.SlideHeight(), 240) << "a negative stored number loads as the default";
  EXPECT_EQ(back.SlideDepth(), 4);
  EXPECT_TRUE(back.UseVanta());
  EXPECT_EQ(back.VantaWidth(), 0);
  EXPECT_EQ(back.VantaHeight(), 480);
  EXPECT_EQ(back.VantaDepth(), 24);
}

// A number of 2^31 or more used to make every creation of the object fail.
TEST(SlidrOptions, OutOfRangeValuesLoadAsDefaults) {
  StoreWord("SlideWidth", 0x80000000u);
  StoreWord("BitDepth", 0xFFFFFFFFu);
  StoreWord("VantaDepth", 16);
  SlidrOptions o;
  EXPECT_EQ(o.SlideWidth(), 320);
  EXPECT_EQ(o.SlideDepth(), 8);
  EXPECT_EQ(o.VantaDepth(), 16);
}

TEST(SlidrOptions, UseVantaIsTrueOnlyForOne) {
  struct Case {
    uint32_t stored;
    bool expected;
  };
  for (const Case c : {Case{1, true}, Case{0, false}, Case{2, false}, Case{0xFFFFFFFFu, false}}) {
    StoreWord("VantaSlide", c.stored);
    SlidrOptions o;
    EXPECT_EQ(o.UseVanta(), c.expected) << c.stored;
  }
  StoreWord("VantaSlide", 2);
  SlidrOptions o;
  o.Save();
  EXPECT_EQ(StoredWord("VantaSlide"), 0u) << "2 reads as False and is written back as 0";
  registry::SetValue(Hive::CurrentUser, kKey, "VantaSlide", registry::Value::String("1"));
  EXPECT_FALSE(SlidrOptions().UseVanta()) << "a value of another type counts as missing";
}

TEST(SlidrOptions, LateBoundByProgId) {
  StoreWord("SlideWidth", 176);
  Ref<Dispatch> o = CreateObject("TabulynPC.SlidrOptions");
  EXPECT_EQ(CLng(CallByName(o, "slidewidth", CallKind::Get)), 176);
  EXPECT_EQ(CallByName(o, "DEFAULT_VANTA_WIDTH", CallKind::Get), Variant(int16_t{800}));
  EXPECT_EQ(CallByName(o, "DEFAULT_SLIDE_DEPTH", CallKind::Get), Variant(int16_t{8}));
  CallByName(o, "SlideDepth", CallKind::Let, 2);
  CallByName(o, "UseVanta", CallKind::Let, true);
  CallByName(o, "Save", CallKind::Method);
  EXPECT_EQ(StoredWord("BitDepth"), 2u);
  EXPECT_EQ(StoredWord("VantaSlide"), 1u);
  StoreWord("SlideWidth", 208);
  CallByName(o, "Load", CallKind::Method);
  EXPECT_EQ(CLng(CallByName(o, "SlideWidth", CallKind::Get)), 208);
}

}  // namespace
}  // namespace brevora::slides
