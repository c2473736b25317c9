#include "platform/hotsync/user_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/hotsync/user_list.h"
#include "platform/registry/registry.h"
#include "testing/temp_home.h"

namespace brevora::hotsync {
namespace {

using registry::Hive;

std::string SeedRoot(const std::string& rootKey = "Software\\U.S. Robotics\\Pilot Desktop",
                     const std::string& folderName = "Palm") {
  const std::string folder = testing::TempHome() + "/" + folderName;
  fs::MakeFolder(folder);
  registry::ImportRegedit("REGEDIT4\n\n[HKEY_CURRENT_USER\\" + rootKey + "\\Core]\n");
  registry::SetValue(Hive::CurrentUser, rootKey + "\\Core", "Path",
                     registry::Value::String(folder));
  return folder;
}

void WriteUsersFile(const std::string& folder, const std::string& text) {
  std::ofstream(folder + "/" + kUsersFileName, std::ios::binary) << text;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(UserList, ParseKeepsWellFormedLinesAndSkipsTheRest) {
  const std::string text =
      "3\tSmith J\tSmithJ\n"
      "\n"
      "7\tAnna\tAnna\r\n"  // CR LF line end
      "8\tTwo fields only\n"
      "9\tExtra\tdir\tfield\n"
      "x1\tBad id\tdir\n"
      "-4\tNegative\tdir\n"
      "2147483648\tToo big\tdir\n"
      "10\t\tEmptyName\n"
      "11\tEscapes\t..\n"
      "12\tEscapes\ta/b\n"
      "13\tEscapes\ta\\b\n"
      "14\tNo dir\t\n"
      "3\tDuplicate id\tOther\n"
      "2147483647\tJos\xC3\xA9\tJose\n"
      "15\tBad utf8 \xFF\tdir\n"
      "16\tLast line without end\tLast";
  const std::vector<PalmUser> expected = {{3, "Smith J", "SmithJ"},
                                          {7, "Anna", "Anna"},
                                          {2147483647, "Jos\xE9", "Jose"},
                                          {16, "Last line without end", "Last"}};
  EXPECT_EQ(ParseUserList(text), expected);
  EXPECT_TRUE(ParseUserList("").empty());
  EXPECT_TRUE(ParseUserList(std::string("\0\x01\x02\xFF garbage\n\t\t\n", 16)).empty());
}

TEST(UserData, NoPilotDesktopMeansNoUsers) {
  EXPECT_EQ(UmGetUserCount(), 0);
  char buffer[255];
  int16_t length = sizeof buffer;
  EXPECT_EQ(UmGetRootDirectory(buffer, &length), 0);
  int32_t id = 99;
  EXPECT_EQ(UmGetUserID(0, &id), -1);
  EXPECT_EQ(id, 99);
}

TEST(UserData, MissingOrMalformedFileMeansNoUsers) {
  const std::string folder = SeedRoot();
  EXPECT_EQ(UmGetUserCount(), 0);
  WriteUsersFile(folder, "this is not a user list\n\x01\x02\x03");
  EXPECT_EQ(UmGetUserCount(), 0);
}

TEST(UserData, CallsReadTheListInItsOrder) {
  const std::string folder = SeedRoot();
  WriteUsersFile(folder, "42\tSmith J\tSmithJ\nbroken line\n7\tAnna K\tAnnaK\n");
  ASSERT_EQ(UmGetUserCount(), 2);
  int32_t first = 0, second = 0;
  EXPECT_EQ(UmGetUserID(0, &first), 0);
  EXPECT_EQ(UmGetUserID(1, &second), 0);
  EXPECT_EQ(first, 42);
  EXPECT_EQ(second, 7);
  EXPECT_EQ(UmGetUserID(2, &first), -1);
  EXPECT_EQ(UmGetUserID(-1, &first), -1);
  EXPECT_EQ(UmGetUserID(0, nullptr), -1);

  std::string name(50, ' ');
  int16_t length = 50;
  ASSERT_EQ(UmGetUserName(42, name.data(), &length), 7);
  EXPECT_EQ(length, 7);
  EXPECT_EQ(name.substr(0, 7), "Smith J");
  EXPECT_EQ(name[7], '\0');
  EXPECT_EQ(name[8], ' ');  // the rest of the buffer is left as it was

  std::string root(255, ' ');
  length = 255;
  const int16_t rootLength = UmGetRootDirectory(root.data(), &length);
  ASSERT_GT(rootLength, 0);
  EXPECT_EQ(root.substr(0, static_cast<size_t>(rootLength)), folder);

  std::string dir(255, ' ');
  length = 255;
  ASSERT_EQ(UmGetUserDirectory(7, dir.data(), &length), 5);
  EXPECT_EQ(dir.substr(0, 5), "AnnaK");
}

TEST(UserData, BufferConventions) {
  const std::string folder = SeedRoot();
  WriteUsersFile(folder, "1\tA rather long user name\tDir\n");
  // Too small: 0, the needed length reported, the buffer untouched.
  std::string small(5, '#');
  int16_t length = 5;
  EXPECT_EQ(UmGetUserName(1, small.data(), &length), 0);
  EXPECT_EQ(length, 23);
  EXPECT_EQ(small, "#####");
  // Exactly the size: no room for a NUL, none written.
  std::string exact(23, '#');
  length = 23;
  EXPECT_EQ(UmGetUserName(1, exact.data(), &length), 23);
  EXPECT_EQ(exact, "A rather long user name");
  // Unknown id, null buffer, no capacity.
  length = 50;
  char buffer[50];
  EXPECT_EQ(UmGetUserName(2, buffer, &length), 0);
  EXPECT_EQ(UmGetUserName(1, nullptr, &length), -1);
  EXPECT_EQ(UmGetUserName(1, buffer, nullptr), -1);
  length = 0;
  EXPECT_EQ(UmGetUserName(1, buffer, &length), -1);
  length = 50;
  EXPECT_EQ(UmGetUserDirectory(2, buffer, &length), 0);
}

TEST(UserData, TheUsRoboticsRootComesFirst) {
  SeedRoot("Software\\Palm Computing\\Pilot Desktop", "PalmComputing");
  EXPECT_EQ(RootDirectory(), testing::TempHome() + "/PalmComputing");
  SeedRoot("Software\\U.S. Robotics\\Pilot Desktop", "Robotics");
  EXPECT_EQ(RootDirectory(), testing::TempHome() + "/Robotics");
}

TEST(UserData, AnEmptyPathIsNoRoot) {
  registry::SetValue(Hive::CurrentUser, "Software\\U.S. Robotics\\Pilot Desktop\\Core", "Path",
                     registry::Value::String(""));
  EXPECT_EQ(RootDirectory(), std::nullopt);
  EXPECT_EQ(UmGetUserCount(), 0);
}

TEST(UserList, AddUserWritesTheSharedFile) {
  const std::string folder = SeedRoot();
  WriteUsersFile(folder, "1\tFirst\tFirst\nkept as it is\n2\tSecond\tSecond\n");
  AddUser({3, "Jos\xE9", "Jose"});
  AddUser({1, "First again", "First2"});  // replaces the line of id 1
  EXPECT_EQ(ReadFile(folder + "/users.txt"),
            "kept as it is\n2\tSecond\tSecond\n3\tJos\xC3\xA9\tJose\n1\tFirst again\tFirst2\n");
  const std::vector<PalmUser> expected = {
      {2, "Second", "Second"}, {3, "Jos\xE9", "Jose"}, {1, "First again", "First2"}};
  EXPECT_EQ(ReadUsers(), expected);
  EXPECT_EQ(UmGetUserCount(), 3);
}

// The list reads "007" as id 7 and keeps the first line of an id, so the line
// a new user of that id replaces goes however its digits are written.
TEST(UserList, AddUserReplacesAnIdWrittenWithLeadingZeros) {
  const std::string folder = SeedRoot();
  WriteUsersFile(folder, "007\tOld\tOld\r\n2\tSecond\tSecond\r\n");
  AddUser({7, "New", "New"});
  EXPECT_EQ(ReadFile(folder + "/users.txt"), "2\tSecond\tSecond\r\n7\tNew\tNew\n");
  const std::vector<PalmUser> expected = {{2, "Second", "Second"}, {7, "New", "New"}};
  EXPECT_EQ(ReadUsers(), expected);
}

TEST(UserList, AddUserRefusesWhatTheFileCannotHold) {
  const PalmUser bad[] = {{-1, "Name", "Dir"},      {1, "", "Dir"},    {1, "Tab\tName", "Dir"},
                          {1, "Line\nName", "Dir"}, {1, "Name", ".."}, {1, "Name", "a/b"},
                          {1, "Name", ""}};
  SeedRoot();
  for (const PalmUser& user : bad) {
    try {
      AddUser(user);
      ADD_FAILURE() << user.name << " / " << user.directory;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 5);
    }
  }
  EXPECT_TRUE(ReadUsers().empty());
}

TEST(UserList, AddUserWithoutRootRaises76) {
  try {
    AddUser({1, "Name", "Dir"});
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 76);
    EXPECT_EQ(e.description(), "Path not found");
  }
}

TEST(UserList, AddUserNeverDropsTheUsersOfAFileItCannotRead) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
  const std::string folder = SeedRoot();
  WriteUsersFile(folder, "1\tFirst\tFirst\n");
  const std::string path = folder + "/" + kUsersFileName;
  ASSERT_EQ(chmod(path.c_str(), 0), 0);
  try {
    AddUser({2, "Second", "Second"});
    ADD_FAILURE() << "an unreadable list was replaced";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 70);
  }
  ASSERT_EQ(chmod(path.c_str(), 0600), 0);
  EXPECT_EQ(ReadFile(path), "1\tFirst\tFirst\n");
}

}  // namespace
}  // namespace brevora::hotsync
