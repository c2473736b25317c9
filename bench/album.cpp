// album: speed of the album tool's picture pipeline on a 12-megapixel photo
// (4000 x 3000, JPEG at quality 90, made here: smooth gradients under fine
// noise and texture, which a camera's photo resembles more than a flat test
// picture does).
//   - save: what Save As does for one entry: load and decode the JPEG once,
//     resample it to the 80 x 60 thumbnail and the 320 x 240 slide picture,
//     reduce both to 8 bits (NeuQuant) and write both PNGs (temporary file +
//     rename); best of 5, with the load alone beside it.
//   - preview: what a click on the entry costs: load and decode, resample to
//     the preview box of a new window (400 x 311), and the picture for Qt.
//   - round: a click on the entry and then Save As, as the window does them:
//     the picture decoded once for the preview (DecodedPicture) and the save
//     taking it from there; beside it the three steps above added up, each of
//     which decodes the photo again.
//   - the machine: touching 36 MB of newly mapped memory, the size of the
//     decoded photo, which the load pays for once per picture; on a virtual
//     machine whose memory the host hands out on first touch this alone can
//     be most of the load.
// The process is held on one CPU. Wall-clock figures include the disk; CPU
// figures do not. The work folder (also BREVORA_HOME) is made in $TMPDIR (or
// /tmp) and removed however the run ends.
#include <FreeImage.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/mman.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "album/app/dib_qimage.h"
#include "album/decoded_picture.h"
#include "album/image_pipeline.h"
#include "album/picture_messages.h"
#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/work_folder.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brevora;

int width = 4000;  // from the command line
int height = 3000;
int rounds = 5;
constexpr int kBoxWidth = 400;
constexpr int kBoxHeight = 311;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "album: %s\n", what.c_str());
  std::exit(1);
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Best {
  double wall = 1e30;
  double cpu = 1e30;
  template <class F>
  void Time(F&& f) {
    const auto start = Clock::now();
    const double cpu0 = CpuSeconds();
    f();
    wall = std::min(wall, Seconds(start));
    cpu = std::min(cpu, CpuSeconds() - cpu0);
  }
  void Print(const char* what, bench::Report& report) const {
    std::printf("  %-34s %7.1f ms wall  %7.1f ms CPU\n", what, wall * 1e3, cpu * 1e3);
    report.Figure(what, wall * 1e3, "ms");
  }
};

void WritePhoto(const std::string& path) {
  std::mt19937 random(2024);
  slides::Bitmap rgb(FreeImage_Allocate(width, height, 24));
  for (int y = 0; y < height; ++y) {
    BYTE* line = FreeImage_GetScanLine(rgb.get(), y);
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(random() % 16) - 8;
      const int texture = ((x / 7 + y / 5) % 9) * 3;
      auto clamp = [](int v) { return static_cast<BYTE>(std::clamp(v, 0, 255)); };
      line[x * 3 + FI_RGBA_RED] = clamp(60 + x * 150 / width + noise + texture);
      line[x * 3 + FI_RGBA_GREEN] = clamp(90 + y * 120 / height + noise);
      line[x * 3 + FI_RGBA_BLUE] = clamp(200 - (x + y) * 150 / (width + height) + noise - texture);
    }
  }
  if (!FreeImage_Save(FIF_JPEG, rgb.get(), fs::NativePath(path).c_str(), 90))
    Fail("cannot write the photo");
}

// Maps the size of the decoded photo (36 MB at 4000 x 3000), touches every
// page, unmaps.
void TouchNewMemory() {
  const size_t size = static_cast<size_t>(width) * height * 3;
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) Fail("cannot map memory");
  volatile char* bytes = static_cast<char*>(p);
  for (size_t i = 0; i < size; i += 4096) bytes[i] = 1;
  munmap(p, size);
}

}  // namespace

int main(int argc, char** argv) {
  bench::CommandLine line(
      "album",
      "Speed of the album tool's picture pipeline on a generated photo: load, save (thumbnail and\n"
      "slide picture) and preview; and the machine's cost of new memory of the photo's size.");
  line.Count("width", "pixels across the photo", &width, 16, 20000);
  line.Count("height", "pixels down the photo", &height, 16, 20000);
  line.Count("repeat", "rounds; the best is printed", &rounds, 1, 1000);
  line.ParseOrExit(argc, argv);
  bench::WorkFolder work("album-bench");
  bench::Report report("album", line.ResultsPath());
  cpu_set_t one;
  CPU_ZERO(&one);
  CPU_SET(sched_getcpu(), &one);
  if (sched_setaffinity(0, sizeof one, &one) != 0) Fail("cannot hold the process on one CPU");

  const std::string dir = fs::SystemPath(work.path()) + "/";
  int status = 0;
  try {
    album::PictureLibrary library;
    const std::string photo = dir + "photo.jpg";
    WritePhoto(photo);

    Best load, save, preview, clickAndSave, memory;
    for (int round = 0; round < rounds; ++round) {
      memory.Time(TouchNewMemory);
      load.Time([&] { album::DecodePicture(photo); });
      std::vector<album::SlideNode> entries(1);
      entries[0].fullPath = photo;
      entries[0].slideNumber = 1;
      save.Time([&] { album::MakeAllSlideImages(dir, entries, 320, 240, 8); });
      QImage shown;
      preview.Time([&] {
        const auto picture = album::PreviewPicture(photo, kBoxWidth, kBoxHeight);
        if (!picture || !album::RenderDib(*picture, shown)) Fail("no preview");
      });
      if (shown.width() != kBoxWidth || shown.height() != kBoxHeight)
        Fail("preview of the wrong size");
      clickAndSave.Time([&] {
        album::DecodedPicture decoded;
        const auto fitted = album::FitPreview(decoded.Decode(photo), kBoxWidth, kBoxHeight);
        if (!fitted || !album::RenderDib(*fitted, shown)) Fail("no preview");
        album::MakeAllSlideImages(dir, entries, 320, 240, 8, &decoded);
      });
    }
    std::printf("album: a %d x %d JPEG of %.1f MB, best of %d, one CPU\n", width, height,
                static_cast<double>(fs::FileSize(photo)) / 1e6, rounds);
    load.Print("load and decode to 24 bits", report);
    save.Print("save: thumbnail + 320x240 at 8 bits", report);
    preview.Print("preview (400 x 311 box)", report);
    clickAndSave.Print("round: click, Save As, decoded once", report);
    std::printf("  %-34s %7.1f ms wall  %7.1f ms CPU\n", "  the three steps above, added",
                (load.wall + save.wall + preview.wall) * 1e3,
                (load.cpu + save.cpu + preview.cpu) * 1e3);
    const std::string touch = "machine: touch " +
                              std::to_string(static_cast<int64_t>(width) * height * 3 / 1000000) +
                              " MB of new memory";
    memory.Print(touch.c_str(), report);
    std::printf("  written: image1_thumb.png %llu bytes, image1.png %llu bytes\n",
                static_cast<unsigned long long>(fs::FileSize(dir + "image1_thumb.png")),
                static_cast<unsigned long long>(fs::FileSize(dir + "image1.png")));
  } catch (const AutomationError& e) {
    std::fprintf(stderr, "album: error %d: %s\n", e.number(), e.description().c_str());
    status = 1;
  }
  return status;
}
