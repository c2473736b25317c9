#include "testing/temp_home.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace brevora::testing {

std::string TempHome() {
  const char* home = std::getenv("BREVORA_HOME");
  if (!home) throw std::runtime_error("BREVORA_HOME is not set in a test");
  return home;
}

std::string MakeTempDir(const std::string& name) {
  std::filesystem::path dir = std::filesystem::path(TempHome()) / "tmp" / name;
  std::filesystem::create_directories(dir);
  return dir.string();
}

std::vector<std::string> FolderEntries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace brevora::testing
