#include "core/mod_main.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <string>

#include "platform/error/error.h"
#include "platform/services/event_log.h"
#include "testing/temp_home.h"

namespace brevora::core {
namespace {

int32_t RuntimeErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return e.number();
  }
  return 0;
}

TEST(ModMain, FileModeExtensionsAndTypeNames) {
  const struct {
    int16_t mode;
    const char* extension;
    const char* typeName;
  } cases[] = {{0, "tbr", "Tabulyn Workbook"}, {1, "scv", "Scrivane Document"}, {2, "pdb", ""},
               {3, "", ""},                    {-1, "", ""}};
  for (const auto& c : cases) {
    EXPECT_EQ(modMain::GetFileExtension(c.mode), c.extension) << c.mode;
    EXPECT_EQ(modMain::GetFileTypeName(c.mode), c.typeName) << c.mode;
  }
}

TEST(ModMain, PathPieces) {
  const struct {
    const char* path;
    const char* pathPart;
    const char* filePart;
    const char* extension;
    const char* stripped;
  } cases[] = {
      {"C:\\a\\b.tbr", "C:\\a\\", "b.tbr", "tbr", "C:\\a\\b"},
      {"Budget", "Budget", "Budget", "Budget", "Budget"},
      {"C:\\a.dir\\Budget", "C:\\a.dir\\", "Budget", "dir\\Budget", "C:\\a"},
      {"Budget.2003.tbr", "Budget.2003.tbr", "Budget.2003.tbr", "tbr", "Budget.2003"},
      {"C:\\a\\", "C:\\a\\", "", "C:\\a\\", "C:\\a\\"},
      {"", "", "", "", ""},
      {"/home/u/Palm/b.tbr", "/home/u/Palm/", "b.tbr", "tbr", "/home/u/Palm/b"},
      {"/home/u\\Palm\\x.scv", "/home/u\\Palm\\", "x.scv", "scv", "/home/u\\Palm\\x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(modMain::GetPathPart(c.path), c.pathPart) << c.path;
    EXPECT_EQ(modMain::GetFilePart(c.path), c.filePart) << c.path;
    EXPECT_EQ(modMain::GetExtensionPart(c.path), c.extension) << c.path;
    EXPECT_EQ(modMain::StripExtension(c.path), c.stripped) << c.path;
  }
}

TEST(ModMain, StripQuotes) {
  EXPECT_EQ(modMain::StripQuotes("\"C:\\My Files\\a.tbr\""), "C:\\My Files\\a.tbr");
  EXPECT_EQ(modMain::StripQuotes("a\"\"b"), "ab");
  EXPECT_EQ(modMain::StripQuotes(""), "");
}

TEST(ModMain, FileModeExtensionsAddAndRemove) {
  const struct {
    const char* name;
    int16_t mode;
    const char* removed;
    const char* added;
  } cases[] = {
      {"Budget.TBR", 0, "Budget", "Budget.tbr"},
      {"Budget.tbr", 0, "Budget", "Budget.tbr"},
      {"Budget.xls", 0, "Budget.xls", "Budget.xls.tbr"},
      {"Notes", 1, "Notes", "Notes.scv"},
      {"Notes.Scv", 1, "Notes", "Notes.scv"},
      {"Slides.pdb", 2, "Slides", "Slides.pdb"},
      {"Budget.tbr", 1, "Budget.tbr", "Budget.tbr.scv"},
      {"tbr", 0, "tbr", "tbr.tbr"},  // no full stop: no extension to remove
  };
  for (const auto& c : cases) {
    EXPECT_EQ(modMain::RemoveFileModeExtension(c.name, c.mode), c.removed) << c.name;
    EXPECT_EQ(modMain::AddFileModeExtension(c.name, c.mode), c.added) << c.name;
  }
}

TEST(ModMain, FileExistsMatchesFilesWithoutRegardToCase) {
  const std::string dir = testing::MakeTempDir("files");
  std::ofstream(dir + "/Budget.tbr") << "x";
  std::ofstream(dir + "/.hidden") << "x";
  testing::MakeTempDir("files/Folder");
  EXPECT_TRUE(modMain::FileExists(dir + "/Budget.tbr"));
  EXPECT_TRUE(modMain::FileExists(dir + "\\budget.TBR"));
  EXPECT_TRUE(modMain::FileExists(dir + "/.hidden"));
  EXPECT_FALSE(modMain::FileExists(dir + "/Folder"));
  EXPECT_FALSE(modMain::FileExists(dir + "/Missing.tbr"));
  EXPECT_FALSE(modMain::FileExists(dir + "/nofolder/Budget.tbr"));
  EXPECT_FALSE(modMain::FileExists(""));
}

TEST(ModMain, GetLongFileNameGivesTheStoredName) {
  const std::string dir = testing::MakeTempDir("long");
  std::ofstream(dir + "/Quarterly Budget.tbr") << "x";
  EXPECT_EQ(modMain::GetLongFileName("\"" + dir + "/quarterly budget.TBR\""), dir + "/Quarterly Budget.tbr");
  EXPECT_EQ(modMain::GetLongFileName(dir + "/missing.tbr"), dir + "/missing.tbr");
  EXPECT_EQ(modMain::GetLongFileName("\"" + dir + "/none/a.tbr\""), dir + "/none/a.tbr");
}

TEST(ModMain, GetTempFilePathIsTheTemporaryFolderWithASeparator) {
  const std::string path = modMain::GetTempFilePath();
  EXPECT_EQ(path, testing::TempHome() + "/tmp/");
}

TEST(ModMain, CollectionHasKeyAndClearError) {
  Collection<int> c;
  c.Add(1, "K12");
  EXPECT_TRUE(modMain::CollectionHasKey(c, "k12"));
  EXPECT_FALSE(modMain::CollectionHasKey(c, "K13"));
  try {
    RaiseRuntimeError(5);
  } catch (const AutomationError&) {
    EXPECT_FALSE(modMain::ClearError());
  }
  EXPECT_FALSE(modMain::ClearError());
}

TEST(ModMain, ByteStringsAreMostSignificantByteFirst) {
  EXPECT_EQ(modMain::DWordToString(0x12345678), std::string("\x12\x34\x56\x78"));
  EXPECT_EQ(modMain::DWordToString(4294967295.0), std::string("\xFF\xFF\xFF\xFF"));
  EXPECT_EQ(modMain::DWordToString(-1), std::string("\xFF\xFF\xFF\xFF"));
  EXPECT_EQ(modMain::DWordToString(1500), std::string("\0\0\x05\xDC", 4));
  EXPECT_EQ(modMain::DWordToString(2.5), std::string("\0\0\0\x02", 4));  // halves to even
  EXPECT_EQ(RuntimeErrorOf([] { modMain::DWordToString(4294967296.0); }), 6);
  EXPECT_EQ(RuntimeErrorOf([] { modMain::DWordToString(-2147483649.0); }), 6);
  EXPECT_EQ(RuntimeErrorOf([] { modMain::DWordToString(std::nan("")); }), 6);

  EXPECT_EQ(modMain::WordToString(0x1234), "\x12\x34");
  EXPECT_EQ(modMain::WordToString(0x12345), "\x23\x45");
  EXPECT_EQ(modMain::WordToString(-1), "\xFF\xFF");

  EXPECT_EQ(modMain::ByteToString(65), "A");
  EXPECT_EQ(modMain::ByteToString(0), std::string(1, '\0'));
  EXPECT_EQ(modMain::ByteToString(255), "\xFF");
  EXPECT_EQ(RuntimeErrorOf([] { modMain::ByteToString(256); }), 5);
  EXPECT_EQ(RuntimeErrorOf([] { modMain::ByteToString(-1); }), 5);
}

TEST(ModMain, BitAnd) {
  const struct {
    const char* a;
    const char* b;
    double result;
  } cases[] = {{"4294967295", "12", 12},
               {"12", "4294967295", 12},
               {"4294967295", "4294967295", 4294967295.0},
               {"2147483648", "2147483648", 2147483648.0},
               {"", "5", 0},
               {"255", "15", 15},
               {"99999999999", "7", 7},  // saturates at 4294967295
               {"-1", "3", 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(modMain::BitAnd(c.a, c.b), c.result) << c.a << " & " << c.b;
  }
}

TEST(ModMain, DaysToSeconds) {
  EXPECT_EQ(DaysToSeconds(2), 172800.0);
  EXPECT_EQ(DaysToSeconds(0), 0.0);
  EXPECT_EQ(DaysToSeconds(0.5), 43200.0);
  EXPECT_EQ(DaysToSeconds(-1), -86400.0);
  EXPECT_EQ(RuntimeErrorOf([] { DaysToSeconds(std::numeric_limits<double>::max()); }), 6);
}

TEST(ModMain, WriteToEventLogReachesTheInstalledLog) {
  auto log = std::make_shared<services::RecordingEventLog>();
  auto previous = services::InstallEventLog(log);
  modMain::WriteToEventLog("Could not load TabulynPC.");
  services::InstallEventLog(previous);
  ASSERT_EQ(log->entries().size(), 1u);
  EXPECT_EQ(log->entries()[0], "Could not load TabulynPC.");
}

}  // namespace
}  // namespace brevora::core
