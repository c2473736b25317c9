#include "frontend/root_directory.h"

#include <gtest/gtest.h>

#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

TEST(CheckRootDirectory, NeedsAnExistingFolder) {
  const std::string folder = testing::MakeTempDir("Docs");
  const struct {
    std::string typed;
    RootDirectoryChoice expected;
  } cases[] = {
      {folder, {folder, true}},
      {"  " + folder + "  ", {folder, true}},
      {folder + "/", {folder + "/", true}},
      {"", {"", false}},
      {"   ", {"", false}},
      {folder + "/missing", {folder + "/missing", false}},
      {std::string("bad\0name", 8), {std::string("bad\0name", 8), false}},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckRootDirectory(c.typed), c.expected) << c.typed;
}

}  // namespace
}  // namespace brevora::frontend
