#include "remote/build_version.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>

#include <fstream>

#include "testing/temp_home.h"

namespace brevora::remote {
namespace {

TEST(BuildVersion, PacksTheDateOfTheProgramFile) {
  std::tm date{};
  date.tm_year = 2024 - 1900;
  date.tm_mon = 2;  // March
  date.tm_mday = 15;
  EXPECT_EQ(VersionWordOfDate(date), 0x18030F0Au);

  const std::string file = testing::MakeTempDir("bin") + "/vantapc";
  std::ofstream(file) << "x";
  std::tm local{};
  local.tm_year = 2009 - 1900;
  local.tm_mon = 11;
  local.tm_mday = 31;
  local.tm_hour = 12;
  local.tm_isdst = -1;
  const time_t when = mktime(&local);
  const utimbuf times{when, when};
  ASSERT_EQ(utime(file.c_str(), &times), 0);
  EXPECT_EQ(VersionWordOfFile(file), 0x090C1F0Au);
  EXPECT_EQ(VersionWordOfFile(file + ".missing"), 0u);
  EXPECT_NE(GetBuildVersionWord(), 0u);
  EXPECT_EQ(GetBuildVersionWord() & 0xFF, 0x0Au);
}

}  // namespace
}  // namespace brevora::remote
