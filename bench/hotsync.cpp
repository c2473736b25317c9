// hotsync: speed of a HotSync through the `hotsync` program with the
// framework's test conduit (TextTest): N handheld databases of one record in
// step with N desktop files in three categories; a HotSync that finds nothing
// changed, from the start of the program to its end (loading the plug-in,
// listing and opening every database, reading every desktop file's header,
// writing the sync state). For each N of --databases (2,000 by default) it
// prints the figures and the cost per database, so that growth shows; beside
// them, in the same runs, the peer: a walk that stats every file of the device
// folder and of the desktop folder. Each N has its own BREVORA_HOME in the
// work folder.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/timing.h"
#include "bench/lib/work_folder.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device_names.h"
#include "testing/spawn.h"

namespace {

namespace stdfs = std::filesystem;
using namespace brevora::bench;
using brevora::hotsync::DatabaseHeader;
using brevora::hotsync::DatabaseWriter;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "hotsync bench: %s\n", what.c_str());
  std::exit(1);
}

int Run(const std::vector<std::string>& args) {
  return brevora::testing::SpawnAndWait(HOTSYNC_PROGRAM, args, {.out = "/dev/null"});
}

void PutDatabase(const std::string& folder, int i) {
  const std::string name = "Document " + std::to_string(i);
  DatabaseHeader h;
  std::copy(name.begin(), name.end(), h.name.begin());
  h.type = {'T', 'e', 'x', 't'};
  h.creator = {'T', 'x', 't', 'T'};
  h.version = 2;
  h.uniqueIDSeed = 1;
  const uint8_t block[4] = {static_cast<uint8_t>(i % 3), 0, 0, 0};
  const std::string record =
      "-\nThe text of document " + std::to_string(i) + ", a few words long.\n";
  std::vector<DatabaseWriter::Record> records = {
      {0, 1, std::span(reinterpret_cast<const uint8_t*>(record.data()), record.size())}};
  const DatabaseWriter writer(h, block, {}, std::move(records), DatabaseWriter::Placement::Packed);
  const std::vector<uint8_t> bytes = writer.Bytes();
  std::ofstream(folder + "/" + brevora::hotsync::DatabaseFileName(name), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// The peer: every entry of `folder` and of the folders in it stat'ed, as the
// least a HotSync that looks at each file must do. Returns the files seen.
int StatWalk(const std::string& folder) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) Fail("cannot list " + folder);
  int files = 0;
  while (const dirent* e = readdir(dir)) {
    if (e->d_name[0] == '.') continue;
    struct stat st {};
    if (fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      files += StatWalk(folder + "/" + e->d_name);
    } else {
      ++files;
    }
  }
  closedir(dir);
  return files;
}

struct Figures {
  Samples ms, cpu_ms, walk_ms;
};

Figures Measure(const std::string& home, int databases, int runs) {
  setenv("BREVORA_HOME", home.c_str(), 1);
  const std::string device = home + "/device";
  stdfs::create_directories(device);
  for (int i = 0; i < databases; ++i) PutDatabase(device, i);
  if (Run({"register", "--name", "TextTest", "--library", TEXTTEST_PLUGIN, "--directory",
           "TextTest", "--creator", "TxtT"}) != 0) {
    Fail("register");
  }
  // The first HotSync brings every database to the new desktop, the second
  // finds both sides in step and records it.
  for (int i = 0; i < 2; ++i) {
    if (Run({"sync", "--device", device, "--user", "Bench"}) != 0) Fail("first HotSyncs");
  }
  const std::string desktop = home + "/HotSync/Bench/TextTest";
  int files = 0;
  for (const auto& entry : stdfs::recursive_directory_iterator(desktop))
    files += entry.is_regular_file();
  if (files != databases) Fail("the desktop has " + std::to_string(files) + " files");

  // Wall-clock time (which includes waiting for the disk and for other
  // processes) and the CPU time of the program (user and system).
  Figures f;
  for (int i = 0; i < runs; ++i) {
    const double cpu = CpuMs(CpuClock::Children);
    const double start = WallMs();
    if (Run({"sync", "--device", device}) != 0) Fail("HotSync");
    f.ms.Add(WallMs() - start);
    f.cpu_ms.Add(CpuMs(CpuClock::Children) - cpu);
    const double walk = WallMs();
    const int seen = StatWalk(device) + StatWalk(desktop);
    f.walk_ms.Add(WallMs() - walk);
    if (seen < 2 * databases) Fail("the stat walk missed files");
  }
  std::ifstream log(home + "/HotSync/Bench/hotsync.log");
  const std::string text((std::istreambuf_iterator<char>(log)), {});
  const size_t at = text.rfind("--- HotSync");
  const std::string last = at == std::string::npos ? text : text.substr(at);
  if (last.find("Copy ") != std::string::npos || last.find("OK TextTest\n") == std::string::npos) {
    Fail("the last HotSync was not a clean one without changes:\n" + last);
  }
  return f;
}

Samples PerItem(const Samples& ms, int items) {
  Samples per;
  for (const double v : ms.values()) per.Add(v / items);
  return per;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int64_t> sizes = {2000};
  int runs = 15;
  CommandLine line(
      "hotsync_bench",
      "Speed of a no-change HotSync through the hotsync program (TextTest conduit) for each "
      "number\n"
      "of databases given, with the cost per database, beside a stat walk of the same files.");
  line.Counts("databases", "numbers of handheld databases, one HotSync set-up each", &sizes, 1,
              1000000);
  line.Count("repeat", "timed HotSyncs per number; median and best are printed", &runs, 1, 10000);
  line.ParseOrExit(argc, argv);
  WorkFolder work("hotsync-bench");
  Report report("hotsync", line.ResultsPath());
  for (const int64_t size : sizes) {
    const int databases = static_cast<int>(size);
    const Figures f = Measure(work.path() + "/n" + std::to_string(databases), databases, runs);
    std::printf(
        "no-change HotSync of %d databases through the host: %.1f ms median, %.1f ms best; "
        "CPU %.1f ms median (%d runs)\n",
        databases, f.ms.Median(), f.ms.Min(), f.cpu_ms.Median(), runs);
    std::printf(
        "  %.4f ms a database (CPU %.4f); a stat walk of the same %d files: %.2f ms, %.4f ms a "
        "database\n",
        f.ms.Median() / databases, f.cpu_ms.Median() / databases, 2 * databases, f.walk_ms.Median(),
        f.walk_ms.Median() / databases);
    const std::string n = Grouped(databases) + " databases";
    report.Figure("no-change HotSync, " + n, f.ms, "ms");
    report.Figure("no-change HotSync CPU, " + n, f.cpu_ms, "ms");
    report.Compare("no-change HotSync a database, " + n, PerItem(f.ms, databases), "stat walk",
                   PerItem(f.walk_ms, databases), "ms a database");
  }
  return 0;
}
