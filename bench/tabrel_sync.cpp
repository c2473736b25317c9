// tabrel_sync: speed of the workbook conduit.
//   1. A no-change HotSync through the `hotsync` program with libtabrel.so: 500
//      workbooks of 50 cells each (--workbooks takes a list of numbers, each
//      measured on its own, with the cost per workbook), in step on the
//      handheld and the desktop (three categories), from the start of the
//      program to its end (loading the plug-in, listing and opening every
//      database, reading every desktop file's header, writing the sync state).
//   2. A changed workbook of 10,000 cells converted each way, in process over a
//      device folder: desktop file to handheld database (read the file, write
//      every record and the block) and back (read every record, write the file
//      through a temporary file).
// `tabrel_sync big` (or --big-only) runs the second only. Runs in a work folder
// (also BREVORA_HOME) in $TMPDIR or /tmp, removed however the run ends.
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

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/timing.h"
#include "bench/lib/work_folder.h"
#include "conduit/cell_record.h"
#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "conduit/workbook_copy.h"
#include "platform/fs/files.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/device_names.h"
#include "testing/spawn.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace stdfs = std::filesystem;
using namespace brevora::tabrel;

// The sizes of the run, from the command line.
struct Sizes {
  int cells = 50;        // of each workbook of the HotSync
  int bigCells = 10000;  // of the changed workbook
  int runs = 15;         // timed runs of each step
};
Sizes sizes;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "tabrel_sync: %s\n", what.c_str());
  std::exit(1);
}

int Run(const std::vector<std::string>& args) {
  return brevora::testing::SpawnAndWait(HOTSYNC_PROGRAM, args, {.out = "/dev/null"});
}

