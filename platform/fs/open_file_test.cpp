#include "platform/fs/open_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::fs {
namespace {

using ::brevora::testing::NumberOf;

TEST(OpenFile, ReadsAndWritesInPlace) {
  const std::string path = testing::MakeTempDir("f") + "/data";
  AtomicWrite(path, std::string_view("abcdef"));
  {
    OpenFile file(path, OpenFile::Mode::ReadWrite);
    EXPECT_EQ(file.Size(), 6u);
    file.WriteAt(0, "1");
    file.WriteAt(8, "xy");  // past the end: the gap reads as zero bytes
    char buffer[16] = {};
    EXPECT_EQ(file.ReadAt(4, buffer, sizeof buffer), 6u);  // short only at the end
    EXPECT_EQ(std::string(buffer, 6), std::string("ef\0\0xy", 6));
    EXPECT_EQ(file.ReadAt(10, buffer, 4), 0u);
  }
  const std::vector<uint8_t> bytes = ReadWholeFile(path);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), std::string("1bcdef\0\0xy", 10));
}

TEST(OpenFile, NeverCreatesAndRefusesWhatIsNotAFile) {
  const std::string folder = testing::MakeTempDir("f");
  const struct {
    std::string path;
    OpenFile::Mode mode;
    int32_t number;
  } cases[] = {
      {folder + "/missing", OpenFile::Mode::ReadWrite, 53},
      {folder + "/no-folder/missing", OpenFile::Mode::Read, 76},
      {folder, OpenFile::Mode::Read, 75},
      {folder, OpenFile::Mode::ReadWrite, 75},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NumberOf([&] { OpenFile(c.path, c.mode); }), c.number) << c.path;
  }
  EXPECT_FALSE(FileExists(folder + "/missing"));
}

}  // namespace
}  // namespace brevora::fs
