// workbook: speed of the workbook's storage forms. Builds a workbook of 100,000
// cells over 3 sheets (numbers, texts and formulas mixed) and times saving and
// opening the desktop workbook file (.tbr), then writing and reading the
// handheld spreadsheet database. A handheld database holds at most 65,535
// records (one per cell), so the database figures are for the largest
// workbook it can hold, 65,535 cells, and are also given per 100,000 cells.
// Writes go through a temporary file, fsync and rename: the wall-clock figure
// includes waiting for the disk, the CPU figure does not. Best of 5 rounds.
// Every read is checked against what was written. Files lie in a work folder
// (also BREVORA_HOME) in $TMPDIR or /tmp, removed however the run ends.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/work_folder.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "sheet/workbook.h"

namespace {

using Clock = std::chrono::steady_clock;
using brevora::MakeRef;
using brevora::Ref;
using brevora::sheet::Cell;
using brevora::sheet::Workbook;

constexpr int kSheets = 3;
int rounds = 5;  // from the command line

// Ends the run (through main, so temporary files and folders are removed).
[[noreturn]] void Fail(const std::string& what) { throw std::runtime_error(what); }

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Timing {
  double wall = 1e30;
  double cpu = 1e30;
};

Timing Best(const std::function<void()>& step) {
  Timing best;
  for (int round = 0; round < rounds; ++round) {
    const auto start = Clock::now();
    const double cpu = CpuSeconds();
    step();
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu);
    best.wall = std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// `cells` cells spread over three sheets, row by row: a third numbers, a third
// texts, a third formulas.
Ref<Workbook> Build(int cells) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->Sheets().Add("Costs");
  wb->Sheets().Add("Summary");
  for (int i = 0; i < cells; ++i) {
    const int sheet = 1 + i % kSheets;
    const int n = i / kSheets;
    Cell& cell = wb->Sheets().Item(sheet).Cells().Add(1 + n / 254 % 996, 1 + n % 254);
    switch (i % 3) {
      case 0:
        cell.SetValue(std::to_string(n * 7 % 10007) + "." + std::to_string(n % 100));
        cell.SetFormatRaw(0xF0000022);
        break;
      case 1:
        cell.SetValue("Item " + std::to_string(n) + " of the quarterly list");
        cell.SetFormatRaw(0x400041);
        break;
      default:
        cell.SetFormula("=SUM(A" + std::to_string(1 + n % 900) + ":C" +
                        std::to_string(2 + n % 900) + ")*1.05");
        cell.SetValue(std::to_string(n * 3));
        cell.SetFormatRaw(0x10022);
        break;
    }
  }
  return wb;
}

int64_t CountCells(Workbook& wb) {
  int64_t count = 0;
  for (int s = 1; s <= wb.Sheets().Count(); ++s) count += wb.Sheets().Item(s).Cells().Count();
  return count;
}

void Check(Workbook& original, Workbook& read, const char* what) {
  if (CountCells(read) != CountCells(original)) Fail(std::string(what) + ": cell count differs");
  for (int s = 1; s <= original.Sheets().Count(); ++s) {
    for (const Ref<Cell>& cell : original.Sheets().Item(s).Cells()) {
      const Cell& back = read.Sheets().Item(s).Cells().ItemDirect(cell->Row(), cell->Col());
      if (back.Formula() != cell->Formula() || back.Value() != cell->Value() ||
          back.FormatBits() != cell->FormatBits()) {
        Fail(std::string(what) + ": a cell differs");
      }
    }
  }
}

void Print(const char* what, const Timing& t, double scale = 1) {
  std::printf("  %-28s %8.1f ms wall  %8.1f ms cpu", what, t.wall * 1e3, t.cpu * 1e3);
  if (scale != 1) std::printf("   (%.1f ms cpu per 100,000 cells)", t.cpu * 1e3 * scale);
  std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
  int cells = 100000;
  int databaseCells = 65535;
  brevora::bench::CommandLine line(
      "workbook",
      "Speed of saving and opening a workbook as a .tbr file and as a handheld spreadsheet\n"
      "database.");
  line.Count("cells", "cells of the workbook saved as .tbr", &cells, 1, 10000000);
  line.Count("database-cells",
             "cells of the workbook written as a handheld database (at most 65,535)",
             &databaseCells, 1, 65535);
  line.Count("repeat", "rounds; the best is printed", &rounds, 1, 1000);
  line.ParseOrExit(argc, argv);
  brevora::bench::WorkFolder work("workbook-bench");
  brevora::bench::Report report("workbook", line.ResultsPath());
  try {
    brevora::fs::TempFileGuard tbr(brevora::fs::MakeTempFile("workbook-bench-", ".tbr"));
    brevora::fs::TempFileGuard db(brevora::fs::MakeTempFile("workbook-bench-", ".pdb"));

    Ref<Workbook> big = Build(cells);
    std::printf("workbook: %d cells over %d sheets, .tbr of ", cells, kSheets);
    const Timing save = Best([&] { big->WriteToDisk(tbr.path()); });
    std::printf("%.1f MB\n", static_cast<double>(brevora::fs::FileSize(tbr.path())) / 1e6);
    Ref<Workbook> opened = MakeRef<Workbook>();
    const Timing open = Best([&] { opened->OpenFromDisk(tbr.path()); });
    Check(*big, *opened, ".tbr");
    Print("save .tbr", save);
    Print("open .tbr", open);
    report.Figure("save .tbr, " + brevora::bench::Grouped(cells) + " cells", save.wall * 1e3, "ms");
    report.Figure("open .tbr, " + brevora::bench::Grouped(cells) + " cells", open.wall * 1e3, "ms");

    Ref<Workbook> handheld = Build(databaseCells);
    const double scale = 100000.0 / databaseCells;
    std::printf("handheld database: %d cells%s\n", databaseCells,
                databaseCells == 65535 ? " (the most one database holds)" : "");
    const Timing write = Best([&] { handheld->WriteToPDB(db.path()); });
    Ref<Workbook> read = MakeRef<Workbook>();
    const Timing load = Best([&] { read->OpenFromPDB(db.path()); });
    Check(*handheld, *read, "handheld database");
    Print("write handheld database", write, scale);
    Print("read handheld database", load, scale);
    report.Figure("write handheld database, " + brevora::bench::Grouped(databaseCells) + " cells",
                  write.wall * 1e3, "ms");
    report.Figure("read handheld database, " + brevora::bench::Grouped(databaseCells) + " cells",
                  load.wall * 1e3, "ms");
    return 0;
  } catch (const brevora::AutomationError& e) {
    std::fprintf(stderr, "workbook: %s: %s\n", e.source().c_str(), e.description().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "workbook: %s\n", e.what());
  }
  return 1;
}
