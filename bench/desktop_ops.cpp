// desktop_ops: speed of the main window's file work without the window, on a
// fresh home folder (the application object's custom home):
//   - importing 1,000 text files of about 2 KB into one category, as one drop
//     (each loaded, written as a document in the batch's scratch folder,
//     marked modified, then moved into place), beside the disk's floor for the same bytes: each
//     written to a temporary file, fsynced and renamed to its name, and that
//     floor with the folder fsynced after the rename as well (what makes the
//     new name durable, as the import does); the three run by turns, 100
//     files at a time, so that all meet the same load;
//   - renaming a category of 5,000 workbooks (the folder renamed, then every
//     workbook marked modified in place);
//   - moving 1,000 workbooks to another category (each marked, then renamed).
// Expected to be bound by the file system (listings, small writes, renames).
// Everything lives in a work folder made in $TMPDIR (or /tmp), which is also
// BREVORA_HOME for the run; it is removed at the end.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <stdexcept>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/english_text.h"
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

constexpr int kImports = 1000;
constexpr int kCategorySize = 5000;
constexpr int kMoves = 1000;
constexpr int kTurn = 100;  // imports and floor writes by turns of this many files

double Ms(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class Window : public ImportWindow {
 public:
  int FileType(const std::string&) override { return kTypeTxt; }
  void SwitchFileMode(int) override {}
  std::string CurrentCategory() override { return "Imports"; }
  void SetStatusText(const std::string&) override {}
  void ShowWait(const std::string&, bool) override {}
  void HideWait(bool) override {}
  void SetEnabled(bool) override {}
  void SetBusy(bool) override {}
  std::optional<bool> PresentationOptions(const std::string&) override { return std::nullopt; }
  void RefillFiles(const std::string&, const std::string&) override {}
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

void WriteBook(const std::string& path) { std::ofstream(path, std::ios::binary) << "2" << std::string(600, 'x'); }

// The floor of an import: texts `from` to `to` (exclusive), each written to a
// temporary file in `folder`, fsynced and renamed to its name; with
// `syncFolder` the folder is fsynced after each rename too. Milliseconds.
double DiskFloor(const std::string& folder, const std::vector<std::string>& texts, std::size_t from,
                 std::size_t to, bool syncFolder) {
  const int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd < 0) throw std::runtime_error("floor: folder");
  const auto start = Clock::now();
  for (std::size_t i = from; i < to; ++i) {
    const std::string name = folder + "/Note " + std::to_string(i);
    const std::string temp = folder + "/.Note " + std::to_string(i) + ".tmp";
    const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throw std::runtime_error("floor: open");
    const bool written = write(fd, texts[i].data(), texts[i].size()) == static_cast<ssize_t>(texts[i].size()) &&
                         fsync(fd) == 0;
    close(fd);
    if (!written || rename(temp.c_str(), name.c_str()) != 0 || (syncFolder && fsync(folderFd) != 0)) {
      close(folderFd);
      throw std::runtime_error("floor: write");
    }
  }
  const double ms = Ms(start);
  close(folderFd);
  return ms;
}

}  // namespace

int main() {
  namespace stdfs = std::filesystem;
  const char* tmp = getenv("TMPDIR");
  std::string work = std::string(tmp && *tmp ? tmp : "/tmp") + "/desktop-ops-XXXXXX";
  if (!mkdtemp(work.data())) return 1;
  setenv("BREVORA_HOME", work.c_str(), 1);
  const std::string home = work + "/home/";
  int status = 0;
  try {
    stdfs::create_directories(home + "Imports");
    stdfs::create_directories(work + "/sources");
    registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "HomePath",
                       registry::Value::String(home));
    registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "UseHomePath",
                       registry::Value::DWord(1));
    const Ref<TabrelPC> app = MakeRef<TabrelPC>();

    // 1. Import.
    app->Session()->SetFileMode(1);
    std::vector<std::string> sources;
    std::vector<std::string> texts;
    for (int i = 0; i < kImports; ++i) {
      sources.push_back(work + "/sources/Note " + std::to_string(i) + ".txt");
      texts.push_back(bench::EnglishText(2048, static_cast<uint32_t>(i)));
      std::ofstream(sources.back(), std::ios::binary) << texts.back();
    }
    stdfs::create_directories(work + "/floor");
    stdfs::create_directories(work + "/durable");
    Window window;
    FileImporter importer(*app, window);
    const FileImporter::Batch batch(importer);  // as a drop of the 1,000 files imports them
    double importMs = 0;
    double floorMs = 0;
    double durableMs = 0;
    for (std::size_t turn = 0; turn < sources.size(); turn += kTurn) {
      const std::size_t end = std::min(sources.size(), turn + kTurn);
      floorMs += DiskFloor(work + "/floor", texts, turn, end, false);
      durableMs += DiskFloor(work + "/durable", texts, turn, end, true);
      const auto start = Clock::now();
      for (std::size_t i = turn; i < end; ++i) importer.BringFileIn(sources[i]);
      importMs += Ms(start);
    }
    if (fs::ListFolder(home + "Imports", fs::ListKind::Files).size() != kImports) throw std::runtime_error("imports");

    // 2. Rename a category of 5,000 workbooks.
    app->Session()->SetFileMode(0);
    stdfs::create_directories(home + "Big");
    for (int i = 0; i < kCategorySize; ++i) WriteBook(home + "Big/Book " + std::to_string(i) + ".tbr");
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
    if (list.name != "Bigger" || !stdfs::exists(home + "Bigger/Book 4999.tbr")) throw std::runtime_error("rename");

    // 3. Move 1,000 of them.
    stdfs::create_directories(home + "Moved");
    AllSelected moving(kMoves);
    start = Clock::now();
    MoveDocuments(*app, "Bigger", "Moved", moving);
    const double moveMs = Ms(start);
    if (!moving.rows.empty()) throw std::runtime_error("move");

    std::printf("desktop_ops (file system of %s)\n", work.c_str());
    std::printf("  import %d text files (2 KB):        %8.1f ms  (%.2f ms a file)\n", kImports, importMs,
                importMs / kImports);
    std::printf("  floor: write + fsync + rename of the same texts: %.1f ms  (%.2f ms a file; import %.2f x)\n",
                floorMs, floorMs / kImports, importMs / floorMs);
    std::printf("  floor with the folder fsynced too:     %8.1f ms  (%.2f ms a file; import %.2f x)\n", durableMs,
                durableMs / kImports, importMs / durableMs);
    std::printf("  rename a category of %d workbooks: %8.1f ms  (%.3f ms a workbook)\n", kCategorySize, renameMs,
                renameMs / kCategorySize);
    std::printf("  move %d workbooks:                  %8.1f ms  (%.3f ms a workbook)\n", kMoves, moveMs,
                moveMs / kMoves);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "desktop_ops: %s\n", e.what());
    status = 1;
  }
  std::error_code ignored;
  stdfs::remove_all(work, ignored);
  return status;
}
