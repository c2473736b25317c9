#include "doc/handheld_records.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "doc/doc_db_test_support.h"
#include "doc/document_test_support.h"
#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora::doc {
namespace {

using ::brevora::testing::NumberOf;

using Bytes = std::vector<uint8_t>;

TEST(HandheldRecordsTest, HeaderRecord) {
  HandheldHeader h;
  h.editable = 0;
  h.compression = 1;
  h.searchMode = 0;
  h.textLength = 3;
  h.recordCount = 1;
  h.recordSize = 2048;
  h.databaseValue = 7;
  h.lastRecordLength = 3;
  EXPECT_EQ(EncodeHeaderRecord(h), (Bytes{0x00, 0x01, 0x00, 0x01, 0x00, 0x00, 0x00, 0x03, 0x00,
                                          0x01, 0x08, 0x00, 0x00, 0x00, 0x00, 0x07, 0x00, 0x03}));
  const HandheldHeader read = DecodeHeaderRecord(EncodeHeaderRecord(h));
  EXPECT_EQ(read.compression, 1);
  EXPECT_EQ(read.recordCount, 1);
  EXPECT_EQ(read.databaseValue, 7);

  h.recordCount = 0;
  EXPECT_EQ(EncodeHeaderRecord(h).size(), 16u);
}

TEST(HandheldRecordsTest, HeaderValuesOutOfRange) {
  HandheldHeader h;
  h.recordSize = 2048;
  EXPECT_EQ(NumberOf([&] {
              HandheldHeader b = h;
              b.editable = 256;
              EncodeHeaderRecord(b);
            }),
            6);
  EXPECT_EQ(NumberOf([&] {
              HandheldHeader b = h;
              b.recordCount = 65536;
              EncodeHeaderRecord(b);
            }),
            6);
  EXPECT_EQ(NumberOf([&] {
              HandheldHeader b = h;
              b.recordCount = 1;
              b.lastRecordLength = 70000;
              EncodeHeaderRecord(b);
            }),
            6);
  EXPECT_EQ(NumberOf([&] {
              HandheldHeader b = h;
              b.databaseValue = -1;
              EncodeHeaderRecord(b);
            }),
            6);

  EXPECT_EQ(NumberOf([] { DecodeHeaderRecord(Bytes(15)); }), 321);
  Bytes big(16);
  big[12] = 0x80;  // a value of 2^31
  EXPECT_EQ(NumberOf([&] { DecodeHeaderRecord(big); }), 6);
}

TEST(HandheldRecordsTest, BookmarkRecord) {
  const Bytes record = EncodeBookmarkRecord({"  Chapter one is long", 100});
  EXPECT_EQ(record, (Bytes{'C', 'h', 'a', 'p', 't', 'e', 'r', ' ', 'o', 'n',
                           'e', ' ', 'i', 0,   0,   0,   0,   0,   0,   100}));
  EXPECT_EQ(DecodeBookmarkRecord(record), (Bookmark{"Chapter one i", 100}));

  Bytes full(20, 'x');  // no NUL in the name field: the first 15 characters
  full[16] = full[17] = full[18] = 0;
  full[19] = 1;
  EXPECT_EQ(DecodeBookmarkRecord(full), (Bookmark{std::string(15, 'x'), 1}));

  EXPECT_EQ(NumberOf([] { DecodeBookmarkRecord(Bytes(19)); }), 321);
  Bytes negative(20);
  negative[16] = 0xFF;
  EXPECT_EQ(NumberOf([&] { DecodeBookmarkRecord(negative); }), 6);
}

TEST(HandheldRecordsTest, CompressionHasRoomForTheWorstCase) {
  // Bytes 0x80 to 0xFF and 0x01 to 0x08 take two bytes each.
  const std::string text = testing::RichText(2048);
  const Bytes packed = CompressRecord(text);
  EXPECT_GT(packed.size(), 2048u);
  EXPECT_EQ(ExpandRecord(packed, 2048), text);
}

TEST(HandheldRecordsTest, ExpansionIsBounded) {
  const std::string text(3000, 'a');
  const Bytes packed = CompressRecord(text);
  EXPECT_EQ(ExpandRecord(packed, 4096), text);
  try {
    ExpandRecord(packed, 2048);
    ADD_FAILURE();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 321);
    EXPECT_EQ(e.description(),
              "A compressed text record is damaged or expands beyond 2048 characters.");
  }
  EXPECT_EQ(NumberOf([] {
              ExpandRecord(Bytes{0x80, 0x09}, 2048);
            }),
            321);  // a copy before the start
  EXPECT_EQ(NumberOf([] { ExpandRecord(Bytes{0x03, 'a'}, 2048); }), 321);  // a literal run cut off
  // The expander turns CR into LF.
  EXPECT_EQ(ExpandRecord(CompressRecord("a\rb"), 10), "a\nb");
}

}  // namespace
}  // namespace brevora::doc
