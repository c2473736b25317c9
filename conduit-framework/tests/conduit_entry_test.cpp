// The plug-in's entry points as the host reaches them: loaded with dlopen, the
// checks of GetConduitInfo and CfgConduit in their order, the action dialog.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "platform/hotsync/action_dialog.h"
#include "platform/hotsync/conduit_api.h"
#include "platform/hotsync/host/conduit_library.h"

namespace brevora::hotsync {
namespace {

class EntryPoints : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    plugin_ = host::ConduitLibrary::Load(TEXTTEST_PLUGIN, error);
    ASSERT_TRUE(plugin_) << error;
    ASSERT_TRUE(plugin_->getConduitName && plugin_->getConduitVersion &&
                plugin_->configureConduit && plugin_->getConduitInfo && plugin_->cfgConduit);
    dialog_ = std::make_shared<ScriptedActionDialog>();
    InstallActionDialog(dialog_);
  }
  void TearDown() override { InstallActionDialog(nullptr); }

  std::unique_ptr<host::ConduitLibrary> plugin_;
  std::shared_ptr<ScriptedActionDialog> dialog_;
};

TEST_F(EntryPoints, NameAndVersion) {
  struct Case {
    uint16_t length;
    std::string name;
  };
  for (const Case& c : {Case{0, "untouched"}, Case{1, ""}, Case{4, "Tex"}, Case{80, "TextTest"}}) {
    char buffer[80];
    std::memset(buffer, 'x', sizeof buffer);
    std::strcpy(buffer, "untouched");
    EXPECT_EQ(plugin_->getConduitName(buffer, c.length), 0);
    EXPECT_EQ(std::string(buffer), c.name) << c.length;
    if (c.length == 80) {
      EXPECT_EQ(buffer[79], '\0');
    }
  }
  EXPECT_EQ(plugin_->getConduitVersion(), 0x200u);
}

TEST_F(EntryPoints, GetConduitInfoChecksInItsOrder) {
  const ConduitInfoRequest good{1, 80, 0, 0, {}};
  const ConduitInfoRequest longer{1, 81, 0, 0, {}};
  const ConduitInfoRequest newer{2, 80, 0, 0, {}};
  struct Case {
    const char* what;
    int32_t kind;
    const void* input;
    bool output;
    std::optional<uint32_t> size;
    int32_t result;
    std::string text;
  };
  const Case cases[] = {
      {"no output, no size", 0, nullptr, false, std::nullopt, 4209, ""},
      {"no size", 0, nullptr, true, std::nullopt, 4215, ""},
      {"name without input", 0, nullptr, true, 256, 4212, ""},
      {"name, size 81", 0, &longer, true, 256, 4213, ""},
      {"name, version 2", 0, &newer, true, 256, 4213, ""},
      {"name", 0, &good, true, 256, 0, "TextTest"},
      {"name, short buffer", 0, &good, true, 5, 0, "Text"},
      {"name, no room", 0, &good, true, 0, 4214, ""},
      {"framework version, size 8", 1, nullptr, true, 8, 4211, ""},
      {"framework version", 1, nullptr, true, 4, 0, "1280"},
      {"default action", 2, nullptr, true, 4, 0, "0"},
      {"default action, size 2", 2, nullptr, true, 2, 4211, ""},
      {"unknown kind", 3, &good, true, 4, 4208, ""},
  };
  for (const Case& c : cases) {
    char output[256] = {};
    uint32_t size = c.size.value_or(0);
    const int32_t rc = plugin_->getConduitInfo(c.kind, c.input, c.output ? output : nullptr,
                                               c.size ? &size : nullptr);
    EXPECT_EQ(rc, c.result) << c.what;
    if (rc != 0) continue;
    if (c.kind == 0) {
      EXPECT_EQ(std::string(output), c.text) << c.what;
    } else {
      uint32_t value = 0;
      std::memcpy(&value, output, sizeof value);
      EXPECT_EQ(std::to_string(value), c.text) << c.what;
    }
  }
}

