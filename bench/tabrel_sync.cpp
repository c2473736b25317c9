// tabrel_sync: speed of the workbook conduit.
//   1. A no-change HotSync through the `hotsync` program with libtabrel.so: 500
//      workbooks of 50 cells each, in step on the handheld and the desktop
//      (three categories), from the start of the program to its end (loading
//      the plug-in, listing and opening every database, reading every desktop
//      file's header, writing the sync state).
//   2. A changed workbook of 10,000 cells converted each way, in process over a
//      device folder: desktop file to handheld database (read the file, write
//      every record and the block) and back (read every record, write the file
//      through a temporary file).
// `tabrel_sync big` runs the second only. Runs in a fresh temporary BREVORA_HOME ($TMPDIR or /tmp), removed at the end.
#include <sys/mman.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "testing/spawn.h"
#include "conduit/cell_record.h"
#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "conduit/workbook_copy.h"
#include "platform/fs/files.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/device_names.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace stdfs = std::filesystem;
using namespace brevora::tabrel;

constexpr int kWorkbooks = 500;
constexpr int kCells = 50;
constexpr int kBigCells = 10000;
constexpr int kRuns = 15;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "tabrel_sync: %s\n", what.c_str());
  std::exit(1);
}

int Run(const std::vector<std::string>& args) { return brevora::testing::SpawnAndWait(HOTSYNC_PROGRAM, args, {.out = "/dev/null"}); }

// A cell of a plausible sheet: labels in column 1, numbers and sums beside them.
CellRecord SampleCell(int i) {
  const int row = i / 5 + 1;
  const int column = i % 5 + 1;
  if (column == 1) return {1, row, column, "", "Item " + std::to_string(row), 0x41, 0};
  if (column == 5) {
    const std::string r = std::to_string(row);
    return {1, row, column, "=SUM(B" + r + ":D" + r + ")", std::to_string(row * 3), 0xF0000022, 0x00E6};
  }
  return {1, row, column, "", std::to_string(row * column) + ".25", 0x10000022, 0};
}

