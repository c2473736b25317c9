// The plug-in libtabrel.so as the host loads it: the six entry points and no
// other symbol, its name, version and information, the action dialog, and the
// runs that end at once.
#include <elf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "platform/hotsync/action_dialog.h"
#include "platform/hotsync/conduit_api.h"
#include "platform/hotsync/host/conduit_library.h"
#include "platform/hotsync/hotsync_log.h"

namespace brevora::hotsync {
namespace {

// The names of the symbols a shared object defines for others (its global and
// weak dynamic symbols), read from its ELF file.
std::set<std::string> ExportedNames(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string file((std::istreambuf_iterator<char>(in)), {});
  std::set<std::string> names;
  if (file.size() < sizeof(Elf64_Ehdr)) return names;
  Elf64_Ehdr header;
  std::memcpy(&header, file.data(), sizeof header);
  auto section = [&](std::size_t i) {
    Elf64_Shdr s{};
    const std::size_t at = header.e_shoff + i * header.e_shentsize;
    if (at + sizeof s <= file.size()) std::memcpy(&s, file.data() + at, sizeof s);
    return s;
  };
  for (std::size_t i = 0; i < header.e_shnum; ++i) {
    const Elf64_Shdr symbols = section(i);
    if (symbols.sh_type != SHT_DYNSYM) continue;
    const Elf64_Shdr strings = section(symbols.sh_link);
    for (std::size_t at = symbols.sh_offset;
         at + sizeof(Elf64_Sym) <= symbols.sh_offset + symbols.sh_size; at += sizeof(Elf64_Sym)) {
      Elf64_Sym sym;
      std::memcpy(&sym, file.data() + at, sizeof sym);
      const int binding = ELF64_ST_BIND(sym.st_info);
      if (sym.st_shndx == SHN_UNDEF || (binding != STB_GLOBAL && binding != STB_WEAK)) continue;
      names.insert(std::string(file.c_str() + strings.sh_offset + sym.st_name));
    }
  }
  return names;
}

class Plugin : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    plugin_ = host::ConduitLibrary::Load(TABREL_PLUGIN, error);
    ASSERT_TRUE(plugin_) << error;
    dialog_ = std::make_shared<ScriptedActionDialog>();
    InstallActionDialog(dialog_);
    log_ = std::make_shared<RecordingLogSink>();
    InstallLogSink(log_);
  }
  void TearDown() override {
    InstallActionDialog(nullptr);
    InstallLogSink(nullptr);
  }

  std::unique_ptr<host::ConduitLibrary> plugin_;
  std::shared_ptr<ScriptedActionDialog> dialog_;
  std::shared_ptr<RecordingLogSink> log_;
};

TEST_F(Plugin, ExportsTheSixEntryPointsAndNothingElse) {
  EXPECT_EQ(ExportedNames(TABREL_PLUGIN),
            (std::set<std::string>{"OpenConduit", "GetConduitName", "GetConduitVersion",
                                   "ConfigureConduit", "GetConduitInfo", "CfgConduit"}));
  EXPECT_TRUE(plugin_->getConduitName && plugin_->getConduitVersion && plugin_->configureConduit &&
              plugin_->getConduitInfo && plugin_->cfgConduit);
}

TEST_F(Plugin, NameVersionAndInformation) {
  char name[80];
  EXPECT_EQ(plugin_->getConduitName(name, sizeof name), 0);
  EXPECT_EQ(std::string(name), "Tabulyn");
  EXPECT_EQ(plugin_->getConduitName(name, 1), 0);
  EXPECT_EQ(std::string(name), "");
  EXPECT_EQ(plugin_->getConduitVersion(), 0x200u);

  const ConduitInfoRequest good{1, 80, 0, 0, {}};
  const ConduitInfoRequest longer{1, 81, 0, 0, {}};
  char output[256] = {};
  uint32_t size = sizeof output;
  EXPECT_EQ(plugin_->getConduitInfo(0, &good, output, &size), 0);
  EXPECT_EQ(std::string(output), "Tabulyn");
  EXPECT_EQ(plugin_->getConduitInfo(0, &longer, output, &size), 4213);
  uint32_t eight = 8;
  EXPECT_EQ(plugin_->getConduitInfo(1, nullptr, output, &eight), 4211);
  uint32_t four = 4;
  ASSERT_EQ(plugin_->getConduitInfo(1, nullptr, output, &four), 0);
  uint32_t version = 0;
  std::memcpy(&version, output, sizeof version);
  EXPECT_EQ(version, 1280u);
}

TEST_F(Plugin, TheActionDialogIsTitledWithTheConduitsName) {
  CfgConduitRecord record{};
  record.version = 1;
  record.syncType = 7;
  uint32_t size = sizeof record;
  EXPECT_EQ(plugin_->cfgConduit(0, nullptr, nullptr), 4212);
  EXPECT_EQ(plugin_->cfgConduit(0, &record, nullptr), 4216);
  dialog_->Push(ScriptedActionDialog::Answer{1, false});
  ASSERT_EQ(plugin_->cfgConduit(0, &record, &size), 0);
  EXPECT_EQ(dialog_->shown().back(), (ActionDialogState{"Tabulyn", 3, false}));
  EXPECT_EQ(record.newSyncType, kSyncTypeDesktopOverwrites);
  EXPECT_EQ(record.preference, kPreferenceTemporary);

  CSyncPreference preference{};
  preference.syncType = 2;
  dialog_->Push(ScriptedActionDialog::Answer{0, true});
  ASSERT_EQ(plugin_->configureConduit(&preference), 0);
  EXPECT_EQ(dialog_->shown().back().choice, 2);
  EXPECT_EQ(preference.syncType, kSyncTypeSynchronize);
  EXPECT_EQ(preference.preference, kPreferencePermanent);
}

TEST_F(Plugin, InstallAndDoNothingEndAtOnce) {
  CSyncProperties properties{};
  properties.syncType = kSyncTypeInstall;
  EXPECT_EQ(plugin_->openConduit(nullptr, &properties), 0);
  properties.syncType = kSyncTypeDoNothing;
  EXPECT_EQ(plugin_->openConduit(nullptr, &properties), 0);
  EXPECT_EQ(plugin_->openConduit(nullptr, nullptr), 0);
  const auto entries = log_->entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].text, "Tabulyn - Installed");
  EXPECT_EQ(entries[0].activity, kLogConduitDone);
  EXPECT_EQ(entries[1].text, "Tabulyn - sync configured to do nothing");
  EXPECT_EQ(entries[1].activity, kLogConduitDone);
  EXPECT_EQ(entries[2].activity, kLogConduitFailed);
}

}  // namespace
}  // namespace brevora::hotsync
