// presentation: speed of the presentation database and of PNG colour-depth
// reduction in libtabrelpc.
//   - write and read a presentation of 40 slides (320x240 slide pictures with
//     256 colours, 80x60 thumbnails, a title and four outline lines and a note
//     per slide): WriteToDisk (building every record from the picture files,
//     temporary file, fsync, rename) and OpenFromDisk (reading the file and
//     unpacking 80 pictures into the image folder); best of 5.
//   - reduce 40 pictures of 800x600 at 24 bits to 8 bits (NeuQuant) with the
//     library path, each into its own target file.
// Wall-clock figures include waiting for the disk; CPU figures do not. The
// work folder (also BREVORA_HOME) is made in $TMPDIR (or /tmp) and removed
// however the run ends.
#include <FreeImage.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/work_folder.h"
#include "bench/pictures.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "slides/freeimage_bitmap.h"
#include "slides/freeimage_init.h"
#include "slides/png_reduction.h"
#include "slides/presentation.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace brevora;
using bench::MakePicture;
using bench::SavePicture;

int slideCount = 40;  // from the command line
int rounds = 5;
int reduced = 40;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "presentation: %s\n", what.c_str());
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
  void Take(double w, double c) {
    wall = std::min(wall, w);
    cpu = std::min(cpu, c);
  }
};

}  // namespace

int main(int argc, char** argv) {
  bench::CommandLine line(
      "presentation",
      "Speed of writing and reading a presentation database, and of PNG colour-depth reduction.");
  line.Count("slides", "slides of the presentation (at most 32,767)", &slideCount, 1, 32767);
  line.Count("pictures", "800 x 600 pictures reduced to 8 bits", &reduced, 1, 100000);
  line.Count("repeat", "rounds of the write and the read; the best is printed", &rounds, 1, 1000);
  line.ParseOrExit(argc, argv);
  bench::WorkFolder work("presentation-bench");
  bench::Report report("presentation", line.ResultsPath());
  const std::string dir = fs::SystemPath(work.path());
  int status = 0;
  try {
    slides::FreeImageLibrary library;
    uint64_t pictureBytes = 0;
    for (int n = 1; n <= std::max(slideCount, reduced); ++n) {
      const std::string k = std::to_string(n);
      if (n <= reduced)
        SavePicture(MakePicture(800, 600, static_cast<unsigned>(n)), false,
                    dir + "/big" + k + ".png");
      if (n > slideCount) continue;
      SavePicture(MakePicture(320, 240, static_cast<unsigned>(n)), true,
                  dir + "/slide" + k + ".png");
      SavePicture(MakePicture(80, 60, static_cast<unsigned>(n)), true, dir + "/thumb" + k + ".png");
      pictureBytes +=
          fs::FileSize(dir + "/slide" + k + ".png") + fs::FileSize(dir + "/thumb" + k + ".png");
    }

    const std::string file = dir + "/deck.pdb";
    Best write, read;
    for (int round = 0; round < rounds; ++round) {
      Ref<slides::Presentation> p = MakeRef<slides::Presentation>();
      p->SetFileName("Benchmark deck");
      for (int16_t n = 1; n <= static_cast<int16_t>(slideCount); ++n) {
        const std::string k = std::to_string(n);
        Ref<slides::Slide> s = p->Slides()->Add(n, 0, dir + "/slide" + k + ".png");
        s->AddThumbnail(dir + "/thumb" + k + ".png", 0);
        s->Outlines()->Add(0, 0, 0, slides::NONE, "Slide " + k + ": quarterly figures");
        for (int16_t line = 1; line <= 4; ++line) {
          s->Outlines()->Add(line, 0, 1, slides::CIRCLEBULLET,
                             "A point worth making, number " + std::to_string(line));
        }
        s->SetNoteText("Speaker note for slide " + k + ".\r\nSecond line of the note.");
      }
      auto start = Clock::now();
      double cpu = CpuSeconds();
      p->WriteToDisk(file);
      write.Take(Seconds(start), CpuSeconds() - cpu);

      Ref<slides::Presentation> back = MakeRef<slides::Presentation>();
      start = Clock::now();
      cpu = CpuSeconds();
      back->OpenFromDisk(file);
      read.Take(Seconds(start), CpuSeconds() - cpu);
      if (back->Slides()->Count() != slideCount) Fail("slide count differs");
      const auto last = back->Slides()->Item(Variant(slideCount));
      if (fs::ReadWholeFile(last->FilePath()) !=
          fs::ReadWholeFile(dir + "/slide" + std::to_string(slideCount) + ".png")) {
        Fail("picture differs");
      }
    }

    Best reduce;
    uint64_t reducedBytes = 0;
    {
      const auto start = Clock::now();
      const double cpu = CpuSeconds();
      for (int n = 1; n <= reduced; ++n) {
        const std::string k = std::to_string(n);
        int16_t depth = 8;
        slides::OptimizePngFileDLL(dir + "/big" + k + ".png", dir + "/small" + k + ".png", depth);
      }
      reduce.Take(Seconds(start), CpuSeconds() - cpu);
      for (int n = 1; n <= reduced; ++n)
        reducedBytes += fs::FileSize(dir + "/small" + std::to_string(n) + ".png");
    }

    std::printf("presentation: %d slides, %.0f KB of slide and thumbnail pictures, file %.0f KB\n",
                slideCount, static_cast<double>(pictureBytes) / 1e3,
                static_cast<double>(fs::FileSize(file)) / 1e3);
    std::printf("in %s\n", dir.c_str());
    std::printf("WriteToDisk:  %7.2f ms  (%.2f ms CPU)\n", write.wall * 1e3, write.cpu * 1e3);
    std::printf("OpenFromDisk: %7.2f ms  (%.2f ms CPU; unpacks %d pictures)\n", read.wall * 1e3,
                read.cpu * 1e3, 2 * slideCount);
    std::printf(
        "reduce %d pictures 800x600 24 -> 8 bits: %.0f ms  (%.1f ms each; %.0f ms CPU; %.0f KB "
        "out)\n",
        reduced, reduce.wall * 1e3, reduce.wall * 1e3 / reduced, reduce.cpu * 1e3,
        static_cast<double>(reducedBytes) / 1e3);
    report.Figure("WriteToDisk, " + std::to_string(slideCount) + " slides", write.wall * 1e3, "ms");
    report.Figure("OpenFromDisk, " + std::to_string(slideCount) + " slides", read.wall * 1e3, "ms");
    report.Figure("reduce an 800x600 picture to 8 bits", reduce.wall * 1e3 / reduced,
                  "ms a picture");
  } catch (const AutomationError& e) {
    std::fprintf(stderr, "presentation: error %d: %s\n", e.number(), e.description().c_str());
    status = 1;
  }
  return status;
}
