#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc/body_reader.h"
#include "doc/document_test_support.h"
#include "doc/scv_reader.h"
#include "doc/scv_writer.h"
#include "platform/error/error.h"

namespace brevora::doc {
namespace {

// Lines joined with CR LF, each ended by one.
std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\r\n";
  return out;
}

DocumentHeader SampleHeader() {
  DocumentHeader h;
  h.LinkedDOCFileName = "C:\\Docs\\letter.doc";
  h.LinkedDOCFileModDateTime = 3912345678.5;
  h.LinkedDOCSyncMethod = 2;
  h.LinkedDOCSyncOption = 1;
  h.serverSync = 0;
  h.editable = 1;
  h.compression = 2;
  h.searchMode = 1;
  h.DocName = "Letter";
  h.password = "pw";
  h.databaseValue = 7;
  h.readingPosition = 10;
  h.CursorEndPos = 12;
  h.bookmarks[1] = {"Start", 0};
  h.bookmarks[3] = {"End", 40};  // a lone bookmark above an empty slot
  h.Recount();
  return h;
}

const std::string kGoldenHeader = Lines({"1",
                                         "5",
                                         "1",
                                         "2",
                                         "\"C:\\Docs\\letter.doc\"",
                                         "3912345678.5",
                                         "1",
                                         "0",
                                         "1",
                                         "2",
                                         "1",
                                         "\"Letter\"",
                                         "\"pw\"",
                                         "7",
                                         "10",
                                         "12",
                                         "2",
                                         "\"Start\"",
                                         "0",
                                         "\"End\"",
                                         "40",
                                         ""});

TEST(ScvTest, GoldenFile) {
  ScvWriter writer;
  writer.WriteHeader(SampleHeader(), true);
  writer.WriteText({"Dear Ann,\rthanks.\r", "\rBye"});
  EXPECT_EQ(writer.Bytes(), kGoldenHeader + "Dear Ann,\r\nthanks.\r\n\r\nBye");
}

TEST(ScvTest, SingleLetterDocument) {
  ScvWriter writer;
  writer.WriteHeader(DocumentHeader{}, false);
  writer.WriteText({"x"});
  EXPECT_EQ(writer.Bytes().substr(writer.Bytes().size() - 5), "\r\n\r\nx");
}

TEST(ScvTest, RoundTripIsByteIdentical) {
  const std::string file = kGoldenHeader + "Dear Ann,\r\nthanks.\r\n\r\nBye";
  const ScvHeader read = ScvHeaderReader(file).Read(DocumentHeader{});
  EXPECT_TRUE(read.modified);
  EXPECT_EQ(read.bodyPosition, kGoldenHeader.size());
  const DocumentHeader& h = read.header;
  EXPECT_EQ(h.LinkedDOCFileName, "C:\\Docs\\letter.doc");
  EXPECT_EQ(h.LinkedDOCFileModDateTime, 3912345678.5);
  EXPECT_EQ(h.LinkedDOCSyncMethod, 2);
  EXPECT_EQ(h.LinkedDOCSyncOption, 1);
  EXPECT_EQ(h.DocName, "Letter");
  EXPECT_EQ(h.password, "pw");
  EXPECT_EQ(h.databaseValue, 7);
  EXPECT_EQ(h.readingPosition, 10);
  EXPECT_EQ(h.CursorEndPos, 12);
  EXPECT_EQ(h.bookmarkCount, 2);
  EXPECT_EQ(h.bookmarks[1], (Bookmark{"Start", 0}));
  EXPECT_EQ(h.bookmarks[2], (Bookmark{"End", 40}));

  std::vector<std::string> blocks =
      BodyReader(std::string_view(file).substr(read.bodyPosition), false).ReadBlocks();
  ASSERT_EQ(blocks.size(), 1u);
  EXPECT_EQ(blocks[0], "Dear Ann,\rthanks.\r\rBye");
  ScvWriter writer;
  writer.WriteHeader(h, read.modified);
  writer.WriteText({blocks[0]});
  EXPECT_EQ(writer.Bytes(), file);
}

TEST(ScvTest, TextsCannotBreakTheLineStructure) {
  DocumentHeader h;
  h.DocName = "Two\r\nlines \"quoted\"";
  h.password = "a\nb";
  h.bookmarks[1] = {"say \"hi\"\r", 5};
  h.Recount();
  ScvWriter writer;
  writer.WriteHeader(h, false);
  writer.WriteText({"text"});
  const ScvHeader read = ScvHeaderReader(writer.Bytes()).Read(DocumentHeader{});
  EXPECT_EQ(read.header.DocName, "Two  lines quoted");
  EXPECT_EQ(read.header.password, "a b");
  EXPECT_EQ(read.header.bookmarks[1], (Bookmark{"say hi ", 5}));
  EXPECT_EQ(std::string_view(writer.Bytes()).substr(read.bodyPosition), "text");
}

TEST(ScvTest, SecondsAreWrittenWithAFullStop) {
  EXPECT_EQ(ScvWriter::FormatSeconds(0), "0");
  EXPECT_EQ(ScvWriter::FormatSeconds(3912345678.5), "3912345678.5");
  EXPECT_EQ(ScvWriter::FormatSeconds(0.25), "0.25");
  EXPECT_EQ(ScvWriter::FormatSeconds(1e20), "100000000000000000000");
  // A time written where "," was the decimal separator is read as well.
  const std::string file = Lines({"0", "5", "1", "0", "\"x.doc\"", "12,5", "0", "0", "1", "2", "0",
                                  "\"\"", "\"\"", "0", "0", "0", "0", ""});
  EXPECT_EQ(ScvHeaderReader(file).Read(DocumentHeader{}).header.LinkedDOCFileModDateTime, 12.5);
}

// The header variants: what each reads and where its text begins.
TEST(ScvTest, HeaderVariants) {
  DocumentHeader before;
  before.DocName = "kept";
  before.editable = 1;

  {  // header present 0: only the modified flag
    const std::string file = Lines({"1", "5", "0"}) + "text";
    const ScvHeader read = ScvHeaderReader(file).Read(before);
    EXPECT_TRUE(read.modified);
    EXPECT_EQ(read.header.DocName, "kept");
    EXPECT_EQ(std::string_view(file).substr(read.bodyPosition), "text");
  }
  {  // version 2: no link lines; line 4 is the server-sync flag
    before.LinkedDOCFileName = "old.doc";
    before.LinkedDOCSyncMethod = 3;
    const std::string file =
        Lines({"0", "2", "1", "1", "0", "1", "2", "\"Name\"", "\"\"", "0", "0", "0", "0", ""}) +
        "body";
    const ScvHeader read = ScvHeaderReader(file).Read(before);
    EXPECT_EQ(read.header.LinkedDOCFileName, "");
    EXPECT_EQ(read.header.LinkedDOCSyncMethod, 0);
    EXPECT_EQ(read.header.serverSync, 1);
    EXPECT_EQ(read.header.editable, 0);
    EXPECT_EQ(read.header.compression, 1);
    EXPECT_EQ(read.header.searchMode, 2);
    EXPECT_EQ(read.header.DocName, "Name");
    EXPECT_EQ(std::string_view(file).substr(read.bodyPosition), "body");
  }
  for (const char* compression : {"0", "3"}) {  // out of range: compressed
    const std::string file = Lines({"0", "5", "1", "0", "\"\"", "0", "0", "0", "1", compression,
                                    "0", "\"\"", "\"\"", "0", "0", "0", "0", ""});
    EXPECT_EQ(ScvHeaderReader(file).Read(before).header.compression, 2) << compression;
  }
}

std::string FileWithPairs(int count, int pairs) {
  std::vector<std::string> lines = {"0",
                                    "5",
                                    "1",
                                    "0",
                                    "\"\"",
                                    "0",
                                    "0",
                                    "0",
                                    "1",
                                    "2",
                                    "0",
                                    "\"\"",
                                    "\"\"",
                                    "0",
                                    "0",
                                    "0",
                                    std::to_string(count)};
  for (int i = 1; i <= pairs; ++i) {
    lines.push_back("\"mark" + std::to_string(i) + "\"");
    lines.push_back(std::to_string(i * 10));
  }
  lines.push_back("");
  return Lines(lines) + "First line\r\nSecond line";
}

TEST(ScvTest, BookmarkCounts) {
  struct Case {
    int count, pairs;
    int16_t stored;
  };
  // 25 pairs; 30 pairs (the last five skipped); a count of 25 with the 24
  // pairs older writers wrote: the first text line is never taken as a pair.
  for (const Case c :
       {Case{25, 25, 25}, Case{30, 30, 25}, Case{25, 24, 24}, Case{3, 3, 3}, Case{0, 0, 0}}) {
    const std::string file = FileWithPairs(c.count, c.pairs);
    const ScvHeader read = ScvHeaderReader(file).Read(DocumentHeader{});
    EXPECT_EQ(read.header.bookmarkCount, c.stored) << c.count << "/" << c.pairs;
    if (c.stored > 0) {
      EXPECT_EQ(read.header.bookmarks[c.stored],
                (Bookmark{"mark" + std::to_string(c.stored), c.stored * 10}));
    }
    EXPECT_EQ(std::string_view(file).substr(read.bodyPosition), "First line\r\nSecond line")
        << c.count;
  }
}

TEST(ScvTest, WrittenCountAndPairsAgree) {
  DocumentHeader h;
  for (int i = 0; i <= 25; ++i) h.bookmarks[i] = {"b" + std::to_string(i), i};
  h.Recount();
  EXPECT_EQ(h.bookmarkCount, 25);  // slots 1 to 25
  ScvWriter writer;
  writer.WriteHeader(h, false);
  writer.WriteText({"Text"});
  const ScvHeader read = ScvHeaderReader(writer.Bytes()).Read(DocumentHeader{});
  EXPECT_EQ(read.header.bookmarkCount, 25);
  EXPECT_EQ(read.header.bookmarks[25], (Bookmark{"b25", 25}));
  EXPECT_EQ(std::string_view(writer.Bytes()).substr(read.bodyPosition), "Text");
}

TEST(ScvTest, LineFeedOnlyFilesAreRead) {
  std::string file = FileWithPairs(1, 1);
  std::string lf;
  for (size_t i = 0; i < file.size(); ++i) {
    if (!(file[i] == '\r' && i + 1 < file.size() && file[i + 1] == '\n')) lf += file[i];
  }
  const ScvHeader read = ScvHeaderReader(lf).Read(DocumentHeader{});
  EXPECT_EQ(read.header.bookmarks[1], (Bookmark{"mark1", 10}));
  EXPECT_EQ(std::string_view(lf).substr(read.bodyPosition), "First line\nSecond line");
}

// The file up to the end of its last header line (no separator, no text).
std::string Truncated(const std::string& file) { return file.substr(0, file.find("\r\n\r\n") + 2); }

TEST(ScvTest, DamagedHeaders) {
  struct Case {
    std::string file;
    int32_t number;
  };
  const Case cases[] = {
      {"", 62},
      {Lines({"0", "5", "1", "0", "\"\""}), 62},  // ends inside the header
      {Truncated(FileWithPairs(3, 1)), 62},       // fewer pairs than stated, no separator
      {Lines({"0", "five"}), 13},
      {Lines({"0", "5", "1", "0", "\"\"", "0", "0", "0", "1", "2", "0", "\"\"", "\"\"",
              "99999999999"}),
       6},
      {Lines({"0", "6", "1"}), kWrapError},
  };
  for (const Case& c : cases) {
    try {
      ScvHeaderReader(c.file).Read(DocumentHeader{});
      ADD_FAILURE() << "read: " << c.file;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), c.number) << c.file;
    }
  }
}

}  // namespace
}  // namespace brevora::doc
