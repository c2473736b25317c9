// Fuzzes the clean-up of a device folder after killed HotSyncs: the bytes are
// file names, one a line, made in an empty device folder (names a folder can't
// hold are skipped). RemoveDeviceLeftovers must remove exactly the temporary
// files of database and identity writes (".<a database's file name>.<8 hex>.tmp",
// ".identity.txt.tmp<8 letters or digits>") and nothing else, and the two name
// readers must give back only targets that form the name again.
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/file_input.h"
#include "fuzz/fuzz_target.h"
#include "platform/fs/files.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/device_file_io.h"
#include "platform/hotsync/device_identity.h"
#include "platform/hotsync/device_names.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"leftovers.txt",
       ".Doc4.pdb.0a1b2c3d.tmp\n.identity.txt.tmpk3x0a9zq\nDoc4.pdb\n.hotsync.lock\n"},
      {"lookalikes.txt",
       ".Doc4.pdb.0A1B2C3D.tmp\n.identity.txt.0a1b2c3d.tmp\n.notes\n..0a1b2c3d.tmp\n"
       ".Plan.tbr.tmpk3x0a9zq\n.x.pdb.tmp00000000\n"},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  namespace hs = brevora::hotsync;
  namespace stdfs = std::filesystem;
  const std::string folder = WorkFolder() + "/device";
  stdfs::remove_all(folder);
  stdfs::create_directories(folder);
  std::set<std::string> names;
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  while (!rest.empty()) {
    const std::size_t lf = rest.find('\n');
    const std::string name(rest.substr(0, lf));
    rest.remove_prefix(lf == std::string_view::npos ? rest.size() : lf + 1);
    if (name.empty() || name.size() > 200 || name == "." || name == ".." ||
        name.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
      continue;
    }
    std::ofstream(folder + "/" + name) << "x";
    names.insert(name);
  }

  std::set<std::string> leftovers;
  for (const std::string& name : names) {
    const auto whole = hs::WholeFileTemporaryTarget(name);
    const auto atomic = brevora::fs::AtomicTemporaryTarget(name);
    if (whole) {
      Check(name == "." + *whole + name.substr(name.size() - 13),
            "a temporary name that is not its target's");
      const auto database = hs::DatabaseNameOfFile(*whole);
      if (database && hs::IsDatabaseName(*database) && hs::DatabaseFileName(*database) == *whole) {
        leftovers.insert(name);
      }
    }
    if (atomic) {
      Check(name == "." + *atomic + name.substr(name.size() - 12),
            "a temporary name that is not its target's");
      if (*atomic == hs::kIdentityFileName) leftovers.insert(name);
    }
  }
  Must("clearing the leftovers", [&] {
    const std::size_t removed = hs::RemoveDeviceLeftovers(folder);
    Check(removed == leftovers.size(), "removed " + std::to_string(removed) + " of " +
                                           std::to_string(leftovers.size()) + " leftovers");
    for (const std::string& name : names) {
      Check(stdfs::exists(folder + "/" + name) != leftovers.contains(name),
            "wrongly kept or removed: " + name);
    }
  });
  return 0;
}
