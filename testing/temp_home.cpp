#include "testing/temp_home.h"

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

}  // namespace brevora::testing
