#include "doc/etext_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "doc/markup.h"

namespace brevora::doc {
namespace {

std::string Reflow(std::string_view source) { return ETextReader(source).Reflow(); }

TEST(ETextReaderTest, ThePreambleEndsAtTheEndLine) {
  EXPECT_EQ(
      Reflow("The Project Gutenberg Etext\r\nsmall print\r\n*END*THE SMALL PRINT\r\nText\r\n"),
      "Text<br>\n");
  EXPECT_EQ(Reflow("Gutenberg\n*end*\n"), "");
}

TEST(ETextReaderTest, WithoutAnEndLineTheTextStartsAtTheFirstLine) {
  EXPECT_EQ(Reflow("Gutenberg book\r\nChapter 1\r\n"), "Gutenberg book<br>\nChapter 1<br>\n");
}

TEST(ETextReaderTest, LinesAreReflowed) {
  const std::string long1(60, 'a'), long2(60, 'b');
  const std::string short1(20, 'c'), short2(20, 'd');
  EXPECT_EQ(Reflow("*end*\n" + long1 + "\n" + long2 + "\n"), " " + long1 + " " + long2);
  EXPECT_EQ(Reflow("*end*\n" + short1 + "\n" + short2 + "\n"),
            short1 + "<br>\n" + short2 + "<br>\n");
  EXPECT_EQ(Reflow("*end*\n" + long1 + "\n\n" + long2 + "\n"),
            " " + long1 + "<br>\n<br>\n" + " " + long2);
  // After a short line the text already ends with LF: one more break only.
  EXPECT_EQ(Reflow("*end*\n" + short1 + "\n\n"), short1 + "<br>\n<br>\n");
}

TEST(ETextReaderTest, MarkupCharactersAreKept) {
  EXPECT_EQ(Reflow("*end*\nAT&T <sic>\n"), "AT&amp;T &lt;sic&gt;<br>\n");
}

TEST(ETextReaderTest, BlocksNeverSplitABreak) {
  std::string source = "*end*\n";
  for (int i = 0; i < 2000; ++i) source += "short line " + std::to_string(i) + "\n";
  const ETextReader reader(source);
  const auto blocks = reader.ReadBlocks();
  ASSERT_GT(blocks.size(), 5u);
  std::string joined;
  for (const std::string& block : blocks) {
    EXPECT_LE(block.size(), 2048u);
    EXPECT_EQ(markup::PartialTagLength(block), 0u);
    joined += block;
  }
  EXPECT_EQ(joined, reader.Reflow());
}

}  // namespace
}  // namespace brevora::doc
