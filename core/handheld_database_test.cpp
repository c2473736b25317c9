#include "core/handheld_database.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/bytes/big_endian.h"
#include "platform/error/error.h"
#include "platform/hotsync/database_format.h"
#include "platform/hotsync/database_reader.h"
#include "platform/hotsync/database_test_support.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using hotsync::test_image::Append;
using hotsync::test_image::AppendEntry;
using hotsync::test_image::AppendZeros;
using hotsync::test_image::Bytes;
using hotsync::test_image::Header;
using hotsync::test_image::HeaderBytes;
using hotsync::test_image::ReadRaw;
using hotsync::test_image::TempPath;

constexpr double k2001 = 36892.0;           // 2001-01-01 00:00 as a Visual Basic date
constexpr uint32_t k2001Palm = 3061152000;  // the same in seconds since 1904-01-01
constexpr double kSecond = 1.0 / 86400;

RecordRef AddRecord(HandheldDatabase& db, int32_t id, std::string_view data,
                    uint8_t attributes = 0) {
  RecordRef rec = MakeRef<DatabaseRecord>();
  rec->SetUniqueID(id);
  rec->SetAttributes(attributes);
  rec->SetDataText(data);
  db.Records().Add(rec);
  return rec;
}

using ::brevora::testing::ErrorOf;

TEST(PdbLayout, SizesAndFieldOffsets) {
  namespace fmt = hotsync::database_format;
  EXPECT_EQ(fmt::kHeaderSize, 78u);
  EXPECT_EQ(fmt::kEntrySize, 8u);
  EXPECT_EQ(fmt::kFillerSize, 2u);
  EXPECT_EQ(fmt::kNameSize, 32u);
  EXPECT_EQ(fmt::kAppInfoIDOffset, 52u);
  EXPECT_EQ(fmt::kTypeOffset, 60u);
  EXPECT_EQ(fmt::kCreatorOffset, 64u);
  EXPECT_EQ(fmt::kNumRecordsOffset, 76u);
  EXPECT_EQ(fmt::EntryOffset(3), 78u + 24u);
  EXPECT_EQ(fmt::DataAreaOffset(3), 104u);
}

TEST(Pdb, NewDatabaseHoldsZerosAndNothingElse) {
  HandheldDatabase db;
  EXPECT_EQ(db.Name(), "");
  EXPECT_EQ(db.Type(), std::string(4, '\0'));
  EXPECT_EQ(db.Version().Value(), 0);
  EXPECT_EQ(db.RecordCount().Value(), 0);
  EXPECT_EQ(db.AppInfoID().Value(), 0.0);
  EXPECT_EQ(db.UniqueIDSeed().Value(), 0.0);
  EXPECT_EQ(db.AppInfoBlock(), "");
  EXPECT_EQ(db.Records().Count(), 0);
}

TEST(Pdb, NameTypeAndCreatorReadBackAsStored) {
  HandheldDatabase db;
  db.SetName("Memo");
  db.SetCreator("ab");
  db.SetType("DATA");
  EXPECT_EQ(db.Name(), "Memo");
  EXPECT_EQ(db.Creator(), std::string("ab\0\0", 4));
  EXPECT_EQ(db.Type(), "DATA");
  db.SetName(std::string(31, 'x'));
  EXPECT_EQ(db.Name(), std::string(31, 'x'));
}

TEST(Pdb, OverlongNameTypeOrCreatorIsRefusedAndLeavesTheValue) {
  HandheldDatabase db;
  db.SetName("Memo");
  db.SetType("DATA");
  db.SetCreator("memo");
  struct Case {
    std::function<void()> call;
    const char* source;
    const char* message;
  };
  const Case cases[] = {
      {[&] { db.SetName(std::string(32, 'n')); }, "PDB.PDBName",
       "PDBName must be a maximum of 31 characters."},
      {[&] { db.SetType("DATA1"); }, "PDB.PDBType", "Invalid property value"},
      {[&] { db.SetCreator("abcde"); }, "PDB.PDBCreator", "Invalid property value"},
  };
  for (const Case& c : cases) {
    const AutomationError e = ErrorOf(c.call);
    EXPECT_EQ(e.number(), 380) << c.source;
    EXPECT_EQ(e.source(), c.source);
    EXPECT_EQ(e.description(), c.message);
  }
  EXPECT_EQ(db.Name(), "Memo");
  EXPECT_EQ(db.Type(), "DATA");
  EXPECT_EQ(db.Creator(), "memo");
}

