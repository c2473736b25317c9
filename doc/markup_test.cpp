#include "doc/markup.h"

#include <gtest/gtest.h>

#include <string>

namespace brevora::doc::markup {
namespace {

using namespace std::string_literals;

TEST(MarkupTest, CutPartialTag) {
  struct Case {
    std::string text;
    size_t cut;
    std::string left;
  };
  const Case cases[] = {
      {"abc<e", 2, "abc"},        // five characters, the fourth "<"
      {"ab&amp;", 0, "ab&amp;"},  // a complete entity
      {"ab&am", 3, "ab"},         // an unfinished one
      {"<abcd", 0, "<abcd"},      // "<" as the first character
      {"a<b>c", 0, "a<b>c"},      // ">" met first
      {"x;y<z", 2, "x;y"},       {"plain text", 0, "plain text"}, {"", 0, ""},
  };
  for (const Case& c : cases) {
    std::string text = c.text;
    EXPECT_EQ(CutPartialTag(text), c.cut) << c.text;
    EXPECT_EQ(text, c.left) << c.text;
  }
}

TEST(MarkupTest, StripTags) {
  EXPECT_EQ(StripTags("x<b>y&amp;z"), "xyz");
  EXPECT_EQ(StripTags("a<unclosed tag"), "a");
  EXPECT_EQ(StripTags("a > b ; c"), "a > b ; c");
}

TEST(MarkupTest, FirstTextLine) {
  EXPECT_EQ(FirstTextLine("\r\n  Title\r\nbody"), "  Title");
  EXPECT_EQ(FirstTextLine("Caf\xE9{x}\tok\nnext"),
            "Cafxok");  // codes above "z" and TAB are dropped
  EXPECT_EQ(FirstTextLine("\r\n\r\n"), "");
}

TEST(MarkupTest, FixLength) {
  EXPECT_EQ(FixLength(" word ", 5), "word\0\0"s);
  EXPECT_EQ(FixLength("  Chapter one is long", 15), "Chapter one i\0\0\0"s);
  EXPECT_EQ(FixLength("abcdefgh", 3), "abc\0"s);
  EXPECT_EQ(FixLength("ab\r\ncd", 5, true), "ab\0\0\0\0"s);
}

TEST(MarkupTest, AddEscapeCodes) { EXPECT_EQ(AddEscapeCodes("a\tb\t"), "a    b    "); }

TEST(MarkupTest, PlainTextBecomesMarkupWithoutLosingCharacters) {
  std::string out;
  for (char c : std::string("if a<b && c>d\n\tx")) PlainCharToMarkup(c, out);
  EXPECT_EQ(out, "if a&lt;b &amp;&amp; c&gt;d<br>    x");
  EXPECT_EQ(StripTags(EscapePlainText("a<b")), "ab");  // no longer a tag that swallows text
  EXPECT_EQ(EscapePlainText("x\ty\n"), "x\ty\n");
}

TEST(MarkupTest, LineBreaksAreWrittenAsCrLf) {
  struct Case {
    std::vector<std::string> blocks;
    std::string written;
  };
  const Case cases[] = {
      {{"a\nb"}, "a\r\nb"},
      {{"a\r\nb"}, "a\r\nb"},
      {{"a\rb"}, "a\r\nb"},  // the line break of text read from a desktop file
      {{"\nb"}, "\r\nb"},
      {{"a\r", "\nb"}, "a\r\nb"},  // a CR LF split between two blocks
      {{"a\r", "", "b"}, "a\r\nb"},
      {{"end\r"}, "end\r\n"},
      {{"\n\n\r\r"}, "\r\n\r\n\r\n\r\n"},
  };
  for (const Case& c : cases) {
    std::string out;
    LineBreakWriter writer;
    for (const std::string& block : c.blocks) writer.Append(block, out);
    writer.Finish(out);
    EXPECT_EQ(out, c.written);
  }
}

TEST(MarkupTest, NameFromMarkup) {
  EXPECT_EQ(NameFromMarkup("<h1>My Story</h1>\r\nOnce upon a time"), "My Story");
  EXPECT_EQ(NameFromMarkup("<b>Hello</b> world&amp;more"), "Hello worldmore");
}

TEST(MarkupTest, CutIntoBlocksNeverSplitsMarkup) {
  EXPECT_TRUE(CutIntoBlocks("", 4).empty());
  EXPECT_EQ(CutIntoBlocks("abcdefghij", 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
  EXPECT_EQ(CutIntoBlocks("ab<br>cd", 4), (std::vector<std::string>{"ab", "<br>", "cd"}));
}

TEST(MarkupTest, TrimNulls) {
  EXPECT_EQ(TrimNulls("ab\0\0"s), "ab");
  EXPECT_EQ(TrimNulls("a\0b"s), "a\0b"s);
  EXPECT_EQ(TrimNulls("\0\0"s), "");
}

}  // namespace
}  // namespace brevora::doc::markup
