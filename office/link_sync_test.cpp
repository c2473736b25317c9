#include "office/link_sync.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <string>
#include <string_view>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::office {
namespace {

using ::brevora::testing::NumberOf;

TEST(LinkSync, TheLinkedFileMustExistAndBeASecondNewer) {
  const std::string dir = testing::MakeTempDir("link");
  const std::string file = dir + "/Budget.xls";
  const double date = 40000.5;  // a day in 2009, at noon
  const double seconds = DaysToSeconds(date);

  EXPECT_FALSE(LinkedFileExists(file));
  EXPECT_FALSE(LinkedFileIsNewer(file, 0));
  EXPECT_FALSE(LinkedFileExists(dir)) << "a folder is no linked file";
  EXPECT_FALSE(LinkedFileExists("")) << "no name";

  fs::AtomicWrite(file, std::string_view("xls"));
  fs::SetFileDateTime(file, date);
  EXPECT_TRUE(LinkedFileExists(file));
  EXPECT_FALSE(LinkedFileExists(dir + "/budget.XLS"))
      << "the exact name, as the time is read from it";
  EXPECT_DOUBLE_EQ(LinkedFileSeconds(file), seconds);
  EXPECT_TRUE(LinkedFileIsNewer(file, seconds - 1));
  EXPECT_FALSE(LinkedFileIsNewer(file, seconds - 0.5));
  EXPECT_FALSE(LinkedFileIsNewer(file, seconds));
  EXPECT_FALSE(LinkedFileIsNewer(file, seconds + 10));
}

TEST(LinkSync, DaysToSeconds) {
  EXPECT_EQ(DaysToSeconds(2), 172800.0);
  EXPECT_EQ(DaysToSeconds(0), 0.0);
  EXPECT_EQ(DaysToSeconds(0.5), 43200.0);
  EXPECT_EQ(DaysToSeconds(-1), -86400.0);
  EXPECT_EQ(NumberOf([] { DaysToSeconds(std::numeric_limits<double>::max()); }), 6);
}

}  // namespace
}  // namespace brevora::office
