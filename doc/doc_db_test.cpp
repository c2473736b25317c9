#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc/doc_db_reader.h"
#include "doc/doc_db_test_support.h"
#include "doc/doc_db_writer.h"
#include "doc/document_test_support.h"
#include "doc/handheld_records.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "testing/temp_home.h"

namespace brevora::doc {
namespace {

using namespace testing;

HandheldFields Fields(int16_t editable, int16_t compression, int32_t value = 0) {
  HandheldFields f;
  f.name = "Doc";
  f.editable = editable;
  f.compression = compression;
  f.databaseValue = value;
  return f;
}

TEST(DocDatabaseTest, OneUncompressedBlock) {
  const HandheldFields fields = Fields(0, 1, 7);
  const std::vector<std::string_view> blocks = {"abc"};
  core::HandheldDatabase db;
  DocDatabaseWriter(fields, blocks).Fill(db);
  EXPECT_EQ(db.Type(), "zIZU");
  EXPECT_EQ(db.Creator(), "Scrv");
  EXPECT_EQ(db.Name(), "Doc");
  EXPECT_EQ(db.Attributes().Value(), 8);
  EXPECT_EQ(db.Version().Value(), 5);
  ASSERT_EQ(db.Records().Count(), 2);
  EXPECT_EQ(Data(db, 1), (Bytes{0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x00, 0x01, 0x08,
                                0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x03}));
  EXPECT_EQ(Data(db, 2), ToBytes("abc"));
  EXPECT_EQ(Ids(db), (std::vector<int32_t>{1, 2}));
  for (const core::RecordRef& rec : db.Records()) EXPECT_EQ(rec->Attributes(), 8);
}

TEST(DocDatabaseTest, ThreeBlocksAndBookmarks) {
  HandheldFields fields = Fields(1, 1);
  fields.bookmarks = {{"one", 1}, {"two", 2}};
  const std::string a(2048, 'a'), b(2048, 'b'), c(904, 'c');
  const std::vector<std::string_view> blocks = {a, b, c};
  core::HandheldDatabase db;
  DocDatabaseWriter(fields, blocks).Fill(db);
  const Bytes header = Data(db, 1);
  ASSERT_EQ(header.size(), 22u);
  EXPECT_EQ(Bytes(header.begin() + 4, header.begin() + 8), (Bytes{0x00, 0x00, 0x13, 0x88}));
  EXPECT_EQ(Bytes(header.begin() + 16, header.end()), (Bytes{0x08, 0x00, 0x08, 0x00, 0x03, 0x88}));
  EXPECT_EQ(Ids(db), (std::vector<int32_t>{1, 2, 3, 4, 5, 6}));
  EXPECT_EQ(Data(db, 5), EncodeBookmarkRecord({"one", 1}));
}

TEST(DocDatabaseTest, NoBlocks) {
  HandheldFields fields = Fields(1, 2);
  fields.bookmarks = {{"mark", 3}};
  core::HandheldDatabase db;
  DocDatabaseWriter(fields, {}).Fill(db);
  EXPECT_EQ(Data(db, 1).size(), 16u);
  EXPECT_EQ(Ids(db), (std::vector<int32_t>{1, 2}));  // the bookmark follows at once
}

// An empty document keeps its one text record: n 1, the size table 00 00 and
// an empty record with id 2, the bookmarks after it.
TEST(DocDatabaseTest, EmptyDocumentHasOneEmptyTextRecord) {
  for (int16_t compression : {1, 2}) {
    SCOPED_TRACE(compression);
    HandheldFields fields = Fields(1, compression, 7);
    fields.bookmarks = {{"mark", 0}};
    const std::vector<std::string_view> blocks = {""};
    core::HandheldDatabase db;
    DocDatabaseWriter(fields, blocks).Fill(db);
    EXPECT_EQ(Ids(db), (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(Data(db, 1),
              (Bytes{0x01, static_cast<uint8_t>(compression), 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
                     0x00, 0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x00}));
    EXPECT_EQ(Data(db, 2), Bytes{});
    EXPECT_EQ(Data(db, 3), EncodeBookmarkRecord({"mark", 0}));
    const HandheldRead read = DocDatabaseReader(db).Read();
    EXPECT_EQ(read.blocks, (std::vector<std::string>{""}));
    EXPECT_EQ(read.fields.bookmarks, (std::vector<Bookmark>{{"mark", 0}}));
  }
}

// Every block is a record, an empty one too, so bookmark ids follow the blocks.
TEST(DocDatabaseTest, EmptyBlocksAreEmptyRecords) {
  const std::vector<std::string_view> blocks = {"abc", "", "def", ""};
  for (int16_t compression : {1, 2}) {
    core::HandheldDatabase db;
    DocDatabaseWriter(Fields(1, compression), blocks).Fill(db);
    ASSERT_EQ(db.Records().Count(), 5);
    const Bytes header = Data(db, 1);
    EXPECT_EQ(Bytes(header.begin() + 8, header.begin() + 10), (Bytes{0x00, 0x04}));
    EXPECT_EQ(Bytes(header.begin() + 16, header.end()),
              (Bytes{0x08, 0x00, 0x08, 0x00, 0x08, 0x00, 0x00, 0x00}));
    EXPECT_EQ(db.Records().Item(3)->DataLength(), 0);
    const HandheldRead read = DocDatabaseReader(db).Read();
    EXPECT_EQ(read.blocks, (std::vector<std::string>{"abc", "", "def", ""}));
  }
}

TEST(DocDatabaseTest, OverlongBlocksBecomeSeveralRecords) {
  const std::string text = std::string(3000, 'x') + "<b>" + std::string(1100, 'y');
  const std::vector<std::string_view> blocks = {text};
  core::HandheldDatabase db;
  DocDatabaseWriter(Fields(1, 2), blocks).Fill(db);
  const HandheldRead read = DocDatabaseReader(db).Read();  // every record expands within 2,048
  ASSERT_EQ(read.blocks.size(), 3u);
  std::string joined;
  for (const std::string& block : read.blocks) {
    EXPECT_LE(block.size(), 2048u);
    joined += block;
  }
  EXPECT_EQ(joined, text);
  EXPECT_EQ(Data(db, 1)[7], static_cast<uint8_t>(text.size() & 0xFF));  // the real text length
}

TEST(DocDatabaseTest, CompressedRoundTripThroughAFile) {
  HandheldFields fields = Fields(1, 2, 42);
  fields.searchMode = 2;
  fields.bookmarks = {{"start", 0}, {"  Chapter one is long", 100}};
  const std::string rich = RichText(2048);  // compresses to more than 2,048 bytes
  const std::string plain = "Hello <b>world</b>, hello world, hello.";
  const std::vector<std::string_view> blocks = {rich, plain};
  const std::string file = ::brevora::testing::TempHome() + "/doc.pdb";
  DocDatabaseWriter(fields, blocks).Write(file);

  core::HandheldDatabase db;
  db.ReadFile(file, true);
  EXPECT_GT(db.Records().Item(2)->DataLength(), 2048);
  const HandheldRead read = DocDatabaseReader(db).Read();
  EXPECT_EQ(read.fields.editable, 1);
  EXPECT_EQ(read.fields.compression, 2);
  EXPECT_EQ(read.fields.searchMode, 2);
  EXPECT_EQ(read.fields.databaseValue, 42);
  EXPECT_EQ(read.blocks, (std::vector<std::string>{rich, plain}));
  EXPECT_EQ(read.fields.bookmarks, (std::vector<Bookmark>{{"start", 0}, {"Chapter one i", 100}}));
}

TEST(DocDatabaseTest, ReaderTakesAtMost25Bookmarks) {
  std::vector<Bytes> records = {HeaderRecord(1, 1, 0, 1, 1, 2048, 0), ToBytes("x")};
  for (int i = 0; i < 30; ++i)
    records.push_back(BookmarkRecord("m" + std::to_string(i), static_cast<uint8_t>(i)));
  core::HandheldDatabase db;
  Build(db, "zIZU", "Scrv", records);
  const HandheldRead read = DocDatabaseReader(db).Read();
  ASSERT_EQ(read.fields.bookmarks.size(), 25u);
  EXPECT_EQ(read.fields.bookmarks[24], (Bookmark{"m24", 24}));
}

TEST(DocDatabaseTest, AShortBookmarkRecordEndsTheBookmarks) {
  core::HandheldDatabase db;
  Build(db, "zIZU", "Scrv",
        {HeaderRecord(1, 1, 0, 1, 1, 2048, 0), ToBytes("x"), BookmarkRecord("a", 1), Bytes(19)});
  const HandheldRead read = DocDatabaseReader(db).Read();
  EXPECT_TRUE(read.fields.bookmarks.empty());
  EXPECT_EQ(read.blocks, (std::vector<std::string>{"x"}));
}

TEST(DocDatabaseTest, OnlyTheHeaderRecord) {
  core::HandheldDatabase db;
  Build(db, "zIZU", "Scrv", {HeaderRecord(1, 2, 0, 0, 0, 2048, 0)});
  const HandheldRead read = DocDatabaseReader(db).Read();
  EXPECT_TRUE(read.blocks.empty());
  EXPECT_TRUE(read.fields.bookmarks.empty());
  EXPECT_EQ(read.nameFromText, "");
}

TEST(DocDatabaseTest, NameFromTheFirstTextRecord) {
  core::HandheldDatabase db;
  Build(db, "zIZU", "Scrv",
        {HeaderRecord(1, 1, 0, 1, 2, 2048, 0), ToBytes("<h1>My Story</h1>\r\nOnce upon a time"),
         ToBytes("x")});
  EXPECT_EQ(DocDatabaseReader(db).Read().nameFromText, "My Story");
}

TEST(DocDatabaseTest, DamagedDatabases) {
  struct Case {
    const char* what;
    std::vector<Bytes> records;
  };
  Bytes expandsTooFar;  // 300 copies of 10 bytes: 3,001 bytes
  expandsTooFar.push_back('a');
  for (int i = 0; i < 300; ++i) {
    expandsTooFar.push_back(0x80);
    expandsTooFar.push_back(0x0F);  // distance 1, length 10
  }
  const Case cases[] = {
      {"no records", {}},
      {"short header record", {Bytes(10)}},
      {"more text records announced than held",
       {HeaderRecord(1, 1, 0, 3, 2, 2048, 0), ToBytes("abc")}},
      {"a value of 2^31", {HeaderRecord(1, 1, 0, 0, 0, 2048, 0x80000000u)}},
      {"a record expanding beyond 2,048", {HeaderRecord(1, 2, 0, 3001, 1, 2048, 0), expandsTooFar}},
      {"a damaged compressed record", {HeaderRecord(1, 2, 0, 3, 1, 2048, 0), Bytes{0x80, 0x20}}},
  };
  for (const Case& c : cases) {
    core::HandheldDatabase db;
    Build(db, "zIZU", "Scrv", c.records);
    EXPECT_THROW(DocDatabaseReader(db).Read(), AutomationError) << c.what;
  }
}

}  // namespace
}  // namespace brevora::doc
