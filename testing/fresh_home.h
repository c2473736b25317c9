#pragma once
// FreshHome: the GoogleTest listener behind every test program's main. Before
// each test case it makes a fresh temporary folder, points BREVORA_HOME at it
// and TMPDIR at its "tmp" sub-folder; after the case it removes the folder and
// puts TMPDIR back. Append one to the listeners before RUN_ALL_TESTS.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace brevora::testing {

class FreshHome : public ::testing::EmptyTestEventListener {
 public:
  FreshHome();
  void OnTestStart(const ::testing::TestInfo&) override;
  void OnTestEnd(const ::testing::TestInfo&) override;

 private:
  std::string originalTmp_;
  std::filesystem::path home_;
};

}  // namespace brevora::testing