// A cell of a plausible sheet: labels in column 1, numbers and sums beside them.
CellRecord SampleCell(int i) {
  const int row = i / 5 + 1;
  const int column = i % 5 + 1;
  if (column == 1) return {1, row, column, "", "Item " + std::to_string(row), 0x41, 0};
  if (column == 5) {
    const std::string r = std::to_string(row);
    return {1,          row,   column, "=SUM(B" + r + ":D" + r + ")", std::to_string(row * 3),
            0xF0000022, 0x00E6};
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
  h.uniqueIDSeed = sizes.cells + 1;
  const std::vector<uint8_t> block =
      WorkbookBlock::Defaults(9, static_cast<uint8_t>(i % 3)).bytes();
  std::vector<std::string> lines;
  for (int c = 0; c < sizes.cells; ++c)
    lines.push_back(FormatCell(SampleCell(c), CellForm::Tab) + '\0');
  std::vector<brevora::hotsync::DatabaseWriter::Record> records;
  for (int c = 0; c < sizes.cells; ++c) {
    records.push_back(
        {0, static_cast<uint32_t>(c + 1),
         std::span(reinterpret_cast<const uint8_t*>(lines[c].data()), lines[c].size())});
  }
  const brevora::hotsync::DatabaseWriter writer(
      h, block, {}, std::move(records), brevora::hotsync::DatabaseWriter::Placement::Packed);
  const std::vector<uint8_t> bytes = writer.Bytes();
  std::ofstream(folder + "/" + brevora::hotsync::DatabaseFileName(name), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
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

void NoChangeHotSync(const std::string& home, int workbooks, brevora::bench::Report& report) {
  setenv("BREVORA_HOME", home.c_str(), 1);
  const std::string device = home + "/device";
  stdfs::create_directories(device);
  for (int i = 0; i < workbooks; ++i) PutWorkbook(device, i);
  if (Run({"register", "--name", "Tabulyn", "--library", TABREL_PLUGIN, "--directory", "Tabulyn",
           "--creator", "Zeri"}) != 0) {
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
  if (files != workbooks) Fail("the desktop has " + std::to_string(files) + " workbooks");

  auto cpu = [] {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  };
  std::vector<double> ms;
  std::vector<double> cpuMs;
  for (int i = 0; i < sizes.runs; ++i) {
    const double cpuBefore = cpu();
    const auto start = Clock::now();
    if (Run({"sync", "--device", device}) != 0) Fail("HotSync");
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    cpuMs.push_back(cpu() - cpuBefore);
  }
  std::ifstream log(home + "/HotSync/Bench/hotsync.log");
  const std::string text((std::istreambuf_iterator<char>(log)), {});
  const size_t at = text.rfind("--- HotSync");  // a log without one is reported below, not thrown
  const std::string last = at == std::string::npos ? text : text.substr(at);
  if (last.find("Copy ") != std::string::npos || last.find("OK Tabulyn\n") == std::string::npos) {
    Fail("the last HotSync was not a clean one without changes:\n" + last);
  }
  brevora::bench::Samples wall, per;
  for (const double v : ms) {
    wall.Add(v);
    per.Add(v / workbooks);
  }
  std::sort(ms.begin(), ms.end());
  std::printf(
      "no-change HotSync of %d workbooks of %d cells through the host: %.1f ms median, %.1f ms "
      "best; "
      "CPU %.1f ms median (%d runs)\n",
      workbooks, sizes.cells, Median(ms), ms.front(), Median(cpuMs), sizes.runs);
  std::printf("  %.4f ms a workbook (CPU %.4f)\n", Median(ms) / workbooks,
              Median(cpuMs) / workbooks);
  const std::string n = brevora::bench::Grouped(workbooks) + " workbooks";
  report.Figure("no-change HotSync, " + n, wall, "ms");
  report.Figure("no-change HotSync a workbook, " + n, per, "ms a workbook");
}

void BigWorkbook(const std::string& home, brevora::bench::Report& report) {
  setenv("BREVORA_HOME", home.c_str(), 1);
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
  for (int c = 0; c < sizes.bigCells; ++c) writer.WriteCell(SampleCell(c));
  const std::string path = folder + "/Big.tbr";
  brevora::fs::AtomicWrite(path, writer.text());

  std::vector<double> toHandheld;
  std::vector<double> toDesktop;
  std::vector<double> toHandheldCpu;
  std::vector<double> toDesktopCpu;
  for (int i = 0; i < sizes.runs; ++i) {
    brevora::hotsync::DeviceSession session(device);
    double cpuStart = ProcessCpuMs();
    auto start = Clock::now();
    {
      WorkbookCopy copy;
      std::string problem;
      if (copy.LoadDesktop(path, 9, problem) != brevora::conduit::CopyStep::Done)
        Fail("load: " + problem);
      CWorkbook_V8 db(9);
      db.SetName("Big");
      db.Delete();
      if (!db.OpenOrCreate("Big", "Unfiled", 0)) Fail("create");
      if (copy.WriteHandheld(db) != brevora::conduit::CopyStep::Done || !db.Close())
        Fail("write handheld");
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
      if (copy.LoadHandheld(db, problem) != brevora::conduit::CopyStep::Done)
        Fail("load handheld: " + problem);
      if (copy.cells().size() != static_cast<size_t>(sizes.bigCells)) Fail("cells lost");
      brevora::fs::AtomicFile out(folder + "/Back.tbr");
      copy.WriteDesktop(out);
      out.Commit();
      if (copy.FinishHandheld(db) != brevora::conduit::CopyStep::Done || !db.Close())
        Fail("finish");
    }
    toDesktop.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    toDesktopCpu.push_back(ProcessCpuMs() - cpuStart);
  }
  std::vector<double> touch;
  for (int i = 0; i < sizes.runs; ++i) {
    const double cpuStart = ProcessCpuMs();
    TouchNewMemory(1 << 20);
    touch.push_back(ProcessCpuMs() - cpuStart);
  }
  std::printf(
      "a changed workbook of %d cells (%zu KB): desktop file to handheld %.1f ms (CPU %.1f ms), "
      "handheld to desktop file %.1f ms (CPU %.1f ms); medians of %d\n",
      sizes.bigCells, writer.text().size() / 1024, Median(toHandheld), Median(toHandheldCpu),
      Median(toDesktop), Median(toDesktopCpu), sizes.runs);
  std::printf("the machine: touching 1 MB of new memory takes %.2f ms of CPU (median of %d)\n",
              Median(touch), sizes.runs);
  brevora::bench::Samples a, b;
  for (const double v : toHandheld) a.Add(v);
  for (const double v : toDesktop) b.Add(v);
  const std::string n = brevora::bench::Grouped(sizes.bigCells) + " cells";
  report.Figure("desktop file to handheld, " + n, a, "ms");
  report.Figure("handheld to desktop file, " + n, b, "ms");
}

}  // namespace

// `tabrel_sync big` measures the conversions only (for a profiler).
int main(int argc, char** argv) {
  bool bigOnly = false;
  std::vector<int64_t> workbookCounts = {500};
  brevora::bench::CommandLine line(
      "tabrel_sync",
      "Speed of the workbook conduit: a no-change HotSync through the hotsync program for each "
      "number\n"
      "of workbooks given, and a changed workbook converted each way in process.");
  line.Counts("workbooks", "numbers of workbooks for the no-change HotSync, one set-up each",
              &workbookCounts, 1, 1000000);
  line.Count("cells", "cells of each of those workbooks", &sizes.cells, 1, 65535);
  line.Count("big-cells", "cells of the changed workbook", &sizes.bigCells, 1, 65535);
  line.Count("repeat", "timed runs of each step; medians are printed", &sizes.runs, 1, 10000);
  line.Flag("big-only", "measure the conversions only (for a profiler)", &bigOnly);
  line.Word("big", "the same as --big-only", &bigOnly);
  line.ParseOrExit(argc, argv);
  brevora::bench::WorkFolder work("tabrel-sync-bench");
  brevora::bench::Report report("tabrel_sync", line.ResultsPath());
  if (!bigOnly) {
    for (const int64_t n : workbookCounts)
      NoChangeHotSync(work.path() + "/n" + std::to_string(n), static_cast<int>(n), report);
  }
  BigWorkbook(work.path() + "/big", report);
  return 0;
}
