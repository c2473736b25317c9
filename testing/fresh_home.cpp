#include "testing/fresh_home.h"

#include <cstdlib>
#include <system_error>

namespace brevora::testing {

FreshHome::FreshHome() {
  const char* tmp = std::getenv("TMPDIR");
  originalTmp_ = tmp ? tmp : "";
}

void FreshHome::OnTestStart(const ::testing::TestInfo&) {
  std::string pattern = (std::filesystem::temp_directory_path() / "brevora-test-XXXXXX").string();
  if (!mkdtemp(pattern.data())) std::abort();
  home_ = pattern;
  std::filesystem::create_directories(home_ / "tmp");
  setenv("BREVORA_HOME", home_.c_str(), 1);
  setenv("TMPDIR", (home_ / "tmp").c_str(), 1);
}

void FreshHome::OnTestEnd(const ::testing::TestInfo&) {
  std::error_code ec;
  std::filesystem::remove_all(home_, ec);
  unsetenv("BREVORA_HOME");
  if (originalTmp_.empty())
    unsetenv("TMPDIR");
  else
    setenv("TMPDIR", originalTmp_.c_str(), 1);
}

}  // namespace brevora::testing
