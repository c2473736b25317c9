// Fuzzes the registry where it meets files, through its own calls and a
// private BREVORA_HOME:
//   - the input as the file of the HKEY_CURRENT_USER hive, read by ReadHive:
//     refused only with 32759; once read, a write to the hive keeps everything
//     the file held and leaves a file that reads back;
//   - the input given to ImportRegedit: refused only with 32759 and then with
//     nothing applied (no hive file written); else every hive file reads back
//     as the parsed text applied to an empty hive.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "fuzz/registry_support.h"
#include "platform/fs/paths.h"
#include "platform/registry/hive_store.h"
#include "platform/registry/key_tree.h"
#include "platform/registry/regedit_format.h"
#include "platform/registry/registry.h"

namespace brevora::fuzz {
namespace {

using registry::Hive;
using registry::KeyNode;

std::string& Home() {
  static std::string home;
  return home;
}

void RemoveHome() {
  std::error_code ignored;
  std::filesystem::remove_all(Home(), ignored);
}

std::string HiveFile(Hive hive) { return fs::NativePath(registry::HiveFilePath(hive)); }

void RemoveHives() {
  for (const Hive hive : kHives) unlink(HiveFile(hive).c_str());
}

bool HiveFileExists(Hive hive) {
  struct stat st {};
  return stat(HiveFile(hive).c_str(), &st) == 0;
}

void HiveFileRoundTrip(std::string_view text) {
  RemoveHives();
  {
    std::ofstream out(HiveFile(Hive::CurrentUser), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (!out.flush()) Fail("cannot write the hive file");
  }
  std::shared_ptr<const KeyNode> tree;
  if (!Accepts(registry::kRegistryError, [&] { tree = registry::ReadHive(Hive::CurrentUser); }))
    return;

  const registry::Value mark = registry::Value::DWord(1);
  Must("a write to a hive that was read",
       [&] { registry::SetValue(Hive::CurrentUser, "Fuzz", "mark", mark); });
  KeyNode expected = *tree;
  registry::FindOrCreateKey(expected, {"Fuzz"}).SetValue("mark", mark);
  std::shared_ptr<const KeyNode> after;
  Must("reading the hive after a write", [&] { after = registry::ReadHive(Hive::CurrentUser); });
  Check(SameTree(*after, expected), "the hive changed more than the write");
}

void ImportRoundTrip(std::string_view text) {
  RemoveHives();
  if (!Accepts(registry::kRegistryError, [&] { registry::ImportRegedit(text); })) {
    for (const Hive hive : kHives) {
      Check(!HiveFileExists(hive),
            std::string("a refused import wrote ") + registry::HiveName(hive));
    }
    return;
  }
  std::vector<registry::RegeditSection> sections;
  Must("parsing an imported text", [&] { sections = registry::ParseRegedit(text, "import"); });
  for (const Hive hive : kHives) {
    KeyNode expected = EmptyHive(hive);
    Must("applying an imported text",
         [&] { registry::ApplySections(expected, hive, sections, "import"); });
    std::shared_ptr<const KeyNode> stored;
    Must("reading an imported hive", [&] { stored = registry::ReadHive(hive); });
    Check(SameTree(*stored, expected),
          std::string("imported hive differs: ") + registry::HiveName(hive));
  }
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) { return RegeditSeeds(); }

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace brevora::fuzz;
  // $TMPDIR when set (scripts/fuzz.sh points it into its own work folder), else
  // /dev/shm when there is one: every registry write syncs its file.
  const char* tmp = std::getenv("TMPDIR");
  std::string folder = tmp && *tmp ? tmp : access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  std::string pattern = folder + "/brevora-fuzz-XXXXXX";
  if (mkdtemp(pattern.data()) == nullptr) Fail("mkdtemp");
  Home() = pattern;
  setenv("BREVORA_HOME", pattern.c_str(), 1);
  std::filesystem::create_directories(pattern + "/registry");
  std::atexit(RemoveHome);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  brevora::fuzz::HiveFileRoundTrip(text);
  brevora::fuzz::ImportRoundTrip(text);
  return 0;
}
