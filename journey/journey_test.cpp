// A new user's first day with the real programs, on a fresh home: the first
// run of `brevora` and File > Exit, a first HotSync of the example to an empty
// handheld, a deletion that stays deleted, HotSyncs killed midway and one that
// finishes them, two HotSyncs at once, a file brought in with `brevora <file>`
// and the close box. The window is driven on the X display the test runs on
// (ctest starts it under xvfb-run).
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "testing/handheld_folder.h"
#include "testing/spawn.h"
#include "testing/temp_home.h"
#include "testing/x11_desktop.h"

namespace brevora::journey {
namespace {

namespace fsys = std::filesystem;
using namespace std::chrono_literals;
using testing::SpawnedProgram;

constexpr const char* kTitle = "Brevora Desktop";

std::string FileText(const fsys::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fsys::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A desktop file's bytes marked changed since the last HotSync, as the desktop
// program marks a file it wrote (its first line "1").
std::string MarkedModified(std::string bytes) {
  if (!bytes.empty()) bytes[0] = '1';
  return bytes;
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// A run of a program of the build, waited for.
Outcome RunToEnd(const std::string& program, const std::vector<std::string>& args) {
  const std::string folder = testing::MakeTempDir("run");
  SpawnedProgram run(program, args, {"/dev/null", folder + "/out", folder + "/err"});
  Outcome outcome;
  outcome.status = run.Wait();
  outcome.out = FileText(folder + "/out");
  outcome.err = FileText(folder + "/err");
  return outcome;
}

class FirstDay : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x_.Connected()) GTEST_SKIP() << "no X display with XTest (ctest runs this under xvfb-run)";
    home_ = testing::TempHome();
    device_ = testing::MakeTempDir("handheld");
  }

  fsys::path User() const { return fsys::path(home_) / "hotsync" / "Example"; }

  Outcome HotSync() {
    return RunToEnd(HOTSYNC_PROGRAM, {"sync", "--device", device_, "--user", "Example"});
  }

  // The user's desktop files of one mode: "<category>/<file>" -> bytes.
  std::map<std::string, std::string> DesktopFiles(const std::string& mode,
                                                  const std::string& extension) const {
    std::map<std::string, std::string> files;
    const fsys::path folder = User() / mode;
    if (!fsys::is_directory(folder)) return files;
    for (const auto& category : fsys::directory_iterator(folder)) {
      if (!category.is_directory()) continue;
      for (const auto& file : fsys::directory_iterator(category.path())) {
        if (file.path().extension() == extension && file.path().filename().string()[0] != '.') {
          files[category.path().filename().string() + "/" + file.path().filename().string()] =
              FileText(file.path());
        }
      }
    }
    return files;
  }

  // The file names (stems) of a mode's desktop files.
  std::set<std::string> DesktopNames(const std::string& mode, const std::string& extension) const {
    std::set<std::string> names;
    for (const auto& [path, bytes] : DesktopFiles(mode, extension)) {
      names.insert(fsys::path(path).stem().string());
    }
    return names;
  }

  std::set<std::string> DeviceNames() const {
    const auto names = testing::DatabaseNames(device_);
    return {names.begin(), names.end()};
  }

  // Temporary files of interrupted work anywhere in the home or the handheld.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> found;
    for (const std::string& root : {home_, device_}) {
      for (const auto& entry : fsys::recursive_directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        const bool scratch = name.rfind(".import-", 0) == 0 ||
                             (name[0] == '.' && name.find(".tmp") != std::string::npos);
        if (scratch && entry.path().string().find("/run/") == std::string::npos &&
            entry.path().string().find("/tmp/") == std::string::npos) {
          found.push_back(entry.path().string());
        }
      }
    }
    return found;
  }

  // Starts `brevora`, waits for its window and gives it back running.
  std::unique_ptr<SpawnedProgram> OpenWindow(const std::vector<std::string>& args,
                                             unsigned long& window) {
    const std::string folder = testing::MakeTempDir("brevora");
    brevoraOut_ = folder + "/out";
    brevoraErr_ = folder + "/err";
    auto program = std::make_unique<SpawnedProgram>(
        BREVORA_PROGRAM, args, testing::StandardStreams{"/dev/null", brevoraOut_, brevoraErr_});
    window = x_.WaitForWindow(kTitle, 60s);
    EXPECT_NE(window, 0u) << "no window; stderr: " << FileText(brevoraErr_);
    std::this_thread::sleep_for(500ms);  // the window has taken its first events
    return program;
  }

