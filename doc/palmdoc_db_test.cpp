#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc/doc_db_test_support.h"
#include "doc/document_test_support.h"
#include "doc/handheld_records.h"
#include "doc/palmdoc_db_reader.h"
#include "doc/palmdoc_db_writer.h"
#include "platform/error/error.h"

namespace brevora::doc {
namespace {

using namespace testing;

HandheldFields Fields(int16_t editable, int16_t compression) {
  HandheldFields f;
  f.name = "Book";
  f.editable = editable;
  f.compression = compression;
  return f;
}

Bytes Table(const core::HandheldDatabase& db) {
  const Bytes header = Data(db, 1);
  return Bytes(header.begin() + 16, header.end());
}

TEST(PalmDocTest, TenThousandCharacters) {
  HandheldFields fields = Fields(0, 1);
  fields.bookmarks = {{"here", 5}};
  const std::string full(2048, 'x'), last(1808, 'y');
  const std::vector<std::string_view> blocks = {full, full, full, full, last};
  core::HandheldDatabase db;
  PalmDocWriter(fields, blocks).Fill(db);
  EXPECT_EQ(db.Type(), "TEXt");
  EXPECT_EQ(db.Creator(), "REAd");
  const Bytes header = Data(db, 1);
  EXPECT_EQ(Bytes(header.begin(), header.begin() + 16),
            (Bytes{0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x27, 0x10, 0x00, 0x03, 0x10, 0x00, 0x00,
                   0x00, 0x00, 0x00}));
  EXPECT_EQ(Table(db), (Bytes{0x10, 0x00, 0x10, 0x00, 0x07, 0x10}));
  EXPECT_EQ(db.Records().Item(2)->DataLength(), 4096);
  EXPECT_EQ(db.Records().Item(3)->DataLength(), 4096);
  EXPECT_EQ(db.Records().Item(4)->DataLength(), 1808);
  EXPECT_EQ(Ids(db), (std::vector<int32_t>{1, 2, 3, 4, 7}));  // B = 5 blocks: the bookmark is id 7
}

TEST(PalmDocTest, RecordCountAtTheBoundary) {
  struct Case {
    size_t length;
    Bytes table;
  };
  for (const Case& c :
       {Case{4096, {0x10, 0x00}}, Case{4097, {0x10, 0x00, 0x00, 0x01}}, Case{0, {}}}) {
    const std::string text(c.length, 't');
    const std::vector<std::string_view> blocks = {text};
    core::HandheldDatabase db;
    PalmDocWriter(Fields(1, 1), blocks).Fill(db);
    EXPECT_EQ(Table(db), c.table) << c.length;
    EXPECT_EQ(db.Records().Count(), 1 + static_cast<int32_t>(c.table.size() / 2)) << c.length;
  }
}

TEST(PalmDocTest, HeaderBytesCarryEditableSearchModeAndOne) {
  HandheldFields fields = Fields(1, 2);
  fields.searchMode = 2;
  const std::vector<std::string_view> blocks = {"text"};
  core::HandheldDatabase db;
  PalmDocWriter(fields, blocks).Fill(db);
  const Bytes header = Data(db, 1);
  EXPECT_EQ(Bytes(header.begin(), header.begin() + 4), (Bytes{0x01, 0x02, 0x02, 0x01}));
}

TEST(PalmDocTest, BookmarkIdsNeverMeetTextIds) {
  // One block of 10,000 characters makes 3 text records (ids 2 to 4).
  HandheldFields fields = Fields(1, 1);
  fields.bookmarks = {{"a", 1}, {"b", 2}};
  const std::string text(10000, 'z');
  const std::vector<std::string_view> blocks = {text};
  core::HandheldDatabase db;
  PalmDocWriter(fields, blocks).Fill(db);
  EXPECT_EQ(Ids(db), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
}

TEST(PalmDocTest, RoundTrip) {
  HandheldFields fields = Fields(1, 2);
  fields.databaseValue = 99;
  fields.bookmarks = {{"one", 10}, {"two", 20}};
  std::string text;
  for (int i = 0; i < 900; ++i) text += "Line " + std::to_string(i) + " of the book.\r\n";
  const std::vector<std::string_view> blocks = {std::string_view(text).substr(0, 2048),
                                                std::string_view(text).substr(2048)};
  core::HandheldDatabase db;
  PalmDocWriter(fields, blocks).Fill(db);
  const HandheldRead read = PalmDocReader(db).Read();
  std::string joined;
  for (const std::string& block : read.blocks) joined += block;
  std::string expected = text;  // the expander gives CR back as LF
  for (char& c : expected) c = c == '\r' ? '\n' : c;
  EXPECT_EQ(joined, expected);
  EXPECT_EQ(read.fields.databaseValue, 99);
  EXPECT_EQ(read.fields.bookmarks, fields.bookmarks);
  EXPECT_EQ(read.nameFromText, "Line 0 of the book.");
}

TEST(PalmDocTest, AForeignDatabaseWithUncompressedAndCompressedRecords) {
  // A plain PalmDOC header (00 02 00 00) and records compressed by hand:
  // "abcabcabc" is a, b, c, a copy of distance 3 and length 5, and c.
  core::HandheldDatabase compressed;
  Build(compressed, "TEXt", "REAd",
        {HeaderRecord(0, 2, 0, 18, 2, 4096, 0), Bytes{'a', 'b', 'c', 0x80, 0x1A, 'c'},
         Bytes{0xC8, 0x01, 0xE9, 0x20, 'e', 'n', 'd', 0x00}});
  HandheldRead read = PalmDocReader(compressed).Read();
  EXPECT_EQ(read.fields.editable, 0);
  EXPECT_EQ(read.fields.compression, 2);
  EXPECT_EQ(read.fields.searchMode, 0);
  EXPECT_EQ(read.blocks, (std::vector<std::string>{"abcabcabc H\xE9 end"}));

  core::HandheldDatabase plain;
  Build(plain, "TEXt", "REAd",
        {HeaderRecord(0, 1, 0, 12, 2, 4096, 0), ToBytes("<b>Title</b>\r\n"), ToBytes("more")});
  read = PalmDocReader(plain).Read();
  EXPECT_EQ(read.blocks, (std::vector<std::string>{"<b>Title</b>\r\nmore"}));
  EXPECT_EQ(read.nameFromText, "<b>Title</b>");  // tags kept
}

TEST(PalmDocTest, TextIsCutIntoBlocksOf2048) {
  core::HandheldDatabase db;
  Build(db, "TEXt", "REAd",
        {HeaderRecord(0, 1, 0, 9000, 3, 4096, 0), Bytes(4096, 'a'), Bytes(4096, 'b'),
         Bytes(808, 'c')});
  const HandheldRead read = PalmDocReader(db).Read();
  ASSERT_EQ(read.blocks.size(), 5u);
  EXPECT_EQ(read.blocks[0], std::string(2048, 'a'));
  EXPECT_EQ(read.blocks[2], std::string(2048, 'b'));
  EXPECT_EQ(read.blocks[4], std::string(808, 'c'));
}

TEST(PalmDocTest, DamagedDatabases) {
  Bytes expandsTooFar{'a'};
  for (int i = 0; i < 500; ++i) {
    expandsTooFar.push_back(0x80);
    expandsTooFar.push_back(0x0F);
  }
  const std::vector<std::vector<Bytes>> cases = {
      {},
      {Bytes(15)},
      {HeaderRecord(0, 1, 0, 4, 2, 4096, 0), ToBytes("abcd")},
      {HeaderRecord(0, 1, 0, 1, 1, 4096, 0), ToBytes("x"),
       Bytes(19)},  // a short bookmark fails the read
      {HeaderRecord(0, 2, 0, 5001, 1, 4096, 0), expandsTooFar},
  };
  for (const auto& records : cases) {
    core::HandheldDatabase db;
    Build(db, "TEXt", "REAd", records);
    EXPECT_THROW(PalmDocReader(db).Read(), AutomationError) << records.size();
  }
}

}  // namespace
}  // namespace brevora::doc
