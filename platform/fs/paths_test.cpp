#include "platform/fs/paths.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/error/error.h"
#include "testing/temp_home.h"

namespace brevora::fs {
namespace {

TEST(Paths, NameParts) {
  struct Case {
    const char* path;
    const char* name;
    const char* folder;
    const char* extension;
  };
  const Case cases[] = {
      {"C:\\a\\b.tbr", "b.tbr", "C:\\a\\", ".tbr"},
      {"a/b\\c.x.y", "c.x.y", "a/b\\", ".y"},
      {"/home/u/notes", "notes", "/home/u/", ""},
      {"dir.d/file", "file", "dir.d/", ""},
      {"folder/", "", "folder/", ""},
      {"plain.TXT", "plain.TXT", "", ".TXT"},
      {"", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FileNamePart(c.path), c.name) << c.path;
    EXPECT_EQ(FolderPart(c.path), c.folder) << c.path;
    EXPECT_EQ(ExtensionPart(c.path), c.extension) << c.path;
  }
}

TEST(Paths, PiecesOnTheWholeText) {
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
    EXPECT_EQ(PathPartOrWhole(c.path), c.pathPart) << c.path;
    EXPECT_EQ(FileNamePart(c.path), c.filePart) << c.path;
    EXPECT_EQ(ExtensionOrWhole(c.path), c.extension) << c.path;
    EXPECT_EQ(StripExtension(c.path), c.stripped) << c.path;
  }
}

TEST(Paths, StripQuotes) {
  EXPECT_EQ(StripQuotes("\"C:\\My Files\\a.tbr\""), "C:\\My Files\\a.tbr");
  EXPECT_EQ(StripQuotes("a\"\"b"), "ab");
  EXPECT_EQ(StripQuotes(""), "");
}

TEST(Paths, JoinPutsOneSeparatorBetween) {
  EXPECT_EQ(JoinPath("a", "b"), "a/b");
  EXPECT_EQ(JoinPath("a/", "b"), "a/b");
  EXPECT_EQ(JoinPath("a\\", "\\b"), "a\\b");
  EXPECT_EQ(JoinPath("", "b"), "b");
  EXPECT_EQ(JoinPath("/", "etc"), "/etc");
}

TEST(Paths, WithSeparatorEndsWithOneSeparator) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Palm", "C:\\Palm\\"},
      {"C:\\Palm\\", "C:\\Palm\\"},
      {"/home/u/Palm/", "/home/u/Palm/"},
      {"/home/u/Palm", "/home/u/Palm\\"},
      {"", "\\"},
  };
  for (const auto& [folder, expected] : cases) EXPECT_EQ(WithSeparator(folder), expected) << folder;
}

TEST(Paths, PlainNames) {
  for (const char* good :
       {"a", "Budget.tbr", "...x", "a..b", ".hidden", "with space", "caf\xE9", "~"}) {
    EXPECT_TRUE(IsPlainName(good)) << good;
  }
  for (const std::string& bad :
       std::vector<std::string>{"", ".", "..", "a/b", "a\\b", "../x", std::string("a\0b", 3),
                                "a\tb", "line\n", "\x1F", "del\x7F"}) {
    EXPECT_FALSE(IsPlainName(bad)) << bad;
  }
}

TEST(Paths, NativeAndSystemForms) {
  EXPECT_EQ(NativePath("dir\\sub/caf\xE9.tbr"), "dir/sub/caf\xC3\xA9.tbr");
  EXPECT_EQ(SystemPath("dir/caf\xC3\xA9"), "dir/caf\xE9");
  try {
    SystemPath("dir/\xE4\xB8\xAD");
    FAIL() << "a name outside the code page must be refused";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 52);
    EXPECT_EQ(e.description(), "Bad file name or number");
  }
}

// Saves and restores the environment variables a case changes.
class EnvGuard {
 public:
  explicit EnvGuard(std::initializer_list<const char*> names) {
    for (const char* n : names) {
      const char* v = std::getenv(n);
      saved_.push_back({n, v ? std::optional<std::string>(v) : std::nullopt});
    }
  }
  ~EnvGuard() {
    for (auto& [n, v] : saved_) {
      if (v)
        setenv(n, v->c_str(), 1);
      else
        unsetenv(n);
    }
  }

 private:
  std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(Paths, RootsFollowTheEnvironmentOnEveryCall) {
  EnvGuard env({"BREVORA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR",
                "XDG_DATA_HOME", "TMPDIR"});
  const std::string home = testing::TempHome();
  EXPECT_EQ(ConfigDir(), home);
  EXPECT_EQ(StateDir(), home);
  EXPECT_EQ(DataDir(), home);
  EXPECT_EQ(RuntimeDir(), home + "/run");
  EXPECT_EQ(TempDir(), home + "/tmp/");

  const std::string other = testing::MakeTempDir("other");
  setenv("BREVORA_HOME", other.c_str(), 1);
  setenv("TMPDIR", (other + "/").c_str(), 1);
  EXPECT_EQ(ConfigDir(), other);
  EXPECT_EQ(TempDir(), other + "/");

  unsetenv("BREVORA_HOME");
  setenv("XDG_CONFIG_HOME", (home + "/xdg-config").c_str(), 1);
  setenv("XDG_STATE_HOME", (home + "/xdg-state").c_str(), 1);
  setenv("XDG_RUNTIME_DIR", (home + "/xdg-run").c_str(), 1);
  setenv("XDG_DATA_HOME", (home + "/xdg-data").c_str(), 1);
  unsetenv("TMPDIR");
  EXPECT_EQ(ConfigDir(), home + "/xdg-config/brevora");
  EXPECT_EQ(StateDir(), home + "/xdg-state/brevora");
  EXPECT_EQ(RuntimeDir(), home + "/xdg-run/brevora");
  EXPECT_EQ(DataDir(), home + "/xdg-data/brevora");
  EXPECT_EQ(TempDir(), "/tmp/");
  // Created on demand.
  EXPECT_TRUE(std::filesystem::is_directory(home + "/xdg-config/brevora"));
  EXPECT_TRUE(std::filesystem::is_directory(home + "/xdg-run/brevora"));
}

}  // namespace
}  // namespace brevora::fs
