// desktop_ops: speed of the main window's file work without the window, on a
// fresh home folder (the application object's custom home):
//   - importing 1,000 text files of about 2 KB into one category (each loaded,
//     written as a document through a staging folder, marked modified, then
//     renamed into place);
//   - renaming a category of 5,000 workbooks (the folder renamed, then every
//     workbook marked modified in place);
//   - moving 1,000 workbooks to another category (each marked, then renamed).
// Expected to be bound by the file system (listings, small writes, renames).
// Beside the import, in the same run, the disk's floor for it: the bytes of
// each imported document written to a new file, flushed with fsync and renamed
// into place. Each file's floor is taken right after its import (when the
// importer refills the list), so both meet the same load and the same state of
// the disk; it writes in a folder beside the import's scratch folder (in the
// category), where the file system places new files as it places the
// import's. The import's figure leaves out the floor's time. Each round starts
// on a settled disk (syncfs), so it does not pay for writing its sources.
// --repeat repeats the import (into a new category each round); the rename
// and the moves run once.
// Everything lives in a work folder made in $TMPDIR (or /tmp), which is also
// BREVORA_HOME for the run; it is removed however the run ends.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/english_text.h"
#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/timing.h"
#include "bench/lib/work_folder.h"
#include "core/module_state.h"
#include "frontend/category_commands.h"
#include "frontend/document_commands.h"
#include "frontend/file_import.h"
#include "frontend/form_factory.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/registry/registry.h"
#include "testing/fake_forms.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brevora;
using namespace brevora::frontend;

double Ms(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Window : public ImportWindow {
 public:
  int FileType(const std::string&) override { return kTypeTxt; }
  void SwitchFileMode(int) override {}
  std::string CurrentCategory() override { return category; }
  void SetStatusText(const std::string&) override {}
  void ShowWait(const std::string&, bool) override {}
  void HideWait(bool) override {}
  void SetEnabled(bool) override {}
  void SetBusy(bool) override {}
  std::optional<bool> PresentationOptions(const std::string&) override { return std::nullopt; }
  void RefillFiles(const std::string&, const std::string& name) override {
    if (imported) imported(name);
  }
  std::string category = "Imports";
  std::function<void(const std::string& name)> imported;  // after each import
};

class Categories : public CategoryList {
 public:
  int Count() const override { return 1; }
  int SelectedIndex() const override { return 0; }
  std::string Text(int) const override { return name; }
  void Select(int) override {}
  void SetText(int, const std::string& text) override { name = text; }
  void RemoveRow(int) override {}
  void InitCategories() override {}
  void InitWorkbooks(const std::string&, bool) override {}
  void PressRefresh() override {}
  void EnableRenameAndDelete(bool) override {}
  void NameBoxChanged() override {}
  std::string name = "Big";
};

class AllSelected : public DocumentList {
 public:
  explicit AllSelected(int count) {
    for (int i = 0; i < count; ++i) rows.push_back("Book " + std::to_string(i));
  }
  int Count() const override { return static_cast<int>(rows.size()); }
  int SelectedIndex() const override { return rows.empty() ? -1 : 0; }
  std::string Text(int row) const override { return rows[static_cast<size_t>(row)]; }
  bool IsSelected(int) const override { return true; }
  void RemoveRow(int row) override { rows.erase(rows.begin() + row); }
  void Select(int) override {}
  std::vector<std::string> rows;
};

void WriteBook(const std::string& path) {
  std::ofstream(path, std::ios::binary) << "2" << std::string(600, 'x');
}

// The floor of an import: `bytes` written to a new file in `folder`, flushed
// and renamed to `name`.
void WriteFlushRename(const std::string& folder, const std::string& name,
                      const std::string& bytes) {
  const std::string temp = folder + "/.tmp-" + name;
  const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) throw std::runtime_error("cannot create " + temp);
  const bool ok =
      write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) && fsync(fd) == 0;
  close(fd);
  if (!ok || rename(temp.c_str(), (folder + "/" + name).c_str()) != 0)
    throw std::runtime_error("cannot write " + temp);
}

