// phonesync: speed of the phone sync engine's presentation conduit over a
// phone with 200 modified presentations of 40 slides each (320x240 slide
// pictures with 256 colours, 80x60 thumbnails, about 1.2 MB a file) in 5
// category folders.
//   - Init: the picker's answer, the user lookup and the listing, which opens
//     every presentation for its header only (no record data read, no picture
//     unpacked); warm cache, best and median of 7 after one untimed run.
//   - the same 200 header-only opens alone, and, for comparison, full opens
//     (all records read, 80 pictures unpacked each) of 20 of them.
//   - marking 200 files as synchronised (header-only open, then UpdateHeader,
//     which rewrites the file through a temporary file with fsync).
// Everything lives in a work folder made in $TMPDIR (or /tmp), whose "home"
// is BREVORA_HOME for the run; it is removed however the run ends.
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/work_folder.h"
#include "bench/pictures.h"
#include "phonesync/sync_slidora.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "slides/freeimage_init.h"
#include "slides/presentation.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brevora;

// The sizes of the run, from the command line.
struct Sizes {
  int slides = 40;
  int categories = 5;
  int perCategory = 40;
  int full = 20;  // full opens, for comparison
  int rounds = 7;
};
Sizes sizes;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "phonesync: %s\n", what.c_str());
  std::exit(1);
}

double Ms(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

class FixedPicker : public bvsync::SendToPicker {
 public:
  explicit FixedPicker(std::string path) : path_(std::move(path)) {}
  std::string Choose() override { return path_; }

 private:
  std::string path_;
};

// The 40-slide presentation every file is a copy of.
void WriteDeck(const std::string& dir, const std::string& file) {
  slides::FreeImageLibrary library;
  Ref<slides::Presentation> p = MakeRef<slides::Presentation>();
  p->SetFileName("Benchmark deck");
  for (int16_t n = 1; n <= static_cast<int16_t>(sizes.slides); ++n) {
    const std::string k = std::to_string(n);
    bench::SavePicture(bench::MakePicture(320, 240, static_cast<unsigned>(n)), true,
                       dir + "/slide" + k + ".png");
    bench::SavePicture(bench::MakePicture(80, 60, static_cast<unsigned>(n)), true,
                       dir + "/thumb" + k + ".png");
    Ref<slides::Slide> s = p->Slides()->Add(n, 0, dir + "/slide" + k + ".png");
    s->AddThumbnail(dir + "/thumb" + k + ".png", 0);
    s->Outlines()->Add(0, 0, 0, slides::NONE, "Slide " + k);
  }
  p->SetIsModified(true);
  p->WriteToDisk(file);
}

Ref<Dispatch> OpenDeck(const Ref<Dispatch>& session, const std::string& path, bool readSlides) {
  const Variant deck = CallByName(session, "GetPresentation", CallKind::Method);
  CallByName(ObjectOf(deck), "OpenFromDisk", CallKind::Method, path, readSlides);
  return Ref<Dispatch>(&ObjectOf(deck));
}

}  // namespace

