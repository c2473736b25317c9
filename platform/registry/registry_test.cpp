#include "platform/registry/registry.h"

#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/hive_store.h"
#include "testing/caught_error.h"

namespace brevora::registry {
namespace {

using ::brevora::testing::RaisesErrorNumber;

namespace stdfs = std::filesystem;
constexpr Hive kUser = Hive::CurrentUser;

std::string FileText(const std::string& path) {
  std::ifstream in(fs::NativePath(path), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs `body` in a child process; returns its exit status (the body's result, or
// 99 when it raised).
pid_t Spawn(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    int code = 99;
    try {
      code = body();
    } catch (...) {
    }
    _exit(code);
  }
  return pid;
}

int Wait(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

TEST(Registry, ValuesOfEveryTypeRoundTrip) {
  const std::string key = "Software\\Orvanex\\Tabulyn";
  const Value values[] = {
      Value::String("C:\\Palm\\\"x\" caf\xE9 \x80\x81\x8D"),
      Value::String(std::string("two\r\nlines\0", 11)),
      Value::ExpandString("%HOME%\\palm"),
      Value::DWord(1500),
      Value::Binary({0, 1, 0xFE, 0xFF}),
  };
  for (size_t i = 0; i < std::size(values); ++i) {
    SetValue(kUser, key, "v" + std::to_string(i), values[i]);
  }
  for (size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(QueryValue(kUser, key, "v" + std::to_string(i)), values[i]) << i;
  }
  EXPECT_EQ(QueryValue(kUser, key, "missing"), std::nullopt);
  EXPECT_EQ(QueryValue(kUser, "Software\\Nowhere", "v0"), std::nullopt);
  // The file is UTF-8 REGEDIT4 text where the registry lives.
  const std::string path = fs::ConfigDir() + "/registry/HKEY_CURRENT_USER.reg";
  EXPECT_EQ(HiveFilePath(kUser), path);
  const std::string text = FileText(path);
  EXPECT_EQ(text.substr(0, 10), "REGEDIT4\n\n");
  EXPECT_NE(text.find("caf\xC3\xA9 \xE2\x82\xAC"), std::string::npos);
  EXPECT_NE(text.find("\"v3\"=dword:000005dc"), std::string::npos);
}

TEST(Registry, NamesAreCaseInsensitiveAndCasePreserving) {
  SetValue(kUser, "Software\\Orvanex", "HomePath", Value::String("a"));
  EXPECT_TRUE(KeyExists(kUser, "SOFTWARE\\orvanex"));
  EXPECT_EQ(QueryValue(kUser, "software\\ORVANEX", "HOMEPATH"), Value::String("a"));
  SetValue(kUser, "SOFTWARE\\ORVANEX", "homepath", Value::String("b"));
  EXPECT_EQ(ValueNames(kUser, "Software\\Orvanex"), std::vector<std::string>{"HomePath"});
  EXPECT_EQ(SubKeys(kUser, ""), std::vector<std::string>{"Software"});
  EXPECT_EQ(SubKeys(kUser, "software"), std::vector<std::string>{"Orvanex"});
  EXPECT_EQ(QueryValue(kUser, "Software\\Orvanex", "HomePath"), Value::String("b"));
  // Code-page letters fold too.
  SetValue(kUser, "Caf\xC9", "\xC9t\xC9", Value::DWord(1));
  EXPECT_EQ(QueryValue(kUser, "caf\xE9", "\xE9t\xE9"), Value::DWord(1));
}

TEST(Registry, KeysAreCreatedListedAndDeleted) {
  EXPECT_FALSE(KeyExists(kUser, "A"));
  EXPECT_TRUE(KeyExists(kUser, ""));
  CreateKey(kUser, "A\\B\\C");
  CreateKey(kUser, "\\A\\\\Z\\");  // empty parts are ignored
  SetValue(kUser, "A\\B", "x", Value::String("1"));
  SetValue(kUser, "A\\B", "y", Value::String("2"));
  EXPECT_EQ(SubKeys(kUser, "A"), (std::vector<std::string>{"B", "Z"}));
  EXPECT_EQ(ValueNames(kUser, "A\\B"), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(SubKeys(kUser, "Missing").empty());
  EXPECT_TRUE(DeleteValue(kUser, "A\\B", "X"));
  EXPECT_FALSE(DeleteValue(kUser, "A\\B", "x"));
  EXPECT_FALSE(DeleteValue(kUser, "Missing", "x"));
  EXPECT_TRUE(DeleteKey(kUser, "a\\b"));
  EXPECT_FALSE(KeyExists(kUser, "A\\B\\C"));
  EXPECT_FALSE(DeleteKey(kUser, "A\\B"));
  EXPECT_TRUE(KeyExists(kUser, "A\\Z"));
  EXPECT_THAT([] { DeleteKey(kUser, ""); }, RaisesErrorNumber(5));
  EXPECT_THAT([] { SetValue(kUser, "A", "bad\nname", Value::DWord(1)); }, RaisesErrorNumber(5));
  EXPECT_THAT([] { CreateKey(kUser, "A\\bad\rkey"); }, RaisesErrorNumber(5));
  // No write makes a key path that a hive file could not hold.
  std::string deepest;
  for (int i = 0; i < 512; ++i) deepest += "\\k";
  CreateKey(kUser, deepest);
  EXPECT_TRUE(KeyExists(kUser, deepest));
  EXPECT_THAT([&] { CreateKey(kUser, deepest + "\\k"); }, RaisesErrorNumber(5));
  EXPECT_THAT([&] { SetValue(kUser, deepest + "\\k", "x", Value::DWord(1)); },
              RaisesErrorNumber(5));
  // The hives are separate files.
  SetValue(Hive::Users, "A", "x", Value::DWord(7));
  EXPECT_EQ(QueryValue(kUser, "A", "x"), std::nullopt);
  EXPECT_EQ(QueryValue(Hive::Users, "A", "x"), Value::DWord(7));
  EXPECT_TRUE(stdfs::exists(fs::ConfigDir() + "/registry/HKEY_USERS.reg"));
}

TEST(Registry, MalformedHiveIsReportedAndNeverEmptied) {
  SetValue(kUser, "Keep", "x", Value::String("1"));
  const std::string path = HiveFilePath(kUser);
  const std::string damaged = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Keep]\n\"x\"=\"1\n";
  fs::AtomicWrite(path, std::string_view(damaged));
  for (const auto& action : std::vector<std::function<void()>>{
           [] { QueryValue(kUser, "Keep", "x"); },
           [] { SetValue(kUser, "Keep", "y", Value::String("2")); },
           [] { DeleteKey(kUser, "Keep"); },
       }) {
    try {
      action();
      ADD_FAILURE() << "a damaged hive was accepted";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 32759);
      EXPECT_NE(e.description().find(path + ", line 4: "), std::string::npos) << e.description();
    }
  }
  EXPECT_EQ(FileText(path), damaged);
  // A key of another hive inside the file is damage too.
  fs::AtomicWrite(path, std::string_view("REGEDIT4\n[HKEY_USERS\\X]\n"));
  EXPECT_THAT([] { KeyExists(kUser, "X"); }, RaisesErrorNumber(32759));
}

TEST(Registry, ImportMergesFixtures) {
  ImportRegedit(R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Orvanex\Tabulyn]
"HomePath"="C:\\Palm"
"CellWarn"=dword:000005dc

[HKLM\Software\Nokia\PC Suite]
"Installed"=dword:00000001

[HKEY_CLASSES_ROOT\TabulynPC.Session\CLSID]
@="{11111111-2222-3333-4444-555555555555}"
)");
  EXPECT_EQ(QueryValue(kUser, "Software\\Orvanex\\Tabulyn", "HomePath"), Value::String("C:\\Palm"));
  EXPECT_EQ(QueryValue(Hive::LocalMachine, "Software\\Nokia\\PC Suite", "Installed"),
            Value::DWord(1));
  EXPECT_EQ(QueryValue(Hive::ClassesRoot, "TabulynPC.Session\\CLSID", ""),
            Value::String("{11111111-2222-3333-4444-555555555555}"));
  ImportRegedit(
      "REGEDIT4\n[HKCU\\Software\\Orvanex\\Tabulyn]\n\"CellWarn\"=-\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\Nokia]\n");
  EXPECT_EQ(ValueNames(kUser, "Software\\Orvanex\\Tabulyn"), std::vector<std::string>{"HomePath"});
  EXPECT_FALSE(KeyExists(Hive::LocalMachine, "Software\\Nokia"));
  // Malformed text applies nothing, not even the sections before the fault; nor
  // does a text that deletes a hive's root after a section of an earlier hive
  // (the earlier hive was once written before the fault was seen).
  for (const char* text :
       {"REGEDIT4\n[HKCU\\New]\n\"a\"=\"1\"\nbroken\n", "REGEDIT4\n[HKCU\\New]\n[-HKLM]\n"}) {
    EXPECT_THAT([&] { ImportRegedit(text); }, RaisesErrorNumber(32759));
    EXPECT_FALSE(KeyExists(kUser, "New")) << text;
  }
}

TEST(Registry, ProgramSettings) {
  EXPECT_EQ(GetSetting("tabrelpc", "WindowSize", "Width", "9300"), "9300");
  SaveSetting("tabrelpc", "WindowSize", "Width", "12000");
  SaveSetting("tabrelpc", "General", "LastFileMode", "2");
  EXPECT_EQ(GetSetting("tabrelpc", "WindowSize", "Width", "9300"), "12000");
  EXPECT_EQ(
      QueryValue(kUser, "Software\\VB and VBA Program Settings\\tabrelpc\\General", "LastFileMode"),
      Value::String("2"));
  DeleteSetting("tabrelpc", "WindowSize", "Width");
  EXPECT_EQ(GetSetting("tabrelpc", "WindowSize", "Width"), "");
  EXPECT_THAT([] { DeleteSetting("tabrelpc", "WindowSize", "Width"); }, RaisesErrorNumber(5));
  DeleteSetting("tabrelpc", "General");
  EXPECT_EQ(GetSetting("tabrelpc", "General", "LastFileMode", "0"), "0");
  EXPECT_THAT([] { DeleteSetting("tabrelpc", "General"); }, RaisesErrorNumber(5));
  EXPECT_THAT([] { SaveSetting("", "General", "x", "1"); }, RaisesErrorNumber(5));
  EXPECT_THAT([] { SaveSetting("tabrelpc", "General", "", "1"); }, RaisesErrorNumber(5));
}

TEST(Registry, AnotherProcessSeesWrites) {
  SetValue(kUser, "Shared", "v", Value::String("parent"));
  EXPECT_EQ(QueryValue(kUser, "Shared", "v"), Value::String("parent"));  // now cached here
  const pid_t child = Spawn([] {
    if (QueryValue(kUser, "Shared", "v") != Value::String("parent")) return 1;
    SetValue(kUser, "Shared", "v", Value::String("child"));
    return 0;
  });
  ASSERT_EQ(Wait(child), 0);
  EXPECT_EQ(QueryValue(kUser, "Shared", "v"), Value::String("child"));
}

TEST(Registry, ConcurrentWritersLoseNothing) {
  constexpr int kWriters = 4;
  constexpr int kValuesEach = 25;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    children.push_back(Spawn([w] {
      for (int i = 0; i < kValuesEach; ++i) {
        SetValue(kUser, "Busy\\Key", "w" + std::to_string(w) + "-" + std::to_string(i),
                 Value::DWord(static_cast<uint32_t>(w * 1000 + i)));
        CreateKey(kUser, "Busy\\Sub" + std::to_string(w) + "-" + std::to_string(i));
      }
      return 0;
    }));
  }
  for (pid_t child : children) EXPECT_EQ(Wait(child), 0);
  EXPECT_EQ(ValueNames(kUser, "Busy\\Key").size(), static_cast<size_t>(kWriters * kValuesEach));
  EXPECT_EQ(SubKeys(kUser, "Busy").size(), static_cast<size_t>(kWriters * kValuesEach + 1));
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kValuesEach; ++i) {
      EXPECT_EQ(QueryValue(kUser, "Busy\\Key", "w" + std::to_string(w) + "-" + std::to_string(i)),
                Value::DWord(static_cast<uint32_t>(w * 1000 + i)));
    }
  }
}

