// The handheld document's blocks and records byte for byte: the application
// block (new, and the two older lengths converted), record 0 and its checks,
// and the image records.
#include <gtest/gtest.h>

#include <string>

#include "conduit-doc/document_app_info.h"
#include "conduit-doc/html_records.h"
#include "conduit-doc/image_records.h"
#include "conduit-doc/text_header.h"

namespace brevora::scriv {
namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, std::size_t at, const std::string& text) {
  std::copy(text.begin(), text.end(), b.begin() + at);
}
void Put16(Bytes& b, std::size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v >> 8);
  b[at + 1] = static_cast<uint8_t>(v);
}
void Put32(Bytes& b, std::size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v >> 16));
  Put16(b, at + 2, static_cast<uint16_t>(v));
}

TEST(AppInfo, TheBlockOfANewDocumentIsZerosAndVersion5) {
  Bytes expected(1020, 0);
  expected[1] = 5;
  const DocumentAppInfo info = DocumentAppInfo::Defaults();
  EXPECT_EQ(Bytes(info.bytes().begin(), info.bytes().end()), expected);
}

TEST(AppInfo, FieldsStandAtTheirOffsetsBigEndian) {
  DocumentAppInfo info = DocumentAppInfo::Defaults();
  info.SetFirstName("A name longer than thirty-one bytes in all");
  info.SetSecondName("pw");
  info.SetWordA(0x1234);
  info.SetWordB(0xABCD);
  info.SetModified(true);
  info.SetServerSync(1);
  info.SetLinkPath("/home/al/report.doc");
  info.SetLinkMethod(2);
  info.SetLinkOption(3);
  info.SetLinkDate(0x01020304);
  Bytes expected(1020, 0);
  Put16(expected, 0, 5);
  Put(expected, 2, std::string("A name longer than thirty-one bytes in all").substr(0, 31));
  Put(expected, 34, "pw");
  Put16(expected, 386, 0x1234);
  Put16(expected, 388, 0xABCD);
  expected[753] = 1;
  expected[754] = 1;
  Put(expected, 756, "/home/al/report.doc");
  Put16(expected, 1012, 2);
  Put16(expected, 1014, 3);
  Put32(expected, 1016, 0x01020304);
  EXPECT_EQ(Bytes(info.bytes().begin(), info.bytes().end()), expected);

  const auto back = DocumentAppInfo::Parse(expected);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->firstName(), "A name longer than thirty-one b");
  EXPECT_EQ(back->linkPath(), "/home/al/report.doc");
  EXPECT_EQ(back->linkDate(), 0x01020304u);
  EXPECT_TRUE(back->modified());
}

TEST(AppInfo, ReservedBytesAreKept) {
  Bytes block(1020, 0);
  block[1] = 5;
  block[100] = 0x5A;
  block[500] = 0xA5;
  block[755] = 7;
  DocumentAppInfo info = *DocumentAppInfo::Parse(block);
  info.SetModified(false);
  info.SetLinkPath("x");
  EXPECT_EQ(info.bytes()[100], 0x5A);
  EXPECT_EQ(info.bytes()[500], 0xA5);
  EXPECT_EQ(info.bytes()[755], 7);
}

