// Shared main of every test program: gives each test case a fresh BREVORA_HOME
// (and TMPDIR inside it), and removes the folder when the case ends.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class FreshHome : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override {
    std::string pattern = (std::filesystem::temp_directory_path() / "brevora-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    home_ = pattern;
    std::filesystem::create_directories(home_ / "tmp");
    setenv("BREVORA_HOME", home_.c_str(), 1);
    setenv("TMPDIR", (home_ / "tmp").c_str(), 1);
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    std::error_code ec;
    std::filesystem::remove_all(home_, ec);
    unsetenv("BREVORA_HOME");
    if (original_tmp_.empty()) unsetenv("TMPDIR"); else setenv("TMPDIR", original_tmp_.c_str(), 1);
  }
  std::string original_tmp_ = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";

 private:
  std::filesystem::path home_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new FreshHome);
  return RUN_ALL_TESTS();
}