void PutWorkbook(const std::string& folder, int i) {
  const std::string name = "Workbook " + std::to_string(i);
  brevora::hotsync::DatabaseHeader h;
  std::copy(name.begin(), name.end(), h.name.begin());
  h.type = {'D', 'a', 't', 'a'};
  h.creator = {'Z', 'e', 'r', 'i'};
  h.version = 9;
  h.uniqueIDSeed = kCells + 1;
  const std::vector<uint8_t> block = WorkbookBlock::Defaults(9, static_cast<uint8_t>(i % 3)).bytes();
  std::vector<std::string> lines;
  for (int c = 0; c < kCells; ++c) lines.push_back(FormatCell(SampleCell(c), CellForm::Tab) + '\0');
  std::vector<brevora::hotsync::DatabaseWriter::Record> records;
  for (int c = 0; c < kCells; ++c) {
    records.push_back({0, static_cast<uint32_t>(c + 1),
                       std::span(reinterpret_cast<const uint8_t*>(lines[c].data()), lines[c].size())});
  }
  const brevora::hotsync::DatabaseWriter writer(h, block, {}, std::move(records),
                                                brevora::hotsync::DatabaseWriter::Placement::Packed);
  const std::vector<uint8_t> bytes = writer.Bytes();
  std::ofstream(folder + "/" + brevora::hotsync::DatabaseFileName(name), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// CPU time of this process so far, in milliseconds: beside the wall-clock
// figures, which a busy machine or a slow disk (the desktop file is flushed
// before its rename) stretches.
double ProcessCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Maps `bytes`, touches every page, unmaps: what the machine charges for new
// memory, which a 10,000-cell copy pays for its list of cells and buffers (on
// a virtual machine that hands memory out on first touch, a good part of it).
void TouchNewMemory(std::size_t bytes) {
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) Fail("cannot map memory");
  volatile char* b = static_cast<char*>(p);
  for (std::size_t i = 0; i < bytes; i += 4096) b[i] = 1;
  munmap(p, bytes);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

void NoChangeHotSync(const std::string& home) {
  const std::string device = home + "/device";
  stdfs::create_directories(device);
  for (int i = 0; i < kWorkbooks; ++i) PutWorkbook(device, i);
  if (Run({"register", "--name", "Tabulyn", "--library", TABREL_PLUGIN, "--directory", "Tabulyn", "--creator",
           "Zeri"}) != 0) {
    Fail("register");
  }
  // The first HotSync brings every workbook to the new desktop, the second
  // finds both sides in step and records it.
  for (int i = 0; i < 2; ++i) {
    if (Run({"sync", "--device", device, "--user", "Bench"}) != 0) Fail("first HotSyncs");
  }
  int files = 0;
  for (const auto& entry : stdfs::recursive_directory_iterator(home + "/HotSync/Bench/Tabulyn")) {
    files += entry.is_regular_file();
  }
  if (files != kWorkbooks) Fail("the desktop has " + std::to_string(files) + " workbooks");

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
  if (last.find("Copy ") != std::string::npos || last.find("OK Tabulyn\n") == std::string::npos) {
    Fail("the last HotSync was not a clean one without changes:\n" + last);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("no-change HotSync of %d workbooks of %d cells through the host: %.1f ms median, %.1f ms best; "
              "CPU %.1f ms median (%d runs)\n",
              kWorkbooks, kCells, Median(ms), ms.front(), Median(cpuMs), kRuns);
}

void BigWorkbook(const std::string& home) {
  const std::string device = home + "/device-big";
  const std::string folder = home + "/big";
  stdfs::create_directories(device);
  stdfs::create_directories(folder);
  // The desktop file, as a version-9 file of the conduit.
  CWorkbook_V8 blank(9);
  blank.block() = WorkbookBlock::Defaults(9, 0);
  CWorkbookHeader_V8 header;
  blank.CopyHeaderTo(header);
  CLocalWorkbook_V8 writer;
  writer.WriteHeader(header, true);
  for (int c = 0; c < kBigCells; ++c) writer.WriteCell(SampleCell(c));
  const std::string path = folder + "/Big.tbr";
  brevora::fs::AtomicWrite(path, writer.text());

  std::vector<double> toHandheld;
  std::vector<double> toDesktop;
  std::vector<double> toHandheldCpu;
  std::vector<double> toDesktopCpu;
  for (int i = 0; i < kRuns; ++i) {
    brevora::hotsync::DeviceSession session(device);
    double cpuStart = ProcessCpuMs();
    auto start = Clock::now();
    {
      WorkbookCopy copy;
      std::string problem;
      if (copy.LoadDesktop(path, 9, problem) != brevora::conduit::CopyStep::Done) Fail("load: " + problem);
      CWorkbook_V8 db(9);
      db.SetName("Big");
      db.Delete();
      if (!db.OpenOrCreate("Big", "Unfiled", 0)) Fail("create");
      if (copy.WriteHandheld(db) != brevora::conduit::CopyStep::Done || !db.Close()) Fail("write handheld");
    }
    toHandheld.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    toHandheldCpu.push_back(ProcessCpuMs() - cpuStart);

    cpuStart = ProcessCpuMs();
    start = Clock::now();
    {
      CWorkbook_V8 db(9);
      if (!db.Open("Big", "Unfiled") || !db.ReadState()) Fail("open");
      WorkbookCopy copy;
      std::string problem;
      if (copy.LoadHandheld(db, problem) != brevora::conduit::CopyStep::Done) Fail("load handheld: " + problem);
      if (copy.cells().size() != kBigCells) Fail("cells lost");
      brevora::fs::AtomicFile out(folder + "/Back.tbr");
      copy.WriteDesktop(out);
      out.Commit();
      if (copy.FinishHandheld(db) != brevora::conduit::CopyStep::Done || !db.Close()) Fail("finish");
    }
    toDesktop.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    toDesktopCpu.push_back(ProcessCpuMs() - cpuStart);
  }
  std::vector<double> touch;
  for (int i = 0; i < kRuns; ++i) {
    const double cpuStart = ProcessCpuMs();
    TouchNewMemory(1 << 20);
    touch.push_back(ProcessCpuMs() - cpuStart);
  }
  std::printf("a changed workbook of %d cells (%zu KB): desktop file to handheld %.1f ms (CPU %.1f ms), "
              "handheld to desktop file %.1f ms (CPU %.1f ms); medians of %d\n",
              kBigCells, writer.text().size() / 1024, Median(toHandheld), Median(toHandheldCpu), Median(toDesktop),
              Median(toDesktopCpu), kRuns);
  std::printf("the machine: touching 1 MB of new memory takes %.2f ms of CPU (median of %d)\n", Median(touch), kRuns);
}

}  // namespace

// `tabrel_sync big` measures the conversions only (for a profiler).
int main(int argc, char** argv) {
  const bool bigOnly = argc > 1 && std::string(argv[1]) == "big";
  std::string home = (stdfs::temp_directory_path() / "brevora-bench-XXXXXX").string();
  if (mkdtemp(home.data()) == nullptr) Fail("mkdtemp");
  setenv("BREVORA_HOME", home.c_str(), 1);
  if (!bigOnly) NoChangeHotSync(home);
  BigWorkbook(home);
  std::error_code ignored;
  stdfs::remove_all(home, ignored);
  return 0;
}
