#include "platform/hotsync/user_install.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "platform/fs/files.h"
#include "platform/hotsync/user_list.h"
#include "platform/registry/registry.h"
#include "testing/temp_home.h"

namespace brevora::hotsync {
namespace {

void SeedUsers(const std::string& usersText) {
  const std::string root = testing::MakeTempDir("Palm");
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Palm Computing\\Pilot Desktop\\Core",
                     "Path", registry::Value::String(root));
  std::ofstream(root + "/" + kUsersFileName, std::ios::binary) << usersText;
}

TEST(UserInstall, ListedUsersAreInstalled) {
  SeedUsers("3\tSmith J\tSmithJ\n7\tAnna\tAnna\n");
  const struct {
    int32_t id;
    int32_t installed;
    int32_t setInstall;
  } cases[] = {{3, 1, 0}, {7, 1, 0}, {4, 0, -1}, {0, 0, -1}, {-3, 0, -1}};
  for (const auto& c : cases) {
    EXPECT_EQ(UmIsUserInstalled(c.id), c.installed) << c.id;
    EXPECT_EQ(UmSetUserInstall(c.id, 1), c.setInstall) << c.id;
    EXPECT_EQ(UmIsUserInstalled(c.id), c.installed) << c.id << " after the install call";
  }
  EXPECT_EQ(UmSetUserInstall(3, 0), -1);  // uninstalling is not offered
  EXPECT_EQ(UmIsUserInstalled(3), 1);
}

TEST(UserInstall, NoListInstallsNobody) {
  EXPECT_EQ(UmIsUserInstalled(3), 0);  // no Pilot Desktop key
  EXPECT_EQ(UmSetUserInstall(3, 1), -1);
  SeedUsers("not a user line\n");
  EXPECT_EQ(UmIsUserInstalled(3), 0);
  EXPECT_EQ(UmSetUserInstall(3, 1), -1);
}

}  // namespace
}  // namespace brevora::hotsync
