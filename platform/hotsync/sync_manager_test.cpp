// The Sync Manager calls over a device folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/error/error.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/device_names.h"
#include "platform/hotsync/sync_manager.h"
#include "testing/handheld_folder.h"
#include "testing/temp_home.h"

namespace brevora::hotsync {
namespace {

using testing::GetDatabase;
using testing::PutDatabase;
using testing::TestDatabase;
using testing::TestRecord;

class SyncManager : public ::testing::Test {
 protected:
  void SetUp() override { session_ = std::make_unique<DeviceSession>(folder_); }
  void TearDown() override { session_.reset(); }

  // Ends the session (saving what is open) and starts a new one.
  void Reconnect() {
    session_.reset();
    session_ = std::make_unique<DeviceSession>(folder_);
  }

  uint8_t Create(const std::string& name, const char* type = "DATA", uint16_t version = 1) {
    SyncCreateDbRecord request{};
    request.creator = SyncCode("test");
    request.type = (uint32_t{uint8_t(type[0])} << 24) | (uint32_t{uint8_t(type[1])} << 16) |
                   (uint32_t{uint8_t(type[2])} << 8) | uint8_t(type[3]);
    request.version = version;
    std::snprintf(request.name, sizeof request.name, "%s", name.c_str());
    EXPECT_EQ(SyncCreateDB(&request), kSyncOk) << name;
    return request.handle;
  }

  static int32_t Write(uint8_t handle, const std::string& data, uint32_t& id,
                       uint8_t attributes = 0, uint8_t category = 0) {
    SyncRecord r{};
    r.handle = handle;
    r.id = id;
    r.attributes = attributes;
    r.category = category;
    r.buffer = const_cast<char*>(data.data());
    r.bufferSize = static_cast<uint32_t>(data.size());
    const int32_t rc = SyncWriteRec(&r);
    id = r.id;
    return rc;
  }

  std::vector<std::string> ListedNames(uint16_t page = kSyncMaxListPage) {
    std::vector<std::string> names;
    std::vector<SyncDbInfo> buffer(page);
    for (uint16_t start = 0;;) {
      uint16_t count = 0;
      const int32_t rc = SyncReadDBList(0, start, 1, buffer.data(), page, &count);
      if (rc == kSyncErrNotFound) break;
      EXPECT_EQ(rc, kSyncOk);
      if (rc != kSyncOk) break;
      for (uint16_t i = 0; i < count; ++i) names.push_back(buffer[i].name);
      start = static_cast<uint16_t>(start + count);
    }
    return names;
  }

  std::string folder_ = testing::MakeTempDir("device");
  std::unique_ptr<DeviceSession> session_;
};

TEST_F(SyncManager, ADatabaseIsCreatedWrittenClosedAndReadBack) {
  const uint8_t h = Create("Budget/2024", "Data", 9);
  uint32_t first = 0;
  uint32_t second = 0;
  ASSERT_EQ(Write(h, "first record", first, kSyncRecordDirty, 3), kSyncOk);
  ASSERT_EQ(Write(h, "", second, 0, 15), kSyncOk);
  EXPECT_EQ(first, 1u);
  EXPECT_EQ(second, 2u);
  std::string app = "category block";
  SyncBlock block{h, app.data(), static_cast<uint16_t>(app.size()), 0};
  ASSERT_EQ(SyncWriteDBAppInfoBlock(&block), kSyncOk);
  std::string state(10, '\x01');
  SyncBlock sort{h, state.data(), 10, 0};
  ASSERT_EQ(SyncWriteDBSortInfoBlock(&sort), kSyncOk);
  // Until it is closed the new database is no file of the folder (a HotSync
  // that breaks off leaves no half-made one), though the calls know it.
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/Budget%2F2024.pdb"));
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"Budget/2024"});
  SyncDbInfo found{};
  EXPECT_EQ(SyncFindDbByName(0, "Budget/2024", &found), kSyncOk);
  ASSERT_EQ(SyncCloseDB(h), kSyncOk);
  EXPECT_TRUE(std::filesystem::exists(folder_ + "/Budget%2F2024.pdb"));

