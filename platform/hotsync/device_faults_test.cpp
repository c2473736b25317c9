// Fault injection of the device: the Nth call fails, the handheld fills up,
// the database list breaks off, the process is killed during the Nth call.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "platform/hotsync/device_file_io.h"

#include "platform/hotsync/device.h"
#include "platform/hotsync/sync_manager.h"
#include "testing/handheld_folder.h"
#include "testing/temp_home.h"

namespace brevora::hotsync {
namespace {

Faults With(std::optional<uint64_t> failCall, std::optional<uint64_t> deviceFull,
            std::optional<uint32_t> cutList) {
  Faults faults;
  faults.failCall = failCall;
  faults.deviceFullAfter = deviceFull;
  faults.cutListAfter = cutList;
  return faults;
}

int32_t CreateDb(const char* name, uint8_t& handle) {
  SyncCreateDbRecord request{};
  std::snprintf(request.name, sizeof request.name, "%s", name);
  const int32_t rc = SyncCreateDB(&request);
  handle = request.handle;
  return rc;
}

int32_t WriteRecord(uint8_t handle, std::string data) {
  SyncRecord r{};
  r.handle = handle;
  r.buffer = data.data();
  r.bufferSize = static_cast<uint32_t>(data.size());
  return SyncWriteRec(&r);
}

TEST(DeviceFaults, OnlyTheNthCallFailsAndItDoesNothing) {
  const std::string folder = testing::MakeTempDir("device");
  DeviceSession session(folder, With(3, {}, {}));
  uint8_t h = 0;
  ASSERT_EQ(CreateDb("Db", h), kSyncOk);                    // 1
  ASSERT_EQ(WriteRecord(h, "one"), kSyncOk);                // 2
  EXPECT_EQ(WriteRecord(h, "two"), kSyncErrCommunication);  // 3
  EXPECT_TRUE(session.faultReached());
  ASSERT_EQ(WriteRecord(h, "three"), kSyncOk);  // 4
  ASSERT_EQ(SyncCloseDB(h), kSyncOk);           // 5
  EXPECT_EQ(SyncHHToHostWord(1), 256);          // not a call
  EXPECT_EQ(session.calls(), 5u);
  const auto db = testing::GetDatabase(folder, "Db");
  ASSERT_EQ(db->records.size(), 2u);
  EXPECT_EQ(db->records[1].data, "three");
}

TEST(DeviceFaults, AFullDeviceRefusesTheWriteThatWouldOverflowIt) {
  const std::string folder = testing::MakeTempDir("device");
  DeviceSession session(folder, With({}, 78 + 100, {}));
  uint8_t h = 0;
  ASSERT_EQ(CreateDb("Db", h), kSyncOk);
  ASSERT_EQ(WriteRecord(h, std::string(60, 'a')), kSyncOk);
  EXPECT_EQ(WriteRecord(h, std::string(41, 'b')), kSyncErrDeviceFull);
  ASSERT_EQ(WriteRecord(h, std::string(40, 'c')), kSyncOk);
  std::string block(1, 'x');
  SyncBlock write{h, block.data(), 1, 0};
  EXPECT_EQ(SyncWriteDBAppInfoBlock(&write), kSyncErrDeviceFull);
  uint8_t second = 0;
  EXPECT_EQ(CreateDb("Second", second), kSyncErrDeviceFull);
  ASSERT_EQ(SyncCloseDB(h), kSyncOk);
  EXPECT_EQ(testing::GetDatabase(folder, "Db")->records.size(), 2u);
  EXPECT_EQ(testing::DatabaseNames(folder), std::vector<std::string>{"Db"});
}

TEST(DeviceFaults, ACutListFailsPastItsCut) {
  const std::string folder = testing::MakeTempDir("device");
  for (int i = 0; i < 10; ++i)
    testing::PutDatabase(folder, testing::Database("db" + std::to_string(i)));
  DeviceSession session(folder, With({}, {}, 6));
  SyncDbInfo info[4];
  uint16_t count = 0;
  ASSERT_EQ(SyncReadDBList(0, 0, 1, info, 4, &count), kSyncOk);
  EXPECT_EQ(count, 4);
  ASSERT_EQ(SyncReadDBList(0, 4, 1, info, 4, &count), kSyncOk);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(SyncReadDBList(0, 6, 1, info, 4, &count), kSyncErrCommunication);
  EXPECT_EQ(count, 0);
}

// In a child process: a session killed during call `kill`, after creating the
// database "New" (1), writing a record to it (2), closing it (3), and
// rewriting the database "Old" (4 open, 5 write, 6 close). Returns whether the
// child died.
bool KilledSession(const std::string& folder, uint64_t kill) {
  const pid_t child = fork();
  if (child == 0) {
    Faults faults;
    faults.killCall = kill;
    DeviceSession session(folder, faults);
    uint8_t h = 0;
    CreateDb("New", h);
    WriteRecord(h, "new record");
    SyncCloseDB(h);
    SyncOpenDB("Old", 0, &h, kSyncModeReadWrite);
    WriteRecord(h, "second record");
    SyncCloseDB(h);
    _exit(0);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
         WTERMSIG(status) == SIGKILL;
}

TEST(DeviceFaults, AKilledHotSyncLeavesEveryDatabaseWholeOrAbsent) {
  const struct {
    uint64_t kill;
    std::vector<std::string> names;  // the readable databases afterwards
    std::size_t oldRecords;          // of "Old"
    bool temporary;                  // a temporary file of the killed write is left
  } cases[] = {
      // clang-format off
      {1, {"Old"}, 1, false},  // created in memory only
      {2, {"Old"}, 1, false},
      {3, {"Old"}, 1, true},   // killed before the new file got its name
      {4, {"New", "Old"}, 1, false},
      {5, {"New", "Old"}, 1, false},
      {6, {"New", "Old"}, 1, true},
      {7, {"New", "Old"}, 2, false},  // never reached: the session ended normally
      // clang-format on
  };
  for (const auto& c : cases) {
    const std::string folder = testing::MakeTempDir("device");
    testing::PutDatabase(folder, testing::Database("Old", {{0, 1, "first record"}}));
    EXPECT_EQ(KilledSession(folder, c.kill), c.kill < 7) << c.kill;
    EXPECT_EQ(testing::DatabaseNames(folder), c.names) << c.kill;
    EXPECT_EQ(testing::GetDatabase(folder, "Old")->records.size(), c.oldRecords) << c.kill;
    if (c.kill >= 4) {
      EXPECT_EQ(testing::GetDatabase(folder, "New")->records.size(), 1u) << c.kill;
    }
    const auto all = [](std::string_view) { return true; };
    EXPECT_EQ(RemoveAbandonedWholeFiles(folder, all), c.temporary ? 1u : 0u) << c.kill;
    std::vector<std::string> files;
    for (const std::string& name : c.names) files.push_back(name + ".pdb");
    EXPECT_EQ(testing::FolderEntries(folder), files) << c.kill;
  }
}

TEST(DeviceFaults, TheTemporaryFilesOfTheDeviceAreKnownByTheirNames) {
  const struct {
    const char* name;
    std::optional<std::string> target;
  } cases[] = {
      {".Doc4.pdb.0a1b2c3d.tmp", "Doc4.pdb"},   {".hotsync.log.ffffffff.tmp", "hotsync.log"},
      {".Doc4.pdb.0A1B2C3D.tmp", std::nullopt}, {".Doc4.pdb.0a1b2c3.tmp", std::nullopt},
      {"Doc4.pdb.0a1b2c3d.tmp", std::nullopt},  {"..0a1b2c3d.tmp", std::nullopt},
      {".Doc4.pdb0a1b2c3d.tmp", std::nullopt},  {".hotsync.lock", std::nullopt},
      {".Doc4.pdb.tmpk3x0a9zq", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeFileTemporaryTarget(c.name), c.target) << c.name;
}

}  // namespace
}  // namespace brevora::hotsync
