// The one writer of handheld database files: the bytes of each placement, a
// file taken apart by the reader and written again byte for byte, and what the
// format cannot hold refused.
#include "platform/hotsync/database_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error/error.h"
#include "platform/hotsync/database_reader.h"
#include "platform/hotsync/database_test_support.h"

namespace brevora::hotsync {
namespace {

using test_image::Append;
using test_image::AppendEntry;
using test_image::AppendZeros;
using test_image::Bytes;
using test_image::HeaderBytes;
using Placement = DatabaseWriter::Placement;

std::span<const uint8_t> Span(const std::string& s) {
  return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

DatabaseHeader NamedHeader() {
  DatabaseHeader h;
  const std::string name = "Round trip";
  std::copy(name.begin(), name.end(), h.name.begin());
  h.type = {'D', 'a', 't', 'a'};
  h.creator = {'Z', 'e', 'r', 'i'};
  h.version = 9;
  h.attributes = 0x0008;
  h.creationDate = 3061152000;
  h.modificationDate = 3061152000 + 86400;
  h.uniqueIDSeed = 77;
  return h;
}

TEST(DatabaseWriter, EachPlacementLaysOutTheFileAsExpected) {
  struct Case {
    Placement placement;
    Bytes image;
  };
  // Header 78, one entry, filler 2: the block "abc" at 88, the record after it.
  Bytes aligned = HeaderBytes({.appInfo = 88, .numRecords = 1});
  AppendEntry(aligned, 92, 0x42, 0x123456);
  AppendZeros(aligned, 2);
  Append(aligned, "abc");
  AppendZeros(aligned, 1);
  Append(aligned, "rec");
  Bytes packed = HeaderBytes({.appInfo = 88, .numRecords = 1});
  AppendEntry(packed, 91, 0x42, 0x123456);
  AppendZeros(packed, 2);
  Append(packed, "abcrec");
  const std::string app = "abc";
  const std::string record = "rec";
  for (const Case& c : {Case{Placement::Aligned, aligned}, Case{Placement::Packed, packed}}) {
    const DatabaseWriter writer(DatabaseHeader{}, Span(app), {}, {{0x42, 0x123456, Span(record)}},
                                c.placement);
    EXPECT_EQ(writer.Bytes(), c.image);
    EXPECT_EQ(writer.size(), c.image.size());
    EXPECT_EQ(writer.header().appInfoID, 88u);
    EXPECT_EQ(writer.header().sortInfoID, 0u);
    EXPECT_EQ(writer.header().numRecords, 1);
    EXPECT_EQ(writer.dataOffsets(),
              (std::vector<uint32_t>{c.placement == Placement::Aligned ? 92u : 91u}));
  }
  // Without blocks or records a database is its header alone.
  EXPECT_EQ(DatabaseWriter(DatabaseHeader{}, {}, {}, {}).Bytes(), HeaderBytes({}));
}

TEST(DatabaseWriter, PackedBlocksReadBackAtTheirExactSizes) {
  const std::string app(278, 'a');
  const std::string sort(10, 's');
  const std::string record = "r";
  for (const auto placement : {Placement::Aligned, Placement::Packed}) {
    const DatabaseWriter writer(DatabaseHeader{}, Span(app), Span(sort), {{0, 1, Span(record)}},
                                placement);
    const Bytes file = writer.Bytes();
    const auto layout = DatabaseReader::Parse(file, file.size());
    ASSERT_TRUE(layout);
    const bool packed = placement == Placement::Packed;
    // Aligned, the padding after a block reads back as part of it.
    EXPECT_EQ(layout->appInfo.size(), packed ? 278u : 280u);
    EXPECT_EQ(layout->sortInfo.size(), packed ? 10u : 12u);
    EXPECT_EQ(layout->records[0].data.size(), 1u);
  }
}

// A database as the writer's caller holds it.
struct Database {
  std::string appInfo{};
  std::string sortInfo{};
  std::vector<std::pair<uint32_t, std::string>> records{};  // id, data
};

Bytes Written(const Database& db, Placement placement) {
  std::vector<DatabaseWriter::Record> records;
  uint8_t attributes = 0;
  for (const auto& [id, data] : db.records) records.push_back({attributes += 0x21, id, Span(data)});
  return DatabaseWriter(NamedHeader(), Span(db.appInfo), Span(db.sortInfo), std::move(records),
                        placement)
      .Bytes();
}

// The file the reader takes apart, written again from what it found.
Bytes Rewritten(const Bytes& file, Placement placement) {
  const auto layout = DatabaseReader::Parse(file, file.size());
  EXPECT_TRUE(layout.has_value());
  if (!layout) return {};
  auto slice = [&](const ByteRange& r) {
    return std::span(file).subspan(static_cast<std::size_t>(r.begin),
                                   static_cast<std::size_t>(r.size()));
  };
  std::vector<DatabaseWriter::Record> records;
  for (const RecordEntry& r : layout->records)
    records.push_back({r.attributes, r.uniqueID, slice(r.data)});
  return DatabaseWriter(layout->header, slice(layout->appInfo), slice(layout->sortInfo),
                        std::move(records), placement)
      .Bytes();
}

TEST(DatabaseWriter, AFileIsTakenApartAndWrittenAgainByteForByte) {
  std::vector<Database> databases = {
      {},
      {.appInfo = std::string(278, 'c')},
      {.sortInfo = std::string("\x01\x00\x00\x00\x02\x00\x03\x00\x00\x00", 10)},
      {.appInfo = "odd",
       .sortInfo = "sorted",
       .records =
           {{1, "first"}, {2, ""}, {0xFFFFFF, std::string(70000, 'x')}, {1, "same id twice"}}},
      {},
  };
  for (uint32_t i = 0; i < 300; ++i)
    databases.back().records.push_back({i + 1, std::string(i % 7, 'r')});
  for (const auto placement : {Placement::Aligned, Placement::Packed}) {
    for (const Database& db : databases) {
      const Bytes file = Written(db, placement);
      EXPECT_EQ(Rewritten(file, placement), file);
    }
  }
}

TEST(DatabaseWriter, TheWriterRefusesWhatTheFormatCannotHold) {
  std::vector<DatabaseWriter::Record> tooMany(65536);
  try {
    DatabaseWriter writer(DatabaseHeader{}, {}, {}, std::move(tooMany));
    ADD_FAILURE() << "65,536 records were accepted";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 6);
  }
}

}  // namespace
}  // namespace brevora::hotsync