TEST_F(EntryPoints, CfgConduitChecksInItsOrderThenAsks) {
  CfgConduitRecord record{};
  record.version = 1;
  record.syncType = 7;
  std::strcpy(record.userName, "Alice");
  uint32_t size = sizeof record;
  uint32_t shortSize = 351;
  EXPECT_EQ(plugin_->cfgConduit(0, nullptr, nullptr), 4212);
  EXPECT_EQ(plugin_->cfgConduit(0, &record, nullptr), 4216);
  EXPECT_EQ(plugin_->cfgConduit(1, &record, &shortSize), 4218);
  EXPECT_EQ(plugin_->cfgConduit(1, &record, &size), 4217);
  record.version = 2;
  EXPECT_EQ(plugin_->cfgConduit(0, &record, &size), 4219);
  record.version = 1;
  EXPECT_TRUE(dialog_->shown().empty());

  dialog_->Push(ScriptedActionDialog::Answer{2, true});
  ASSERT_EQ(plugin_->cfgConduit(0, &record, &size), 0);
  EXPECT_EQ(record.newSyncType, kSyncTypeHandheldOverwrites);
  EXPECT_EQ(record.preference, kPreferencePermanent);
  EXPECT_EQ(dialog_->shown().back(),
            (ActionDialogState{"TextTest", 3, false}));  // type 7: "do nothing"

  dialog_->Push(std::nullopt);
  record.newSyncType = 99;
  EXPECT_EQ(plugin_->cfgConduit(0, &record, &size), -1);
  EXPECT_EQ(record.newSyncType, 99);
}

TEST_F(EntryPoints, ConfigureConduitPreselectsAndTranslatesTheChoice) {
  struct Case {
    int32_t type;
    int32_t preselected;
    int32_t answer;
    bool makeDefault;
    int32_t newType;
    int32_t preference;
  };
  const Case cases[] = {
      {0, 0, 1, false, kSyncTypeDesktopOverwrites, kPreferenceTemporary},
      {1, 0, 2, true, kSyncTypeHandheldOverwrites, kPreferencePermanent},
      {2, 2, 3, false, kSyncTypeDoNothing, kPreferenceTemporary},
      {3, 1, 0, true, kSyncTypeSynchronize, kPreferencePermanent},
      {7, 3, 3, true, kSyncTypeDoNothing, kPreferencePermanent},
      // Numbers no type has, as the registry may hold them.
      {-1, 0, 2, false, kSyncTypeHandheldOverwrites, kPreferenceTemporary},
      {INT32_MIN, 0, 0, false, kSyncTypeSynchronize, kPreferenceTemporary},
      {INT32_MAX, 3, 1, true, kSyncTypeDesktopOverwrites, kPreferencePermanent},
  };
  for (const Case& c : cases) {
    dialog_->Push(ScriptedActionDialog::Answer{c.answer, c.makeDefault});
    CSyncPreference preference{};
    preference.syncType = c.type;
    preference.preference = 5;
    ASSERT_EQ(plugin_->configureConduit(&preference), 0) << c.type;
    EXPECT_EQ(dialog_->shown().back().choice, c.preselected) << c.type;
    EXPECT_EQ(preference.syncType, c.newType) << c.type;
    EXPECT_EQ(preference.preference, c.preference) << c.type;
  }
  dialog_->Push(std::nullopt);
  CSyncPreference cancelled{};
  cancelled.syncType = 2;
  cancelled.preference = 5;
  EXPECT_EQ(plugin_->configureConduit(&cancelled), -1);
  EXPECT_EQ(cancelled.syncType, 2);
  EXPECT_EQ(cancelled.preference, 0);
  EXPECT_EQ(plugin_->configureConduit(nullptr), -1);
}

}  // namespace
}  // namespace brevora::hotsync