TEST(Pdb, DatesAreWholeSecondsSince1904) {
  struct Case {
    double date;
    double stored;  // -1: overflow
  };
  const Case cases[] = {
      {k2001, k2001Palm},
      {k2001 + 0.4 * kSecond, k2001Palm},      // rounds to the nearest second
      {k2001 + 0.6 * kSecond, k2001Palm + 1},  // (not down)
      {k2001 - 0.6 * kSecond, k2001Palm - 1},
      {1462.0, 0},                                  // 1904-01-01 00:00
      {1462.0 - 1 * kSecond, -1},                   // before 1904
      {51172.0 + 23295.0 * kSecond, 4294967295.0},  // 2040-02-06 06:28:15
      {51172.0 + 23296.0 * kSecond, -1},
      {std::nan(""), -1},
  };
  for (const Case& c : cases) {
    HandheldDatabase db;
    const AutomationError e = ErrorOf([&] { db.SetModificationDate(c.date); });
    if (c.stored < 0) {
      EXPECT_EQ(e.number(), 6) << c.date;
      EXPECT_EQ(db.ModificationDate(), 1462.0);  // unchanged
      continue;
    }
    EXPECT_EQ(e.number(), 0) << c.date;
    db.SetLastBackupDate(c.date);
    EXPECT_NEAR(db.ModificationDate(), c.date, 0.5 * kSecond) << c.date;
    EXPECT_NEAR(db.LastBackupDate(), c.date, 0.5 * kSecond) << c.date;
    const std::string path = TempPath("date.pdb");
    db.WriteFile(path);
    const Bytes file = ReadRaw(path);
    EXPECT_EQ(bytes::LoadBigEndian32(&file[hotsync::database_format::kModificationDateOffset]),
              c.stored)
        << c.date;
    EXPECT_EQ(bytes::LoadBigEndian32(&file[hotsync::database_format::kLastBackupDateOffset]),
              c.stored)
        << c.date;
  }
}

TEST(Pdb, ModificationDateIsNeverWrittenBeforeTheCreationDate) {
  const std::string path = TempPath("dates.pdb");
  HandheldDatabase earlier;
  earlier.SetCreationDate(k2001);
  earlier.SetModificationDate(k2001 - 1);
  earlier.WriteFile(path);
  EXPECT_EQ(earlier.ModificationDate(), earlier.CreationDate());
  Bytes file = ReadRaw(path);
  EXPECT_EQ(bytes::LoadBigEndian32(&file[hotsync::database_format::kCreationDateOffset]),
            k2001Palm);
  EXPECT_EQ(bytes::LoadBigEndian32(&file[hotsync::database_format::kModificationDateOffset]),
            k2001Palm);

  HandheldDatabase later;
  later.SetCreationDate(k2001);
  later.SetModificationDate(k2001 + 1);
  later.WriteFile(path);
  file = ReadRaw(path);
  EXPECT_EQ(bytes::LoadBigEndian32(&file[hotsync::database_format::kModificationDateOffset]),
            k2001Palm + 86400);
}

// Byte-exact images: what WriteFile must produce, and what ReadFile must give back.
struct ImageCase {
  const char* name;
  std::function<void(HandheldDatabase&)> build;
  Bytes image;
};

