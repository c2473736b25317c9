// The desktop document file as the conduit writes and reads it: a golden
// version 5 file and its reading, files of older versions, without a header,
// with fewer bookmarks than stated, and the lines that refuse a file.
#include <gtest/gtest.h>

#include <string>

#include "conduit-doc/scv_reader.h"
#include "conduit-doc/scv_writer.h"

namespace brevora::scriv {
namespace {

std::span<const uint8_t> Span(const std::string& s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

const ScvDefaults kDefaults{"My.Notes.scv", true};

TEST(ScvFile, AVersion5FileByteForByteAndReadBack) {
  CDocumentHeader header;
  header.valid = true;
  header.modified = false;
  header.version = 4;  // the file is always written in version 5's layout
  header.linkMethod = 2;
  header.linkPath = "/home/al/\"report\".doc";
  header.linkDate = 3912345678u;
  header.linkOption = 1;
  header.serverSync = 0;
  DocumentInfo info;
  info.editable = 1;
  info.compression = 2;
  info.mode = 0;
  info.firstName = "Report";
  info.secondName = "se\"cret";
  info.position = 0xFFFFFFFF;
  info.wordA = 7;
  info.wordB = 65535;
  info.bookmarkCount = 2;
  ScvWriter writer;
  writer.WriteHeader(header);
  writer.WriteDocInfo(info);
  writer.WriteBookmark({"Ch___", 100});
  writer.WriteBookmark({"End", 0x80000000u});
  const std::string text = "<html><head></head><body>a&lt;b<br>c</body></html>";
  writer.WriteText(Span(text.substr(0, 10)));
  writer.WriteText(Span(text.substr(10)));
  const std::string golden =
      "0\r\n5\r\n1\r\n2\r\n\"/home/al/report.doc\"\r\n3912345678\r\n1\r\n0\r\n"
      "1\r\n2\r\n0\r\n\"Report\"\r\nsecret\r\n-1\r\n7\r\n65535\r\n2\r\n"
      "\"Ch___\"\r\n100\r\n\"End\"\r\n-2147483648\r\n"
      "\r\n" +
      text;
  EXPECT_EQ(writer.Bytes(), golden);

  std::string problem;
  const auto doc = ScvReader(golden).Read(kDefaults, problem);
  ASSERT_TRUE(doc) << problem;
  EXPECT_TRUE(doc->hasHeader);
  header.version = 5;
  header.linkPath = "/home/al/report.doc";
  EXPECT_EQ(doc->header, header);
  info.version = 5;
  info.secondName = "secret";
  EXPECT_EQ(doc->info, info);
  EXPECT_EQ(doc->bookmarks, (std::vector<Bookmark>{{"Ch___", 100}, {"End", 0x80000000u}}));
  EXPECT_EQ(doc->text, text);
  const auto lines = ScvReader(golden).ReadHeader(problem);
  ASSERT_TRUE(lines);
  EXPECT_TRUE(lines->hasHeader);
  EXPECT_EQ(lines->header, header);
}

TEST(ScvFile, AFileWithoutTextGetsItsSeparator) {
  ScvWriter writer;
  writer.WriteHeader(CDocumentHeader{});
  writer.WriteDocInfo(DocumentInfo{});
  EXPECT_TRUE(writer.Bytes().ends_with("\r\n0\r\n\r\n"));
  std::string problem;
  const auto doc = ScvReader(writer.Bytes()).Read(kDefaults, problem);
  ASSERT_TRUE(doc) << problem;
  EXPECT_EQ(doc->text, "");
}

TEST(ScvFile, AVersion2FileHasNoLinkLines) {
  const std::string file =
      "1\r\n2\r\n1\r\n1\r\n0\r\n2\r\n1\r\n\"Old\"\r\n\"pw\"\r\n42\r\n3\r\n4\r\n1\r\n\"Mark\"\r\n5\r"
      "\n\r\nText";
  std::string problem;
  const auto doc = ScvReader(file).Read(kDefaults, problem);
  ASSERT_TRUE(doc) << problem;
  EXPECT_TRUE(doc->header.modified);
  EXPECT_EQ(doc->header.version, 2);
  EXPECT_EQ(doc->header.linkPath, "");
  EXPECT_EQ(doc->header.serverSync, 1);
  EXPECT_EQ(doc->info.editable, 0);
  EXPECT_EQ(doc->info.compression, 2);
  EXPECT_EQ(doc->info.mode, 1);
  EXPECT_EQ(doc->info.firstName, "Old");
  EXPECT_EQ(doc->info.secondName, "pw");
  EXPECT_EQ(doc->info.position, 42u);
  EXPECT_EQ(doc->info.wordA, 3);
  EXPECT_EQ(doc->info.wordB, 4);
  EXPECT_EQ(doc->bookmarks, (std::vector<Bookmark>{{"Mark", 5}}));
  EXPECT_EQ(doc->text, "Text");
}

TEST(ScvFile, TheDefaultsStandWhereTheFileSaysNothing) {
  struct Case {
    std::string file;
    bool writable;
    bool hasHeader;
    std::string text;
  };
  const Case cases[] = {
      {"Just some text\nwith lines", true, false, "Just some text\nwith lines"},
      {"2\r\nnot a modified line", true, false, "2\r\nnot a modified line"},
      {"", true, false, ""},
      {"1\r\n5\r\n0\r\nThe text\r\n", false, true,
       "The text\r\n"},  // line 3 not "1": the text follows it
  };
  for (const Case& c : cases) {
    std::string problem;
    const auto doc = ScvReader(c.file).Read({"My.Notes.scv", c.writable}, problem);
    ASSERT_TRUE(doc) << problem;
    EXPECT_EQ(doc->hasHeader, c.hasHeader);
    EXPECT_TRUE(doc->header.modified);
    EXPECT_FALSE(doc->header.valid);
    EXPECT_EQ(doc->header.version, 5);
    EXPECT_EQ(doc->text, c.text);
    DocumentInfo defaults;
    defaults.editable = c.writable ? 1 : 0;
    defaults.firstName = "My";
    EXPECT_EQ(doc->info, defaults) << c.file;
  }
}

TEST(ScvFile, AReadOnlyFileIsNotEditableWhateverLine9Says) {
  const std::string file =
      "0\r\n5\r\n1\r\n0\r\n\"\"\r\n0\r\n0\r\n0\r\n1\r\n2\r\n0\r\n\"\"\r\n\r\n0\r\n0\r\n0\r\n0\r\n\r"
      "\nx";
  std::string problem;
  EXPECT_EQ(ScvReader(file).Read({"a.scv", true}, problem)->info.editable, 1);
  EXPECT_EQ(ScvReader(file).Read({"a.scv", false}, problem)->info.editable, 0);
}

TEST(ScvFile, BookmarksEndAtTheSeparatorAndExactlyOneEmptyLineIsDropped) {
  const std::string head =
      "0\r\n5\r\n1\r\n0\r\n\"\"\r\n0\r\n0\r\n0\r\n1\r\n2\r\n0\r\n\"\"\r\n\r\n0\r\n0\r\n0\r\n";
  struct Case {
    std::string rest;
    std::size_t bookmarks;
    std::string text;
  };
  const Case cases[] = {
      {"25\r\n\"a\"\r\n1\r\n\r\nthe text", 1, "the text"},  // stated 25, holds 1
      {"0\r\n\r\n\r\nafter a blank line", 0, "\r\nafter a blank line"},
      {"0\r\nno separator", 0, "no separator"},
      {"1\r\n\"\"\r\n9\r\n\r\nx", 1, "x"},  // an empty quoted name is a name
  };
  for (const Case& c : cases) {
    std::string problem;
    const std::string file = head + c.rest;  // the text read points into it
    const auto doc = ScvReader(file).Read(kDefaults, problem);
    ASSERT_TRUE(doc) << problem;
    EXPECT_EQ(doc->bookmarks.size(), c.bookmarks);
    EXPECT_EQ(doc->info.bookmarkCount, c.bookmarks);
    EXPECT_EQ(doc->text, c.text);
  }
}

TEST(ScvFile, LinesThatRefuseTheFile) {
  const std::string lines[] = {"0", "5",    "1", "0", "\"\"", "0", "0", "0",     "1", "2",
                               "0", "\"\"", "",  "0", "0",    "0", "1", "\"b\"", "4"};
  const auto file = [&](std::size_t line, const std::string& value, bool withText = true) {
    std::string out;
    for (std::size_t i = 0; i < std::size(lines); ++i)
      out += (i + 1 == line ? value : lines[i]) + "\r\n";
    return withText ? out + "text" : out;
  };
  struct Case {
    std::string file;
    std::string problem;
  };
  const Case cases[] = {
      {file(2, "five"), "line 2 is not a number from 0 to 65535."},
      {file(4, "-1"), "line 4 is not a number from 0 to 65535."},
      {file(6, "soon"), "line 6 is not a link date."},
      {file(6, "-5"), "line 6 is not a link date."},
      {file(10, "256"), "line 10 is not a number from 0 to 255."},
      {file(14, "4294967296"), "line 14 is not a number from -2147483648 to 4294967295."},
      {file(17, "x"), "line 17 is not a number from 0 to 4294967295."},
      {file(19, "far"), "line 19 is not a number from -2147483648 to 4294967295."},
      {file(17, "3", false), "the file states 3 bookmarks but holds 1."},
      {"0\r\n5\r\n1\r\n0\r\n\"\"\r\n0\r\n0\r\n0\r\n1\r\n",
       "the file ends at line 10, inside its header."},
      {"1\r\n", "the file ends at line 2, inside its header."},
  };
  for (const Case& c : cases) {
    std::string problem;
    EXPECT_FALSE(ScvReader(c.file).Read(kDefaults, problem)) << c.file;
    EXPECT_EQ(problem, c.problem) << c.file;
  }
}

TEST(ScvFile, NumbersMayBeSignedAndDatesDecimal) {
  const std::string file =
      "0\r\n5\r\n1\r\n 1 "
      "\r\n\"x.doc\"\r\n3912345678,6\r\n+2\r\n-1\r\n1\r\n2\r\n0\r\n\"\"\r\n\r\n-2\r\n70000\r\n-"
      "3\r\n0\r\n\r\n";
  std::string problem;
  const auto doc = ScvReader(file).Read(kDefaults, problem);
  ASSERT_TRUE(doc) << problem;
  EXPECT_EQ(doc->header.linkMethod, 1);
  EXPECT_EQ(doc->header.linkDate, 3912345679u);
  EXPECT_EQ(doc->header.linkOption, 2);
  EXPECT_EQ(doc->header.serverSync, 1);
  EXPECT_EQ(doc->info.position, 0xFFFFFFFEu);
  EXPECT_EQ(doc->info.wordA, 65535);  // the words hold 16 bits
  EXPECT_EQ(doc->info.wordB, 0);
}

}  // namespace
}  // namespace brevora::scriv
