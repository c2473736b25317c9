#include "platform/fs/files.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/error/error.h"
#include "platform/fs/open_file.h"
#include "platform/fs/paths.h"
#include "platform/fs/rename_no_replace.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::fs {
namespace {

using ::brevora::testing::RaisesErrorNumber;

namespace stdfs = std::filesystem;

void Put(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

std::string Get(const std::string& path) {
  const auto bytes = ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(Files, ListFolderSortsWithoutRegardToCase) {
  const std::string dir = testing::MakeTempDir("list");
  for (const char* f : {"beta.TBR", "Alpha.tbr", "gamma.scv", ".hidden.tbr", "caf\xC3\xA9.tbr",
                        "\xE4\xB8\xAD.tbr"}) {
    Put(dir + "/" + f, "x");
  }
  stdfs::create_directory(dir + "/Zeta");
  stdfs::create_directory(dir + "/alpha");
  stdfs::create_directory(dir + "/.git");
  stdfs::create_symlink(dir + "/Zeta", dir + "/link");

  EXPECT_EQ(ListFolder(dir, ListKind::Files),
            (std::vector<std::string>{"Alpha.tbr", "beta.TBR", "caf\xE9.tbr", "gamma.scv"}));
  EXPECT_EQ(ListFolder(dir, ListKind::Files, ".tbr"),
            (std::vector<std::string>{"Alpha.tbr", "beta.TBR", "caf\xE9.tbr"}));
  EXPECT_EQ(ListFolder(dir, ListKind::Folders),
            (std::vector<std::string>{"alpha", "link", "Zeta"}));
  EXPECT_THAT([&] { ListFolder(dir + "/missing", ListKind::Files); }, RaisesErrorNumber(76));
}

TEST(Files, FindNoCasePrefersAnExactMatch) {
  const std::string dir = testing::MakeTempDir("find");
  Put(dir + "/Budget.TBR", "1");
  EXPECT_EQ(FindNoCase(dir, "budget.tbr"), std::optional<std::string>("Budget.TBR"));
  EXPECT_EQ(FindNoCase(dir, "other.tbr"), std::nullopt);
  EXPECT_EQ(FindNoCase(dir + "/missing", "x"), std::nullopt);
  Put(dir + "/budget.tbr", "2");
  EXPECT_EQ(FindNoCase(dir, "budget.tbr"), std::optional<std::string>("budget.tbr"));
}

TEST(Files, FindFileNoCaseMatchesFilesWithoutRegardToCase) {
  const std::string dir = testing::MakeTempDir("files");
  std::ofstream(dir + "/Budget.tbr") << "x";
  std::ofstream(dir + "/.hidden") << "x";
  testing::MakeTempDir("files/Folder");
  EXPECT_EQ(FindFileNoCase(dir + "/Budget.tbr"), dir + "/Budget.tbr");
  EXPECT_EQ(FindFileNoCase(dir + "\\budget.TBR"), dir + "\\Budget.tbr");
  EXPECT_EQ(FindFileNoCase(dir + "/.hidden"), dir + "/.hidden");
  EXPECT_FALSE(FindFileNoCase(dir + "/Folder"));
  EXPECT_FALSE(FindFileNoCase(dir + "/Missing.tbr"));
  EXPECT_FALSE(FindFileNoCase(dir + "/nofolder/Budget.tbr"));
  EXPECT_FALSE(FindFileNoCase(""));
}

TEST(Files, WithStoredCaseGivesTheStoredName) {
  const std::string dir = testing::MakeTempDir("long");
  std::ofstream(dir + "/Quarterly Budget.tbr") << "x";
  EXPECT_EQ(WithStoredCase("\"" + dir + "/quarterly budget.TBR\""), dir + "/Quarterly Budget.tbr");
  EXPECT_EQ(WithStoredCase(dir + "/missing.tbr"), dir + "/missing.tbr");
  EXPECT_EQ(WithStoredCase("\"" + dir + "/none/a.tbr\""), dir + "/none/a.tbr");
}

TEST(Files, FoldersAndRemoval) {
  const std::string dir = testing::MakeTempDir("folders");
  MakeFolder(dir + "\\a\\b/c");
  MakeFolder(dir + "/a/b/c");  // existing is fine
  EXPECT_TRUE(FolderExists(dir + "/a/b/c"));
  Put(dir + "/a/file", "x");
  EXPECT_TRUE(FileExists(dir + "/a/file"));
  EXPECT_FALSE(FileExists(dir + "/a"));
  EXPECT_FALSE(FolderExists(dir + "/a/file"));
  EXPECT_EQ(FileSize(dir + "/a/file"), 1u);
  EXPECT_THAT([&] { FileSize(dir + "/nothing"); }, RaisesErrorNumber(53));
  EXPECT_THAT([&] { MakeFolder(dir + "/a/file"); }, RaisesErrorNumber(75));
  EXPECT_THAT([&] { RemoveFolder(dir + "/a"); }, RaisesErrorNumber(75));  // not empty
  EXPECT_THAT([&] { RemoveFile(dir + "/nothing"); }, RaisesErrorNumber(53));
  RemoveFile(dir + "/a/file");
  RemoveFolder(dir + "/a/b/c");
  EXPECT_FALSE(FolderExists(dir + "/a/b/c"));
  EXPECT_THAT([&] { RemoveFolder(dir + "/a/b/c"); }, RaisesErrorNumber(76));
}

using RenameFn = std::function<void(const std::string&, const std::string&)>;

class RenameTest : public ::testing::TestWithParam<std::pair<const char*, RenameFn>> {};

TEST_P(RenameTest, NeverReplacesAnExistingTarget) {
  const auto& rename = GetParam().second;
  const std::string dir = testing::MakeTempDir("rename");
  Put(dir + "/from", "source");
  Put(dir + "/to", "target");
  EXPECT_THAT([&] { rename(dir + "/from", dir + "/to"); }, RaisesErrorNumber(58));
  EXPECT_EQ(Get(dir + "/from"), "source");
  EXPECT_EQ(Get(dir + "/to"), "target");

  // A folder onto an existing (empty) folder: rename(2) alone would replace it.
  stdfs::create_directory(dir + "/d1");
  Put(dir + "/d1/inside", "1");
  stdfs::create_directory(dir + "/d2");
  EXPECT_THAT([&] { rename(dir + "/d1", dir + "/d2"); }, RaisesErrorNumber(58));
  EXPECT_TRUE(stdfs::exists(dir + "/d1/inside"));

  EXPECT_THAT([&] { rename(dir + "/missing", dir + "/new"); }, RaisesErrorNumber(53));
  EXPECT_THAT([&] { rename(dir + "/from", dir + "/no/such/folder"); }, RaisesErrorNumber(76));

  rename(dir + "/from", dir + "/moved");
  EXPECT_FALSE(stdfs::exists(dir + "/from"));
  EXPECT_EQ(Get(dir + "/moved"), "source");
  rename(dir + "/d1", dir + "/d3");
  EXPECT_TRUE(stdfs::exists(dir + "/d3/inside"));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, RenameTest,
    ::testing::Values(
        std::pair<const char*, RenameFn>{"Public", [](auto& a, auto& b) { RenameNoReplace(a, b); }},
        std::pair<const char*, RenameFn>{"ByLink", detail::RenameByLink},
        std::pair<const char*, RenameFn>{"AfterCheck", detail::RenameAfterCheck}),
    [](const auto& info) { return std::string(info.param.first); });

TEST(Files, CopyFileKeepsTimeAndRefusesToReplaceUnlessAsked) {
  const std::string dir = testing::MakeTempDir("copy");
  Put(dir + "/a", "alpha");
  SetFileDateTime(dir + "/a", 40000.25);
  Put(dir + "/b", "beta");
  EXPECT_THAT([&] { CopyFile(dir + "/a", dir + "/b", false); }, RaisesErrorNumber(58));
  EXPECT_EQ(Get(dir + "/b"), "beta");
  CopyFile(dir + "/a", dir + "/b", true);
  EXPECT_EQ(Get(dir + "/b"), "alpha");
  CopyFile(dir + "/a", dir + "/c", false);
  EXPECT_EQ(Get(dir + "/c"), "alpha");
  EXPECT_DOUBLE_EQ(FileDateTime(dir + "/c"), 40000.25);
  EXPECT_THAT([&] { CopyFile(dir + "/missing", dir + "/d", false); }, RaisesErrorNumber(53));
  EXPECT_EQ(testing::FolderEntries(dir), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(Files, AtomicWriteReplacesAndKeepsPermissions) {
  const std::string dir = testing::MakeTempDir("atomic");
  const std::string path = dir + "/file.tbr";
  AtomicWrite(path, std::string_view("first"));
  EXPECT_EQ(Get(path), "first");
  chmod(path.c_str(), 0640);
  const std::vector<uint8_t> bytes = {'s', 0, 'x'};
  AtomicWrite(path, std::span<const uint8_t>(bytes));
  EXPECT_EQ(Get(path), std::string("s\0x", 3));
  struct stat st {};
  ASSERT_EQ(stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(testing::FolderEntries(dir), std::vector<std::string>{"file.tbr"});
  EXPECT_THAT([&] { AtomicWrite(dir + "/missing/file", std::string_view("x")); },
              RaisesErrorNumber(76));
}

TEST(Files, AtomicFileWithoutCommitLeavesTheTargetAlone) {
  const std::string dir = testing::MakeTempDir("uncommitted");
  Put(dir + "/doc", "original");
  {
    AtomicFile file(dir + "/doc");
    file.Write(std::string_view("partial"));
    EXPECT_EQ(testing::FolderEntries(dir).size(), 2u);  // the temporary file sits beside it
  }
  EXPECT_EQ(Get(dir + "/doc"), "original");
  EXPECT_EQ(testing::FolderEntries(dir), std::vector<std::string>{"doc"});
  {
    AtomicFile file(dir + "/doc");
    file.Write(std::string_view("new "));
    file.Write(std::string_view("content"));
    file.Commit();
  }
  EXPECT_EQ(Get(dir + "/doc"), "new content");
}

TEST(Files, AtomicWriteFailingRenameLeavesNoTrace) {
  const std::string dir = testing::MakeTempDir("renamefail");
  stdfs::create_directory(dir + "/target");  // a folder where the file should go
  Put(dir + "/target/keep", "k");
  EXPECT_THAT([&] { AtomicWrite(dir + "/target", std::string_view("data")); },
              RaisesErrorNumber(75));
  EXPECT_EQ(Get(dir + "/target/keep"), "k");
  EXPECT_EQ(testing::FolderEntries(dir), std::vector<std::string>{"target"});
}

// A write that fails part-way (the file-size limit, as on a full disk) in a child
// process: the error is "Disk full", the original stays and no temporary remains.
TEST(Files, AtomicWriteFailingPartWayLeavesTheOriginal) {
  const std::string dir = testing::MakeTempDir("full");
  const std::string path = dir + "/doc";
  Put(path, "original");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{1000, 1000};
    setrlimit(RLIMIT_FSIZE, &limit);
    int code = 1;
    try {
      AtomicWrite(path, std::string(5000, 'x'));
    } catch (const AutomationError& e) {
      code = e.number() == 61 ? 0 : 2;
    }
    _exit(code);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Get(path), "original");
  EXPECT_EQ(testing::FolderEntries(dir), std::vector<std::string>{"doc"});
}

TEST(Files, AtomicTemporaryTargetKnowsOnlyTheWritersOwnNames) {
  const struct {
    const char* name;
    std::optional<std::string> target;
  } cases[] = {
      {".Plan.tbr.tmpk3x0a9zq", "Plan.tbr"},    {".a.tmp00000000", "a"},
      {".Plan.tbr.tmpk3x0a9z", std::nullopt},   // seven random characters
      {".Plan.tbr.tmpK3X0A9ZQ", std::nullopt},  // upper case
      {"Plan.tbr.tmpk3x0a9zq", std::nullopt},   // not hidden
      {"..tmpk3x0a9zq", std::nullopt},          // no target
      {".Plan.tbr.tmp-k3x0a9z", std::nullopt},  {".notes", std::nullopt},
      {".Plan.pdb.0a1b2c3d.tmp", std::nullopt},  // another writer's naming
  };
  for (const auto& c : cases) EXPECT_EQ(AtomicTemporaryTarget(c.name), c.target) << c.name;
}

// A writer killed part-way leaves its temporary file; a live writer (in
// another process) holds its own, which the cleaner never takes from it.
TEST(Files, OnlyTheTemporaryFilesOfKilledWritersAreRemoved) {
  const std::string dir = testing::MakeTempDir("leftovers");
  const auto writeAndDie = [&](const std::string& target) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      AtomicFile file(dir + "/" + target);
      file.Write(std::string_view("half"));
      kill(getpid(), SIGKILL);
      _exit(3);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
  };
  writeAndDie("Plan.tbr");
  writeAndDie("Plan.tbr");
  writeAndDie("Notes.txt");
  Put(dir + "/Plan.tbr", "the user's file");
  Put(dir + "/.hidden.tbr", "a user's own dot file");
  Put(dir + "/.Other.tbr.tmp-not-ours", "another naming");
  stdfs::create_directory(dir + "/.Folder.tbr.tmpabcdefgh");

  // A live writer in another process, waiting to be told to finish.
  int toChild[2];
  int fromChild[2];
  ASSERT_EQ(pipe(toChild), 0);
  ASSERT_EQ(pipe(fromChild), 0);
  const pid_t writer = fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    AtomicFile file(dir + "/Live.tbr");
    file.Write(std::string_view("being written"));
    char c = 'w';
    if (write(fromChild[1], &c, 1) != 1 || read(toChild[0], &c, 1) != 1) _exit(4);
    try {
      file.Commit();
    } catch (...) {
      _exit(5);
    }
    _exit(0);
  }
  char ready = 0;
  ASSERT_EQ(read(fromChild[0], &ready, 1), 1);
  ASSERT_EQ(testing::FolderEntries(dir).size(), 8u);

  const auto tbr = [](std::string_view target) { return target.ends_with(".tbr"); };
  EXPECT_EQ(RemoveAbandonedTemporaries(dir, tbr), 2u);
  std::vector<std::string> left = testing::FolderEntries(dir);
  EXPECT_EQ(std::count_if(left.begin(), left.end(),
                          [](const std::string& n) { return n.starts_with(".Live.tbr.tmp"); }),
            1);
  EXPECT_EQ(std::count_if(left.begin(), left.end(),
                          [](const std::string& n) { return n.starts_with(".Notes.txt.tmp"); }),
            1);
  EXPECT_EQ(std::count_if(left.begin(), left.end(),
                          [](const std::string& n) { return n.starts_with(".Plan.tbr.tmp"); }),
            0);
  for (const char* kept :
       {"Plan.tbr", ".hidden.tbr", ".Other.tbr.tmp-not-ours", ".Folder.tbr.tmpabcdefgh"}) {
    EXPECT_NE(std::find(left.begin(), left.end(), kept), left.end()) << kept;
  }
  EXPECT_EQ(Get(dir + "/Plan.tbr"), "the user's file");

  // The live writer finishes unharmed.
  ASSERT_EQ(write(toChild[1], "c", 1), 1);
  int status = 0;
  ASSERT_EQ(waitpid(writer, &status, 0), writer);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(Get(dir + "/Live.tbr"), "being written");
  for (int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]}) close(fd);
  EXPECT_EQ(RemoveAbandonedTemporaries(dir + "/missing", tbr), 0u);
}

TEST(Files, ReadWholeFileErrors) {
  const std::string dir = testing::MakeTempDir("read");
  EXPECT_THAT([&] { ReadWholeFile(dir + "/missing"); }, RaisesErrorNumber(53));
  EXPECT_THAT([&] { ReadWholeFile(dir + "/no/missing"); }, RaisesErrorNumber(76));
  EXPECT_THAT([&] { ReadWholeFile(dir); }, RaisesErrorNumber(75));
  Put(dir + "/empty", "");
  EXPECT_TRUE(ReadWholeFile(dir + "/empty").empty());
}

TEST(Files, ReadWholeFileGivesEveryByte) {
  const std::string dir = testing::MakeTempDir("whole");
  // Sizes around the steps the file is read in (256 KB).
  for (const size_t size :
       {size_t{1}, size_t{4095}, size_t{262143}, size_t{262144}, size_t{262145}, size_t{1000003}}) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
    Put(dir + "/data", bytes);
    EXPECT_TRUE(Get(dir + "/data") == bytes) << size;
  }
  // A file that reports a length of 0 but has bytes is read to its end.
  const std::vector<uint8_t> status = ReadWholeFile("/proc/self/status");
  const std::string text(status.begin(), status.end());
  EXPECT_EQ(text.rfind("Name:", 0), 0u) << text.substr(0, 40);
  EXPECT_NE(text.find("\nPid:"), std::string::npos);
}

