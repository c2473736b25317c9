// The main of every <target>_seeds program: writes the target's seeds into the
// folder given on the command line (created when missing; files of the same
// name are replaced, others left alone).
//   <target>_seeds <corpus folder>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "fuzz/fuzz_target.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
    return 2;
  }
  namespace stdfs = std::filesystem;
  const stdfs::path folder = argv[1];

  // A private scratch folder, also as BREVORA_HOME so no writer touches the real home.
  std::string pattern = (stdfs::temp_directory_path() / "brevora-seeds-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  const stdfs::path scratch = pattern;
  setenv("BREVORA_HOME", (scratch / "home").c_str(), 1);
  stdfs::create_directories(scratch / "home");
  stdfs::create_directories(scratch / "files");

  int status = 0;
  try {
    stdfs::create_directories(folder);
    for (const auto& seed : brevora::fuzz::Seeds((scratch / "files").string())) {
      std::ofstream out(folder / seed.name, std::ios::binary | std::ios::trunc);
      out.write(seed.bytes.data(), static_cast<std::streamsize>(seed.bytes.size()));
      if (!out.flush()) {
        std::fprintf(stderr, "cannot write %s\n", (folder / seed.name).c_str());
        status = 1;
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "seeds failed: %s\n", e.what());
    status = 1;
  }
  std::error_code ignored;
  stdfs::remove_all(scratch, ignored);
  return status;
}
