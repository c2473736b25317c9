#include <gtest/gtest.h>

#include "platform/hotsync/device_names.h"

namespace brevora::hotsync {
namespace {

TEST(DeviceNames, NamesBecomeSafeFileNamesAndBack) {
  struct Case {
    std::string name;
    std::string file;
  };
  const Case cases[] = {
      {"MainTabulynDB", "MainTabulynDB.pdb"},
      {"Budget 2024", "Budget 2024.pdb"},
      {"a/b\\c%d", "a%2Fb%5Cc%25d.pdb"},
      {".hidden", "%2Ehidden.pdb"},
      {"..", "%2E..pdb"},
      {".", "%2E.pdb"},
      {" lead", "%20lead.pdb"},
      {"caf\xE9", "caf%E9.pdb"},
      {"tab\there\x7F", "tab%09here%7F.pdb"},
      {"a:b*c?\"<>|", "a:b*c?\"<>|.pdb"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DatabaseFileName(c.name), c.file);
    EXPECT_EQ(DatabaseNameOfFile(c.file), c.name);
  }
  EXPECT_EQ(DatabaseNameOfFile("lower%e9.pdb"), "lower\xE9");
  for (const char* bad : {"", ".pdb", "name.PDB", "name", "bad%2.pdb", "bad%.pdb", "bad%G0.pdb"}) {
    EXPECT_EQ(DatabaseNameOfFile(bad), std::nullopt) << bad;
  }
  EXPECT_TRUE(IsDatabaseName(std::string(31, 'n')));
  EXPECT_FALSE(IsDatabaseName(std::string(32, 'n')));
  EXPECT_FALSE(IsDatabaseName(""));
  EXPECT_FALSE(IsDatabaseName(std::string("a\0b", 3)));
}

}  // namespace
}  // namespace brevora::hotsync