// A FIFO (a device, a socket) is refused at once: opening one for reading
// would otherwise wait for a writer for ever. The alarm turns a wait into a
// failed test.
TEST(Files, ReadersRefuseAFifoWithoutWaitingForAWriter) {
  const std::string dir = testing::MakeTempDir("fifo");
  const std::string fifo = dir + "/notes.txt";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  alarm(20);
  EXPECT_THAT([&] { ReadWholeFile(fifo); }, RaisesErrorNumber(75));
  EXPECT_THAT([&] { InputFile in(fifo); }, RaisesErrorNumber(75));
  EXPECT_THAT([&] { CopyFile(fifo, dir + "/copy.txt", false); }, RaisesErrorNumber(75));
  EXPECT_THAT([&] { OpenFile in(fifo, OpenFile::Mode::Read); }, RaisesErrorNumber(75));
  EXPECT_THAT([&] { OpenFile in(fifo, OpenFile::Mode::ReadWrite); }, RaisesErrorNumber(75));
  alarm(0);
  EXPECT_EQ(testing::FolderEntries(dir), std::vector<std::string>{"notes.txt"});
}

TEST(Files, ListEntriesGivesEachEntryAsTheFolderHoldsIt) {
  const std::string dir = testing::MakeTempDir("entries");
  Put(dir + "/b file", "x");
  stdfs::create_directory(dir + "/A folder");
  stdfs::create_symlink(dir + "/A folder", dir + "/c link to folder");
  stdfs::create_symlink(dir + "/missing", dir + "/D dangling");
  Put(dir + "/.hidden", "x");
  ASSERT_EQ(mkfifo((dir + "/e pipe").c_str(), 0600), 0);
  std::vector<std::pair<std::string, EntryType>> got;
  for (const FolderEntry& e : ListEntries(dir)) got.emplace_back(e.name, e.type);
  const std::vector<std::pair<std::string, EntryType>> expected = {
      {"A folder", EntryType::Folder},
      {"b file", EntryType::File},
      {"c link to folder", EntryType::Link},
      {"D dangling", EntryType::Link},
      {"e pipe", EntryType::Other}};
  EXPECT_EQ(got, expected);
  EXPECT_THAT([&] { ListEntries(dir + "/none"); }, RaisesErrorNumber(76));
}