  const auto db = GetDatabase(folder_, "Budget/2024");
  ASSERT_TRUE(db);
  EXPECT_EQ(db->type, "Data");
  EXPECT_EQ(db->creator, "test");
  EXPECT_EQ(db->version, 9);
  EXPECT_EQ(db->appInfo, app);
  EXPECT_EQ(db->sortInfo, state);
  EXPECT_EQ(db->records, (std::vector<TestRecord>{{0x43, 1, "first record"}, {0x0F, 2, ""}}));

  Reconnect();
  uint8_t again = 0;
  ASSERT_EQ(SyncOpenDB("Budget/2024", 0, &again, kSyncModeReadWrite), kSyncOk);
  char data[64];
  SyncRecord r{};
  r.handle = again;
  r.index = 0;
  r.buffer = data;
  r.bufferSize = sizeof data;
  ASSERT_EQ(SyncReadRecordByIndex(&r), kSyncOk);
  EXPECT_EQ(std::string(data, r.size), "first record");
  EXPECT_EQ(r.id, 1u);
  EXPECT_EQ(r.attributes, kSyncRecordDirty);
  EXPECT_EQ(r.category, 3);
  r.id = 2;
  ASSERT_EQ(SyncReadRecordById(&r), kSyncOk);
  EXPECT_EQ(r.index, 1);
  EXPECT_EQ(r.size, 0u);
  EXPECT_EQ(r.category, 15);
  r.index = 2;
  EXPECT_EQ(SyncReadRecordByIndex(&r), kSyncErrNotFound);
  uint16_t count = 0;
  ASSERT_EQ(SyncGetDBRecordCount(again, &count), kSyncOk);
  EXPECT_EQ(count, 2);
  SyncDbInfo info{};
  ASSERT_EQ(SyncReadOpenDbInfo(again, &info), kSyncOk);
  EXPECT_STREQ(info.name, "Budget/2024");
  EXPECT_EQ(info.creator, SyncCode("test"));
  EXPECT_EQ(info.recordCount, 2);
}

TEST_F(SyncManager, ReadsNeverOverrunTheCallersBuffer) {
  TestDatabase big = testing::Database("Big", {{0, 1, std::string(100, 'r')}});
  big.appInfo = std::string(300, 'a');
  PutDatabase(folder_, big);
  uint8_t h = 0;
  ASSERT_EQ(SyncOpenDB("Big", 0, &h, kSyncModeRead), kSyncOk);
  char small[10] = {};
  SyncRecord r{};
  r.handle = h;
  r.buffer = small;
  r.bufferSize = sizeof small;
  EXPECT_EQ(SyncReadRecordByIndex(&r), kSyncErrBufferTooSmall);
  EXPECT_EQ(r.size, 100u);
  EXPECT_EQ(small[0], 0);
  SyncBlock block{h, small, sizeof small, 0};
  EXPECT_EQ(SyncReadDBAppInfoBlock(&block), kSyncErrBufferTooSmall);
  EXPECT_EQ(block.bytesRead, 300);
  EXPECT_EQ(SyncReadDBSortInfoBlock(&block), kSyncErrNotFound);
  // Opened for reading: nothing may be written.
  uint32_t id = 0;
  EXPECT_EQ(Write(h, "x", id), kSyncErrReadOnly);
  EXPECT_EQ(SyncWriteDBAppInfoBlock(&block), kSyncErrReadOnly);
  EXPECT_EQ(SyncDeleteRec(h, 1), kSyncErrReadOnly);
}