std::vector<ImageCase> ImageCases() {
  std::vector<ImageCase> cases;

  {  // The header alone.
    Header h{.name = "Memo",
             .attributes = 8,
             .version = 1,
             .created = k2001Palm,
             .modified = k2001Palm + 86400,
             .backedUp = 5,
             .modificationNumber = 3,
             .type = "DATA",
             .creator = "ab",
             .seed = 7,
             .nextRecordList = 9};
    cases.push_back({"empty",
                     [](HandheldDatabase& db) {
                       db.SetName("Memo");
                       db.SetType("DATA");
                       db.SetCreator("ab");
                       db.Attributes().SetValue(8);
                       db.Version().SetValue(1);
                       db.SetCreationDate(k2001);
                       db.SetModificationDate(k2001 + 1);
                       db.SetLastBackupDate(1462.0 + 5 * kSecond);
                       db.ModificationNumber().SetValue(3);
                       db.UniqueIDSeed().SetValue(7);
                       db.NextRecordListID().SetValue(9);
                     },
                     HeaderBytes(h)});
  }
  {  // One 10-byte record: entry at 78, filler at 86, data at 88; 98 bytes.
    Bytes b = HeaderBytes({.name = "One", .type = "DATA", .creator = "test", .numRecords = 1});
    AppendEntry(b, 88, 0x40, 42);
    AppendZeros(b, 2);
    Append(b, "0123456789");
    cases.push_back({"one record",
                     [](HandheldDatabase& db) {
                       db.SetName("One");
                       db.SetType("DATA");
                       db.SetCreator("test");
                       AddRecord(db, 42, "0123456789", 0x40);
                     },
                     b});
  }
  {  // Blocks: app-info (5 bytes) at 96, sort-info (3 bytes) at 104, records from 108.
    Bytes b = HeaderBytes({.name = "Blocks", .appInfo = 96, .sortInfo = 104, .numRecords = 2});
    AppendEntry(b, 108, 0, 1);
    AppendEntry(b, 112, 0x80, 2);
    AppendZeros(b, 2);
    Append(b, "appin");
    AppendZeros(b, 3);
    Append(b, "srt");
    AppendZeros(b, 1);
    Append(b, "rec1rc");
    cases.push_back({"app-info and sort-info blocks",
                     [](HandheldDatabase& db) {
                       db.SetName("Blocks");
                       db.SetAppInfoBlock("appin");
                       db.SetSortInfoBlock("srt");
                       AddRecord(db, 1, "rec1");
                       AddRecord(db, 2, "rc", 0x80);
                     },
                     b});
  }
  {  // Only an app-info block, no records: the file ends with the block.
    Bytes b = HeaderBytes({.name = "AppOnly", .appInfo = 80});
    AppendZeros(b, 2);
    Append(b, "abcde");
    cases.push_back({"app-info block alone",
                     [](HandheldDatabase& db) {
                       db.SetName("AppOnly");
                       db.SetAppInfoBlock("abcde");
                     },
                     b});
  }
  {  // Zero-length records (one in the middle, one last) and a repeated id.
    Bytes b = HeaderBytes({.name = "Odd", .numRecords = 4});
    AppendEntry(b, 112, 0, 5);
    AppendEntry(b, 115, 0, 5);
    AppendEntry(b, 115, 0, 6);
    AppendEntry(b, 117, 0, 7);
    AppendZeros(b, 2);
    Append(b, "abcxy");
    cases.push_back({"zero-length and duplicate-id records",
                     [](HandheldDatabase& db) {
                       db.SetName("Odd");
                       AddRecord(db, 5, "abc");
                       AddRecord(db, 5, "");
                       AddRecord(db, 6, "xy");
                       AddRecord(db, 7, "");
                     },
                     b});
  }
  {  // Records that are all empty: the file still holds the filler.
    Bytes b = HeaderBytes({.name = "Hollow", .numRecords = 2});
    AppendEntry(b, 96, 0, 1);
    AppendEntry(b, 96, 0, 2);
    AppendZeros(b, 2);
    cases.push_back({"only empty records",
                     [](HandheldDatabase& db) {
                       db.SetName("Hollow");
                       AddRecord(db, 1, "");
                       AddRecord(db, 2, "");
                     },
                     b});
  }
  return cases;
}

TEST(PdbImage, WriteFileProducesTheExactImage) {
  for (const ImageCase& c : ImageCases()) {
    HandheldDatabase db;
    c.build(db);
    const std::string path = TempPath("image.pdb");
    EXPECT_TRUE(db.WriteFile(path)) << c.name;
    EXPECT_EQ(ReadRaw(path), c.image) << c.name;
    EXPECT_EQ(db.RecordCount().Value(), db.Records().Count()) << c.name;
  }
}

TEST(PdbImage, ReadFileGivesBackWhatWasWritten) {
  for (const ImageCase& c : ImageCases()) {
    HandheldDatabase written;
    c.build(written);
    const std::string path = TempPath("image.pdb");
    written.WriteFile(path);

    HandheldDatabase read;
    EXPECT_TRUE(read.ReadFile(path, true)) << c.name;
    EXPECT_EQ(read.Name(), written.Name()) << c.name;
    EXPECT_EQ(read.Type(), written.Type()) << c.name;
    EXPECT_EQ(read.Creator(), written.Creator()) << c.name;
    EXPECT_EQ(read.Attributes().Value(), written.Attributes().Value()) << c.name;
    EXPECT_EQ(read.Version().Value(), written.Version().Value()) << c.name;
    EXPECT_EQ(read.CreationDate(), written.CreationDate()) << c.name;
    EXPECT_EQ(read.ModificationDate(), written.ModificationDate()) << c.name;
    EXPECT_EQ(read.LastBackupDate(), written.LastBackupDate()) << c.name;
    EXPECT_EQ(read.ModificationNumber().Value(), written.ModificationNumber().Value()) << c.name;
    EXPECT_EQ(read.UniqueIDSeed().Value(), written.UniqueIDSeed().Value()) << c.name;
    EXPECT_EQ(read.NextRecordListID().Value(), written.NextRecordListID().Value()) << c.name;
    EXPECT_EQ(read.AppInfoID().Value(), written.AppInfoID().Value()) << c.name;
    EXPECT_EQ(read.SortInfoID().Value(), written.SortInfoID().Value()) << c.name;
    EXPECT_EQ(read.RecordCount().Value(), written.Records().Count()) << c.name;
    ASSERT_EQ(read.Records().Count(), written.Records().Count()) << c.name;
    for (int32_t i = 1; i <= read.Records().Count(); ++i) {
      const DatabaseRecord& r = *read.Records().Item(i);
      const DatabaseRecord& w = *written.Records().Item(i);
      EXPECT_EQ(r.UniqueID(), w.UniqueID()) << c.name << " record " << i;
      EXPECT_EQ(r.Attributes(), w.Attributes()) << c.name << " record " << i;
      EXPECT_EQ(r.DataOffset().Value(), w.DataOffset().Value()) << c.name << " record " << i;
      EXPECT_EQ(r.DataText(), w.DataText()) << c.name << " record " << i;
    }

    // Written again, the database read gives the same image.
    read.WriteFile(path);
    EXPECT_EQ(ReadRaw(path), c.image) << c.name;
  }
}

