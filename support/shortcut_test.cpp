// ResolveIt: symbolic links and launcher files give target and arguments;
// everything else gives a failure code and buffers of zero bytes only.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/tabrelc.h"
#include "testing/temp_home.h"

namespace {

namespace fs = std::filesystem;

struct Resolved {
  int32_t hr;
  std::string path;  // the buffer's text before the first zero byte
  std::string args;
  bool path_zero_after;  // only zero bytes after the text, over the whole capacity
  bool args_zero_after;
};

bool ZeroFrom(const std::vector<char>& buf, size_t from) {
  for (size_t i = from; i < buf.size(); ++i) {
    if (buf[i] != '\0') return false;
  }
  return true;
}

// Resolves with buffers of blanks, as the callers prepare them.
Resolved Resolve(const std::string& link, size_t path_cap = 260, size_t args_cap = 260) {
  std::vector<char> path(path_cap, ' ');
  std::vector<char> args(args_cap, ' ');
  Resolved r{};
  r.hr = ResolveIt(nullptr, link.c_str(), path.data(), static_cast<int32_t>(path_cap), args.data(),
                   static_cast<int32_t>(args_cap));
  r.path.assign(path.data(), strnlen(path.data(), path.size()));
  r.args.assign(args.data(), strnlen(args.data(), args.size()));
  r.path_zero_after = ZeroFrom(path, r.path.size());
  r.args_zero_after = ZeroFrom(args, r.args.size());
  return r;
}

void Write(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

void ExpectFailedAndCleared(const Resolved& r, int32_t hr, const std::string& what) {
  EXPECT_EQ(r.hr, hr) << what;
  EXPECT_EQ(r.path, "") << what;
  EXPECT_EQ(r.args, "") << what;
  EXPECT_TRUE(r.path_zero_after) << what;
  EXPECT_TRUE(r.args_zero_after) << what;
}

TEST(ResolveIt, SymbolicLinkGivesItsTargetAndNoArguments) {
  const std::string dir = brevora::testing::MakeTempDir("links");
  fs::create_directories(dir + "/sub");
  Write(dir + "/sub/target.txt", "x");
  fs::create_symlink(dir + "/sub/target.txt", dir + "/absolute");
  fs::create_symlink("sub/target.txt", dir + "/relative");
  fs::create_symlink("/nowhere/gone.exe", dir + "/dangling");

  const Resolved a = Resolve(dir + "/absolute");
  EXPECT_EQ(a.hr, TABRELC_S_OK);
  EXPECT_EQ(a.path, dir + "/sub/target.txt");
  EXPECT_EQ(a.args, "");
  EXPECT_TRUE(a.path_zero_after);
  EXPECT_TRUE(a.args_zero_after);

  // A relative target is made absolute against the link's folder.
  EXPECT_EQ(Resolve(dir + "/relative").path, dir + "/sub/target.txt");
  // The stored target is given even when nothing is there any more.
  EXPECT_EQ(Resolve(dir + "/dangling").path, "/nowhere/gone.exe");
  // Backslashes separate folders too.
  std::string backslashed = dir + "\\absolute";
  EXPECT_EQ(Resolve(backslashed).path, dir + "/sub/target.txt");
}

TEST(ResolveIt, LauncherGivesFirstWordAndTheOtherWords) {
  const std::string dir = brevora::testing::MakeTempDir("launchers");
  const struct {
    const char* name;
    std::string text;
    std::string target;
    std::string args;
  } rows[] = {
      {"field codes removed",
       "[Desktop Entry]\nType=Application\nName=Editor\nExec=/usr/bin/editor --new %f\n",
       "/usr/bin/editor", "--new"},
      {"only a field code", "[Desktop Entry]\nExec=viewer %U\n", "viewer", ""},
      {"quoted words and %%", "[Desktop Entry]\nExec=\"/opt/My App/run\" \"a b\" 100%% %i\n",
       "/opt/My App/run", "\"a b\" 100%"},
      {"quoting escapes after value escapes",
       "[Desktop Entry]\nExec=/bin/sh -c \"echo \\\\$HOME\"\n", "/bin/sh", "-c \"echo $HOME\""},
      {"value escape \\s inside quotes", "[Desktop Entry]\nExec=\"/bin/run\\sme\" x\n",
       "/bin/run me", "x"},
      {"value escape \\s separates words", "[Desktop Entry]\nExec=/bin/run\\sme x\n", "/bin/run",
       "me x"},
      {"CR LF, comments, blanks around =, other groups and localised keys",
       "# launcher\r\n[Desktop Action New]\r\nExec=wrong\r\n[Desktop Entry]\r\nExec[de]=falsch\r\n"
       "Exec = /usr/bin/right  one   two \r\n[Other]\r\nExec=later\r\n",
       "/usr/bin/right", "one two"},
      {"empty quoted word kept", "[Desktop Entry]\nExec=tool \"\" end\n", "tool", "\"\" end"},
      {"quote inside a word", "[Desktop Entry]\nExec=tool \"say \\\\\"hi\\\\\"\"\n", "tool",
       "\"say \\\"hi\\\"\""},
  };
  int i = 0;
  for (const auto& row : rows) {
    const std::string path = dir + "/l" + std::to_string(i++) + ".desktop";
    Write(path, row.text);
    const Resolved r = Resolve(path);
    EXPECT_EQ(r.hr, TABRELC_S_OK) << row.name;
    EXPECT_EQ(r.path, row.target) << row.name;
    EXPECT_EQ(r.args, row.args) << row.name;
    EXPECT_TRUE(r.path_zero_after && r.args_zero_after) << row.name;
  }
}

TEST(ResolveIt, WhatIsNoShortcutFailsWithClearedBuffers) {
  const std::string dir = brevora::testing::MakeTempDir("plain");
  Write(dir + "/notes.txt", "just some text\nExec=/bin/false\n");
  Write(dir + "/noexec.desktop", "[Desktop Entry]\nName=Nothing\n");
  Write(dir + "/emptyexec.desktop", "[Desktop Entry]\nExec=   \n");
  Write(dir + "/onlycode.desktop", "[Desktop Entry]\nExec=%f\n");
  Write(dir + "/openquote.desktop", "[Desktop Entry]\nExec=\"/bin/never\n");
  Write(dir + "/huge.desktop", "[Desktop Entry]\nExec=/bin/big\n" + std::string(70000, '#'));

  const struct {
    std::string path;
    int32_t hr;
  } rows[] = {
      {dir + "/notes.txt", TABRELC_E_FAIL},
      {dir + "/noexec.desktop", TABRELC_E_FAIL},
      {dir + "/emptyexec.desktop", TABRELC_E_FAIL},
      {dir + "/onlycode.desktop", TABRELC_E_FAIL},
      {dir + "/openquote.desktop", TABRELC_E_FAIL},
      {dir + "/huge.desktop", TABRELC_E_FAIL},
      {dir, TABRELC_E_FAIL},
      {dir + "/missing.lnk", TABRELC_E_FILE_NOT_FOUND},
      {dir + "/notes.txt/below", TABRELC_E_FILE_NOT_FOUND},
      {"", TABRELC_E_FILE_NOT_FOUND},
  };
  for (const auto& row : rows) ExpectFailedAndCleared(Resolve(row.path), row.hr, row.path);
}

TEST(ResolveIt, TextThatDoesNotFitFailsInsteadOfBeingCut) {
  const std::string dir = brevora::testing::MakeTempDir("fit");
  Write(dir + "/app.desktop", "[Desktop Entry]\nExec=/bin/app --flag\n");
  // "/bin/app" is 8 characters and needs 9 bytes with its zero byte; "--flag" 7.
  const Resolved exact = Resolve(dir + "/app.desktop", 9, 7);
  EXPECT_EQ(exact.hr, TABRELC_S_OK);
  EXPECT_EQ(exact.path, "/bin/app");
  EXPECT_EQ(exact.args, "--flag");
  ExpectFailedAndCleared(Resolve(dir + "/app.desktop", 8, 7), TABRELC_E_INSUFFICIENT_BUFFER,
                         "path 8");
  ExpectFailedAndCleared(Resolve(dir + "/app.desktop", 9, 6), TABRELC_E_INSUFFICIENT_BUFFER,
                         "args 6");
}

TEST(ResolveIt, MissingArgumentsAreRefused) {
  char path[8] = "1234567";
  char args[8] = "1234567";
  EXPECT_EQ(ResolveIt(nullptr, nullptr, path, 8, args, 8), TABRELC_E_INVALIDARG);
  EXPECT_EQ(std::string(path, 8), std::string(8, '\0'));
  EXPECT_EQ(std::string(args, 8), std::string(8, '\0'));
  EXPECT_EQ(ResolveIt(nullptr, "/tmp", nullptr, 8, args, 8), TABRELC_E_INVALIDARG);
  EXPECT_EQ(ResolveIt(nullptr, "/tmp", path, 0, args, 8), TABRELC_E_INVALIDARG);
  EXPECT_EQ(ResolveIt(nullptr, "/tmp", path, 8, args, -1), TABRELC_E_INVALIDARG);
}

TEST(ResolveIt, PathsAndResultsAreInTheSystemCodePage) {
  const std::string dir = brevora::testing::MakeTempDir("codepage");
  // The link "caf\xE9" (Windows-1252) is "café" on disk; its target "Müller" comes back as
  // M\xFCller.
  fs::create_symlink(dir + "/M\xC3\xBCller", dir + "/caf\xC3\xA9");
  const Resolved r = Resolve(dir + "/caf\xE9");
  EXPECT_EQ(r.hr, TABRELC_S_OK);
  EXPECT_EQ(r.path, dir + "/M\xFCller");
  // A target the code page cannot hold is refused rather than mangled.
  fs::create_symlink(dir + "/\xE6\x97\xA5", dir + "/sun");
  ExpectFailedAndCleared(Resolve(dir + "/sun"), TABRELC_E_FAIL, "unrepresentable target");
}

}  // namespace
