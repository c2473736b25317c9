// The device's byte layer against the container of the connectivity core: a
// file core::HandheldDatabase writes is taken apart and written again byte for byte, and
// every cut of a file is refused by both or by neither.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/handheld_database.h"
#include "core/handheld_database_test_support.h"
#include "platform/error/error.h"
#include "platform/hotsync/database_reader.h"
#include "platform/hotsync/database_writer.h"

namespace brevora::hotsync {
namespace {

using core::test_image::Bytes;

core::RecordRef Record(int32_t id, uint8_t attributes, const std::string& data) {
  core::RecordRef r = MakeRef<core::DatabaseRecord>();
  r->SetUniqueID(id);
  r->SetAttributes(attributes);
  r->SetDataText(data);
  return r;
}

// The bytes core::HandheldDatabase writes for a database built by `build`.
Bytes CoreFile(const std::function<void(core::HandheldDatabase&)>& build) {
  core::HandheldDatabase db;
  db.SetName("Round trip");
  db.SetType("Data");
  db.SetCreator("Zeri");
  db.Version().SetValue(9);
  db.Attributes().SetValue(0x0008);
  db.SetCreationDate(36892.5);
  db.SetModificationDate(36900.25);
  db.UniqueIDSeed().SetValue(77);
  build(db);
  const std::string path = core::test_image::TempPath("core.pdb");
  db.WriteFile(path);
  return core::test_image::ReadRaw(path);
}

Bytes Rewritten(const Bytes& file) {
  const auto layout = DatabaseReader::Parse(file, file.size());
  EXPECT_TRUE(layout.has_value());
  if (!layout) return {};
  auto slice = [&](const ByteRange& r) {
    return std::span(file).subspan(static_cast<std::size_t>(r.begin), static_cast<std::size_t>(r.size()));
  };
  std::vector<DatabaseWriter::Record> records;
  for (const RecordEntry& r : layout->records) records.push_back({r.attributes, r.uniqueID, slice(r.data)});
  const DatabaseWriter writer(layout->header, slice(layout->appInfo), slice(layout->sortInfo),
                              std::move(records));
  return writer.Bytes();
}

TEST(DatabaseFile, ACoreFileIsTakenApartAndWrittenAgainByteForByte) {
  const std::function<void(core::HandheldDatabase&)> builds[] = {
      [](core::HandheldDatabase&) {},
      [](core::HandheldDatabase& db) { db.SetAppInfoBlock(std::string(278, 'c')); },
      [](core::HandheldDatabase& db) { db.SetSortInfoBlock(std::string("\x01\x00\x00\x00\x02\x00\x03\x00\x00\x00", 10)); },
      [](core::HandheldDatabase& db) {
        db.SetAppInfoBlock("odd");
        db.SetSortInfoBlock("sorted");
        db.Records().Add(Record(1, 0x40, "first"));
        db.Records().Add(Record(2, 0x03, ""));
        db.Records().Add(Record(0xFFFFFF, 0x9F, std::string(70000, 'x')));
        db.Records().Add(Record(1, 0x00, "same id twice"));
      },
      [](core::HandheldDatabase& db) {
        for (int i = 0; i < 300; ++i) db.Records().Add(Record(i + 1, static_cast<uint8_t>(i), std::string(i % 7, 'r')));
      },
  };
  for (const auto& build : builds) {
    const Bytes file = CoreFile(build);
    EXPECT_EQ(Rewritten(file), file);
  }
}

TEST(DatabaseFile, EveryCutOfAFileIsRefusedByBothReadersOrByNeither) {
  const Bytes file = CoreFile([](core::HandheldDatabase& db) {
    db.SetAppInfoBlock("application info");
    db.SetSortInfoBlock("sort");
    db.Records().Add(Record(1, 0, "one"));
    db.Records().Add(Record(2, 0, "two"));
  });
  const std::string path = core::test_image::TempPath("cut.pdb");
  for (std::size_t size = 0; size <= file.size(); ++size) {
    const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    core::test_image::WriteRaw(path, cut);
    bool coreReads = true;
    try {
      core::HandheldDatabase db;
      db.ReadFile(path, true);
    } catch (const AutomationError&) {
      coreReads = false;
    }
    EXPECT_EQ(DatabaseReader::Parse(cut, cut.size()).has_value(), coreReads) << size;
  }
}

TEST(DatabaseFile, TheLayoutNamesWhereEverythingLies) {
  const Bytes file = CoreFile([](core::HandheldDatabase& db) {
    db.SetAppInfoBlock("abc");
    db.Records().Add(Record(5, 0x42, "rec"));
  });
  const auto layout = DatabaseReader::Parse(file, file.size());
  ASSERT_TRUE(layout);
  // Header 78, one entry, filler 2: the block at 88, the record at the next multiple of 4.
  EXPECT_EQ(layout->appInfo, (ByteRange{88, 92}));
  EXPECT_EQ(layout->sortInfo, ByteRange{});
  ASSERT_EQ(layout->records.size(), 1u);
  EXPECT_EQ(layout->records[0].data, (ByteRange{92, 95}));
  EXPECT_EQ(layout->records[0].attributes, 0x42);
  EXPECT_EQ(layout->records[0].uniqueID, 5u);
  EXPECT_EQ(layout->header.version, 9);
  EXPECT_EQ(std::string(layout->header.creator.begin(), layout->header.creator.end()), "Zeri");
  // The parse needs the header and the list, not more.
  EXPECT_EQ(DatabaseReader::PrefixSize(layout->header), 86u);
  EXPECT_TRUE(DatabaseReader::Parse(std::span(file).first(86), file.size()));
  EXPECT_FALSE(DatabaseReader::Parse(std::span(file).first(85), file.size()));
}

TEST(DatabaseFile, PackedBlocksReadBackAtTheirExactSizes) {
  DatabaseHeader header;
  const std::string app(278, 'a');
  const std::string sort(10, 's');
  const std::string record = "r";
  auto bytes = [](const std::string& s) { return std::span(reinterpret_cast<const uint8_t*>(s.data()), s.size()); };
  for (const auto placement : {DatabaseWriter::Placement::Aligned, DatabaseWriter::Placement::Packed}) {
    const DatabaseWriter writer(header, bytes(app), bytes(sort), {{0, 1, bytes(record)}}, placement);
    const Bytes file = writer.Bytes();
    const auto layout = DatabaseReader::Parse(file, file.size());
    ASSERT_TRUE(layout);
    const bool packed = placement == DatabaseWriter::Placement::Packed;
    // Aligned, the padding after a block reads back as part of it.
    EXPECT_EQ(layout->appInfo.size(), packed ? 278u : 280u);
    EXPECT_EQ(layout->sortInfo.size(), packed ? 10u : 12u);
    EXPECT_EQ(layout->records[0].data.size(), 1u);
  }
}

TEST(DatabaseFile, TheWriterRefusesWhatTheFormatCannotHold) {
  DatabaseHeader header;
  std::vector<DatabaseWriter::Record> tooMany(65536);
  try {
    DatabaseWriter writer(header, {}, {}, std::move(tooMany));
    ADD_FAILURE() << "65,536 records were accepted";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 6);
  }
}

}  // namespace
}  // namespace brevora::hotsync
