// Fuzzes the HotSync host's reading of its registry keys: the bytes as a
// REGEDIT4 text imported into a hive that holds two registered conduits,
// then the host's reads, RegisteredConduits, FindConduit of each name (any
// case) and ReadSyncAction of each for a user. Only ImportRegedit may refuse
// the text (32759, changing nothing); the reads never raise. Every conduit read is one the
// host could run: a plain name without '\', a library, a plain folder name
// (its folder stays inside the user's folder) and four creator characters;
// FindConduit gives the same conduit by its name in another case.
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/file_input.h"
#include "fuzz/registry_support.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/host/conduit_registry.h"
#include "platform/registry/hive_store.h"
#include "platform/registry/registry.h"
#include "platform/text/case.h"

namespace brevora::fuzz {

std::vector<Seed> Seeds(const std::string&) {
  const std::string key = "[HKEY_CURRENT_USER\\Software\\Brevora\\HotSync\\Conduits\\";
  return {
      {"registered.reg",
       "REGEDIT4\r\n\r\n" + key +
           "Tabulyn]\r\n\"Library\"=\"/usr/lib/brevora/libtabrel.so\"\r\n"
           "\"Directory\"=\"tabrel\"\r\n\"Creator\"=\"TBRL\"\r\n\r\n"
           "[HKEY_CURRENT_USER\\Software\\Brevora\\HotSync\\Actions\\7\\Tabulyn]\r\n"
           "\"Permanent\"=dword:00000002\r\n\"Once\"=dword:00000001\r\n\"AlternateDesktop\"=dword:"
           "00000001\r\n"},
      {"escaping.reg", "REGEDIT4\r\n\r\n" + key +
                           "Up]\r\n\"Library\"=\"x.so\"\r\n\"Directory\"=\"..\"\r\n"
                           "\"Creator\"=\"ABCD\"\r\n" +
                           key +
                           "Deep]\r\n\"Library\"=\"x.so\"\r\n\"Directory\"=\"a/b\"\r\n"
                           "\"Creator\"=\"ABC\"\r\n" +
                           key + "Typed]\r\n\"Library\"=dword:00000001\r\n"},
      {"removed.reg",
       "REGEDIT4\r\n\r\n[-HKEY_CURRENT_USER\\Software\\Brevora\\HotSync\\Conduits\\Scrivane]\r\n" +
           key + "Tabulyn]\r\n\"Directory\"=-\r\n"},
  };
}

// The hive with the two conduits, as its file holds it.
std::string& BaseHive() {
  static std::string hive;
  return hive;
}

// Puts the hive file back as BaseHive (a new file renamed over it, as every
// writer replaces it): one write instead of the host's seven.
void ResetHive() {
  const std::string path = registry::HiveFilePath(registry::Hive::CurrentUser);
  {
    std::ofstream out(path + ".fuzz", std::ios::binary | std::ios::trunc);
    out << BaseHive();
    if (!out.flush()) Fail("cannot write the hive");
  }
  if (std::rename((path + ".fuzz").c_str(), path.c_str()) != 0) Fail("cannot replace the hive");
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  using namespace brevora;
  fuzz::MakeWorkFolder();
  hotsync::host::RegisterConduit({"Tabulyn", "/usr/lib/brevora/libtabrel.so", "tabrel", "TBRL"});
  hotsync::host::RegisterConduit({"Scrivane", "/usr/lib/brevora/libscriv.so", "scriv", "SCRV"});
  fuzz::BaseHive() = fuzz::FileBytes(registry::HiveFilePath(registry::Hive::CurrentUser));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  using namespace brevora::hotsync::host;
  ResetHive();
  const std::string text(reinterpret_cast<const char*>(data), size);
  bool imported = false;
  try {
    registry::ImportRegedit(text);
    imported = true;
  } catch (const AutomationError& e) {
    if (e.number() != 32759)
      Fail("import: error " + std::to_string(e.number()) + ": " + e.description());
  }
  if (!imported) Check(RegisteredConduits().size() == 2, "a refused import changed the conduits");
  Must("reading the conduits", [&] {
    for (const ConduitRegistration& c : RegisteredConduits()) {
      Check(RegistrationProblem(c).empty(), "a conduit read that could not be registered");
      Check(fs::IsPlainName(c.name) && c.name.find('\\') == std::string::npos,
            "a conduit name that is not plain");
      Check(fs::IsPlainName(c.directory), "a conduit folder that is not a plain name");
      Check(c.creator.size() == 4 && !c.library.empty(),
            "a conduit without its creator or library");
      const auto found = FindConduit(text::UCase(c.name));
      Check(found.has_value() && *found == c,
            "a registered conduit not found as listed by its name in capitals");
      for (const int32_t user : {0, 7, -1}) ReadSyncAction(user, c.name);
    }
  });
  return 0;
}
