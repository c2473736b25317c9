// The decision for each file, as a pure function: one table over the rows of
// the synchronize mode, the two overwrite modes and the old-version rule.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "conduit-framework/compare.h"

namespace brevora::conduit {
namespace {

struct Sides {
  bool onDesktop = false;
  bool onHandheld = false;
  bool desktopModified = false;
  bool handheldModified = false;
  std::string desktopCategory = "Business";
  std::string handheldCategory = "Business";
  uint16_t handheldVersion = 9;
  bool serverSync = false;
};

CFileEntry Entry(const Sides& s) {
  CFileEntry e;
  e.name = "Budget";
  e.local = s.onDesktop;
  e.remote = s.onHandheld;
  if (s.onDesktop) e.localCategory = s.desktopCategory;
  if (s.onHandheld) e.remoteCategory = s.handheldCategory;
  e.localModified = s.desktopModified;
  e.remoteModified = s.handheldModified;
  e.remoteVersion = s.handheldVersion;
  e.serverSync = s.serverSync;
  return e;
}

struct Outcome {
  bool kept = true;
  bool local = false;
  bool remote = false;
};

constexpr Outcome kDropped{false, false, false};
constexpr Outcome kToHandheld{true, true, false};
constexpr Outcome kToDesktop{true, false, true};
constexpr Outcome kDeleteBoth{true, false, false};

struct Case {
  const char* what;
  Sides sides;
  CompareSettings settings;
  Outcome outcome;
  std::vector<std::string> log;
};

CompareSettings Settings(SyncMode mode, int32_t prevail = 1, bool slow = false,
                         bool firstSync = false) {
  return {mode, prevail, slow, firstSync, 4};
}

const std::string kDesktopWins =
    "Budget modified on desktop and device.  Desktop overwriting device.";
const std::string kDeviceWins =
    "Budget modified on desktop and device.  Device overwriting desktop.";

TEST(Compare, EveryRowOfTheTable) {
  const auto sync = SyncMode::Synchronize;
  const Case cases[] = {
      {"1 server sync",
       {true, true, true, false, "Business", "Business", 9, true},
       Settings(sync),
       kDropped,
       {"Skipped workbook 'Budget' because set to server sync"}},
      {"1 server sync, handheld only",
       {false, true, false, true, "", "Business", 9, true},
       Settings(sync),
       kDropped,
       {"Skipped workbook 'Budget' because set to server sync"}},
      {"2 unchanged, slow", {true, true}, Settings(sync, 1, true), kToDesktop, {}},
      {"3 unchanged", {true, true}, Settings(sync), kDropped, {}},
      {"3 unchanged, category in another case",
       {true, true, false, false, "business", "BUSINESS"},
       Settings(sync),
       kDropped,
       {}},
      {"4 both modified, desktop wins",
       {true, true, true, true},
       Settings(sync, 0),
       kToHandheld,
       {kDesktopWins}},
      {"4 moved, desktop wins",
       {true, true, false, false, "Business", "Personal"},
       Settings(sync, 0),
       kToHandheld,
       {kDesktopWins}},
      {"4 moved, slow, desktop wins",
       {true, true, false, false, "Business", "Personal"},
       Settings(sync, 0, true),
       kToHandheld,
       {kDesktopWins}},
      {"5 both modified, device wins",
       {true, true, true, true},
       Settings(sync, 1),
       kToDesktop,
       {kDeviceWins}},
      {"5 moved, device wins",
       {true, true, false, false, "Business", "Personal"},
       Settings(sync, 1),
       kToDesktop,
       {kDeviceWins}},
      {"6 desktop modified", {true, true, true, false}, Settings(sync), kToHandheld, {}},
      {"6 desktop modified and moved",
       {true, true, true, false, "Work", "Business"},
       Settings(sync),
       kToHandheld,
       {}},
      {"7 handheld modified", {true, true, false, true}, Settings(sync), kToDesktop, {}},
      {"8 desktop only, first sync",
       {true, false},
       Settings(sync, 1, false, true),
       kToHandheld,
       {}},
      {"8 handheld only, first sync",
       {false, true},
       Settings(sync, 1, false, true),
       kToDesktop,
       {}},
      {"9 desktop only", {true, false}, Settings(sync), kDeleteBoth, {}},
      {"10 desktop only, modified", {true, false, true}, Settings(sync), kToHandheld, {}},
      {"11 handheld only, slow", {false, true}, Settings(sync, 1, true), kToDesktop, {}},
      {"11 handheld only, modified", {false, true, false, true}, Settings(sync), kToDesktop, {}},
      {"12 handheld only", {false, true}, Settings(sync), kDeleteBoth, {}},

      {"desktop overwrites: both",
       {true, true, false, true},
       Settings(SyncMode::DesktopOverwrites),
       kToHandheld,
       {}},
      {"desktop overwrites: handheld only",
       {false, true, false, true},
       Settings(SyncMode::DesktopOverwrites),
       kDeleteBoth,
       {}},
      {"desktop overwrites: server sync is copied",
       {true, true, false, false, "Business", "Business", 9, true},
       Settings(SyncMode::DesktopOverwrites),
       kToHandheld,
       {}},
      {"handheld overwrites: both",
       {true, true, true, false},
       Settings(SyncMode::HandheldOverwrites),
       kToDesktop,
       {}},
      {"handheld overwrites: desktop only",
       {true, false, true},
       Settings(SyncMode::HandheldOverwrites),
       kDeleteBoth,
       {}},

      {"old handheld copy with a desktop copy: desktop only",
       {true, true, true, true, "Business", "Business", 3},
       Settings(sync),
       kToHandheld,
       {}},
      {"old handheld copy, desktop unmodified: left alone",
       {true, true, false, false, "Business", "Business", 3},
       Settings(sync),
       kDropped,
       {}},
      {"old handheld copy only: left alone",
       {false, true, false, true, "", "Business", 3},
       Settings(sync),
       kDropped,
       {}},
      {"old handheld copy, handheld overwrites: left alone",
       {true, true, false, true, "Business", "Business", 3},
       Settings(SyncMode::HandheldOverwrites),
       kDropped,
       {}},
      {"old handheld copy, desktop overwrites",
       {true, true, false, false, "Business", "Business", 3},
       Settings(SyncMode::DesktopOverwrites),
       kToHandheld,
       {}},
      {"do nothing", {true, true, true, true}, Settings(SyncMode::DoNothing), kDropped, {}},
  };
  for (const Case& c : cases) {
    std::map<std::string, CFileEntry> entries{{"Budget", Entry(c.sides)}};
    const std::vector<std::string> log = Compare(entries, c.settings);
    EXPECT_EQ(log, c.log) << c.what;
    ASSERT_EQ(entries.size(), c.outcome.kept ? 1u : 0u) << c.what;
    if (!c.outcome.kept) continue;
    EXPECT_EQ(entries.at("Budget").local, c.outcome.local) << c.what;
    EXPECT_EQ(entries.at("Budget").remote, c.outcome.remote) << c.what;
  }
}

TEST(Compare, AProductWithoutTheOldVersionRuleKeepsOldCopies) {
  std::map<std::string, CFileEntry> entries{
      {"Budget", Entry({false, true, false, true, "", "Business", 1})}};
  CompareSettings settings = Settings(SyncMode::Synchronize);
  settings.minimumHandheldVersion = 0;
  Compare(entries, settings);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_TRUE(entries.at("Budget").remote);
}

}  // namespace
}  // namespace brevora::conduit
