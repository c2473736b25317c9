// desktop_list: how fast the window lists a category of 5,000 workbooks
// (--files takes a list of numbers: the category is filled up to each in turn
// and every figure is given with its cost per workbook, so growth shows).
//   - the listing of the stand-alone window: names, sizes and each file's
//     header read for its link columns (DocumentLister with columns);
//   - the listing of the Open and Save dialogs: names only;
//   - the whole window: frmSave on Qt's offscreen platform, a Refresh click
//     posted through the window directory (as the conduits post it) until the
//     list shows all 5,000 rows again; and the dialog window's fill of the
//     same category.
// Each figure is the median of 5 runs. Runs in a work folder (also
// BREVORA_HOME) in $TMPDIR or /tmp, removed however the run ends.
#include <QApplication>
#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/timing.h"
#include "bench/lib/work_folder.h"
#include "core/module_state.h"
#include "core/session.h"
#include "frontend/category_listing.h"
#include "frontend/form_factory.h"
#include "frontend/forms/frm_save.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/call_by_name.h"
#include "platform/fs/files.h"
#include "platform/hotsync/user_list.h"
#include "platform/registry/registry.h"
#include "platform/windows/window_directory.h"
#include "sheet/workbook.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brevora;

int runs = 5;  // from the command line

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "desktop_list: %s\n", what.c_str());
  std::exit(1);
}

bench::Samples Time(const std::function<void()>& run) {
  return bench::Measure(runs, bench::CpuClock::Thread, run).wall_ms;
}

// Palm Desktop with user 1 "Bench" and an empty category "Business".
std::string MakeDesktop(const std::string& home) {
  for (const char* product : {"Tabulyn", "Scrivane", "Slidora"}) {
    registry::SetValue(registry::Hive::CurrentUser, std::string("Software\\Orvanex\\") + product,
                       "Version", registry::Value::String("1.0"));
  }
  registry::ImportRegedit(
      "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Core]\n");
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Palm Computing\\Pilot Desktop\\Core",
                     "Path", registry::Value::String(home + "/hotsync"));
  fs::MakeFolder(home + "/hotsync/bench");
  hotsync::AddUser({1, "Bench", "bench"});
  fs::MakeFolder(home + "/hotsync/bench/tabrel/Business");
  return home + "/hotsync/bench/tabrel/";
}

// Fills "Business" up to `files` workbooks, every tenth linked to an .xls file.
void FillUpTo(const std::string& categories, int from, int files) {
  Ref<sheet::Workbook> workbook = MakeRef<sheet::Workbook>();
  workbook->InitFromDefaults();
  for (int i = from; i < files; ++i) {
    workbook->SetLinkedXLSFileName(i % 10 == 0 ? "/office/Sheet " + std::to_string(i) + ".xls"
                                               : "");
    workbook->WriteToDisk(categories + "Business/Sheet " + std::to_string(i) + ".tbr");
  }
}

void Print(bench::Report& report, const char* what, const char* label, int files,
           const bench::Samples& ms) {
  std::printf("%d workbooks, %s %.1f ms\n", files, label, ms.Median());
  std::printf("  %.4f ms a workbook\n", ms.Median() / files);
  bench::Samples per;
  for (const double v : ms.values()) per.Add(v / files);
  report.Figure(std::string(what) + ", " + bench::Grouped(files) + " workbooks", per,
                "ms a workbook");
}

void Deliver() { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); }

}  // namespace

int main(int argc, char** argv) {
  std::vector<int64_t> sizes = {5000};
  bench::CommandLine line(
      "desktop_list",
      "How fast the desktop window lists a category of workbooks, for each number of workbooks\n"
      "given (the category is filled up to each in turn), with the cost per workbook.");
  line.Counts("files", "numbers of workbooks in the category", &sizes, 1, 1000000);
  line.Count("repeat", "runs of each listing; medians are printed", &runs, 1, 1000);
  line.ParseOrExit(argc, argv);
  std::sort(sizes.begin(), sizes.end());
  bench::WorkFolder work("desktop-list-bench");
  bench::Report report("desktop_list", line.ResultsPath());
  const std::string home = work.path();
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  {
    QApplication app(argc, argv);
    const std::string categories = MakeDesktop(home);
    core::EnsureModuleStarted();
    Ref<frontend::TabrelPC> tabrelPC = MakeRef<frontend::TabrelPC>();
    frontend::forms::SaveForm* main = nullptr;
    int filled = 0;
    for (const int64_t size : sizes) {
      const int files = static_cast<int>(size);
      FillUpTo(categories, filled, files);
      filled = files;

      frontend::DocumentLister lister;
      std::size_t rows = 0;
      const bench::Samples withColumns = Time(
          [&] { rows = lister.List(tabrelPC->Session(), categories, "Business", 0, true).size(); });
      if (rows != static_cast<std::size_t>(files)) Fail("the listing lost files");
      const bench::Samples names = Time([&] {
        rows = lister.List(tabrelPC->Session(), categories, "Business", 0, false).size();
      });
      if (rows != static_cast<std::size_t>(files)) Fail("the listing lost files");
      Print(report, "stand-alone listing", "stand-alone listing (headers read):", files,
            withColumns);
      Print(report, "dialog listing", "dialog listing (names):            ", files, names);

      // The stand-alone window (opened once) and a posted Refresh.
      if (!main) {
        tabrelPC->DoOpenStandAloneEX("", nullptr);
        for (const Ref<frontend::Form>& form : frontend::Forms()->LoadedForms()) {
          main = dynamic_cast<frontend::forms::SaveForm*>(form.get());
        }
        if (!main) Fail("no main window");
      }
      QTreeWidget& list = *main->window().lstWorkbook;
      const std::vector<windows::WindowEntry> found =
          windows::Find("ThunderRT5Form", "Brevora Desktop");
      if (found.size() != 1) Fail("the window is not in the window directory");
      auto refresh = [&] {
        list.clear();
        if (!windows::Post(found[0].handle,
                           windows::WindowMessage::Click("ThunderRT5CommandButton", "Refresh"))) {
          Fail("the click could not be posted");
        }
        while (list.topLevelItemCount() != files) Deliver();
      };
      refresh();  // shows the files added since the window opened
      Print(report, "posted Refresh", "posted Refresh to relisted window:", files, Time(refresh));

      // The dialog window's fill of the same category.
      const Ref<frontend::Form> dialog = frontend::Forms()->Create("frmSave");
      CallByName(*dialog, "SaveMode", CallKind::Let, false);
      CallByName(*dialog, "StandAlone", CallKind::Let, false);
      CallByName(*dialog, "oTabrelPC", CallKind::Set, Ref<Dispatch>(tabrelPC));
      dialog->Load();
      const bench::Samples dialogFill =
          Time([&] { CallByName(*dialog, "InitWorkbooks", CallKind::Method, "Business", false); });
      Print(report, "dialog window fill", "dialog window fill (InitWorkbooks): ", files,
            dialogFill);
      dialog->Unload();
      QCoreApplication::processEvents();
    }
    if (main) main->Unload();
    QCoreApplication::processEvents();
  }
  return 0;
}