TEST(Files, InputFileReadsPartsAndStopsAtTheEnd) {
  const std::string dir = testing::MakeTempDir("input");
  Put(dir + "/data", "0123456789");
  InputFile in(dir + "/data");
  EXPECT_EQ(in.Size(), 10u);
  auto text = [](const std::vector<uint8_t>& b) { return std::string(b.begin(), b.end()); };
  EXPECT_EQ(text(in.Read(0, 4)), "0123");
  EXPECT_EQ(text(in.Read(7, 100)), "789");
  EXPECT_EQ(text(in.Read(10, 1)), "");
  EXPECT_EQ(text(in.Read(1000, 1)), "");
  EXPECT_THAT([&] { InputFile missing(dir + "/missing"); }, RaisesErrorNumber(53));
  EXPECT_THAT([&] { InputFile missing(dir + "/no/missing"); }, RaisesErrorNumber(76));
  EXPECT_THAT([&] { InputFile folder(dir); }, RaisesErrorNumber(75));
}

TEST(Files, TempFilesCarryThePrefixAndGoAway) {
  std::string first;
  {
    TempFileGuard a(MakeTempFile("tbr", ".tmp"));
    TempFileGuard b(MakeTempFile("tbr", ".tmp"));
    first = a.path();
    EXPECT_NE(a.path(), b.path());
    EXPECT_EQ(FolderPart(a.path()), TempDir());
    EXPECT_EQ(FileNamePart(a.path()).substr(0, 3), "tbr");
    EXPECT_EQ(ExtensionPart(a.path()), ".tmp");
    EXPECT_TRUE(FileExists(a.path()));
    EXPECT_EQ(FileSize(a.path()), 0u);
  }
  EXPECT_FALSE(FileExists(first));
  EXPECT_THAT([] { MakeTempFile("../tbr"); }, RaisesErrorNumber(52));
}

TEST(Files, FileTimesAreVbDates) {
  const std::string dir = testing::MakeTempDir("times");
  Put(dir + "/f", "x");
  for (double date : {36526.5, 44378.0 + 13.0 / 24 + 7.0 / 1440}) {
    SetFileDateTime(dir + "/f", date);
    EXPECT_NEAR(FileDateTime(dir + "/f"), date, 0.5 / 86400);
  }
  EXPECT_THAT([&] { FileDateTime(dir + "/missing"); }, RaisesErrorNumber(53));
}

TEST(Files, ReadOnlyIsTheOwnersWritePermission) {
  const std::string dir = testing::MakeTempDir("readonly");
  Put(dir + "/f", "x");
  EXPECT_FALSE(IsReadOnly(dir + "/f"));
  std::filesystem::permissions(dir + "/f", std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  EXPECT_TRUE(IsReadOnly(dir + "/f"));
  EXPECT_THAT([&] { IsReadOnly(dir + "/missing"); }, RaisesErrorNumber(53));
}

}  // namespace
}  // namespace brevora::fs
