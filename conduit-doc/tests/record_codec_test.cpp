// The compression of text records: the expansion's vectors, its bounds, and
// compression that every text survives.
#include "conduit-doc/record_codec.h"

#include <gtest/gtest.h>

#include <string>

namespace brevora::scriv {
namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

TEST(RecordCodec, ExpandsTheCodesOfEachKind) {
  struct Case {
    std::vector<uint8_t> record;
    std::string text;
  };
  const Case cases[] = {
      {{0x48, 0x00, 0x69}, "Hi"},                // 0x00 copies nothing
      {{'a', 0x0D, 'b'}, "a\nb"},                // a carriage return comes out as a line feed
      {{0x02, 0x80, 0xFF, 'x'}, "\x80\xFFx"},    // a run of two bytes as they stand
      {{0xE8, 0xE9}, " h i"},                    // a blank and a letter in one byte
      {{'a', 'b', 'c', 0x80, 0x18}, "abcabc"},   // distance 3, length 3
      {{'a', 'b', 0x80, 0x17}, "abababababab"},  // an overlapping copy: distance 2, length 10
  };
  for (const Case& c : cases) {
    const auto text = DecompressRecord(c.record);
    ASSERT_TRUE(text) << c.text;
    EXPECT_EQ(std::string(text->begin(), text->end()), c.text);
  }
}

TEST(RecordCodec, RefusesMalformedRecordsAndTextsBeyond3072Bytes) {
  // A copy from before the start, a run cut off, a copy cut off.
  EXPECT_FALSE(DecompressRecord(std::vector<uint8_t>{0x80, 0x18}));
  EXPECT_FALSE(DecompressRecord(std::vector<uint8_t>{0x05, 'a'}));
  EXPECT_FALSE(DecompressRecord(std::vector<uint8_t>{'a', 0x80}));
  // 'a', then copies of distance 1 and length 10: 1 + 10 n bytes.
  const auto expanding = [](int copies) {
    std::vector<uint8_t> record{'a'};
    for (int i = 0; i < copies; ++i) record.insert(record.end(), {0x80, 0x0F});
    return record;
  };
  const auto exact = DecompressRecord(expanding(307));  // 3071 bytes
  ASSERT_TRUE(exact);
  EXPECT_EQ(exact->size(), 3071u);
  EXPECT_FALSE(DecompressRecord(expanding(308)));  // 3081: more than a record holds
  EXPECT_FALSE(DecompressRecord(expanding(400)));  // 4001: more than the room to expand into
}

TEST(RecordCodec, EveryTextComesBackCarriageReturnsAsLineFeeds) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  const std::string texts[] = {
      "",
      "Hello, world",
      std::string(3072, 'a'),
      "a\0b\0\0c" + std::string(20, '\0'),  // NUL bytes survive
      all + all + "  trailing blank ",
      "<html><body>line one\r\nline two  <b>bold</b></body></html>",
  };
  for (const std::string& text : texts) {
    const std::vector<uint8_t> compressed = CompressRecord(Bytes(text));
    EXPECT_LE(compressed.size(), 2 * text.size());
    const auto back = DecompressRecord(compressed);
    ASSERT_TRUE(back) << text;
    std::string expected = text;
    for (char& c : expected) {
      if (c == '\r') c = '\n';
    }
    EXPECT_EQ(std::string(back->begin(), back->end()), expected);
  }
}

TEST(RecordCodec, RepeatedTextShrinks) {
  std::string text;
  while (text.size() < 3000) text += "The quick brown fox jumps over the lazy dog. ";
  EXPECT_LT(CompressRecord(Bytes(text)).size(), text.size() / 4);
}

}  // namespace
}  // namespace brevora::scriv
