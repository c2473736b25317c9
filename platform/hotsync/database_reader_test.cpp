// The one reader of handheld database files: where it finds each part of a
// file, and that a damaged file, or any cut or changed byte of a sound one, is
// either refused or taken apart into ranges that lie in order inside it, read
// from the whole file or from its head alone.
#include "platform/hotsync/database_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/bytes/big_endian.h"
#include "platform/hotsync/database_format.h"
#include "platform/hotsync/database_test_support.h"

namespace brevora::hotsync {
namespace {

namespace fmt = database_format;
using test_image::AppendEntry;
using test_image::AppendZeros;
using test_image::Bytes;
using test_image::HeaderBytes;

std::optional<DatabaseLayout> ParseWhole(const Bytes& file) {
  return DatabaseReader::Parse(file, file.size());
}

// The first HeadSize bytes of `file`, as a caller without the record data
// reads them.
Bytes Head(const Bytes& file) {
  const std::span<const uint8_t> first =
      std::span(file).first(std::min(file.size(), DatabaseReader::kFirstBytes));
  const uint64_t size = DatabaseReader::HeadSize(first, file.size());
  EXPECT_LE(size, file.size());
  return Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
}

// What Parse promises of a layout of `file`: the header and entries as stored,
// and the blocks and records one after the other from the end of the record
// list to the end of the file.
void ExpectHoldsTogether(const DatabaseLayout& layout, const Bytes& file, const std::string& what) {
  const DatabaseHeader& h = layout.header;
  ASSERT_EQ(layout.records.size(), h.numRecords) << what;
  std::vector<ByteRange> parts;
  if (h.appInfoID != 0) parts.push_back(layout.appInfo);
  if (h.sortInfoID != 0) parts.push_back(layout.sortInfo);
  EXPECT_TRUE(h.appInfoID != 0 || layout.appInfo == ByteRange{}) << what;
  EXPECT_TRUE(h.sortInfoID != 0 || layout.sortInfo == ByteRange{}) << what;
  for (std::size_t i = 0; i < layout.records.size(); ++i) {
    const uint8_t* entry = file.data() + fmt::EntryOffset(i);
    const RecordEntry& r = layout.records[i];
    EXPECT_EQ(r.data.begin, bytes::LoadBigEndian32(entry + fmt::kEntryDataOffset)) << what;
    EXPECT_EQ(r.attributes, entry[fmt::kEntryAttributes]) << what;
    EXPECT_EQ(r.uniqueID, bytes::LoadBigEndian24(entry + fmt::kEntryUniqueID)) << what;
    parts.push_back(r.data);
  }
  if (parts.empty()) return;
  EXPECT_GE(parts.front().begin, fmt::EntryOffset(h.numRecords)) << what;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    EXPECT_LE(parts[k].begin, parts[k].end) << what;
    if (k > 0) {
      EXPECT_EQ(parts[k - 1].end, parts[k].begin) << what;
    }
  }
  EXPECT_EQ(parts.back().end, file.size()) << what;
}

TEST(DatabaseReader, TheLayoutNamesWhereEverythingLies) {
  const Bytes file = test_image::SoundImage();
  const auto layout = ParseWhole(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(std::string(layout->header.name.begin(), layout->header.name.begin() + 5), "Sound");
  EXPECT_EQ(layout->header.numRecords, 2);
  EXPECT_EQ(layout->appInfo, (ByteRange{96, 104}));  // with the padding up to the sort-info block
  EXPECT_EQ(layout->sortInfo, (ByteRange{104, 108}));
  EXPECT_EQ(layout->records, (std::vector<RecordEntry>{{0, 1, {108, 112}}, {0, 2, {112, 114}}}));
  ExpectHoldsTogether(*layout, file, "sound");

  // Parse needs the header and the list, not more; the head holds the blocks.
  EXPECT_EQ(DatabaseReader::PrefixSize(layout->header), 94u);
  EXPECT_EQ(DatabaseReader::Parse(std::span(file).first(94), file.size()), layout);
  EXPECT_FALSE(DatabaseReader::Parse(std::span(file).first(93), file.size()));
  EXPECT_EQ(Head(file).size(), 108u);
  // A prefix longer than the file it is said to start is refused.
  EXPECT_FALSE(DatabaseReader::Parse(file, file.size() - 1));
}

TEST(DatabaseReader, BlockOffsetsPastTheEndMeanNoBlock) {
  // 78-byte header, one entry, filler, 8 bytes of blocks, record at 96.
  Bytes file = HeaderBytes({.appInfo = 5000, .sortInfo = 88, .numRecords = 1});
  AppendEntry(file, 96, 0, 1);
  AppendZeros(file, 2 + 8 + 1);
  auto layout = ParseWhole(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->header.appInfoID, 0u);
  EXPECT_EQ(layout->appInfo, ByteRange{});
  EXPECT_EQ(layout->sortInfo, (ByteRange{88, 96}));

  bytes::StoreBigEndian32(&file[fmt::kSortInfoIDOffset], 0xFFFFFFFF);
  layout = ParseWhole(file);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->header.sortInfoID, 0u);
  EXPECT_EQ(layout->sortInfo, ByteRange{});
  EXPECT_EQ(layout->records[0].data, (ByteRange{96, 97}));
}

TEST(DatabaseReader, DamagedFilesAreRefusedWholeAndFromTheirHead) {
  for (const test_image::DamagedImage& c : test_image::DamagedImages()) {
    EXPECT_FALSE(ParseWhole(c.image)) << c.what;
    EXPECT_FALSE(DatabaseReader::Parse(Head(c.image), c.image.size())) << c.what;
  }
}

// Every cut and every single-byte change of a sound file is refused or taken
// apart within the file; its head alone gives the same verdict and layout.
// Under the sanitizers this also shows nothing is read outside the bytes given.
TEST(DatabaseReader, EveryCutAndByteChangeIsTakenApartWithinTheFileOrRefused) {
  const Bytes sound = test_image::SoundImage();
  auto check = [](const Bytes& file, const std::string& what) {
    const auto whole = ParseWhole(file);
    if (whole) ExpectHoldsTogether(*whole, file, what);
    const Bytes head = Head(file);
    const auto fromHead = DatabaseReader::Parse(head, file.size());
    EXPECT_EQ(fromHead, whole) << what;
    if (fromHead) {
      EXPECT_LE(fromHead->appInfo.end, head.size()) << what;
      EXPECT_LE(fromHead->sortInfo.end, head.size()) << what;
    }
  };
  for (std::size_t size = 0; size <= sound.size(); ++size) {
    check(Bytes(sound.begin(), sound.begin() + static_cast<std::ptrdiff_t>(size)),
          "cut at " + std::to_string(size));
  }
  for (std::size_t at = 0; at < fmt::DataAreaOffset(2); ++at) {
    for (const uint8_t value : {uint8_t{0x00}, uint8_t{0x01}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      Bytes file = sound;
      file[at] = value;
      check(file, "byte " + std::to_string(at) + " = " + std::to_string(value));
    }
  }
}

}  // namespace
}  // namespace brevora::hotsync
