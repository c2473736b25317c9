// Temporary folders: their name, the move out of one, what goes with them, and
// the removal of the leftovers of a name (and of nothing else).
#include "platform/fs/temp_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fs/files.h"
#include "platform/fs/paths.h"
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
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Every kind of temporary folder: where it is made, its name, its mode, and
// that it goes with everything in it.
TEST(TempFolder, IsAPrivateFolderThatGoesWithItsContent) {
  const std::string folder = testing::MakeTempDir("category");
  const std::string tmp = NativePath(TempDir());
  const struct {
    TempFolder::Options options;
    std::string parent;  // native, ending with '/'
    const char* name;    // a regular expression
  } cases[] = {
      {{.prefix = "DOC"}, tmp, "DOC[a-z0-9]{6}"},
      {{.where = folder, .prefix = "hotsync.new-"}, folder + "/", "hotsync\\.new-[a-z0-9]{6}"},
      {{.where = folder + "/", .prefix = "import", .scratch = true},
       folder + "/",
       "\\.import-[a-z0-9]{6}\\.scratch"},
  };
  for (const auto& c : cases) {
    std::string made;
    {
      const TempFolder temp(c.options);
      made = temp.Path();
      ASSERT_TRUE(made.starts_with(c.parent) && made.ends_with("/")) << made;
      EXPECT_THAT(made.substr(c.parent.size(), made.size() - c.parent.size() - 1),
                  ::testing::MatchesRegex(c.name));
      EXPECT_EQ(TempFolder::IsScratchName(made), c.options.scratch) << made;
      struct stat st {};
      ASSERT_EQ(stat(made.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, 0700u);
      // The writers work inside it as anywhere else.
      AtomicWrite(made + "Budget.tbr", std::string_view("2budget"));
      CopyFile(made + "Budget.tbr", made + "Copy.tbr", false);
      stdfs::create_directories(made + "img/deep");
      Put(made + "img/deep/picture.png", "png");
      EXPECT_EQ(Get(made + "Copy.tbr"), "2budget");
    }
    EXPECT_FALSE(stdfs::exists(made)) << made;
  }
  EXPECT_TRUE(testing::FolderEntries(folder).empty());
}

TEST(TempFolder, AKeptFolderStays) {
  const std::string folder = testing::MakeTempDir("data");
  std::string made;
  {
    TempFolder temp({.where = folder, .prefix = "hotsync.new-"});
    Put(temp.Path() + "users.txt", "1\tExample\tExample\n");
    RenameNoReplace(temp.Path(), folder + "/hotsync");
    temp.Keep();
    made = temp.Path();
  }
  EXPECT_FALSE(stdfs::exists(made));
  EXPECT_EQ(Get(folder + "/hotsync/users.txt"), "1\tExample\tExample\n");
}

TEST(TempFolder, BadOptionsAndMissingFoldersRaise) {
  const std::string folder = testing::MakeTempDir("category");
  const struct {
    TempFolder::Options options;
    int32_t number;
  } cases[] = {
      {{.where = folder, .prefix = "im/port", .scratch = true}, 5},
      {{.where = folder, .prefix = "", .scratch = true}, 5},
      {{.where = folder, .prefix = "seventeen-letters", .scratch = true}, 5},
      {{.where = folder, .prefix = "a\\b"}, 5},
      {{.where = folder, .prefix = "line\nend"}, 5},
      {{.where = folder + "/none", .prefix = "import", .scratch = true}, 76},
      {{.where = folder + "/none", .prefix = "DOC"}, 76},
  };
  for (const auto& c : cases) {
    EXPECT_THAT([&] { TempFolder bad(c.options); }, RaisesErrorNumber(c.number))
        << c.options.prefix;
    EXPECT_EQ(TempFolder::RemoveLeftovers(c.options), 0);
  }
  EXPECT_TRUE(testing::FolderEntries(folder).empty());
}

TEST(TempFolder, MoveOutReplacesOnlyWhenAsked) {
  const std::string folder = testing::MakeTempDir("category");
  Put(folder + "/Old.tbr", "2old");
  const TempFolder scratch({.where = folder, .prefix = "import", .scratch = true});
  Put(scratch.Path() + "New.tbr", "1new");
  scratch.MoveOut("New.tbr", folder + "/New.tbr", false);
  EXPECT_EQ(Get(folder + "/New.tbr"), "1new");

  Put(scratch.Path() + "Old.tbr", "1newer");
  EXPECT_THAT([&] { scratch.MoveOut("Old.tbr", folder + "/Old.tbr", false); },
              RaisesErrorNumber(58));
  EXPECT_EQ(Get(folder + "/Old.tbr"), "2old");
  scratch.MoveOut("Old.tbr", folder + "/Old.tbr", true);
  EXPECT_EQ(Get(folder + "/Old.tbr"), "1newer");
  EXPECT_TRUE(testing::FolderEntries(scratch.Path()).empty());
  EXPECT_THAT([&] { scratch.MoveOut("Gone.tbr", folder + "/Gone.tbr", true); },
              RaisesErrorNumber(53));
  EXPECT_THAT([&] { scratch.MoveOut("../Old.tbr", folder + "/x.tbr", true); },
              RaisesErrorNumber(52));
}

TEST(TempFolder, LeftoversOfItsNameAreRemovedAndNothingElse) {
  const std::string folder = testing::MakeTempDir("category");
  const std::string elsewhere = testing::MakeTempDir("elsewhere");
  Put(elsewhere + "/keep.tbr", "2keep");
  stdfs::create_directories(folder + "/.import-abc123.scratch/img");
  Put(folder + "/.import-abc123.scratch/img/slide.png", "png");
  stdfs::create_directories(folder + "/.import-zzzzzz.scratch");
  Put(folder + "/.import-file00.scratch", "a file");
  stdfs::create_directory_symlink(elsewhere, folder + "/.import-link00.scratch");
  stdfs::create_directories(folder + "/.other-abc123.scratch");
  stdfs::create_directories(folder + "/.import-abc12.scratch");
  stdfs::create_directories(folder + "/.import-abc123");
  stdfs::create_directories(folder + "/hotsync.new-k1lled/Example");
  stdfs::create_directories(folder + "/hotsync.new-mine");
  stdfs::create_directory_symlink(elsewhere, folder + "/hotsync.new-link00");
  stdfs::create_directories(folder + "/Business");
  Put(folder + "/Budget.tbr", "2budget");

  EXPECT_EQ(TempFolder::RemoveLeftovers({.where = folder, .prefix = "import", .scratch = true}), 2);
  EXPECT_EQ(TempFolder::RemoveLeftovers({.where = folder, .prefix = "hotsync.new-"}), 1);
  EXPECT_EQ(
      testing::FolderEntries(folder),
      (std::vector<std::string>{".import-abc12.scratch", ".import-abc123", ".import-file00.scratch",
                                ".import-link00.scratch", ".other-abc123.scratch", "Budget.tbr",
                                "Business", "hotsync.new-link00", "hotsync.new-mine"}));
  EXPECT_EQ(Get(elsewhere + "/keep.tbr"), "2keep");
  EXPECT_EQ(
      TempFolder::RemoveLeftovers({.where = folder + "/none", .prefix = "import", .scratch = true}),
      0);
}

TEST(TempFolder, NamesOfScratchFolders) {
  const struct {
    const char* path;
    bool scratch;
  } cases[] = {
      {"/home/u/tabrel/Unfiled/.import-abc123.scratch", true},
      {"/home/u/tabrel/Unfiled/.import-abc123.scratch/", true},
      {".x-ABC123.scratch", true},
      {"/home/u/tabrel/Unfiled", false},
      {"/home/u/.import-abc12.scratch", false},
      {"/home/u/import-abc123.scratch", false},
      {"/home/u/.import-abc123", false},
      {"/home/u/.-abc123.scratch", false},
      {"/home/u/.im port-abc123.scratch", false},
      {"/home/u/.import-abc1?3.scratch", false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(TempFolder::IsScratchName(c.path), c.scratch) << c.path;
}

}  // namespace
}  // namespace brevora::fs
