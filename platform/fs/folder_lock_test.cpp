// The folder lock: a second taker waits for the holder, a killed holder frees
// it, and a folder that isn't there is refused.
#include "platform/fs/folder_lock.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::fs {
namespace {

using ::brevora::testing::RaisesErrorNumber;

TEST(FolderLock, ASecondTakerWaitsForTheHolder) {
  const std::string folder = testing::MakeTempDir("locked");
  std::atomic<bool> taken{false};
  std::thread second;
  {
    FolderLock held(folder);
    second = std::thread([&] {
      FolderLock mine(folder);
      taken = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_FALSE(taken) << "the lock was taken twice";
  }
  second.join();
  EXPECT_TRUE(taken);
}

TEST(FolderLock, AKilledHolderLeavesItFree) {
  const std::string folder = testing::MakeTempDir("killed");
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    FolderLock held(folder);
    (void)!write(ready[1], "x", 1);
    pause();
    _exit(0);
  }
  char byte = 0;
  ASSERT_EQ(read(ready[0], &byte, 1), 1);
  kill(child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  close(ready[0]);
  close(ready[1]);
  alarm(20);  // a lock that stayed taken fails the test instead of hanging it
  { FolderLock mine(folder); }
  alarm(0);
}

TEST(FolderLock, OnlyAFolderThatExistsCanBeLocked) {
  const std::string folder = testing::MakeTempDir("plain");
  std::ofstream(folder + "/file") << "x";
  EXPECT_THAT([&] { FolderLock lock(folder + "/missing"); }, RaisesErrorNumber(76));
  EXPECT_THAT([&] { FolderLock lock(folder + "/file"); }, RaisesErrorNumber(75));
}

}  // namespace
}  // namespace brevora::fs