int main(int argc, char** argv) {
  bench::CommandLine line(
      "phonesync",
      "Speed of the phone sync engine's presentation conduit over a phone of modified\n"
      "presentations: Init (the listing), header-only and full opens, marking as synchronised.");
  line.Count("slides", "slides of each presentation (at most 32,767)", &sizes.slides, 1, 32767);
  line.Count("categories", "category folders on the phone", &sizes.categories, 1, 1000);
  line.Count("per-category", "presentations in each category folder", &sizes.perCategory, 1,
             100000);
  line.Count("full", "presentations opened in full, for comparison", &sizes.full, 1, 100000);
  line.Count("repeat", "timed runs of Init; best and median are printed", &sizes.rounds, 1, 1000);
  line.ParseOrExit(argc, argv);
  bench::WorkFolder work("phonesync-bench", false);
  bench::Report report("phonesync", line.ResultsPath());
  const std::string dir = fs::SystemPath(work.path());
  setenv("BREVORA_HOME", (work.path() + "/home").c_str(), 1);
  int status = 0;
  try {
    const std::string phone = dir + "/phone";
    registry::ImportRegedit(
        "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia3650\\EPOCDevices\\Bench "
        "phone]\n"
        "\"DataPath\"=\"" +
        phone + "\"\n\"UID\"=\"1234567890\"\n");
    fs::MakeFolder(dir + "/pictures");
    const std::string model = dir + "/model.pdb";
    WriteDeck(dir + "/pictures", model);
    std::vector<std::string> files;
    for (int c = 1; c <= sizes.categories; ++c) {
      const std::string folder = phone + "/slidr/Category " + std::to_string(c);
      fs::MakeFolder(folder);
      for (int n = 1; n <= sizes.perCategory; ++n) {
        files.push_back(folder + "/Deck " + std::to_string(n) + ".pdb");
        fs::CopyFile(model, files.back(), false);
      }
    }

    const Ref<Dispatch> session = CreateObject("TabulynPC.Session");
    const auto picker = std::make_shared<FixedPicker>("/usr/bin/true");
    const Ref<bvsync::SyncSlidora> conduit = MakeRef<bvsync::SyncSlidora>(picker);
    std::vector<double> init;
    for (int round = 0; round <= sizes.rounds; ++round) {
      const auto start = Clock::now();
      const bool ok =
          conduit->Init("Bench phone", bvsync::SyncDir::sdSynchronize, session, nullptr);
      const double ms = Ms(start);
      if (!ok || conduit->Files().size() != files.size()) Fail("Init did not list every file");
      if (round > 0) init.push_back(ms);  // the first run warms the cache
    }
    std::sort(init.begin(), init.end());

    auto start = Clock::now();
    for (const std::string& f : files) {
      if (!CBool(CallByName(OpenDeck(session, f, false), "IsModified", CallKind::Get)))
        Fail("not modified");
    }
    const double headerOpens = Ms(start);

    const int kFull = std::min(sizes.full, static_cast<int>(files.size()));
    start = Clock::now();
    for (int i = 0; i < kFull; ++i) OpenDeck(session, files[static_cast<size_t>(i)], true);
    const double fullOpens = Ms(start);

    start = Clock::now();
    for (const std::string& f : files) {
      const Ref<Dispatch> deck = OpenDeck(session, f, false);
      CallByName(deck, "IsModified", CallKind::Let, false);
      CallByName(deck, "UpdateHeader", CallKind::Method);
    }
    const double marking = Ms(start);

    std::printf("phonesync: %zu presentations of %d slides, %.0f KB each, in %d category folders\n",
                files.size(), sizes.slides, static_cast<double>(fs::FileSize(model)) / 1e3,
                sizes.categories);
    std::printf("in %s\n", dir.c_str());
    std::printf("Init (list %zu modified files, warm): best %.2f ms, median %.2f ms of %d\n",
                files.size(), init.front(), init[init.size() / 2], sizes.rounds);
    std::printf("header-only opens: %.2f ms for %zu (%.3f ms each)\n", headerOpens, files.size(),
                headerOpens / static_cast<double>(files.size()));
    std::printf("full opens, for comparison: %.2f ms for %d (%.2f ms each)\n", fullOpens, kFull,
                fullOpens / kFull);
    std::printf("marking (header-only open + UpdateHeader): %.2f ms for %zu (%.2f ms each)\n",
                marking, files.size(), marking / static_cast<double>(files.size()));
    report.Figure("Init, " + std::to_string(files.size()) + " modified files",
                  init[init.size() / 2], "ms");
    report.Figure("header-only open", headerOpens / static_cast<double>(files.size()), "ms a file");
    report.Figure("full open", fullOpens / kFull, "ms a file");
    report.Figure("marking as synchronised", marking / static_cast<double>(files.size()),
                  "ms a file");
  } catch (const AutomationError& e) {
    std::fprintf(stderr, "phonesync: error %d: %s\n", e.number(), e.description().c_str());
    status = 1;
  }
  return status;
}