// Records are read from the file many at a time; each still comes back whole
// and alone, and a file cut short after it was opened fails only the records
// it no longer holds.
TEST_F(SyncManager, RecordsReadManyAtATimeAndAFileCutShort) {
  std::vector<TestRecord> records;
  for (uint32_t i = 0; i < 3000; ++i) {
    records.push_back({0, i + 1, std::string(1 + i % 77, static_cast<char>('a' + i % 26))});
  }
  PutDatabase(folder_, testing::Database("Many", records));
  auto read = [](uint8_t h, uint16_t index, std::string& data) {
    std::vector<char> buffer(100);
    SyncRecord r{};
    r.handle = h;
    r.index = index;
    r.buffer = buffer.data();
    r.bufferSize = static_cast<uint32_t>(buffer.size());
    const int32_t rc = SyncReadRecordByIndex(&r);
    data.assign(buffer.data(), rc == kSyncOk ? r.size : 0);
    return rc;
  };
  uint8_t h = 0;
  ASSERT_EQ(SyncOpenDB("Many", 0, &h, kSyncModeRead), kSyncOk);
  std::string data;
  for (uint16_t i : {0, 1, 2999, 1500, 1501, 2}) {
    ASSERT_EQ(read(h, i, data), kSyncOk) << i;
    EXPECT_EQ(data, records[i].data) << i;
  }
  ASSERT_EQ(SyncCloseDB(h), kSyncOk);

  ASSERT_EQ(SyncOpenDB("Many", 0, &h, kSyncModeRead), kSyncOk);
  std::filesystem::resize_file(folder_ + "/Many.pdb", 30000);
  ASSERT_EQ(read(h, 0, data), kSyncOk);
  EXPECT_EQ(data, records[0].data);
  EXPECT_EQ(read(h, 2999, data), kSyncErrIo);
  ASSERT_EQ(read(h, 1, data), kSyncOk);
  EXPECT_EQ(data, records[1].data);
  EXPECT_EQ(SyncCloseDB(h), kSyncOk);
}

TEST_F(SyncManager, TheListComesInPagesToItsEnd) {
  for (int i = 0; i < 150; ++i)
    PutDatabase(folder_, testing::Database("db" + std::to_string(1000 + i)));
  Reconnect();
  const auto names = ListedNames();
  ASSERT_EQ(names.size(), 150u);
  EXPECT_EQ(names.front(), "db1000");
  EXPECT_EQ(names.back(), "db1149");
  EXPECT_EQ(ListedNames(7), names);
  SyncDbInfo info[kSyncMaxListPage];
  uint16_t count = 0;
  EXPECT_EQ(SyncReadDBList(0, 0, 1, info, 200, &count), kSyncOk);
  EXPECT_EQ(count, kSyncMaxListPage);
  EXPECT_EQ(SyncReadDBList(0, 150, 1, info, 10, &count), kSyncErrNotFound);
}

TEST_F(SyncManager, DamagedFilesAreListedMarkedAndNotOpened) {
  PutDatabase(folder_, testing::Database("Good"));
  std::ofstream(folder_ + "/Broken%2Fone.pdb") << "too short to be a database";
  std::ofstream(folder_ + "/notes.txt") << "not a database";
  std::filesystem::create_directory(folder_ + "/Folder.pdb");
  Reconnect();
  SyncDbInfo info[8];
  uint16_t count = 0;
  ASSERT_EQ(SyncReadDBList(0, 0, 1, info, 8, &count), kSyncOk);
  ASSERT_EQ(count, 3);
  EXPECT_STREQ(info[0].name, "Broken/one");
  EXPECT_EQ(info[0].state, kSyncDbDamaged);
  EXPECT_STREQ(info[1].name, "Folder");
  EXPECT_EQ(info[1].state, kSyncDbDamaged);
  EXPECT_STREQ(info[2].name, "Good");
  EXPECT_EQ(info[2].state, 0);
  uint8_t h = 0;
  EXPECT_EQ(SyncOpenDB("Broken/one", 0, &h, kSyncModeReadWrite), kSyncErrDamaged);
  EXPECT_EQ(SyncOpenDB("Missing", 0, &h, kSyncModeReadWrite), kSyncErrNotFound);
  // A damaged file can still be deleted by its name.
  EXPECT_EQ(SyncDeleteDB("Broken/one", 0), kSyncOk);
  EXPECT_FALSE(std::filesystem::exists(folder_ + "/Broken%2Fone.pdb"));
}

