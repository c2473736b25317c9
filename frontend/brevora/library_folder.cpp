#include "frontend/brevora/library_folder.h"

#include <filesystem>

#include "frontend/module_classes.h"

namespace brevora::frontend::program {

std::string ProgramLibraryFolder() {
  const std::string file = ModuleLibraryFile();
  return file.empty() ? std::string() : std::filesystem::path(file).parent_path().string();
}

}  // namespace brevora::frontend::program
