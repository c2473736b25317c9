// One HotSync at a time over a folder: the lock, another process that holds
// it, and the kernel dropping it when its holder is killed.
#include "platform/hotsync/run_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "platform/error/error.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/device_file_io.h"
#include "platform/hotsync/sync_manager.h"
#include "testing/temp_home.h"

namespace brevora::hotsync {
namespace {

TEST(RunLock, OneHolderAtATimeUntilItsProcessDies) {
  const std::string folder = testing::MakeTempDir("device");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  ASSERT_GE(holder, 0);
  if (holder == 0) {
    const auto lock = RunLock::TryTake(folder);
    const char c = lock ? 'y' : 'n';
    if (write(ready[1], &c, 1) != 1) _exit(1);
    pause();  // until killed
    _exit(0);
  }
  char taken = 0;
  ASSERT_EQ(read(ready[0], &taken, 1), 1);
  EXPECT_EQ(taken, 'y');
  EXPECT_FALSE(RunLock::TryTake(folder));

  kill(holder, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(holder, &status, 0), holder);
  auto lock = RunLock::TryTake(folder);
  ASSERT_TRUE(lock);
  // In one process too, a second taker is refused while the first holds it.
  EXPECT_FALSE(RunLock::TryTake(folder));
  lock.reset();
  EXPECT_TRUE(RunLock::TryTake(folder));
  close(ready[0]);
  close(ready[1]);
}

TEST(RunLock, TheLockFileIsNoDatabaseAndNoLeftover) {
  const std::string folder = testing::MakeTempDir("device");
  const auto lock = RunLock::TryTake(folder);
  ASSERT_TRUE(lock);
  EXPECT_EQ(RemoveAbandonedWholeFiles(folder, [](std::string_view) { return true; }), 0u);
  EXPECT_TRUE(std::filesystem::exists(folder + "/" + kRunLockFileName));
  DeviceSession session(folder);
  SyncDbInfo info[4];
  uint16_t count = 0;
  EXPECT_EQ(SyncReadDBList(0, 0, 1, info, 4, &count), kSyncErrNotFound);
  EXPECT_EQ(count, 0);
}

TEST(RunLock, AFolderThatCantHoldTheLockIsAnError) {
  const std::string folder = testing::MakeTempDir("device");
  std::filesystem::create_directory(folder + "/" + kRunLockFileName);
  EXPECT_THROW(RunLock::TryTake(folder), AutomationError);
  EXPECT_THROW(RunLock::TryTake(folder + "/missing"), AutomationError);
}

}  // namespace
}  // namespace brevora::hotsync
