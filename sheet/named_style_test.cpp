#include "sheet/named_style.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/automation/call_by_name.h"
#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora::sheet {
namespace {

using ::brevora::testing::ErrorOf;

TEST(NamedStyleCollectionTest, SixteenStylesAtMost) {
  Ref<NamedStyleCollection> styles = MakeRef<NamedStyleCollection>();
  for (int i = 1; i <= 16; ++i) styles->Add("Style" + std::to_string(i));
  const AutomationError e = ErrorOf([&] { styles->Add("Style17"); });
  EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040104));
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(e.description(), "There can only be 15 styles");
  EXPECT_EQ(styles->Count(), 16);
}

TEST(NamedStyleCollectionTest, NamesOfFifteenCharactersAtMost) {
  Ref<NamedStyleCollection> styles = MakeRef<NamedStyleCollection>();
  NamedStyle& style = styles->Add(std::string(15, 'a'));
  EXPECT_EQ(style.name(), std::string(15, 'a'));
  EXPECT_EQ(style.Format().Raw(), 0);
  const AutomationError e = ErrorOf([&] { styles->Add(std::string(16, 'b')); });
  EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040103));
  EXPECT_EQ(e.description(), "Named styles can only be 15 characters");
  EXPECT_EQ(styles->Count(), 1);
}

TEST(NamedStyleCollectionTest, DuplicateNameCarriesTheModuleSource) {
  Ref<NamedStyleCollection> styles = MakeRef<NamedStyleCollection>();
  styles->Add("Text");
  const AutomationError e = ErrorOf([&] { styles->Add("TEXT"); });
  EXPECT_EQ(e.number(), 457);
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(styles->Count(), 1);
}

TEST(NamedStyleCollectionTest, ClientsReadButDoNotAdd) {
  Ref<NamedStyleCollection> styles = MakeRef<NamedStyleCollection>();
  styles->Add("Money").Format().SetRaw(0x20001082);
  Variant style = CallByName(styles, "", CallKind::Get, "money");
  Variant format = CallByName(style.AsObject(), "Format", CallKind::Get);
  EXPECT_EQ(CallByName(format.AsObject(), "Raw", CallKind::Get), Variant(536875138.0));
  EXPECT_EQ(ErrorOf([&] { CallByName(styles, "Add", CallKind::Method, "x"); }).number(), 438);
  EXPECT_EQ(ErrorOf([&] { CallByName(styles, "Remove", CallKind::Method, 1); }).number(), 438);
}

}  // namespace
}  // namespace brevora::sheet
