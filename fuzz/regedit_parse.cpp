// Fuzzes the REGEDIT4 parser in memory: ParseRegedit, then ApplySections onto
// an empty tree of each hive. The only refusal is 32759. What the parser took
// in must survive a save: WriteRegedit of the tree parses again, without error,
// into the same tree (else a write would leave a hive file that can no longer
// be read, or one that reads back different).
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "fuzz/registry_support.h"
#include "platform/registry/key_tree.h"
#include "platform/registry/regedit_format.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) { return RegeditSeeds(); }

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora::fuzz;
  using namespace brevora::registry;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<RegeditSection> sections;
  if (!Accepts(kRegistryError, [&] { sections = ParseRegedit(text, "fuzz.reg"); })) return 0;
  for (const Hive hive : kHives) {
    KeyNode root = EmptyHive(hive);
    if (!Accepts(kRegistryError, [&] { ApplySections(root, hive, sections, "fuzz.reg"); }))
      continue;
    const std::string written = WriteRegedit(root, hive);
    KeyNode again = EmptyHive(hive);
    Must("reading what WriteRegedit wrote",
         [&] { ApplySections(again, hive, ParseRegedit(written, "written.reg"), "written.reg"); });
    Check(SameTree(root, again), "the written hive reads back different");
  }
  return 0;
}