TEST_F(SyncManager, TheHeaderNameIsTheRealName) {
  // A file whose name does not match its header (a backup copied in).
  PutDatabase(folder_, testing::Database("Memo", {{0, 1, "memo text"}}));
  std::filesystem::rename(folder_ + "/Memo.pdb", folder_ + "/memo-backup.pdb");
  Reconnect();
  EXPECT_EQ(ListedNames(), std::vector<std::string>{"Memo"});
  uint8_t h = 0;
  ASSERT_EQ(SyncOpenDB("Memo", 0, &h, kSyncModeReadWrite), kSyncOk);
  uint32_t id = 1;
  ASSERT_EQ(Write(h, "changed", id), kSyncOk);
  ASSERT_EQ(SyncCloseDB(h), kSyncOk);
  ASSERT_TRUE(std::filesystem::exists(folder_ + "/memo-backup.pdb"));
  // Of two files holding one name, the first in file-name order has it; the
  // other is listed as damaged, under its file's name.
  PutDatabase(folder_, testing::Database("Memo"));
  Reconnect();
  SyncDbInfo info[4];
  uint16_t count = 0;
  ASSERT_EQ(SyncReadDBList(0, 0, 1, info, 4, &count), kSyncOk);
  ASSERT_EQ(count, 2);
  EXPECT_STREQ(info[0].name, "Memo");
  EXPECT_EQ(info[0].state, 0);
  EXPECT_STREQ(info[1].name, "memo-backup");
  EXPECT_EQ(info[1].state, kSyncDbDamaged);
}

TEST_F(SyncManager, OpenCreateDeleteRefuseWhatTheyCannotDo) {
  const uint8_t h = Create("One");
  SyncCreateDbRecord twice{};
  std::snprintf(twice.name, sizeof twice.name, "One");
  EXPECT_EQ(SyncCreateDB(&twice), kSyncErrExists);
  uint8_t other = 0;
  EXPECT_EQ(SyncOpenDB("One", 0, &other, kSyncModeReadWrite), kSyncErrAlreadyOpen);
  EXPECT_EQ(SyncOpenDB("One", 1, &other, kSyncModeReadWrite), kSyncErrBadArgument);
  EXPECT_EQ(SyncOpenDB("One", 0, &other, 0), kSyncErrBadArgument);
  char unterminated[kSyncNameSize];
  std::memset(unterminated, 'x', sizeof unterminated);
  EXPECT_EQ(SyncOpenDB(unterminated, 0, &other, kSyncModeReadWrite), kSyncErrBadArgument);
  EXPECT_EQ(SyncOpenDB("", 0, &other, kSyncModeReadWrite), kSyncErrBadArgument);
  EXPECT_EQ(SyncCloseDB(200), kSyncErrNotOpen);
  EXPECT_EQ(SyncDeleteDB("None", 0), kSyncErrNotFound);

  // Deleting an open database ends its handle and drops its changes.
  uint32_t id = 0;
  ASSERT_EQ(Write(h, "lost", id), kSyncOk);
  ASSERT_EQ(SyncDeleteDB("One", 0), kSyncOk);
  EXPECT_EQ(SyncCloseDB(h), kSyncErrNotOpen);
  EXPECT_TRUE(testing::DatabaseNames(folder_).empty());

  // A new database never replaces a file that took its name meanwhile, and
  // deleting it leaves that file alone.
  const uint8_t late = Create("Late");
  PutDatabase(folder_, testing::Database("Late", {{0, 7, "someone else's"}}));
  EXPECT_EQ(SyncCloseDB(late), kSyncErrExists);
  EXPECT_EQ(SyncDeleteDB("Late", 0), kSyncOk);
  EXPECT_EQ(SyncCloseDB(late), kSyncErrNotOpen);
  const auto kept = GetDatabase(folder_, "Late");
  ASSERT_TRUE(kept);
  EXPECT_EQ(kept->records, (std::vector<TestRecord>{{0, 7, "someone else's"}}));
  // Nor is a file of the new name created that holds another database.
  PutDatabase(folder_, testing::Database("Other", {{0, 8, "other's"}}));
  std::filesystem::rename(folder_ + "/Other.pdb", folder_ + "/Taken.pdb");
  Reconnect();
  SyncCreateDbRecord taken{};
  std::snprintf(taken.name, sizeof taken.name, "Taken");
  EXPECT_EQ(SyncCreateDB(&taken), kSyncErrExists);
  const auto names = testing::DatabaseNames(folder_);
  EXPECT_NE(std::find(names.begin(), names.end(), "Other"), names.end());
}

