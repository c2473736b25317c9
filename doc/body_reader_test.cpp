#include "doc/body_reader.h"

#include <gtest/gtest.h>

#include <string>

#include "doc/markup.h"

namespace brevora::doc {
namespace {

using namespace std::string_literals;

std::string Joined(const std::vector<std::string>& blocks) {
  std::string all;
  for (const std::string& b : blocks) all += b;
  return all;
}

std::vector<std::string> Read(std::string_view source, bool asHtml) {
  return BodyReader(source, asHtml).ReadBlocks();
}

TEST(BodyReaderTest, DesktopTextDropsLineFeeds) {
  EXPECT_EQ(Read("a\r\nb\rc", false), (std::vector<std::string>{"a\rb\rc"}));
  // A file with LF line ends keeps its line breaks (as CR).
  EXPECT_EQ(Read("a\nb\n", false), (std::vector<std::string>{"a\rb\r"}));
  EXPECT_EQ(Read("<p>x</p>\r\n", false), (std::vector<std::string>{"<p>x</p>\r"}));
  EXPECT_TRUE(Read("", false).empty());
}

TEST(BodyReaderTest, PlainTextBecomesMarkup) {
  EXPECT_EQ(Read("a\nb", true), (std::vector<std::string>{"a<br>b"}));
  EXPECT_EQ(Read("a\tb", true), (std::vector<std::string>{"a    b"}));
  EXPECT_EQ(Read("1 < 2 & 3 > 2\r\n", true),
            (std::vector<std::string>{"1 &lt; 2 &amp; 3 &gt; 2\r<br>"}));
}

TEST(BodyReaderTest, BlocksHoldTheBlockFactor) {
  const std::string source(5000, 'x');
  const auto blocks = Read(source, false);
  ASSERT_EQ(blocks.size(), 3u);
  EXPECT_EQ(blocks[0].size(), 2048u);
  EXPECT_EQ(blocks[1].size(), 2048u);
  EXPECT_EQ(blocks[2].size(), 904u);
}

TEST(BodyReaderTest, AnUnfinishedTagMovesToTheNextBlock) {
  const std::string source = std::string(2046, 'a') + "<b>bold</b>";
  const auto blocks = Read(source, false);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0], std::string(2046, 'a'));
  EXPECT_EQ(blocks[1], "<b>bold</b>");
}

TEST(BodyReaderTest, TheCutMovesBackOverSourceBytes) {
  // The block holds "<b" CR and then "x": the LF between them was dropped, so
  // the tail of the block is 4 characters but 5 bytes of the file.
  const std::string source = std::string(2044, 'a') + "<b\r\nx>y";
  const auto blocks = Read(source, false);
  ASSERT_EQ(blocks.size(), 2u);
  EXPECT_EQ(blocks[0], std::string(2044, 'a'));
  EXPECT_EQ(blocks[1], "<b\rx>y");
}

TEST(BodyReaderTest, ExpandedPlainTextNeverExceedsTheBlockFactor) {
  // Every LF becomes "<br>" and every "&" "&amp;": four and five characters
  // from one byte. Nothing is lost, doubled or split.
  std::string source;
  for (int i = 0; i < 3000; ++i) source += (i % 3 == 0) ? "&\n" : "ab\n";
  std::string expected;
  for (char c : source) markup::PlainCharToMarkup(c, expected);
  const auto blocks = Read(source, true);
  for (const std::string& block : blocks) {
    EXPECT_LE(block.size(), 2048u);
    EXPECT_EQ(markup::PartialTagLength(block), 0u) << block.substr(block.size() - 8);
  }
  EXPECT_EQ(Joined(blocks), expected);
}

TEST(BodyReaderTest, TheLastBlockLosesTrailingNuls) {
  EXPECT_EQ(Read("abc\0\0"s, false), (std::vector<std::string>{"abc"}));
  EXPECT_EQ(Read("a\0b"s, false), (std::vector<std::string>{"a\0b"s}));
}

}  // namespace
}  // namespace brevora::doc
