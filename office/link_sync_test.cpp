#include "office/link_sync.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/mod_main.h"
#include "platform/fs/files.h"
#include "testing/temp_home.h"

namespace brevora::office {
namespace {

TEST(LinkSync, TheSyncMethodDecidesTheDirections) {
  const struct {
    int method;
    bool pull;
    bool push;
  } cases[] = {{kLinkSynchronize, true, true},   {kLinkPalmToOffice, false, true}, {kLinkOfficeToPalm, true, false},
               {kLinkDoNothing, false, false},   {4, false, false},                {-1, false, false}};
  for (const auto& c : cases) {
    EXPECT_EQ(LinkFollows(c.method, /*pull=*/true), c.pull) << c.method;
    EXPECT_EQ(LinkFollows(c.method, /*pull=*/false), c.push) << c.method;
  }
}

TEST(LinkSync, TheLinkedFileMustExistAndBeASecondNewer) {
  const std::string dir = testing::MakeTempDir("link");
  const std::string file = dir + "/Budget.xls";
  const double date = 40000.5;  // a day in 2009, at noon
  const double seconds = core::DaysToSeconds(date);

  EXPECT_FALSE(LinkedFileExists(file));
  EXPECT_FALSE(LinkedFileIsNewer(file, 0));
  EXPECT_FALSE(LinkedFileExists(dir)) << "a folder is no linked file";
  EXPECT_FALSE(LinkedFileExists("")) << "no name";

  fs::AtomicWrite(file, std::string_view("xls"));
  fs::SetFileDateTime(file, date);
  EXPECT_TRUE(LinkedFileExists(file));
  EXPECT_FALSE(LinkedFileExists(dir + "/budget.XLS")) << "the exact name, as the time is read from it";
  EXPECT_DOUBLE_EQ(LinkedFileSeconds(file), seconds);
  EXPECT_TRUE(LinkedFileIsNewer(file, seconds - 1));
  EXPECT_FALSE(LinkedFileIsNewer(file, seconds - 0.5));
  EXPECT_FALSE(LinkedFileIsNewer(file, seconds));
  EXPECT_FALSE(LinkedFileIsNewer(file, seconds + 10));
}

}  // namespace
}  // namespace brevora::office
