// Saving a database: what cannot be written is refused before the disk is
// touched, and a write that fails part-way leaves the old file as it was.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <functional>

#include "core/handheld_database.h"
#include "platform/error/error.h"
#include "platform/hotsync/database_test_support.h"
#include "testing/caught_error.h"

namespace brevora::core {
namespace {

using hotsync::test_image::Bytes;
using hotsync::test_image::ReadRaw;
using hotsync::test_image::WriteRaw;

AutomationError WriteError(HandheldDatabase& db, const std::string& path) {
  return ::brevora::testing::ErrorOf([&] { db.WriteFile(path); });
}

std::size_t EntriesIn(const std::string& folder) {
  return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                std::filesystem::directory_iterator()));
}

// The file size limit of the process, lowered for one scope, so that a write
// fails part-way as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    old_signal_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit lowered = old_;
    lowered.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &lowered);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, old_signal_);
  }

 private:
  rlimit old_{};
  void (*old_signal_)(int) = nullptr;
};

TEST(PdbWrite, WhatCannotBeWrittenIsRefusedBeforeTheDiskIsTouched) {
  struct Case {
    const char* what;
    std::function<void(HandheldDatabase&)> build;
    int32_t number;
    const char* inner;
  };
  const Case cases[] = {
      {"65536 records",
       [](HandheldDatabase& db) {
         for (int i = 0; i < 65536; ++i) db.Records().Add(MakeRef<DatabaseRecord>());
       },
       6, "Overflow"},
      {"an empty slot in Records",
       [](HandheldDatabase& db) {
         db.Records().Add(MakeRef<DatabaseRecord>());
         db.Records().Add(RecordRef());
       },
       91, "Object variable or With block variable not set"},
  };
  for (const Case& c : cases) {
    const std::string folder = testing::MakeTempDir(std::string("refused ") + c.what);
    const std::string path = folder + "/old.pdb";
    const Bytes old(300, 0x5A);
    WriteRaw(path, old);

    HandheldDatabase db;
    c.build(db);
    const AutomationError e = WriteError(db, path);
    EXPECT_EQ(e.number(), c.number) << c.what;
    EXPECT_EQ(e.source(), "PDB.WriteFile") << c.what;
    EXPECT_EQ(e.description(), "Error writing PDB File (" + path + ")\r\n" + c.inner) << c.what;
    EXPECT_EQ(ReadRaw(path), old) << c.what;
    EXPECT_EQ(EntriesIn(folder), 1u) << c.what;  // no temporary file left behind
    // Nothing of the database was changed either.
    EXPECT_EQ(db.RecordCount().Value(), 0) << c.what;
    EXPECT_EQ(db.Records().Item(1)->DataOffset().Value(), 0.0) << c.what;
  }
}

TEST(PdbWrite, TheLargestRecordCountIsWritten) {
  const std::string path = testing::MakeTempDir("write") + "/full.pdb";
  HandheldDatabase db;
  for (int i = 0; i < 65535; ++i) db.Records().Add(MakeRef<DatabaseRecord>());
  db.WriteFile(path);
  EXPECT_EQ(ReadRaw(path).size(), 78u + 8u * 65535u + 2u);
  EXPECT_EQ(db.RecordCount().Value(), 65535);
}

TEST(PdbWrite, AWriteThatFailsPartWayLeavesTheOldFile) {
  const std::string folder = testing::MakeTempDir("write");
  const std::string path = folder + "/partial.pdb";
  const Bytes old(300, 0x5A);
  WriteRaw(path, old);

  HandheldDatabase db;
  RecordRef rec = MakeRef<DatabaseRecord>();
  rec->SetData(Bytes(64 * 1024, 0x11));
  db.Records().Add(rec);
  AutomationError e(0, "", "");
  {
    FileSizeLimit limit(4096);
    e = WriteError(db, path);
  }
  EXPECT_NE(e.number(), 0);
  EXPECT_EQ(e.source(), "PDB.WriteFile");
  EXPECT_EQ(e.description().rfind("Error writing PDB File (" + path + ")\r\n", 0), 0u)
      << e.description();
  EXPECT_EQ(ReadRaw(path), old);
  EXPECT_EQ(EntriesIn(folder), 1u);

  db.WriteFile(path);  // with room again, the same database is written
  EXPECT_EQ(ReadRaw(path).size(), 88u + 64u * 1024u);
}

TEST(PdbWrite, AMissingFolderIsAWriteError) {
  const std::string path = testing::MakeTempDir("write") + "/no/such/folder/x.pdb";
  HandheldDatabase db;
  const AutomationError e = WriteError(db, path);
  EXPECT_NE(e.number(), 0);
  EXPECT_EQ(e.source(), "PDB.WriteFile");
}

}  // namespace
}  // namespace brevora::core