// Writes out what the file system of `folder` holds unwritten, so that a timed
// step does not pay for the writes of the step before it.
void SettleDisk(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw std::runtime_error("cannot open " + folder);
  syncfs(fd);
  close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  int kImports = 1000;
  int kCategorySize = 5000;
  int kMoves = 1000;
  int rounds = 1;
  bench::CommandLine line(
      "desktop_ops",
      "Speed of the main window's file work without the window: importing text files (beside\n"
      "write + fsync + rename of the same bytes), renaming a category, moving workbooks.");
  line.Count("imports", "text files of about 2 KB imported into one category", &kImports, 1,
             1000000);
  line.Count("category", "workbooks of the category renamed", &kCategorySize, 1, 1000000);
  line.Count("moves", "workbooks moved to another category (at most --category)", &kMoves, 1,
             1000000);
  line.Count("repeat", "rounds of the import, each into a new category", &rounds, 1, 1000);
  line.ParseOrExit(argc, argv);
  if (kMoves > kCategorySize) {
    std::fprintf(stderr, "desktop_ops: --moves must not exceed --category\n%s",
                 line.Usage().c_str());
    return 2;
  }
  namespace stdfs = std::filesystem;
  bench::WorkFolder folder("desktop-ops");
  bench::Report report("desktop_ops", line.ResultsPath());
  const std::string work = folder.path();
  const std::string home = work + "/home/";
  int status = 0;
  try {
    stdfs::create_directories(work + "/sources");
    registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "HomePath",
                       registry::Value::String(home));
    registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "UseHomePath",
                       registry::Value::DWord(1));
    const Ref<TabrelPC> app = MakeRef<TabrelPC>();

    // 1. Import, and beside it the floor: the same bytes written, flushed, renamed.
    app->Session()->SetFileMode(1);
    Window window;
    FileImporter importer(*app, window);
    bench::Samples import_ms, floor_ms;
    for (int round = 0; round < rounds; ++round) {
      // Names are unique across categories: each round brings in files of its own.
      const std::string tag = round == 0 ? "" : std::to_string(round + 1) + " ";
      std::vector<std::string> sources;
      stdfs::create_directories(work + "/sources/" + tag);
      for (int i = 0; i < kImports; ++i) {
        sources.push_back(work + "/sources/" + tag + "Note " + tag + std::to_string(i) + ".txt");
        std::ofstream(sources.back(), std::ios::binary)
            << bench::EnglishText(2048, static_cast<uint32_t>(i));
      }
      window.category = round == 0 ? "Imports" : "Imports " + std::to_string(round + 1);
      const std::string target = home + window.category;
      stdfs::create_directories(target);
      const std::string floor = target + "/.floor";  // hidden: no document of the category
      stdfs::create_directories(floor);
      double floorMs = 0,
             besideMs = 0;  // the floor's time, and all the time spent beside the import
      window.imported = [&](const std::string& name) {
        const double readStart = bench::WallMs();
        const std::string file = name + ".scv";
        const std::vector<uint8_t> read = fs::ReadWholeFile(target + "/" + file);
        const std::string bytes(read.begin(), read.end());
        const double floorStart = bench::WallMs();
        WriteFlushRename(floor, file, bytes);
        const double floorEnd = bench::WallMs();
        floorMs += floorEnd - floorStart;
        besideMs += floorEnd - readStart;
      };
      SettleDisk(work);
      const double start = bench::WallMs();
      {
        const FileImporter::Batch drop(importer);  // the files of one drop on the window
        for (const std::string& source : sources) importer.BringFileIn(source);
      }
      import_ms.Add((bench::WallMs() - start - besideMs) / kImports);
      floor_ms.Add(floorMs / kImports);
      window.imported = nullptr;
      if (fs::ListFolder(target, fs::ListKind::Files).size() != static_cast<size_t>(kImports)) {
        throw std::runtime_error("imports");
      }
    }
    const double importMs = import_ms.Median() * kImports;

    // 2. Rename a category of 5,000 workbooks.
    app->Session()->SetFileMode(0);
    stdfs::create_directories(home + "Big");
    for (int i = 0; i < kCategorySize; ++i)
      WriteBook(home + "Big/Book " + std::to_string(i) + ".tbr");
    auto forms = std::make_shared<testing::RecordingFormFactory>();
    forms->onCreate = [](testing::RecordingForm& form) {
      form.onModal = [](testing::RecordingForm& f) {
        f.SetProperty("Category", Variant("Bigger"));
        core::Module().gDialogCancelled = false;
      };
    };
    InstallFormFactory(forms);
    Categories list;
    auto start = Clock::now();
    ManageCategory(*app, list, CategoryAction::Rename);
    const double renameMs = Ms(start);
    InstallFormFactory(nullptr);
    if (list.name != "Bigger" ||
        !stdfs::exists(home + "Bigger/Book " + std::to_string(kCategorySize - 1) + ".tbr"))
      throw std::runtime_error("rename");

    // 3. Move 1,000 of them.
    stdfs::create_directories(home + "Moved");
    AllSelected moving(kMoves);
    start = Clock::now();
    MoveDocuments(*app, "Bigger", "Moved", moving);
    const double moveMs = Ms(start);
    if (!moving.rows.empty()) throw std::runtime_error("move");

    std::printf("desktop_ops (file system of %s)\n", work.c_str());
    std::printf("  import %d text files (2 KB):        %8.1f ms  (%.2f ms a file)\n", kImports,
                importMs, importMs / kImports);
    std::printf("  write + fsync + rename of the same bytes: %.2f ms a file\n", floor_ms.Median());
    std::printf("  rename a category of %d workbooks: %8.1f ms  (%.3f ms a workbook)\n",
                kCategorySize, renameMs, renameMs / kCategorySize);
    std::printf("  move %d workbooks:                  %8.1f ms  (%.3f ms a workbook)\n", kMoves,
                moveMs, moveMs / kMoves);
    report.Compare("import a text file", import_ms, "write+fsync+rename", floor_ms, "ms a file");
    report.Figure("rename a category, a workbook", renameMs / kCategorySize, "ms a workbook");
    report.Figure("move a workbook", moveMs / kMoves, "ms a workbook");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "desktop_ops: %s\n", e.what());
    status = 1;
  }
  return status;
}
