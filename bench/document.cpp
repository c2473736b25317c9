// document: speed of the word-processor document conversions of libtabrelpc on
// a 2 MB generated English text: plain text -> .scv, .scv -> compressed
// handheld document database and back to .scv, and the same through a
// compressed PalmDOC database. Each step opens one file and writes the next;
// best of 5, wall clock and CPU time of the thread (the CPU figure leaves out
// waiting for the disk; every write ends with fsync and rename). The text is
// checked after the round trips. Work files live in a work folder under
// $TMPDIR (or /tmp), which is also the BREVORA_HOME of the run, so the real
// home is never touched; it is removed however the run ends.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

#include "bench/english_text.h"
#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/work_folder.h"
#include "doc/document.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace {

using Clock = std::chrono::steady_clock;
using brevora::MakeRef;
using brevora::Ref;
using brevora::doc::Document;
namespace fs = brevora::fs;

int rounds = 5;  // best of; from the command line

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "document: %s\n", what.c_str());
  std::exit(1);
}

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Best {
  double wall = 1e30;
  double cpu = 1e30;
};

Best Time(const std::function<void()>& step) {
  Best best;
  for (int round = 0; round < rounds; ++round) {
    const auto start = Clock::now();
    const double cpu = CpuSeconds();
    step();
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu);
    best.wall = std::min(best.wall, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

std::string Text(Document& doc) {
  std::string text;
  for (const auto& block : doc.DocumentBlocks()) text += block->Text();
  return text;
}

brevora::bench::Report* report = nullptr;

void Print(const char* step, const Best& best, const std::string& file) {
  report->Figure(step, best.wall * 1e3, "ms");
  std::printf("%-34s %7.1f ms  (CPU %6.1f ms)  %8.0f kB\n", step, best.wall * 1e3, best.cpu * 1e3,
              static_cast<double>(fs::FileSize(file)) / 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  int64_t textSize = 2'000'000;
  brevora::bench::CommandLine line(
      "document",
      "Speed of the document conversions on generated English text: text, .scv, the\n"
      "handheld document database and PalmDOC.");
  line.Count("text", "bytes of text", &textSize, 1, int64_t{1} << 30);
  line.Count("repeat", "rounds of each step; the best is printed", &rounds, 1, 1000);
  line.ParseOrExit(argc, argv);
  brevora::bench::WorkFolder work("document-bench");
  brevora::bench::Report figures("document", line.ResultsPath());
  report = &figures;
  const std::string dir = fs::SystemPath(work.path());
  int status = 0;
  try {
    const std::string txt = dir + "/book.txt";
    const std::string scv = dir + "/book.scv";
    const std::string database = dir + "/book.pdb";
    const std::string back = dir + "/back.scv";
    const std::string palm = dir + "/palm.pdb";
    const std::string palmBack = dir + "/palmback.scv";
    fs::AtomicWrite(txt, brevora::bench::EnglishText(static_cast<size_t>(textSize), 7));

    std::printf("document: %.1f MB of text (%s)\n", static_cast<double>(fs::FileSize(txt)) / 1e6,
                dir.c_str());
    Print("text -> .scv", Time([&] {
            Ref<Document> doc = MakeRef<Document>();
            doc->OpenFromTextFile(txt);
            doc->WriteToDisk(scv);
          }),
          scv);
    Print(".scv -> handheld db (compressed)", Time([&] {
            Ref<Document> doc = MakeRef<Document>();
            doc->OpenFromDisk(scv, true);
            doc->WriteToPDB(database);
          }),
          database);
    Print("handheld db -> .scv", Time([&] {
            Ref<Document> doc = MakeRef<Document>();
            doc->OpenFromPDB(database);
            doc->WriteToDisk(back);
          }),
          back);
    Print(".scv -> PalmDOC (compressed)", Time([&] {
            Ref<Document> doc = MakeRef<Document>();
            doc->OpenFromDisk(scv, true);
            doc->WriteToDOCPDB(palm);
          }),
          palm);
    Print("PalmDOC -> .scv", Time([&] {
            Ref<Document> doc = MakeRef<Document>();
            doc->OpenFromDOCPDB(palm);
            doc->WriteToDisk(palmBack);
          }),
          palmBack);

    // The text survives both round trips (the expander gives CR back as LF,
    // and the desktop file reads either as a line break).
    Ref<Document> original = MakeRef<Document>();
    original->OpenFromDisk(scv, true);
    for (const std::string& file : {back, palmBack}) {
      Ref<Document> copy = MakeRef<Document>();
      copy->OpenFromDisk(file, true);
      if (Text(*copy) != Text(*original)) Fail("the text of " + file + " differs");
    }
  } catch (const brevora::AutomationError& e) {
    std::fprintf(stderr, "document: error %d: %s\n", e.number(), e.description().c_str());
    status = 1;
  }
  return status;
}