TEST(PdbImage, BlocksReadBackWithTheirPaddingUpToWhatFollows) {
  const std::string path = TempPath("blocks.pdb");
  HandheldDatabase written;
  written.SetAppInfoBlock("appin");
  written.SetSortInfoBlock("srt");
  AddRecord(written, 1, "r");
  written.WriteFile(path);

  HandheldDatabase read;
  read.ReadFile(path, true);
  EXPECT_EQ(read.AppInfoBlock(), std::string("appin\0\0\0", 8));
  EXPECT_EQ(read.SortInfoBlock(), std::string("srt\0", 4));

  HandheldDatabase last;  // with nothing after it, a block runs to the end of the file
  last.SetSortInfoBlock("sorted");
  last.WriteFile(path);
  read.ReadFile(path, true);
  EXPECT_EQ(read.AppInfoID().Value(), 0.0);
  EXPECT_EQ(read.AppInfoBlock(), "");
  EXPECT_EQ(read.SortInfoID().Value(), 80.0);
  EXPECT_EQ(read.SortInfoBlock(), "sorted");
}

TEST(Pdb, TwoBlocksAndTwoRecordsAreLaidOutAfterThePadding) {
  const std::string path = TempPath("layout.pdb");
  HandheldDatabase db;
  db.SetAppInfoBlock("12345");
  const RecordRef first = AddRecord(db, 1, "one");
  const RecordRef second = AddRecord(db, 2, "two");
  db.WriteFile(path);
  EXPECT_EQ(db.AppInfoID().Value(), 96.0);
  EXPECT_EQ(first->DataOffset().Value(), 104.0);
  EXPECT_EQ(second->DataOffset().Value(), 107.0);
  EXPECT_EQ(db.RecordCount().Value(), 2);
  EXPECT_EQ(ReadRaw(path).size(), 110u);
}

TEST(Pdb, ReadingWithoutDataGivesEmptyRecords) {
  const std::string path = TempPath("nodata.pdb");
  HandheldDatabase written;
  AddRecord(written, 3, "payload", 0x20);
  written.WriteFile(path);

  HandheldDatabase read;
  read.ReadFile(path, false);
  ASSERT_EQ(read.Records().Count(), 1);
  const DatabaseRecord& r = *read.Records().Item(1);
  EXPECT_EQ(r.DataLength(), 0);
  EXPECT_EQ(r.UniqueID(), 3);
  EXPECT_EQ(r.Attributes(), 0x20);
  EXPECT_EQ(r.DataOffset().Value(), 88.0);
}

// A read without data takes the header, the list and the blocks from the start
// of the file, which ends where the first record's data begins.
TEST(Pdb, ReadingWithoutDataReadsOnlyTheStartOfTheFile) {
  const std::string path = TempPath("start.pdb");
  HandheldDatabase written;
  written.SetName("Start");
  written.SetAppInfoBlock("application info");
  written.SetSortInfoBlock("sort");
  AddRecord(written, 5, std::string(1 << 20, 'x'));
  AddRecord(written, 6, "tail");
  written.WriteFile(path);

  HandheldDatabase read;
  read.ReadFile(path, false);
  EXPECT_EQ(read.Name(), "Start");
  EXPECT_EQ(read.AppInfoBlock(), "application info");
  EXPECT_EQ(read.SortInfoBlock(), "sort");
  ASSERT_EQ(read.Records().Count(), 2);
  EXPECT_EQ(read.Records().Item(2)->UniqueID(), 6);
  EXPECT_EQ(read.Records().Item(2)->DataLength(), 0);

  const std::vector<uint8_t> image = ReadRaw(path);
  const std::size_t dataStart =
      static_cast<std::size_t>(read.Records().Item(1)->DataOffset().Value());
  const std::vector<uint8_t> first(image.begin(),
                                   image.begin() + hotsync::DatabaseReader::kFirstBytes);
  EXPECT_EQ(hotsync::DatabaseReader::HeadSize(first, image.size()), dataStart);
  EXPECT_LT(dataStart, 200u);
}