TEST(AppInfo, OlderBlocksAreConvertedAndMarkedModified) {
  struct Old {
    std::size_t size, wordA, wordB, modified, serverSync, path, method, option, date;
  };
  for (const Old& old : {Old{400, 76, 78, 133, 134, 136, 392, 394, 396},
                         Old{636, 194, 196, 369, 370, 372, 628, 630, 632}}) {
    Bytes block(old.size, 0);
    Put16(block, 0, 4);
    Put(block, 2, "Notes");
    Put(block, 34, "secret");
    Put16(block, old.wordA, 11);
    Put16(block, old.wordB, 22);
    block[old.modified] = 0;
    block[old.serverSync] = 1;
    Put(block, old.path, "C:\\My Documents\\notes.doc");
    Put16(block, old.method, 1);
    Put16(block, old.option, 2);
    Put32(block, old.date, 3'000'000'000u);

    Bytes expected(1020, 0);
    Put16(expected, 0, 4);
    Put(expected, 2, "Notes");
    Put(expected, 34, "secret");
    Put16(expected, 386, 11);
    Put16(expected, 388, 22);
    expected[753] = 1;  // modified, whatever the old block said
    expected[754] = 1;
    Put(expected, 756, "C:\\My Documents\\notes.doc");
    Put16(expected, 1012, 1);
    Put16(expected, 1014, 2);
    Put32(expected, 1016, 3'000'000'000u);
    const auto info = DocumentAppInfo::Parse(block);
    ASSERT_TRUE(info) << old.size;
    EXPECT_EQ(Bytes(info->bytes().begin(), info->bytes().end()), expected) << old.size;
  }
  EXPECT_FALSE(DocumentAppInfo::Parse(Bytes(401, 0)));
  EXPECT_FALSE(DocumentAppInfo::Parse(Bytes(1019, 0)));
  EXPECT_FALSE(DocumentAppInfo::Parse(Bytes()));
}

TEST(TextHeaderRecord, RecordZeroOfA10000ByteText) {
  const std::string text = "<p>" + std::string(9997, 'a');
  const auto records = CutRecords(DeviceText(text));
  TextHeader header;
  header.position = 0x00010203;
  header.textLength = 10000;
  for (std::string_view r : records) header.sizes.push_back(static_cast<uint16_t>(r.size()));
  const Bytes expected = {1,    2,    0,    3,    0x00, 0x00, 0x27, 0x10, 0x00, 0x04, 0x0C, 0x00,
                          0x00, 0x01, 0x02, 0x03, 0x0C, 0x00, 0x0C, 0x00, 0x0C, 0x00, 0x03, 0x10};
  EXPECT_EQ(header.Bytes(), expected);
  std::string problem;
  EXPECT_EQ(TextHeader::Parse(expected, 5, problem), header) << problem;
}

TEST(TextHeaderRecord, RefusesARecordThatDoesNotHoldTogether) {
  const Bytes good = {1, 2, 0, 3, 0, 0, 0, 6, 0, 2, 0x0C, 0, 0, 0, 0, 0, 0, 3, 0, 3};
  std::string problem;
  EXPECT_TRUE(TextHeader::Parse(good, 3, problem));
  struct Case {
    Bytes record;
    uint32_t recordCount;
    const char* what;
  };
  Bytes longer = good;
  longer.push_back(0);
  Bytes tooBig = good;
  tooBig[16] = 0x0C;
  tooBig[17] = 0x01;  // 3073
  const Case cases[] = {
      {Bytes(good.begin(), good.begin() + 15), 3, "shorter than 16 bytes"},
      {Bytes(good.begin(), good.begin() + 18), 3, "table cut short"},
      {longer, 3, "a byte after the table"},
      {good, 2, "two text records, one record after record 0"},
      {good, 0, "no records at all"},
      {tooBig, 3, "a size above 3072"},
  };
  for (const Case& c : cases) {
    problem.clear();
    EXPECT_FALSE(TextHeader::Parse(c.record, c.recordCount, problem)) << c.what;
    EXPECT_FALSE(problem.empty()) << c.what;
  }
}

TEST(ImageRecords, TheListRecordAndThe100By60Picture) {
  EXPECT_EQ(ImageListRecord(0), (Bytes{2, 0}));
  EXPECT_EQ(ImageListRecord(255), (Bytes{2, 255}));

  // 50 x 30 pixels of 16 bits: rows of 100 bytes.
  Bytes rows(100 * 30);
  for (std::size_t i = 0; i < rows.size(); i += 2) rows[i + 1] = 0xF8;  // red
  const Bytes bitmap = BitmapFileImage(50, 30, rows);
  ASSERT_EQ(bitmap.size(), 66u + 3000u);
  const Bytes header = {'B', 'M', 0xFA, 0x0B, 0,  0, 0,    0,    0,  0, 66, 0, 0,    0,
                        40,  0,   0,    0,    50, 0, 0,    0,    30, 0, 0,  0, 1,    0,
                        16,  0,   3,    0,    0,  0, 0xB8, 0x0B, 0,  0, 0,  0, 0,    0,
                        0,   0,   0,    0,    0,  0, 0,    0,    0,  0, 0,  0, 0x00, 0xF8,
                        0,   0,   0xE0, 0x07, 0,  0, 0x1F, 0,    0,  0};
  EXPECT_EQ(Bytes(bitmap.begin(), bitmap.begin() + 66), header);
  EXPECT_EQ(Bytes(bitmap.begin() + 66, bitmap.end()), rows);

  const auto records = ImageDataRecords("pictures/red.png", bitmap);
  ASSERT_EQ(records.size(), 1u);
  Bytes chunk(36, 0);
  chunk[0] = 3;
  Put(chunk, 1, "pictures/red.png");
  chunk[33] = 0;
  Put16(chunk, 34, 1);
  chunk.insert(chunk.end(), bitmap.begin(), bitmap.end());
  EXPECT_EQ(records[0], chunk);
}

TEST(ImageRecords, ALargePictureIsCutInto62000ByteChunks) {
  const uint32_t width = 200, height = 400;  // 160,000 bytes of rows
  const Bytes bitmap = BitmapFileImage(width, height, Bytes(BitmapStride(width) * height, 0x11));
  const auto records = ImageDataRecords("a-name-of-more-than-thirty-one-bytes.png", bitmap);
  ASSERT_EQ(records.size(), 3u);
  Bytes joined;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Bytes& r = records[i];
    EXPECT_EQ(r[0], 3);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[1])), "a-name-of-more-than-thirty-one-");
    EXPECT_EQ(r[33], i);
    EXPECT_EQ(r[34], 0);
    EXPECT_EQ(r[35], 3);
    EXPECT_EQ(r.size(), i < 2 ? 36u + 62000u : 36u + (bitmap.size() - 124000u));
    joined.insert(joined.end(), r.begin() + 36, r.end());
  }
  EXPECT_EQ(joined, bitmap);
}

TEST(ImageRecords, APictureOfMoreThan256ChunksHasNoRecords) {
  EXPECT_EQ(ImageDataRecords("x", Bytes(256 * 62000, 0)).size(), 256u);
  EXPECT_TRUE(ImageDataRecords("x", Bytes(256 * 62000 + 1, 0)).empty());
}

}  // namespace
}  // namespace brevora::scriv
