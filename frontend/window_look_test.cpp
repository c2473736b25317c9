// The main window's look without its window: control anchoring, the theme
// colours and the banner and theme settings.
#include <gtest/gtest.h>

#include "core/registry_helpers.h"
#include "frontend/web_links.h"
#include "frontend/window_layout.h"
#include "frontend/window_settings.h"
#include "frontend/window_theme.h"

namespace brevora::frontend {
namespace {

TEST(Anchor, EachTagMovesItsEdges) {
  const ControlRect c{100, 200, 300, 400};
  struct Case {
    const char* tag;
    ControlRect expected;
  };
  const Case cases[] = {{"1", {130, 200, 300, 400}},
                        {"2", {130, 250, 300, 400}},
                        {"3", {100, 200, 330, 400}},
                        {"4", {100, 200, 330, 450}},
                        {"5", {100, 250, 300, 400}},
                        {"6", {100, 200, 300, 450}},
                        {"7", {100, 250, 330, 400}},
                        {" 7 ", {100, 250, 330, 400}},
                        {"", c},
                        {"0", c},
                        {"8", c},
                        {"x", c},
                        {"2x", c},
                        {"-2", c}};
  for (const Case& k : cases)
    EXPECT_EQ(Anchor(k.tag, c, 50, 30), k.expected) << '"' << k.tag << '"';
}

TEST(Anchor, CornerAndBottomControlsKeepTheirDistancesWhenTheWindowShrinks) {
  // A window of 9000 x 6000 with a button 600 from the right and bottom edges.
  const ControlRect button{8000, 5000, 400, 400};
  const ControlRect moved = Anchor("2", button, -1500, -2000);
  EXPECT_EQ(9000 - 2000 - (moved.left + moved.width), 600);
  EXPECT_EQ(6000 - 1500 - (moved.top + moved.height), 600);
  const ControlRect bar = Anchor("7", {0, 5600, 9000, 400}, -1500, -2000);
  EXPECT_EQ(bar, (ControlRect{0, 4100, 7000, 400}));
}

TEST(WindowLayout, TheFirstLayoutMovesNothingAndLaterOnesGiveTheChange) {
  WindowLayout layout;
  WindowLayout::Step first = layout.Resize({9000, 6000});
  EXPECT_FALSE(first.enlargeTo);
  EXPECT_EQ(first.dH, 0);
  EXPECT_EQ(first.dW, 0);
  WindowLayout::Step next = layout.Resize({9600, 5400});
  EXPECT_EQ(next.dW, 600);
  EXPECT_EQ(next.dH, -600);
  EXPECT_EQ(layout.previous(), (WindowSize{9600, 5400}));
}

TEST(WindowLayout, ASizeBelowTheMinimumIsSetBackWithoutALayout) {
  WindowLayout layout;
  layout.Resize({9000, 6000});
  const std::pair<WindowSize, WindowSize> cases[] = {
      {{6000, 3000}, {6480, 3600}}, {{9000, 3000}, {9000, 3600}}, {{6479, 7000}, {6480, 7000}}};
  for (const auto& [asked, enlarged] : cases) {
    WindowLayout::Step step = layout.Resize(asked);
    ASSERT_TRUE(step.enlargeTo);
    EXPECT_EQ(*step.enlargeTo, enlarged);
    EXPECT_EQ(layout.previous(), (WindowSize{9000, 6000}));  // the next resize lays out from here
  }
  WindowLayout::Step after = layout.Resize({6480, 3600});
  EXPECT_EQ(after.dW, 6480 - 9000);
  EXPECT_EQ(after.dH, 3600 - 6000);
}

TEST(LongToRGB, SplitsTheThreeBytes) {
  const std::pair<int32_t, Rgb> cases[] = {
      {255, {255, 0, 0}},      {16711680, {0, 0, 255}},
      {0x00FF00, {0, 255, 0}}, {5374051, {99, 0, 82}},
      {0, {0, 0, 0}},          {static_cast<int32_t>(0x80000010), {0x10, 0, 0}}};
  for (const auto& [colour, rgb] : cases) {
    int16_t r = -1, g = -1, b = -1;
    LongToRGB(colour, r, g, b);
    EXPECT_EQ((Rgb{r, g, b}), rgb) << colour;
  }
}

TEST(Themes, BaseColoursTintsAndBannerText) {
  struct Case {
    int theme;
    Rgb base;
    Rgb light;
    Rgb dark;
    int32_t text;
  };
  const Case cases[] = {
      {0, {99, 0, 82}, {148, 0, 123}, {50, 0, 41}, kWhite},  // 148.5 and 49.5 go to the even number
      {1, {140, 48, 49}, {210, 72, 74}, {70, 24, 24}, kWhite},      // 73.5 -> 74, 24.5 -> 24
      {2, {189, 150, 107}, {255, 225, 160}, {94, 75, 54}, kBlack},  // 283.5 counts as 255
      {3, {49, 138, 82}, {74, 207, 123}, {24, 69, 41}, kWhite},
      {4, {121, 73, 124}, {182, 110, 186}, {60, 36, 62}, kWhite},
      {5, {66, 85, 156}, {99, 128, 234}, {33, 42, 78}, kWhite},
      {6, {102, 102, 102}, {255, 255, 255}, {0, 0, 0}, kWhite},  // grey: white and black
      {7, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, kWhite},              // no such theme: black
      {-1, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, kWhite}};
  for (const Case& k : cases) {
    SCOPED_TRACE(k.theme);
    EXPECT_EQ(LongToRGB(ThemeBaseColour(k.theme)), k.base);
    const SideBarTints tints = ThemeTints(k.theme);
    EXPECT_EQ(LongToRGB(tints.light), k.light);
    EXPECT_EQ(LongToRGB(tints.dark), k.dark);
    EXPECT_EQ(BannerTextColour(k.theme), k.text);
  }
  EXPECT_EQ(ThemeBaseColour(2), 7050941);
  EXPECT_EQ(ThemeBaseColour(5), 10245442);
}

std::string Stored(const char* name) { return core::GetRegistryString(kSuiteSettingsKey, name); }
void Store(const char* name, const char* value) {
  core::SetRegistryString(kSuiteSettingsKey, name, Variant(value));
}

TEST(WindowSettings, BannerIsHiddenOnlyByHideInAnyCaseAndAMissingValueIsWrittenAsShow) {
  EXPECT_TRUE(IsBannerEnabled(true));
  EXPECT_EQ(Stored("Banner"), "show");
  const std::pair<const char*, bool> cases[] = {{"HIDE", false}, {"hide", false},  {"Hide", false},
                                                {"show", true},  {"hidden", true}, {" hide", true}};
  for (const auto& [value, shown] : cases) {
    Store("Banner", value);
    EXPECT_EQ(IsBannerEnabled(true), shown) << value;
    EXPECT_EQ(Stored("Banner"), value);
    EXPECT_FALSE(IsBannerEnabled(false)) << value;
  }
  SetBannerEnabled(false);
  EXPECT_EQ(Stored("Banner"), "hide");
  SetBannerEnabled(true);
  EXPECT_EQ(Stored("Banner"), "show");
}

TEST(WindowSettings, ADialogNeitherReadsNorWritesTheBannerOrTheTheme) {
  EXPECT_FALSE(IsBannerEnabled(false));
  EXPECT_EQ(GetTheme(false), 0);
  EXPECT_EQ(Stored("Banner"), "");
  EXPECT_EQ(Stored("Theme"), "");
}

TEST(WindowSettings, ThemeIsTheStoredNumberAndAMissingOneIsWrittenAsZero) {
  EXPECT_EQ(GetTheme(true), 0);
  EXPECT_EQ(Stored("Theme"), "0");
  SetTheme(5);
  EXPECT_EQ(Stored("Theme"), "5");
  EXPECT_EQ(GetTheme(true), 5);
  EXPECT_EQ(GetTheme(false), 0);
  for (const char* bad : {"blue", "99999", "2x"}) {
    Store("Theme", bad);
    EXPECT_EQ(GetTheme(true), 0) << bad;
  }
}

TEST(WindowSettings, AddressesFallBackToTheDefaults) {
  EXPECT_EQ(BannerGraphicAddress(), kDefaultBannerGraphic);
  EXPECT_EQ(BannerLinkAddress(), kDesktopLandingPage);
  Store("Graphic", "file:///tmp/b.gif");
  Store("Link", "https://example.org/");
  EXPECT_EQ(BannerGraphicAddress(), "file:///tmp/b.gif");
  EXPECT_EQ(BannerLinkAddress(), "https://example.org/");
}

}  // namespace
}  // namespace brevora::frontend