TEST(Pdb, RecordsReadAreKeyedByIdAndTheFirstOfADuplicateKeepsTheKey) {
  const std::string path = TempPath("keys.pdb");
  HandheldDatabase written;
  AddRecord(written, 42, "first");
  AddRecord(written, 42, "second");
  AddRecord(written, 7, "other");
  written.WriteFile(path);

  HandheldDatabase read;
  read.ReadFile(path, true);
  EXPECT_EQ(read.Records().Count(), 3);
  EXPECT_EQ(read.Records().Item("K42")->DataText(), "first");
  EXPECT_EQ(read.Records().Item("k7")->DataText(), "other");
  EXPECT_EQ(read.Records().Item(2)->DataText(), "second");
}

// Ids need not rise: a duplicate after a higher id still leaves the key with the
// first record of that id. Read without keys, the records come in file order
// and none has a key.
TEST(Pdb, RecordKeysWhateverTheIdOrderAndReadingWithoutKeys) {
  const std::string path = TempPath("order.pdb");
  HandheldDatabase written;
  AddRecord(written, 7, "first");
  AddRecord(written, 42, "other");
  AddRecord(written, 7, "second");
  AddRecord(written, 0, "zero");
  AddRecord(written, 0, "zero again");
  written.WriteFile(path);

  HandheldDatabase read;
  read.ReadFile(path, true);
  ASSERT_EQ(read.Records().Count(), 5);
  EXPECT_EQ(read.Records().Item("K7")->DataText(), "first");
  EXPECT_EQ(read.Records().Item("K42")->DataText(), "other");
  EXPECT_EQ(read.Records().Item("K0")->DataText(), "zero");

  HandheldDatabase plain;
  plain.ReadFile(path, true, false);
  const char* data[] = {"first", "other", "second", "zero", "zero again"};
  const int32_t ids[] = {7, 42, 7, 0, 0};
  ASSERT_EQ(plain.Records().Count(), 5);
  for (int32_t i = 1; i <= 5; ++i) {
    EXPECT_EQ(plain.Records().Item(i)->DataText(), data[i - 1]);
    EXPECT_EQ(plain.Records().Item(i)->UniqueID(), ids[i - 1]);
  }
  EXPECT_EQ(plain.Records().Find("K7"), nullptr);
  EXPECT_EQ(plain.Records().Find("K42"), nullptr);
}

TEST(Pdb, RecordsReadKeepTheirDataWhenTheDatabaseIsGone) {
  const std::string path = TempPath("kept.pdb");
  HandheldDatabase written;
  AddRecord(written, 1, "first");
  AddRecord(written, 2, "second");
  written.WriteFile(path);

  RecordRef kept;
  {
    HandheldDatabase read;
    read.ReadFile(path, true);
    kept = read.Records().Item("K2");
    read.ReadFile(path, false);  // the database lets go of the first reading
  }
  EXPECT_EQ(kept->DataText(), "second");
  kept->SetDataText("changed");
  EXPECT_EQ(kept->DataText(), "changed");
  EXPECT_EQ(kept->DataLength(), 7);
}

TEST(Pdb, ReadFileReplacesWhatTheDatabaseHeld) {
  const std::string path = TempPath("replace.pdb");
  HandheldDatabase small;
  small.SetName("Small");
  small.WriteFile(path);

  HandheldDatabase db;
  db.SetName("Big");
  db.SetAppInfoBlock("info");
  AddRecord(db, 1, "x");
  db.ReadFile(path, true);
  EXPECT_EQ(db.Name(), "Small");
  EXPECT_EQ(db.AppInfoBlock(), "");
  EXPECT_EQ(db.Records().Count(), 0);
}

TEST(Pdb, WriteFileReplacesALongerFileWhole) {
  const std::string path = TempPath("shrink.pdb");
  hotsync::test_image::WriteRaw(path, Bytes(5000, 0xAA));
  HandheldDatabase db;
  db.WriteFile(path);
  EXPECT_EQ(ReadRaw(path).size(), 78u);
}

}  // namespace
}  // namespace brevora::core
