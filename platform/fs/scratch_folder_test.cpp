// Scratch folders: their name, the move out of one, what goes with them, and
// the removal of the leftovers of a tag (and of nothing else).
#include "platform/fs/scratch_folder.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/fs/files.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::fs {
namespace {

using ::brevora::testing::RaisesErrorNumber;
namespace stdfs = std::filesystem;

void Put(const std::string& path, const std::string& content) { std::ofstream(path, std::ios::binary) << content; }

std::string Get(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : stdfs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ScratchFolder, IsAPrivateHiddenFolderThatGoesWithItsContent) {
  const std::string folder = testing::MakeTempDir("category");
  std::string made;
  {
    const ScratchFolder scratch(folder, "import");
    made = scratch.path();
    const std::string name = stdfs::path(made).filename().string();
    EXPECT_THAT(name, ::testing::MatchesRegex("\\.import-[a-z0-9]{6}\\.scratch"));
    EXPECT_TRUE(ScratchFolder::IsScratchName(made));
    struct stat st {};
    ASSERT_EQ(stat(made.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0700u);
    // The writers work inside it as anywhere else.
    AtomicWrite(made + "/Budget.tbr", std::string_view("2budget"));
    CopyFile(made + "/Budget.tbr", made + "/Copy.tbr", false);
    stdfs::create_directories(made + "/img/deep");
    Put(made + "/img/deep/picture.png", "png");
    EXPECT_EQ(Get(made + "/Copy.tbr"), "2budget");
  }
  EXPECT_FALSE(stdfs::exists(made));
  EXPECT_TRUE(Entries(folder).empty());
  EXPECT_THAT([&] { ScratchFolder bad(folder, "im/port"); }, RaisesErrorNumber(5));
  EXPECT_THAT([&] { ScratchFolder bad(folder, ""); }, RaisesErrorNumber(5));
  EXPECT_THAT([&] { ScratchFolder missing(folder + "/none", "import"); }, RaisesErrorNumber(76));
}

TEST(ScratchFolder, MoveOutReplacesOnlyWhenAsked) {
  const std::string folder = testing::MakeTempDir("category");
  Put(folder + "/Old.tbr", "2old");
  const ScratchFolder scratch(folder, "import");
  Put(scratch.path() + "/New.tbr", "1new");
  scratch.MoveOut("New.tbr", folder + "/New.tbr", false);
  EXPECT_EQ(Get(folder + "/New.tbr"), "1new");

  Put(scratch.path() + "/Old.tbr", "1newer");
  EXPECT_THAT([&] { scratch.MoveOut("Old.tbr", folder + "/Old.tbr", false); }, RaisesErrorNumber(58));
  EXPECT_EQ(Get(folder + "/Old.tbr"), "2old");
  scratch.MoveOut("Old.tbr", folder + "/Old.tbr", true);
  EXPECT_EQ(Get(folder + "/Old.tbr"), "1newer");
  EXPECT_TRUE(Entries(scratch.path()).empty());
  EXPECT_THAT([&] { scratch.MoveOut("Gone.tbr", folder + "/Gone.tbr", true); }, RaisesErrorNumber(53));
  EXPECT_THAT([&] { scratch.MoveOut("../Old.tbr", folder + "/x.tbr", true); }, RaisesErrorNumber(52));
}

TEST(ScratchFolder, LeftoversOfItsTagAreRemovedAndNothingElse) {
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
  stdfs::create_directories(folder + "/Business");
  Put(folder + "/Budget.tbr", "2budget");

  EXPECT_EQ(ScratchFolder::RemoveLeftovers(folder, "import"), 2);
  EXPECT_EQ(Entries(folder), (std::vector<std::string>{".import-abc12.scratch", ".import-abc123",
                                                       ".import-file00.scratch", ".import-link00.scratch",
                                                       ".other-abc123.scratch", "Budget.tbr", "Business"}));
  EXPECT_EQ(Get(elsewhere + "/keep.tbr"), "2keep");
  EXPECT_EQ(ScratchFolder::RemoveLeftovers(folder + "/none", "import"), 0);
}

TEST(ScratchFolder, NamesOfScratchFolders) {
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
  for (const auto& c : cases) EXPECT_EQ(ScratchFolder::IsScratchName(c.path), c.scratch) << c.path;
}

}  // namespace
}  // namespace brevora::fs
