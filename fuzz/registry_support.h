#pragma once
// What the registry targets share: an empty hive tree, a comparison of trees,
// and the seeds: hives written by WriteRegedit (every value type, nested keys, a
// long binary list that continues over lines) and a text as people write it
// (deletions, the newer header, a BOM, CR LF, comments).
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "platform/registry/key_tree.h"
#include "platform/registry/regedit_format.h"

namespace brevora::fuzz {

inline constexpr registry::Hive kHives[] = {registry::Hive::CurrentUser,
                                            registry::Hive::LocalMachine, registry::Hive::Users,
                                            registry::Hive::ClassesRoot};

inline registry::KeyNode EmptyHive(registry::Hive hive) {
  registry::KeyNode root;
  root.name = registry::HiveName(hive);
  return root;
}

// Same names (with case), values in the same order, children in the same order.
inline bool SameTree(const registry::KeyNode& a, const registry::KeyNode& b) {
  if (a.name != b.name || a.values != b.values || a.children.size() != b.children.size())
    return false;
  for (size_t i = 0; i < a.children.size(); ++i) {
    if (!SameTree(a.children[i], b.children[i])) return false;
  }
  return true;
}

inline std::vector<Seed> RegeditSeeds() {
  using registry::Value;
  std::vector<Seed> seeds;

  registry::KeyNode user;
  user.name = "HKEY_CURRENT_USER";
  registry::KeyNode& palm = registry::FindOrCreateKey(user, {"Software", "Orvanex", "Tabulyn"});
  palm.SetValue("", Value::String("default"));
  palm.SetValue("HomePath", Value::String("C:\\Palm \"Desktop\""));
  palm.SetValue("CellWarn", Value::DWord(0x5dc));
  palm.SetValue("Lines", Value::String("one\r\ntwo"));
  palm.SetValue("Path", Value::ExpandString("%HOME%\\Caf\xE9"));
  std::vector<uint8_t> bytes;
  for (int i = 0; i < 45; ++i) bytes.push_back(static_cast<uint8_t>(i * 37));
  palm.SetValue("Data", Value::Binary(bytes));
  registry::FindOrCreateKey(user, {"Software", "Orvanex", "Empty"});
  seeds.push_back({"written_user.reg", registry::WriteRegedit(user, registry::Hive::CurrentUser)});

  registry::KeyNode classes;
  classes.name = "HKEY_CLASSES_ROOT";
  registry::FindOrCreateKey(classes, {"Tabrel.PDB", "CLSID"})
      .SetValue("", Value::String("{4A1B2C3D-0000-1111-2222-333344445555}"));
  registry::FindOrCreateKey(classes,
                            {"CLSID", "{4A1B2C3D-0000-1111-2222-333344445555}", "InprocServer32"})
      .SetValue("", Value::String("/usr/lib/brevora/libtabrelpc.so"));
  seeds.push_back(
      {"written_classes.reg", registry::WriteRegedit(classes, registry::Hive::ClassesRoot)});

  seeds.push_back({"by_hand.reg",
                   "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                   "; a comment\r\n"
                   "[HKCU\\Software\\Orvanex\\Old]\r\n"
                   "\"Gone\"=-\r\n"
                   "@=hex(1):61,00,62,00,00,00\r\n"
                   "\"Word\"=hex(4):dc,05,00,00\r\n"
                   "\"Eight\"=hex(2):25,48,4f,4d,45,25,00\r\n"
                   "[-HKEY_LOCAL_MACHINE\\Software\\Gone]\r\n"
                   "[HKLM\\Software\\Orvanex]\r\n"
                   "\"Installed\"=dword:00000001\r\n"});
  return seeds;
}

}  // namespace brevora::fuzz