TEST_F(SyncManager, RecordsAreReplacedAndDeletedById) {
  PutDatabase(folder_, testing::Database("Recs", {{0x01, 10, "ten"}, {0x02, 20, "twenty"}}));
  Reconnect();
  uint8_t h = 0;
  ASSERT_EQ(SyncOpenDB("Recs", 0, &h, kSyncModeReadWrite), kSyncOk);
  uint32_t id = 10;
  ASSERT_EQ(Write(h, "TEN", id, kSyncRecordSecret, 5), kSyncOk);
  ASSERT_EQ(SyncDeleteRec(h, 20), kSyncOk);
  EXPECT_EQ(SyncDeleteRec(h, 20), kSyncErrNotFound);
  id = 99;
  EXPECT_EQ(Write(h, "no such", id), kSyncErrNotFound);
  id = 0;
  ASSERT_EQ(Write(h, "new", id), kSyncOk);
  EXPECT_EQ(id, 21u);  // after the highest id
  ASSERT_EQ(SyncCloseDB(h), kSyncOk);
  EXPECT_EQ(GetDatabase(folder_, "Recs")->records,
            (std::vector<TestRecord>{{0x15, 10, "TEN"}, {0x00, 21, "new"}}));
}

TEST_F(SyncManager, ADatabaseLeftOpenIsSavedWhenTheSessionEnds) {
  const uint8_t h = Create("Left open");
  uint32_t id = 0;
  ASSERT_EQ(Write(h, "kept", id), kSyncOk);
  EXPECT_EQ(session_->CloseLeftOpen(), 1u);
  EXPECT_EQ(GetDatabase(folder_, "Left open")->records.size(), 1u);
  EXPECT_EQ(SyncCloseDB(h), kSyncErrNotOpen);
}

TEST(SyncManagerWithoutDevice, CallsFailAndByteOrderHelpersWork) {
  uint8_t h = 0;
  EXPECT_EQ(SyncOpenDB("Any", 0, &h, kSyncModeReadWrite), kSyncErrNoDevice);
  EXPECT_EQ(SyncHHToHostWord(0x1234), 0x3412);
  EXPECT_EQ(SyncHostToHHDWord(0x11223344), 0x44332211u);
  const std::string folder = testing::MakeTempDir("device");
  DeviceSession one(folder);
  try {
    DeviceSession two(folder);
    ADD_FAILURE() << "two devices at once";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 5);
  }
  int32_t conduit = 0;
  EXPECT_EQ(SyncRegisterConduit(&conduit), kSyncOk);
  EXPECT_EQ(SyncUnRegisterConduit(conduit), kSyncOk);
  EXPECT_EQ(SyncUnRegisterConduit(conduit), kSyncErrBadArgument);
}

TEST(SyncManagerWithoutDevice, AMissingFolderIsRefused) {
  try {
    DeviceSession session(testing::MakeTempDir("device") + "/missing");
    ADD_FAILURE() << "a missing folder was opened";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 76);
  }
}

}  // namespace
}  // namespace brevora::hotsync
