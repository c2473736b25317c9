// desktop_list: how fast the window lists a category of 5,000 workbooks.
//   - the listing of the stand-alone window: names, sizes and each file's
//     header read for its link columns (DocumentLister with columns);
//   - the listing of the Open and Save dialogs: names only;
//   - the whole window: frmSave on Qt's offscreen platform, a Refresh click
//     posted through the window directory (as the conduits post it) until the
//     list shows all 5,000 rows again; and the dialog window's fill of the
//     same category.
// Each figure is the median of 5 runs. Runs in a fresh temporary BREVORA_HOME
// ($TMPDIR or /tmp), removed at the end.
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

constexpr int kFiles = 5000;
constexpr int kRuns = 5;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "desktop_list: %s\n", what.c_str());
  std::exit(1);
}

double Median(const std::function<void()>& run) {
  std::vector<double> ms;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = Clock::now();
    run();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[kRuns / 2];
}

// Palm Desktop with user 1 "Bench" and 5,000 workbooks in "Business", every
// tenth linked to an .xls file.
std::string MakeDesktop(const std::string& home) {
  for (const char* product : {"Tabulyn", "Scrivane", "Slidora"}) {
    registry::SetValue(registry::Hive::CurrentUser, std::string("Software\\Orvanex\\") + product, "Version",
                       registry::Value::String("1.0"));
  }
  registry::ImportRegedit("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Palm Computing\\Pilot Desktop\\Core]\n");
  registry::SetValue(registry::Hive::CurrentUser, "Software\\Palm Computing\\Pilot Desktop\\Core", "Path",
                     registry::Value::String(home + "/hotsync"));
  fs::MakeFolder(home + "/hotsync/bench");
  hotsync::AddUser({1, "Bench", "bench"});
  const std::string folder = home + "/hotsync/bench/tabrel/Business";
  fs::MakeFolder(folder);
  Ref<sheet::Workbook> workbook = MakeRef<sheet::Workbook>();
  workbook->InitFromDefaults();
  for (int i = 0; i < kFiles; ++i) {
    workbook->SetLinkedXLSFileName(i % 10 == 0 ? "/office/Sheet " + std::to_string(i) + ".xls" : "");
    workbook->WriteToDisk(folder + "/Sheet " + std::to_string(i) + ".tbr");
  }
  return home + "/hotsync/bench/tabrel/";
}

void Deliver() { QCoreApplication::processEvents(QEventLoop::AllEvents, 50); }

}  // namespace

int main(int argc, char** argv) {
  std::string pattern = (std::getenv("TMPDIR") ? std::string(std::getenv("TMPDIR")) : std::string("/tmp")) +
                        "/desktop_list-XXXXXX";
  if (!mkdtemp(pattern.data())) Fail("no temporary folder");
  const std::string home = pattern;
  setenv("BREVORA_HOME", home.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  {
    QApplication app(argc, argv);
    const std::string categories = MakeDesktop(home);
    core::EnsureModuleStarted();
    Ref<frontend::TabrelPC> tabrelPC = MakeRef<frontend::TabrelPC>();

    frontend::DocumentLister lister;
    std::size_t rows = 0;
    const double withColumns = Median([&] { rows = lister.List(tabrelPC->Session(), categories, "Business", 0, true).size(); });
    if (rows != kFiles) Fail("the listing lost files");
    const double names = Median([&] { rows = lister.List(tabrelPC->Session(), categories, "Business", 0, false).size(); });
    if (rows != kFiles) Fail("the listing lost files");
    std::printf("%d workbooks, stand-alone listing (headers read): %.1f ms\n", kFiles, withColumns);
    std::printf("%d workbooks, dialog listing (names):             %.1f ms\n", kFiles, names);

    // The stand-alone window and a posted Refresh.
    tabrelPC->DoOpenStandAloneEX("", nullptr);
    frontend::forms::SaveForm* main = nullptr;
    for (const Ref<frontend::Form>& form : frontend::Forms()->LoadedForms()) {
      main = dynamic_cast<frontend::forms::SaveForm*>(form.get());
    }
    if (!main) Fail("no main window");
    QTreeWidget& list = *main->window().lstWorkbook;
    if (list.topLevelItemCount() != kFiles) Fail("the window shows " + std::to_string(list.topLevelItemCount()));
    const std::vector<windows::WindowEntry> found = windows::Find("ThunderRT5Form", "Brevora Desktop");
    if (found.size() != 1) Fail("the window is not in the window directory");
    const double refresh = Median([&] {
      list.clear();
      if (!windows::Post(found[0].handle, windows::WindowMessage::Click("ThunderRT5CommandButton", "Refresh"))) {
        Fail("the click could not be posted");
      }
      while (list.topLevelItemCount() != kFiles) Deliver();
    });
    std::printf("%d workbooks, posted Refresh to relisted window: %.1f ms\n", kFiles, refresh);
    main->Unload();

    // The dialog window's fill of the same category.
    const Ref<frontend::Form> dialog = frontend::Forms()->Create("frmSave");
    CallByName(*dialog, "SaveMode", CallKind::Let, false);
    CallByName(*dialog, "StandAlone", CallKind::Let, false);
    CallByName(*dialog, "oTabrelPC", CallKind::Set, Ref<Dispatch>(tabrelPC));
    dialog->Load();
    const double dialogFill = Median([&] { CallByName(*dialog, "InitWorkbooks", CallKind::Method, "Business", false); });
    std::printf("%d workbooks, dialog window fill (InitWorkbooks):  %.1f ms\n", kFiles, dialogFill);
    dialog->Unload();
    QCoreApplication::processEvents();
  }
  std::error_code ignored;
  std::filesystem::remove_all(home, ignored);
  return 0;
}
