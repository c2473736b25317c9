// Sending one file to a target of each kind: launchers, programs, folders and
// what nothing can be sent to.
#include "phonesync/send_target.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "phonesync/library_folder.h"
#include "phonesync/sync_test_support.h"
#include "platform/fs/files.h"
#include "testing/temp_home.h"

namespace brevora::bvsync {
namespace {

namespace stdfs = std::filesystem;
using Words = std::vector<std::string>;

std::string Read(const std::string& path) {
  const auto bytes = fs::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

TEST(SendTarget, LauncherArgumentsTable) {
  struct Case {
    const char* arguments;
    Words words;
  };
  const Case cases[] = {
      {"", {"/bin/send", "/home/a/deck.pdb"}},
      {"    ", {"/bin/send", "/home/a/deck.pdb"}},
      {"-v", {"/bin/send", "-v", "/home/a/deck.pdb"}},
      {" --to \"my phone\" ", {"/bin/send", "--to", "my phone", "/home/a/deck.pdb"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LauncherArguments("/bin/send", c.arguments, "/home/a/deck.pdb"), c.words)
        << c.arguments;
  }
  EXPECT_EQ(LauncherArguments("\\bin\\send", "", "\\home\\a\\deck.pdb"),
            (Words{"/bin/send", "/home/a/deck.pdb"}));
}

TEST(SendTarget, KindFollowsFromThePath) {
  const std::string dir = testing::MakeTempDir("kinds");
  test::WriteText(dir + "/phone.desktop", "");
  test::WriteText(dir + "/plain.txt", "x");
  test::WriteText(dir + "/tool", "#!/bin/sh\n");
  chmod((dir + "/tool").c_str(), 0755);
  stdfs::create_directory(dir + "/folder");
  stdfs::create_symlink(dir + "/tool", dir + "/link to tool");
  stdfs::create_symlink(dir + "/folder", dir + "/link to folder");
  stdfs::create_symlink(dir + "/plain.txt", dir + "/link to plain");
  const std::pair<const char*, TargetKind> cases[] = {
      {"/phone.desktop", TargetKind::Launcher}, {"/Missing.DESKTOP", TargetKind::Launcher},
      {"/tool", TargetKind::Program},           {"/link to tool", TargetKind::Program},
      {"/plain.txt", TargetKind::Other},        {"/link to plain", TargetKind::Other},
      {"/folder", TargetKind::Other},           {"/link to folder", TargetKind::Other},
      {"/missing", TargetKind::Other},
  };
  for (const auto& [name, kind] : cases) EXPECT_EQ(KindOfTarget(dir + name), kind) << name;
}

class SendFileTest : public ::testing::Test {
 protected:
  std::string Deck(const std::string& name) {
    const std::string path = dir_ + "/" + name;
    test::WriteText(path, "deck bytes of " + name);
    return path;
  }
  std::string dir_ = testing::MakeTempDir("send");
};

TEST_F(SendFileTest, LauncherRunsItsProgramWithItsWordsThenTheFileInTheLibraryFolder) {
  test::ProbeScript probe;
  const std::string launcher = dir_ + "/Phone.desktop";
  test::WriteLauncher(launcher, std::string(SEND_PROBE) + " --to \"my phone\" %f");
  const std::string deck = Deck("Q3 review.pdb");
  EXPECT_TRUE(SendFile(launcher, TargetKind::Launcher, deck));
  const auto runs = probe.Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].arguments, (Words{SEND_PROBE, "--to", "my phone", deck}));
  EXPECT_EQ(runs[0].folder, LibraryFolder());
}

// An unresolved launcher starts nothing; a program that is missing, fails or
// dies is no success.
TEST_F(SendFileTest, FailedSends) {
  const std::string deck = Deck("deck.pdb");
  struct Case {
    const char* what;
    std::string launcherText;  // "" for no launcher file at all
    std::vector<std::string> actions;
    size_t runs;
  };
  const Case cases[] = {
      {"no launcher", "", {}, 0},
      {"no Exec line", "[Desktop Entry]\nName=Phone\n", {}, 0},
      {"broken quoting", "[Desktop Entry]\nExec=\"" + std::string(SEND_PROBE) + "\n", {}, 0},
      {"missing program", "[Desktop Entry]\nExec=" + dir_ + "/no such sender %f\n", {}, 0},
      {"exit 1", "[Desktop Entry]\nExec=" + std::string(SEND_PROBE) + "\n", {"1"}, 1},
      {"killed", "[Desktop Entry]\nExec=" + std::string(SEND_PROBE) + "\n", {"kill"}, 1},
  };
  for (const Case& c : cases) {
    test::ProbeScript probe(c.actions);
    const std::string launcher = dir_ + "/" + c.what + ".desktop";
    if (!c.launcherText.empty()) test::WriteText(launcher, c.launcherText);
    EXPECT_FALSE(SendFile(launcher, TargetKind::Launcher, deck)) << c.what;
    EXPECT_EQ(probe.Runs().size(), c.runs) << c.what;
  }
}

// A program gets the file as one argument, whatever its name holds; no shell
// ever sees it.
TEST_F(SendFileTest, ProgramGetsTheFileWhole) {
  test::ProbeScript probe;
  const std::string program = dir_ + "/Bluetooth sender";
  stdfs::create_symlink(SEND_PROBE, program);
  const std::string deck = Deck("say \"hi\" $(touch x); `touch y` & a.pdb");
  EXPECT_TRUE(SendFile(program, KindOfTarget(program), deck));
  const auto runs = probe.Runs();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].arguments, (Words{program, deck}));
  for (const std::string& folder : {LibraryFolder(), dir_, testing::TempHome()}) {
    EXPECT_FALSE(stdfs::exists(folder + "/x")) << folder;
    EXPECT_FALSE(stdfs::exists(folder + "/y")) << folder;
  }
}

// Another target takes a copy when it is a folder or a link to one; a plain
// file is never written to.
TEST_F(SendFileTest, AnotherTargetIsCopiedOnlyIntoAFolder) {
  const std::string deck = Deck("deck.pdb");
  const std::string folder = testing::MakeTempDir("phone folder");
  EXPECT_TRUE(SendFile(folder, TargetKind::Other, deck));
  EXPECT_EQ(Read(folder + "/deck.pdb"), "deck bytes of deck.pdb");

  // Sent again after a change: the earlier copy is replaced whole.
  test::WriteText(deck, "changed deck");
  stdfs::create_symlink(folder, dir_ + "/link to phone folder");
  EXPECT_TRUE(SendFile(dir_ + "/link to phone folder", TargetKind::Other, deck));
  EXPECT_EQ(Read(folder + "/deck.pdb"), "changed deck");
  EXPECT_EQ(fs::ListEntries(folder).size(), 1u) << "no temporary file left";

  const std::string plain = dir_ + "/Mail Recipient.mail";
  test::WriteText(plain, "not to be touched");
  EXPECT_FALSE(SendFile(plain, TargetKind::Other, deck));
  EXPECT_EQ(Read(plain), "not to be touched");
  EXPECT_FALSE(SendFile(dir_ + "/missing", TargetKind::Other, deck));
  EXPECT_FALSE(stdfs::exists(dir_ + "/missing"));

  stdfs::create_directory(folder + "/other.pdb");
  EXPECT_FALSE(SendFile(folder, TargetKind::Other, Deck("other.pdb"))) << "a folder of that name";
  EXPECT_FALSE(SendFile(folder, TargetKind::Other, dir_ + "/gone.pdb")) << "no file to send";
}

}  // namespace
}  // namespace brevora::bvsync
