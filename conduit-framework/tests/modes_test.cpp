// The category flags each run mode sets, and the modified line of desktop files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "conduit-framework/conduit_log.h"
#include "conduit-framework/main_db.h"
#include "conduit-framework/modified_line.h"
#include "conduit-framework/sync_mgr.h"
#include "conduit-framework/test_conduit/text_conduit.h"
#include "testing/temp_home.h"

namespace brevora::conduit {
namespace {

namespace stdfs = std::filesystem;

TEST(ApplyMode, TheFlagsOfEachMode) {
  // Desktop folders "Both" and "DesktopOnly"; labels "both" and "HandheldOnly".
  const std::string folder = brevora::testing::MakeTempDir("user") + "/";
  stdfs::create_directories(folder + "Both");
  stdfs::create_directories(folder + "DesktopOnly");
  const Product& product = texttest::TextTestProduct();
  CMainDB main(product);
  main.categories() = CategoryBlock{};
  main.categories().labels[0] = "both";
  main.categories().labels[1] = "HandheldOnly";

  struct Flags {
    bool local;
    bool remote;
    bool operator==(const Flags&) const = default;
  };
  struct Case {
    SyncMode mode;
    Flags both;
    Flags desktopOnly;
    Flags handheldOnly;
  };
  const Case cases[] = {
      {SyncMode::DesktopOverwrites, {true, true}, {true, true}, {false, false}},
      {SyncMode::HandheldOverwrites, {true, true}, {false, false}, {true, true}},
      {SyncMode::Synchronize, {true, true}, {true, true}, {true, true}},
  };
  for (const Case& c : cases) {
    RunErrors errors(product);
    CSyncMgr sync(product, errors);
    ASSERT_TRUE(sync.BuildLists(folder, main));
    sync.ApplyMode(c.mode);
    const auto& categories = sync.categories();
    ASSERT_EQ(categories.size(), 3u);
    auto flags = [&](const char* name) {
      const CFileEntry& e = categories.at(name);
      return Flags{e.local, e.remote};
    };
    EXPECT_EQ(flags("BOTH"), c.both) << static_cast<int>(c.mode);
    EXPECT_EQ(flags("desktoponly"), c.desktopOnly) << static_cast<int>(c.mode);
    EXPECT_EQ(flags("HandheldOnly"), c.handheldOnly) << static_cast<int>(c.mode);
    EXPECT_EQ(categories.at("both").name, "Both");  // the desktop's spelling
    EXPECT_FALSE(errors.any());
  }
}

TEST(ModifiedLine, FlagsAndTheirRewrite) {
  EXPECT_EQ(ParseModifiedLine("1"), true);
  EXPECT_EQ(ParseModifiedLine("0"), false);
  EXPECT_EQ(ParseModifiedLine("2"), false);
  for (const char* bad : {"", "3", "10", "1 ", "yes", "-1"})
    EXPECT_EQ(ParseModifiedLine(bad), std::nullopt) << bad;

  const std::string path = brevora::testing::MakeTempDir("files") + "/plan.ttx";
  auto text = [&] {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  std::ofstream(path, std::ios::binary) << "0\r\n2\r\nbody\r\n";
  EXPECT_TRUE(SetModifiedFlag(path, true));
  EXPECT_EQ(text(), "1\r\n2\r\nbody\r\n");  // the flag byte alone changes
  EXPECT_TRUE(SetModifiedFlag(path, false));
  EXPECT_EQ(text(), "0\r\n2\r\nbody\r\n");
  std::ofstream(path, std::ios::binary) << "2\nbody";
  EXPECT_TRUE(SetModifiedFlag(path, false));
  EXPECT_EQ(text(), "2\nbody");
  std::ofstream(path, std::ios::binary) << "maybe\nbody";
  EXPECT_FALSE(SetModifiedFlag(path, true));
  EXPECT_EQ(text(), "maybe\nbody");
  EXPECT_FALSE(SetModifiedFlag(path + ".missing", true));
}

// The flag is the first line's as the desktop files' reader takes it: a CR
// that no LF follows is a byte of the line, so "1\rb" is no modified line and
// its file is left alone; a flag that the text ends is one.
TEST(ModifiedLine, TheFirstLineIsTheReaders) {
  struct Case {
    std::string text;
    std::optional<bool> flag;
    std::string afterClearing;  // SetModifiedFlag(false); the text itself when it is refused
  };
  const Case cases[] = {
      {"1\rb\r\n7\r\n", std::nullopt, "1\rb\r\n7\r\n"},
      {"1\r\r\n7\r\n", std::nullopt, "1\r\r\n7\r\n"},
      {"1\r", true, "0\r"},
      {"1", true, "0"},
      {"2", false, "2"},
      {"1\n", true, "0\n"},
      {"", std::nullopt, ""},
  };
  const std::string path = brevora::testing::MakeTempDir("files") + "/plan.ttx";
  for (const Case& c : cases) {
    EXPECT_EQ(ModifiedFlagOf(c.text), c.flag) << ::testing::PrintToString(c.text);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << c.text;
    EXPECT_EQ(SetModifiedFlag(path, false), c.flag.has_value()) << ::testing::PrintToString(c.text);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), c.afterClearing);
  }
}

}  // namespace
}  // namespace brevora::conduit
