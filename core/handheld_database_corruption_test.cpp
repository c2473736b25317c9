// Damaged database files: every one is refused with the read error, none is read
// as zeros or out of bounds, and the database keeps what it held.
#include <gtest/gtest.h>

#include <functional>

#include "core/handheld_database.h"
#include "platform/error/error.h"
#include "platform/hotsync/database_format.h"
#include "platform/hotsync/database_test_support.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using hotsync::test_image::Append;
using hotsync::test_image::AppendEntry;
using hotsync::test_image::AppendZeros;
using hotsync::test_image::Bytes;
using hotsync::test_image::DamagedImage;
using hotsync::test_image::DamagedImages;
using hotsync::test_image::HeaderBytes;
using hotsync::test_image::SoundImage;
using hotsync::test_image::TempPath;
using hotsync::test_image::WriteRaw;

// A database whose contents show whether a failed read touched it.
void Prepare(HandheldDatabase& db) {
  db.SetName("Untouched");
  db.SetAppInfoBlock("keep");
  RecordRef rec = MakeRef<DatabaseRecord>();
  rec->SetDataText("kept");
  db.Records().Add(rec);
}

void ExpectUntouched(HandheldDatabase& db, const char* what) {
  EXPECT_EQ(db.Name(), "Untouched") << what;
  EXPECT_EQ(db.AppInfoBlock(), "keep") << what;
  ASSERT_EQ(db.Records().Count(), 1) << what;
  EXPECT_EQ(db.Records().Item(1)->DataText(), "kept") << what;
}

// Reads `path`; the error raised, or number 0 when the read succeeded.
AutomationError ReadError(HandheldDatabase& db, const std::string& path, bool readData = true) {
  return ::brevora::testing::ErrorOf([&] { db.ReadFile(path, readData); });
}

TEST(PdbCorruption, DamagedFilesAreRefusedWithTheReadError) {
  for (const DamagedImage& c : DamagedImages()) {
    const std::string path = TempPath("damaged.pdb");
    WriteRaw(path, c.image);
    for (const bool readData : {true, false}) {
      HandheldDatabase db;
      Prepare(db);
      const AutomationError e = ReadError(db, path, readData);
      EXPECT_EQ(e.number(), 321) << c.what;
      EXPECT_EQ(e.source(), "PDB.ReadFile") << c.what;
      EXPECT_EQ(e.description(), "Error reading PDB File (" + path + ")\r\nInvalid file format")
          << c.what;
      ExpectUntouched(db, c.what);
    }
  }
}

TEST(PdbCorruption, AMissingFileIsAReadErrorToo) {
  HandheldDatabase db;
  Prepare(db);
  const std::string path = TempPath("missing.pdb");
  const AutomationError e = ReadError(db, path);
  EXPECT_EQ(e.number(), 53);
  EXPECT_EQ(e.source(), "PDB.ReadFile");
  EXPECT_EQ(e.description().rfind("Error reading PDB File (" + path + ")\r\n", 0), 0u)
      << e.description();
  ExpectUntouched(db, "missing");
}

TEST(PdbCorruption, BlockOffsetsPastTheEndMeanNoBlock) {
  struct Case {
    const char* what;
    uint32_t appInfo;
    uint32_t sortInfo;
    const char* app;
    const char* sort;
  };
  // The file: 78-byte header, one entry, filler, 8 bytes of blocks, record at 96.
  const Case cases[] = {
      {"app-info past the end", 5000, 88, "", "blockAB"},
      {"sort-info past the end", 88, 0xFFFFFFFF, "blockAB", ""},
      {"both past the end", 97, 98, "", ""},
  };
  for (const Case& c : cases) {
    Bytes b = HeaderBytes({.appInfo = c.appInfo, .sortInfo = c.sortInfo, .numRecords = 1});
    AppendEntry(b, 95, 0, 1);
    AppendZeros(b, 2);
    Append(b, "blockAB");
    Append(b, "R");
    const std::string path = TempPath("blocks.pdb");
    WriteRaw(path, b);
    HandheldDatabase db;
    db.ReadFile(path, true);
    EXPECT_EQ(db.AppInfoID().Value(), std::string_view(c.app).empty() ? 0.0 : 88.0) << c.what;
    EXPECT_EQ(db.AppInfoBlock(), c.app) << c.what;
    EXPECT_EQ(db.SortInfoBlock(), c.sort) << c.what;
    EXPECT_EQ(db.Records().Item(1)->DataText(), "R") << c.what;
  }
}

TEST(PdbCorruption, OffsetsAtTheEndOfTheFileGiveEmptyBlocksAndRecords) {
  Bytes b = HeaderBytes({.appInfo = 96, .sortInfo = 96, .numRecords = 2});
  AppendEntry(b, 96, 0, 1);
  AppendEntry(b, 96, 0, 2);
  AppendZeros(b, 2);
  const std::string path = TempPath("ends.pdb");
  WriteRaw(path, b);
  HandheldDatabase db;
  db.ReadFile(path, true);
  EXPECT_EQ(db.AppInfoBlock(), "");
  EXPECT_EQ(db.SortInfoBlock(), "");
  ASSERT_EQ(db.Records().Count(), 2);
  EXPECT_EQ(db.Records().Item(1)->DataLength(), 0);
  EXPECT_EQ(db.Records().Item(2)->DataLength(), 0);
}

// Every cut and every single-byte change of a sound file either reads or is
// refused with 321; under the sanitizers this also shows nothing is read
// outside the file.
TEST(PdbCorruption, EveryTruncationAndByteChangeReadsOrIsRefused) {
  const Bytes sound = SoundImage();
  const std::string path = TempPath("mutant.pdb");
  auto check = [&](const Bytes& image, const std::string& what) {
    WriteRaw(path, image);
    HandheldDatabase db;
    const AutomationError e = ReadError(db, path);
    EXPECT_TRUE(e.number() == 0 || e.number() == 321) << what << ": " << e.description();
    // Without the data only the start of the file is read; the verdict and
    // what is read are the same.
    HandheldDatabase head;
    EXPECT_EQ(ReadError(head, path, false).number(), e.number()) << what;
    if (e.number() != 0) return;
    EXPECT_EQ(head.Name(), db.Name()) << what;
    EXPECT_EQ(head.AppInfoBlock(), db.AppInfoBlock()) << what;
    EXPECT_EQ(head.SortInfoBlock(), db.SortInfoBlock()) << what;
    ASSERT_EQ(head.Records().Count(), db.Records().Count()) << what;
    for (int32_t i = 1; i <= db.Records().Count(); ++i) {
      EXPECT_EQ(head.Records().Item(i)->UniqueID(), db.Records().Item(i)->UniqueID()) << what;
      EXPECT_EQ(head.Records().Item(i)->DataLength(), 0) << what;
    }
    std::size_t total = db.AppInfoBlock().size() + db.SortInfoBlock().size();
    for (int32_t i = 1; i <= db.Records().Count(); ++i) {
      total += db.Records().Item(i)->Data().size();
    }
    EXPECT_LE(total, image.size()) << what;
  };
  for (std::size_t size = 0; size < sound.size(); ++size) {
    check(Bytes(sound.begin(), sound.begin() + size), "cut at " + std::to_string(size));
  }
  for (std::size_t at = 0; at < hotsync::database_format::DataAreaOffset(2); ++at) {
    for (const uint8_t value : {uint8_t{0x00}, uint8_t{0x01}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      Bytes image = sound;
      image[at] = value;
      check(image, "byte " + std::to_string(at) + " = " + std::to_string(value));
    }
  }
}

}  // namespace
}  // namespace brevora::core
