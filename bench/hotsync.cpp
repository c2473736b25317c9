// hotsync: speed of a HotSync through the `hotsync` program with the
// framework's test conduit (TextTest): 2,000 handheld databases of one record
// in step with 2,000 desktop files in three categories; a HotSync that finds
// nothing changed, from the start of the program to its end (loading the
// plug-in, listing and opening every database, reading every desktop file's
// header, writing the sync state). Runs in a fresh temporary BREVORA_HOME
// ($TMPDIR or /tmp), removed at the end.
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "testing/spawn.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device_names.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace stdfs = std::filesystem;
using brevora::hotsync::DatabaseHeader;
using brevora::hotsync::DatabaseWriter;

constexpr int kDatabases = 2000;
constexpr int kRuns = 15;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "hotsync bench: %s\n", what.c_str());
  std::exit(1);
}

int Run(const std::vector<std::string>& args) { return brevora::testing::SpawnAndWait(HOTSYNC_PROGRAM, args, {.out = "/dev/null"}); }

void PutDatabase(const std::string& folder, int i) {
  const std::string name = "Document " + std::to_string(i);
  DatabaseHeader h;
  std::copy(name.begin(), name.end(), h.name.begin());
  h.type = {'T', 'e', 'x', 't'};
  h.creator = {'T', 'x', 't', 'T'};
  h.version = 2;
  h.uniqueIDSeed = 1;
  const uint8_t block[4] = {static_cast<uint8_t>(i % 3), 0, 0, 0};
  const std::string record = "-\nThe text of document " + std::to_string(i) + ", a few words long.\n";
  std::vector<DatabaseWriter::Record> records = {
      {0, 1, std::span(reinterpret_cast<const uint8_t*>(record.data()), record.size())}};
  const DatabaseWriter writer(h, block, {}, std::move(records), DatabaseWriter::Placement::Packed);
  const std::vector<uint8_t> bytes = writer.Bytes();
  std::ofstream(folder + "/" + brevora::hotsync::DatabaseFileName(name), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main() {
  std::string home = (stdfs::temp_directory_path() / "brevora-bench-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) Fail("mkdtemp");
  setenv("BREVORA_HOME", home.c_str(), 1);
  const std::string device = home + "/device";
  stdfs::create_directories(device);
  for (int i = 0; i < kDatabases; ++i) PutDatabase(device, i);
  if (Run({"register", "--name", "TextTest", "--library", TEXTTEST_PLUGIN, "--directory", "TextTest",
           "--creator", "TxtT"}) != 0) {
    Fail("register");
  }
  // The first HotSync brings every database to the new desktop, the second
  // finds both sides in step and records it.
  for (int i = 0; i < 2; ++i) {
    if (Run({"sync", "--device", device, "--user", "Bench"}) != 0) Fail("first HotSyncs");
  }
  const std::string desktop = home + "/HotSync/Bench/TextTest";
  int files = 0;
  for (const auto& entry : stdfs::recursive_directory_iterator(desktop)) files += entry.is_regular_file();
  if (files != kDatabases) Fail("the desktop has " + std::to_string(files) + " files");

  // Wall-clock time (which includes waiting for the disk and for other
  // processes) and the CPU time of the program (user and system).
  auto cpu = [] {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  };
  std::vector<double> ms;
  std::vector<double> cpuMs;
  for (int i = 0; i < kRuns; ++i) {
    const double cpuBefore = cpu();
    const auto start = Clock::now();
    if (Run({"sync", "--device", device}) != 0) Fail("HotSync");
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    cpuMs.push_back(cpu() - cpuBefore);
  }
  std::ifstream log(home + "/HotSync/Bench/hotsync.log");
  const std::string text((std::istreambuf_iterator<char>(log)), {});
  const std::string last = text.substr(text.rfind("--- HotSync"));
  if (last.find("Copy ") != std::string::npos || last.find("OK TextTest\n") == std::string::npos) {
    Fail("the last HotSync was not a clean one without changes:\n" + last);
  }
  std::sort(ms.begin(), ms.end());
  std::sort(cpuMs.begin(), cpuMs.end());
  std::printf("no-change HotSync of %d databases through the host: %.1f ms median, %.1f ms best; "
              "CPU %.1f ms median (%d runs)\n",
              kDatabases, ms[ms.size() / 2], ms.front(), cpuMs[cpuMs.size() / 2], kRuns);
  std::error_code ignored;
  stdfs::remove_all(home, ignored);
  return 0;
}
