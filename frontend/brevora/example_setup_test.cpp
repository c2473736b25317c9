// The first-run example: what it installs, that it lists in the window's
// terms, and that an existing desktop is never touched.
#include "frontend/brevora/example_setup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <set>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "frontend/brevora/command_text.h"
#include "frontend/category_listing.h"
#include "frontend/tabrel_pc.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "platform/text/case.h"
#include "slides/presentation.h"
#include "testing/temp_home.h"

namespace brevora::frontend::program {
namespace {

using registry::Hive;

std::vector<std::string> Names(const std::vector<DocumentRow>& rows) {
  std::vector<std::string> names;
  for (const DocumentRow& row : rows) names.push_back(row.name);
  return names;
}

TEST(ExampleSetup, AFreshDesktopGetsAnExampleUserWithFilesInEveryMode) {
  ASSERT_TRUE(NeedsExample());
  const std::string root = InstallExample();
  EXPECT_EQ(fs::NativePath(root), testing::TempHome() + "/hotsync");
  EXPECT_FALSE(NeedsExample());
  // Nothing of the staging folder is left.
  std::vector<std::string> entries;
  for (const auto& e : std::filesystem::directory_iterator(testing::TempHome())) {
    entries.push_back(e.path().filename().string());
  }
  EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                          [](const std::string& n) { return n.starts_with("hotsync"); }),
            1);

  core::OnFreshThread([] {
    Ref<TabrelPC> app = MakeRef<TabrelPC>();
    EXPECT_TRUE(app->InstalledTabulyn());
    EXPECT_TRUE(app->InstalledScrivane());
    EXPECT_TRUE(app->InstalledSlidora());
    app->SetUserID(1);
    EXPECT_EQ(app->UserName(), "Example");
    const std::vector<std::string> expected[3] = {
        {"Welcome Workbook"}, {"Welcome Document"}, {"Welcome Slides"}};
    const std::vector<std::string> business[3] = {
        {"Budget"}, {"Meeting Notes"}, {"Quarterly Review"}};
    DocumentLister lister;
    std::set<std::string> allNames;  // one handheld database per name: unique across the suite
    size_t files = 0;
    for (int16_t mode = 0; mode < 3; ++mode) {
      app->SetFileMode(mode);
      const std::string home = app->HomeDirectory();
      EXPECT_EQ(ListCategories(home), (std::vector<std::string>{"Business", "Unfiled"}));
      const std::vector<DocumentRow> unfiled =
          lister.List(app->Session(), home, "Unfiled", mode, true);
      EXPECT_EQ(Names(unfiled), expected[mode]);
      EXPECT_EQ(Names(lister.List(app->Session(), home, "Business", mode, true)), business[mode]);
      EXPECT_NE(unfiled[0].size, "");
      for (const char* category : {"Unfiled", "Business"}) {
        for (const std::string& name :
             Names(lister.List(app->Session(), home, category, mode, true))) {
          allNames.insert(text::LCase(name));
          ++files;
        }
      }
    }
    EXPECT_EQ(allNames.size(), files);
    // The presentations have their two slides.
    Ref<slides::Presentation> deck = MakeRef<slides::Presentation>();
    app->SetFileMode(2);
    ASSERT_TRUE(deck->OpenFromDisk(app->HomeDirectory() + "Business/Quarterly Review.pdb", true));
    EXPECT_EQ(deck->Slides()->Count(), 2);
    deck->ClosePresentation();
  });
}

// Two programs started at once set up one example: the set-up runs under the
// data folder's lock and only when it is still needed; what a set-up killed
// midway left is removed first, and nothing else.
TEST(ExampleSetup, IsMadeOnceAndCleansUpAfterAKilledOne) {
  const std::string home = testing::TempHome();
  std::filesystem::create_directories(home + "/hotsync.new-k1lled/Example/tabrel");
  std::filesystem::create_directories(home + "/hotsync.new-mine");
  const std::optional<std::string> root = InstallExampleIfNeeded();
  ASSERT_TRUE(root);
  EXPECT_EQ(fs::NativePath(*root), home + "/hotsync");
  EXPECT_FALSE(std::filesystem::exists(home + "/hotsync.new-k1lled"));
  EXPECT_TRUE(std::filesystem::exists(home + "/hotsync.new-mine"));
  EXPECT_EQ(InstallExampleIfNeeded(), std::nullopt);
}

// The data folder's name comes from the environment in UTF-8; the set-up
// works in the system's paths and converts at the edge.
TEST(ExampleSetup, AHomeWithAccentsGetsTheExampleToo) {
  const std::string home = testing::TempHome() + "/Jos\xC3\xA9";
  std::filesystem::create_directories(home);
  setenv("BREVORA_HOME", home.c_str(), 1);
  const std::optional<std::string> root = InstallExampleIfNeeded();
  ASSERT_TRUE(root);
  EXPECT_EQ(*root, fs::SystemPath(home) + "/hotsync");
  EXPECT_TRUE(std::filesystem::exists(home + "/hotsync/users.txt"));
  EXPECT_TRUE(
      std::filesystem::exists(home + "/hotsync/Example/tabrel/Unfiled/Welcome Workbook.tbr"));
}

TEST(ExampleSetup, AnExistingDesktopIsLeftAlone) {
  registry::ImportRegedit("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Nokia]\n");
  EXPECT_FALSE(NeedsExample());
  registry::ImportRegedit(
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\U.S. Robotics\\Pilot Desktop]\n");
  registry::DeleteKey(Hive::CurrentUser, "Software\\Nokia");
  EXPECT_FALSE(NeedsExample());
}

TEST(ExampleSetup, AnExistingHotSyncFolderIsKeptAndRegistered) {
  const std::string root = testing::TempHome() + "/hotsync";
  fs::MakeFolder(root);
  fs::AtomicWrite(root + "/users.txt", std::string_view("4\tMine\tmine\n"));
  EXPECT_EQ(fs::NativePath(InstallExample()), root);
  const std::vector<uint8_t> users = fs::ReadWholeFile(root + "/users.txt");
  EXPECT_EQ(std::string(users.begin(), users.end()), "4\tMine\tmine\n");
  EXPECT_FALSE(std::filesystem::exists(root + "/Example"));
  EXPECT_FALSE(NeedsExample());
}

TEST(CommandText, ArgumentsWithBlanksAreQuoted) {
  EXPECT_EQ(CommandText({}), "");
  EXPECT_EQ(CommandText({"/tmp/a.tbr"}), "/tmp/a.tbr");
  EXPECT_EQ(CommandText({"SERVERCONDUIT=Main", "/tmp/my file.tbr"}),
            "SERVERCONDUIT=Main \"/tmp/my file.tbr\"");
}

}  // namespace
}  // namespace brevora::frontend::program
