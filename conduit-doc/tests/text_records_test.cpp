// The text of a desktop document as the handheld holds it: plain text wrapped
// and escaped, HTML kept, records that end outside entities and tags; and the
// pictures an HTML text refers to.
#include <gtest/gtest.h>

#include <string>

#include "conduit-doc/html_records.h"
#include "conduit-doc/image_tags.h"

namespace brevora::scriv {
namespace {

TEST(DeviceText, PlainTextIsWrappedAndEscapedHtmlIsKept) {
  struct Case {
    std::string desktop;
    std::string device;
  };
  const Case cases[] = {
      {"a<b", "<html><head></head><body>a&lt;b</body></html>"},
      {"x > y & z", "<html><head></head><body>x &gt; y &amp; z</body></html>"},
      {"one\ttwo\nthree", "<html><head></head><body>one    two<br>three</body></html>"},
      {"", "<html><head></head><body></body></html>"},
      {"line\r\nnext\rlast", "<html><head></head><body>line<br>next<br>last</body></html>"},
      {"<p>one</p>\r\n<p>two</p>\r<p>3</p>", "<p>one</p>\n<p>two</p>\n<p>3</p>"},
      {"<P>Capitals count</P> a<b", "<P>Capitals count</P> a<b"},
      {"text<br>more", "text<br>more"},
      {"<HTML><body>x</body></HTML>", "<HTML><body>x</body></HTML>"},
  };
  for (const Case& c : cases) EXPECT_EQ(DeviceText(c.desktop), c.device) << c.desktop;
}

TEST(DeviceText, OnlyTheFirst3072BytesDecideTheKind) {
  EXPECT_TRUE(IsHtml(std::string(3069, 'a') + "<br>"));
  EXPECT_FALSE(IsHtml(std::string(3070, 'a') + "<br>"));
}

TEST(DeviceText, EscapingGrowsTheTextAsItNeeds) {
  const std::string text(20000, '&');
  const std::string escaped = EscapeHtml(text);
  EXPECT_EQ(escaped.size(), 5 * text.size());
  EXPECT_EQ(escaped.substr(0, 10), "&amp;&amp;");
}

TEST(Records, ARecordEndsNeitherInsideAnEntityNorInsideATag) {
  struct Case {
    std::string text;
    std::vector<std::size_t> sizes;
  };
  const std::string x(3070, 'x');
  const Case cases[] = {
      {x + "ab" + "cd", {3072, 2}},
      {x + "&amp;rest", {3070, 9}},                           // inside "&amp;": before the "&"
      {x + "&;" + "z", {3072, 1}},                            // the entity closed before the end
      {std::string(3065, 'x') + "<b class=x>t", {3065, 12}},  // inside a tag: before the "<"
      {std::string(3060, 'x') + "<b>rest of it", {3072, 1}},  // the tag closed
      {std::string(2700, 'x') + "<" + std::string(400, 'y'),
       {3072, 29}},  // a "<" too far back stays
      {std::string(3071, 'x') + "&" + "amp;", {3071, 5}},
      {std::string(7000, 'z'), {3072, 3072, 856}},
      {"", {}},
  };
  for (const Case& c : cases) {
    std::vector<std::size_t> sizes;
    for (std::string_view r : CutRecords(c.text)) sizes.push_back(r.size());
    EXPECT_EQ(sizes, c.sizes) << c.text.substr(3000, 40);
  }
}

TEST(Records, AnEndThatWouldLeaveNothingStays) {
  EXPECT_EQ(AdjustRecordEnd("&abcdef", 7), 7u);
  EXPECT_EQ(AdjustRecordEnd("<abcdef", 7), 7u);
  EXPECT_EQ(AdjustRecordEnd("a&bcdef", 7), 1u);
}

TEST(ImageTags, TheQuotedSourcesOfClosedImgTagsInOrder) {
  struct Case {
    std::string html;
    std::vector<std::string> sources;
  };
  const Case cases[] = {
      {R"(<p><img src="a.png"> and <IMG SRC = "b/c.jpg" alt="x"></p>)", {"a.png", "b/c.jpg"}},
      {R"(<img alt="no source">)", {}},
      {R"(<img src='single.png'>)", {}},
      {R"(<img datasrc="x.png" src="y.png">)", {"y.png"}},
      {R"(<img src="never closed.png")", {}},
      {R"(<img src="a.png"><img src="a.png">)", {"a.png", "a.png"}},
      {R"(<img src="unterminated>)", {}},
      {"no pictures at all", {}},
      {"&lt;img src=\"escaped.png\"&gt;", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(FindImageTags(c.html), c.sources) << c.html;
}

TEST(ImageTags, AReferenceNeverLeavesTheImageFolder) {
  EXPECT_EQ(PicturePath("/u/scriv_temp", "a.png"), "/u/scriv_temp/a.png");
  EXPECT_EQ(PicturePath("/u/scriv_temp", "pics\\b.png"), "/u/scriv_temp/pics/b.png");
  for (const char* bad :
       {"", "/etc/passwd", "\\\\server\\x.png", "../x.png", "a/../../x.png", "a/./b.png",
        "a//b.png", "http://example.com/a.png", "file:a.png", "C:x.png", "a\x01.png", "dir/"}) {
    EXPECT_FALSE(PicturePath("/u/scriv_temp", bad)) << bad;
  }
}

TEST(ImageTags, ThePictureNameIsTheLastPartCutTo31Bytes) {
  EXPECT_EQ(PictureName("a/b/c.png"), "c.png");
  EXPECT_EQ(PictureName("a\\b\\c.png"), "c.png");
  EXPECT_EQ(PictureName("c.png"), "c.png");
  EXPECT_EQ(PictureName(std::string(40, 'n')), std::string(31, 'n'));
}

}  // namespace
}  // namespace brevora::scriv
