// workbook: speed of the workbook's storage forms. Builds a workbook of 100,000
// cells over 3 sheets (numbers, texts and formulas mixed) and times saving and
// opening the desktop workbook file (.tbr), then writing and reading the
// handheld spreadsheet database. A handheld database holds at most 65,535
// records (one per cell), so the database figures are for the largest
// workbook it can hold, 65,535 cells, and are also given per 100,000 cells.
// Writes go through a temporary file, fsync and rename: the wall-clock figure
// includes waiting for the disk, the CPU figure does not. Best of 5 rounds.
// Every read is checked against what was written. Files lie in $TMPDIR (or /tmp);
// without $BREVORA_HOME the program runs on a fresh one there, removed at the end.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "sheet/workbook.h"

namespace {

using Clock = std::chrono::steady_clock;
using brevora::MakeRef;
using brevora::Ref;
using brevora::sheet::Cell;
using brevora::sheet::Workbook;

constexpr int kCells = 100000;
constexpr int kDatabaseCells = 65535;
constexpr int kSheets = 3;
constexpr int kRounds = 5;

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
  for (int round = 0; round < kRounds; ++round) {
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
        cell.SetFormula("=SUM(A" + std::to_string(1 + n % 900) + ":C" + std::to_string(2 + n % 900) + ")*1.05");
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

// A fresh BREVORA_HOME for the run when none is set, so the module never
// starts on the real home's settings.
class PrivateHome {
 public:
  PrivateHome() {
    if (std::getenv("BREVORA_HOME")) return;
    std::string folder = (std::filesystem::temp_directory_path() / "workbook-bench-home-XXXXXX").string();
    if (!mkdtemp(folder.data())) return;  // the module then finds its own home
    folder_ = folder;
    setenv("BREVORA_HOME", folder_.c_str(), 1);
  }
  ~PrivateHome() {
    if (folder_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::string folder_;
};

int main() {
  PrivateHome home;
  try {
    brevora::fs::TempFileGuard tbr(brevora::fs::MakeTempFile("workbook-bench-", ".tbr"));
    brevora::fs::TempFileGuard db(brevora::fs::MakeTempFile("workbook-bench-", ".pdb"));

    Ref<Workbook> big = Build(kCells);
    std::printf("workbook: %d cells over %d sheets, .tbr of ", kCells, kSheets);
    const Timing save = Best([&] { big->WriteToDisk(tbr.path()); });
    std::printf("%.1f MB\n", static_cast<double>(brevora::fs::FileSize(tbr.path())) / 1e6);
    Ref<Workbook> opened = MakeRef<Workbook>();
    const Timing open = Best([&] { opened->OpenFromDisk(tbr.path()); });
    Check(*big, *opened, ".tbr");
    Print("save .tbr", save);
    Print("open .tbr", open);

    Ref<Workbook> handheld = Build(kDatabaseCells);
    const double scale = static_cast<double>(kCells) / kDatabaseCells;
    std::printf("handheld database: %d cells (the most one database holds)\n", kDatabaseCells);
    const Timing write = Best([&] { handheld->WriteToPDB(db.path()); });
    Ref<Workbook> read = MakeRef<Workbook>();
    const Timing load = Best([&] { read->OpenFromPDB(db.path()); });
    Check(*handheld, *read, "handheld database");
    Print("write handheld database", write, scale);
    Print("read handheld database", load, scale);
    return 0;
  } catch (const brevora::AutomationError& e) {
    std::fprintf(stderr, "workbook: %s: %s\n", e.source().c_str(), e.description().c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "workbook: %s\n", e.what());
  }
  return 1;
}
