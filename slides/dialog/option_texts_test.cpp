#include "slides/dialog/option_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error/error.h"

namespace brevora::slides::dialog {
namespace {

TEST(OptionTexts, DepthTextsBothWays) {
  struct Case {
    int32_t depth;
    const char* text;
  };
  for (const Case& c : {Case{4, "Greyscale (4 bit)"}, Case{8, "256 Color (8 bit)"},
                        Case{16, "Hi Color (16 bit)"}}) {
    EXPECT_EQ(DepthToText(c.depth), c.text);
    EXPECT_EQ(TextToDepth(c.text), c.depth);
  }
  for (int32_t other : {0, 1, 24, 32, -8}) EXPECT_EQ(DepthToText(other), "256 Color (8 bit)");
  for (const char* other : {"", "hi color (16 bit)", "Hi Color (16 bit) ", "24"}) {
    EXPECT_EQ(TextToDepth(other), 8) << other;
  }
}

TEST(OptionTexts, ResolutionTextHasNoLeadingZeros) {
  EXPECT_EQ(ResolutionText(436, 320), "436x320");
  EXPECT_EQ(ResolutionText(0, 5), "0x5");
  EXPECT_EQ(ResolutionText(-1, 240), "-1x240");
}

TEST(OptionTexts, ParseResolution) {
  struct Case {
    const char* text;
    int16_t width, height;
  };
  for (const Case& c :
       {Case{"800x600", 800, 600}, Case{" 1024 X 768 ", 1024, 768}, Case{"0x-5", 0, -5}}) {
    int16_t w = -1, h = -1;
    ParseResolution(c.text, w, h);
    EXPECT_EQ(w, c.width) << c.text;
    EXPECT_EQ(h, c.height) << c.text;
  }
}

TEST(OptionTexts, ParseResolutionErrors) {
  int16_t w = 0, h = 0;
  try {
    ParseResolution("800*600", w, h);
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), -2147219635);
    EXPECT_EQ(e.number(), kObjectError + 1869);
    EXPECT_EQ(e.source(), "parseResolutionFromString");
    EXPECT_EQ(e.description(), "String format is invalid, expect type (WIDTHxHEIGHT)");
  }
  struct Case {
    const char* text;
    int32_t number;
  };
  for (const Case& c : {Case{"", kObjectError + 1869}, Case{"x600", 13}, Case{"abcx600", 13},
                        Case{"40000x600", 6}, Case{"800x", 13}, Case{"160x120x5", 13}}) {
    try {
      ParseResolution(c.text, w, h);
      ADD_FAILURE() << "no error for " << c.text;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.number) << c.text;
    }
  }
}

TEST(OptionTexts, SelectComboText) {
  const std::vector<std::string> items = {"800x600", "640x480", " 436X320 ", "320x240"};
  EXPECT_EQ(SelectComboText(items, -1, "436x320", "320x240"), 2) << "trimmed, any case";
  EXPECT_EQ(SelectComboText(items, -1, "  640X480", "320x240"), 1);
  EXPECT_EQ(SelectComboText(items, -1, "500x500", "320x240"), 3) << "the fallback";
  EXPECT_EQ(SelectComboText(items, 1, "500x500", "1x1"), 1) << "neither: unchanged";
  EXPECT_EQ(SelectComboText({}, -1, "500x500", "320x240"), -1);
}

}  // namespace
}  // namespace brevora::slides::dialog