// A writer killed after writing its temporary file and before the rename: the
// hive keeps its old content, the lock is free again, and the next writer
// clears the leftover.
TEST(Registry, WriterKilledBeforeRenameLeavesTheOldHive) {
  SetValue(kUser, "Keep", "v", Value::String("old"));
  const std::string before = FileText(HiveFilePath(kUser));
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t child = Spawn([&] {
    UpdateHive(kUser, [&](KeyNode& root) {
      FindOrCreateKey(root, {"Keep"}).SetValue("v", Value::String("new"));
      fs::AtomicFile temp(HiveFilePath(kUser));
      temp.Write(std::string_view("REGEDIT4\n\n[HKEY_CURRENT_USER\\Keep]\n\"v\"=\"ne"));
      (void)!write(ready[1], "x", 1);
      pause();  // killed here, holding the lock, temporary file written
    });
    return 0;
  });
  char c;
  ASSERT_EQ(read(ready[0], &c, 1), 1);
  close(ready[0]);
  close(ready[1]);
  size_t temps = 0;
  for (const auto& e : stdfs::directory_iterator(fs::ConfigDir() + "/registry")) {
    temps += e.path().filename().string().find(".tmp") != std::string::npos;
  }
  EXPECT_EQ(temps, 1u);
  kill(child, SIGKILL);
  EXPECT_EQ(Wait(child), 128 + SIGKILL);

  EXPECT_EQ(FileText(HiveFilePath(kUser)), before);
  EXPECT_EQ(QueryValue(kUser, "Keep", "v"), Value::String("old"));
  SetValue(kUser, "Keep", "w", Value::String("after"));
  EXPECT_EQ(QueryValue(kUser, "Keep", "v"), Value::String("old"));
  std::vector<std::string> names;
  for (const auto& e : stdfs::directory_iterator(fs::ConfigDir() + "/registry")) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{"HKEY_CURRENT_USER.reg", "HKEY_CURRENT_USER.reg.lock"}));
}

}  // namespace
}  // namespace brevora::registry
