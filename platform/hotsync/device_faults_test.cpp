// Fault injection of the device: the Nth call fails, the handheld fills up,
// the database list breaks off.
#include <gtest/gtest.h>

#include <memory>
#include <string>

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
  ASSERT_EQ(CreateDb("Db", h), kSyncOk);                   // 1
  ASSERT_EQ(WriteRecord(h, "one"), kSyncOk);               // 2
  EXPECT_EQ(WriteRecord(h, "two"), kSyncErrCommunication);  // 3
  EXPECT_TRUE(session.faultReached());
  ASSERT_EQ(WriteRecord(h, "three"), kSyncOk);             // 4
  ASSERT_EQ(SyncCloseDB(h), kSyncOk);                      // 5
  EXPECT_EQ(SyncHHToHostWord(1), 256);                     // not a call
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
  for (int i = 0; i < 10; ++i) testing::PutDatabase(folder, testing::Database("db" + std::to_string(i)));
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

}  // namespace
}  // namespace brevora::hotsync