  // Waits for `brevora` to end and gives its status.
  int Ended(SpawnedProgram& program) {
    const int status = program.Wait(60s);
    EXPECT_EQ(status, 0) << "brevora did not end with 0; stderr: " << FileText(brevoraErr_);
    return status;
  }

  testing::X11Desktop x_;
  std::string home_;
  std::string device_;
  std::string brevoraOut_;
  std::string brevoraErr_;
};

TEST_F(FirstDay, FromFirstRunToExit) {
  // The first run sets up the example and shows the window; File > Exit ends it.
  {
    unsigned long window = 0;
    auto brevora = OpenWindow({}, window);
    ASSERT_NE(window, 0u);
    EXPECT_NE(FileText(brevoraOut_).find("first run"), std::string::npos);
    x_.Focus(window);
    x_.Type(XK_f, true);
    std::this_thread::sleep_for(500ms);  // the menu opens
    x_.Type(XK_x);
    ASSERT_EQ(Ended(*brevora), 0);
  }
  const std::set<std::string> workbooks = DesktopNames("tabrel", ".tbr");
  const std::set<std::string> documents = DesktopNames("scriv", ".scv");
  ASSERT_FALSE(workbooks.empty());
  ASSERT_FALSE(documents.empty());

  // The first HotSync to an empty handheld, with no set-up beyond the first
  // run: the example's workbooks and documents arrive.
  {
    const Outcome sync = HotSync();
    ASSERT_EQ(sync.status, 0) << sync.err << FileText(User() / "hotsync.log");
    const std::set<std::string> onDevice = DeviceNames();
    for (const std::string& name : workbooks) EXPECT_TRUE(onDevice.contains(name)) << name;
    for (const std::string& name : documents) EXPECT_TRUE(onDevice.contains(name)) << name;
  }

  // A workbook deleted on the desktop stays deleted on both sides.
  {
    const auto files = DesktopFiles("tabrel", ".tbr");
    const std::string gone = fsys::path(files.begin()->first).stem().string();
    fsys::remove(User() / "tabrel" / files.begin()->first);
    for (int run = 0; run < 2; ++run) {
      const Outcome sync = HotSync();
      ASSERT_EQ(sync.status, 0) << sync.err << FileText(User() / "hotsync.log");
      EXPECT_FALSE(DesktopNames("tabrel", ".tbr").contains(gone)) << "run " << run;
      EXPECT_FALSE(DeviceNames().contains(gone)) << "run " << run;
    }
  }

  // HotSyncs killed at many moments while they carry new files, then one
  // normal run: it ends as an uninterrupted one would, and no temporary file
  // is left anywhere.
  {
    const auto workbookFiles = DesktopFiles("tabrel", ".tbr");
    const auto documentFiles = DesktopFiles("scriv", ".scv");
    const std::string workbookFolder =
        fsys::path(workbookFiles.begin()->first).parent_path().string();
    const std::string documentFolder =
        fsys::path(documentFiles.begin()->first).parent_path().string();
    const std::string workbookSource = fsys::path(workbookFiles.begin()->first).stem().string();
    const std::string documentSource = fsys::path(documentFiles.begin()->first).stem().string();
    std::vector<std::string> added;
    // Killed by a timer (wherever the run is then) and, for the first rounds,
    // by the host itself in a given Sync Manager call.
    const int delaysMs[] = {1, 3, 6, 10, 15, 25, 40, 60};
    const int killCalls[] = {5, 20, 40, 80};
    for (int round = 0; round < static_cast<int>(std::size(delaysMs)); ++round) {
      const std::string name = "Plan " + std::to_string(round);
      WriteFile(User() / "tabrel" / workbookFolder / (name + ".tbr"),
                MarkedModified(workbookFiles.begin()->second));
      WriteFile(User() / "scriv" / documentFolder / ("Note " + std::to_string(round) + ".scv"),
                MarkedModified(documentFiles.begin()->second));
      added.push_back(name);
      added.push_back("Note " + std::to_string(round));
      const std::string folder = testing::MakeTempDir("killed");
      std::vector<std::string> args = {"sync", "--device", device_, "--user", "Example"};
      if (round < static_cast<int>(std::size(killCalls))) {
        args.insert(args.end(), {"--kill-call", std::to_string(killCalls[round])});
      }
      SpawnedProgram run(HOTSYNC_PROGRAM, args, {"/dev/null", folder + "/out", folder + "/err"});
      std::this_thread::sleep_for(std::chrono::milliseconds(delaysMs[round]));
      run.Signal(SIGKILL);
      run.Wait();
    }
    const Outcome sync = HotSync();
    ASSERT_EQ(sync.status, 0) << sync.err << FileText(User() / "hotsync.log");
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
    const std::set<std::string> onDevice = DeviceNames();
    const auto source = [&](const std::string& name) {
      return name.rfind("Plan", 0) == 0 ? workbookSource : documentSource;
    };
    const auto reference = [&](const std::string& name) {
      return testing::GetDatabase(device_, source(name));
    };
    for (const std::string& name : added) {
      ASSERT_TRUE(onDevice.contains(name)) << name << "\n" << FileText(User() / "hotsync.log");
      const auto copy = testing::GetDatabase(device_, name);
      const auto original = reference(name);
      ASSERT_TRUE(copy && original) << name;
      EXPECT_EQ(copy->records, original->records) << name << " differs from " << source(name);
      EXPECT_EQ(copy->type, original->type) << name;
    }
    EXPECT_EQ(DesktopFiles("tabrel", ".tbr").size(), workbookFiles.size() + std::size(delaysMs));
    EXPECT_EQ(DesktopFiles("scriv", ".scv").size(), documentFiles.size() + std::size(delaysMs));
    // In step now: the next run copies nothing.
    const Outcome again = HotSync();
    ASSERT_EQ(again.status, 0) << again.err;
    const std::string log = FileText(User() / "hotsync.log");
    const std::string lastRun = log.substr(log.rfind("--- HotSync"));
    EXPECT_EQ(lastRun.find("Copy "), std::string::npos) << lastRun;
  }

  // Two HotSyncs of the handheld at once: one runs, the other says why it
  // does not; nothing is lost on either side.
  {
    const auto workbooksBefore = DesktopFiles("tabrel", ".tbr");
    const auto documentsBefore = DesktopFiles("scriv", ".scv");
    const std::set<std::string> deviceBefore = DeviceNames();
    const std::string a = testing::MakeTempDir("twin-a");
    const std::string b = testing::MakeTempDir("twin-b");
    SpawnedProgram first(HOTSYNC_PROGRAM, {"sync", "--device", device_, "--user", "Example"},
                         {"/dev/null", a + "/out", a + "/err"});
    SpawnedProgram second(HOTSYNC_PROGRAM, {"sync", "--device", device_, "--user", "Example"},
                          {"/dev/null", b + "/out", b + "/err"});
    const int statuses[] = {first.Wait(), second.Wait()};
    const std::string errors[] = {FileText(a + "/err"), FileText(b + "/err")};
    for (int i = 0; i < 2; ++i) {
      if (statuses[i] != 0) {
        EXPECT_EQ(statuses[i], 4) << errors[i];
        EXPECT_NE(errors[i].find("Another HotSync of this handheld is running"), std::string::npos)
            << errors[i];
      }
    }
    EXPECT_TRUE(statuses[0] == 0 || statuses[1] == 0) << errors[0] << errors[1];
    const Outcome after = HotSync();
    ASSERT_EQ(after.status, 0) << after.err;
    EXPECT_EQ(DesktopFiles("tabrel", ".tbr"), workbooksBefore);
    EXPECT_EQ(DesktopFiles("scriv", ".scv"), documentsBefore);
    EXPECT_EQ(DeviceNames(), deviceBefore);
  }

  // A text file brought in with `brevora <file>`: the window shows, the close
  // box ends it, and the next HotSync carries the new document.
  {
    const fsys::path text = fsys::path(testing::MakeTempDir("mine")) / "Shopping.txt";
    WriteFile(text, "Bread\r\nMilk\r\nApples\r\n");
    unsigned long window = 0;
    auto brevora = OpenWindow({text.string()}, window);
    ASSERT_NE(window, 0u);
    x_.PressCloseBox(window);
    ASSERT_EQ(Ended(*brevora), 0);
    EXPECT_TRUE(DesktopNames("scriv", ".scv").contains("Shopping"));
    const Outcome sync = HotSync();
    ASSERT_EQ(sync.status, 0) << sync.err << FileText(User() / "hotsync.log");
    EXPECT_TRUE(DeviceNames().contains("Shopping"));
  }
}

}  // namespace
}  // namespace brevora::journey
