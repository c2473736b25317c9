// scriv_sync: speed of the document conduit.
//   - a no-change HotSync through the `hotsync` program of 2,000 documents of
//     4 KB (--documents takes a list of numbers, each measured on its own,
//     with the cost per document; in three categories) in step on both
//     sides: loading the plug-in,
//     listing and opening every handheld document, reading every desktop
//     document's header, writing the sync state;
//   - a changed 1 MB text copied to the handheld (the desktop file read, its
//     text escaped, cut into records and compressed, written to the device
//     folder) and back (the handheld document read and expanded, the desktop
//     file written through a temporary file);
//   - a 1,600 x 1,200 JPEG captured (loaded, halved, made 16-bit, turned into
//     a bitmap file image).
// --copy-only (or SCRIV_BENCH_ONLY_COPY in the environment) leaves out the
// HotSync. Runs in a work folder (also BREVORA_HOME) in $TMPDIR or /tmp,
// removed however the run ends.
#include <sys/resource.h>
#include <unistd.h>

#include <FreeImage.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "bench/english_text.h"
#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/timing.h"
#include "bench/lib/work_folder.h"
#include "conduit-doc/document_app_info.h"
#include "conduit-doc/handheld_document.h"
#include "conduit-doc/image_capture.h"
#include "conduit-doc/local_document.h"
#include "conduit-doc/record_codec.h"
#include "conduit-doc/text_header.h"
#include "platform/fs/files.h"
#include "platform/hotsync/database_writer.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/device_names.h"
#include "slides/freeimage_bitmap.h"
#include "testing/spawn.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace stdfs = std::filesystem;
using namespace brevora;
using namespace brevora::scriv;

// The sizes of the run, from the command line.
struct Sizes {
  int documentSize = 4096;  // bytes of each document of the HotSync
  int textSize = 1 << 20;   // bytes of the changed text
  int runs = 15;            // timed runs of each step
};
Sizes sizes;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "scriv_sync bench: %s\n", what.c_str());
  std::exit(1);
}

int Run(const std::vector<std::string>& args) {
  return brevora::testing::SpawnAndWait(HOTSYNC_PROGRAM, args, {.out = "/dev/null"});
}

std::span<const uint8_t> Span(std::string_view s) {
  return {reinterpret_cast<const uint8_t*>(s.data()), s.size()};
}

// A handheld document of `text` (HTML) in `category`, as the conduit writes one.
void PutDocument(const std::string& device, const std::string& name, const std::string& text,
                 uint8_t category) {
  hotsync::DatabaseHeader h;
  std::copy(name.begin(), name.end(), h.name.begin());
  h.type = {'z', 'I', 'Z', 'U'};
  h.creator = {'S', 'c', 'r', 'v'};
  h.version = 5;
  h.uniqueIDSeed = 1;
  const DocumentAppInfo block = DocumentAppInfo::Defaults();
  TextHeader header;
  header.textLength = static_cast<uint32_t>(text.size());
  std::vector<std::vector<uint8_t>> data;
  for (std::size_t at = 0; at < text.size(); at += 3072) {
    const std::string_view piece = std::string_view(text).substr(at, 3072);
    header.sizes.push_back(static_cast<uint16_t>(piece.size()));
    data.push_back(CompressRecord(Span(piece)));
  }
  data.insert(data.begin(), header.Bytes());
  data.push_back({2, 0});
  std::vector<hotsync::DatabaseWriter::Record> records;
  uint32_t id = 0;
  for (const auto& d : data) records.push_back({category, ++id, d});
  const hotsync::DatabaseWriter writer(h, block.bytes(), {}, std::move(records),
                                       hotsync::DatabaseWriter::Placement::Packed);
  const std::vector<uint8_t> bytes = writer.Bytes();
  std::ofstream(device + "/" + hotsync::DatabaseFileName(name), std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double SelfCpu() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

struct Timing {
  double median = 0;
  double best = 0;
  double cpu = 0;  // median CPU time of this process (without waiting for the disk)
};

// Milliseconds of `body` over `runs` runs.
Timing Time(int runs, const std::function<void()>& body) {
  std::vector<double> ms;
  std::vector<double> cpu;
  for (int i = 0; i < runs; ++i) {
    const double cpuBefore = SelfCpu();
    const auto start = Clock::now();
    body();
    ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    cpu.push_back(SelfCpu() - cpuBefore);
  }
  return {Median(ms), *std::min_element(ms.begin(), ms.end()), Median(cpu)};
}

void NoChangeHotSync(const std::string& home, int documents, bench::Report& report) {
  setenv("BREVORA_HOME", home.c_str(), 1);
  const std::string device = home + "/device";
  stdfs::create_directories(device);
  for (int i = 0; i < documents; ++i) {
    std::string text = "<html><body><p>" +
                       bench::EnglishText(static_cast<std::size_t>(sizes.documentSize) - 30,
                                          static_cast<uint32_t>(i)) +
                       "</p>";
    text += "</body></html>";
    PutDocument(device, "Document " + std::to_string(i), text, static_cast<uint8_t>(i % 3));
  }
  if (Run({"register", "--name", "Scrivane", "--library", SCRIV_PLUGIN, "--directory", "Scrivane",
           "--creator", "Scrv"}) != 0) {
    Fail("register");
  }
  // The first HotSync brings every document to the new desktop, the second
  // finds both sides in step and records it.
  for (int i = 0; i < 2; ++i) {
    if (Run({"sync", "--device", device, "--user", "Bench"}) != 0) Fail("first HotSyncs");
  }
  int files = 0;
  for (const auto& entry : stdfs::recursive_directory_iterator(home + "/HotSync/Bench/Scrivane")) {
    files += entry.is_regular_file();
  }
  if (files != documents) Fail("the desktop has " + std::to_string(files) + " files");

  auto cpu = [] {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
  };
  std::vector<double> cpuMs;
  const Timing sync = Time(sizes.runs, [&] {
    const double before = cpu();
    if (Run({"sync", "--device", device}) != 0) Fail("HotSync");
    cpuMs.push_back(cpu() - before);
  });
  std::ifstream log(home + "/HotSync/Bench/hotsync.log");
  const std::string text((std::istreambuf_iterator<char>(log)), {});
  const size_t at = text.rfind("--- HotSync");  // a log without one is reported below, not thrown
  const std::string last = at == std::string::npos ? text : text.substr(at);
  if (last.find("Copy ") != std::string::npos || last.find("OK Scrivane\n") == std::string::npos) {
    Fail("the last HotSync was not a clean one without changes:\n" + last);
  }
  std::printf(
      "no-change HotSync of %d documents of %s through the host: %.1f ms median, %.1f ms best; "
      "CPU %.1f ms median (%d runs)\n",
      documents,
      sizes.documentSize == 4096 ? "4 KB" : (std::to_string(sizes.documentSize) + " bytes").c_str(),
      sync.median, sync.best, Median(cpuMs), sizes.runs);
  std::printf("  %.4f ms a document (CPU %.4f)\n", sync.median / documents,
              Median(cpuMs) / documents);
  const std::string n = bench::Grouped(documents) + " documents";
  report.Figure("no-change HotSync, " + n, sync.median, "ms");
  report.Figure("no-change HotSync a document, " + n, sync.median / documents, "ms a document");
}

void OneMegabyte(const std::string& home, bench::Report& report) {
  const std::string device = home + "/device1";
  const std::string folder = home + "/copy/Scrivane/Business/";
  stdfs::create_directories(device);
  stdfs::create_directories(folder);
  const std::string path = folder + "Big.scv";
  std::string file =
      "1\r\n5\r\n1\r\n0\r\n\"\"\r\n0\r\n0\r\n0\r\n1\r\n2\r\n0\r\n\"Big\"\r\n\r\n0\r\n0\r\n0\r\n0\r"
      "\n\r\n";
  file += bench::EnglishText(static_cast<std::size_t>(sizes.textSize), 7);
  fs::AtomicWrite(path, file);
  hotsync::DeviceSession session(device);

  const auto toHandheld = Time(sizes.runs, [&] {
    CLocalDocumentEx local;
    std::string problem;
    if (local.OpenPath(path) != CLocalDocument::OpenResult::Opened || !local.ReadDocument(problem))
      Fail("read " + problem);
    CHandheldDocument_V5 db;
    db.SetName("Big");
    db.Delete();  // the copy writes a new database
    if (!db.OpenOrCreate("Big", "Business", 1) || db.RecordCount() != 0 ||
        local.WriteToDevice(db) != conduit::CopyStep::Done) {
      Fail("write");
    }
    db.ClearModified();
    db.CopyHeaderFrom(local.document().header);
    if (!db.WriteAppInfo() || !db.Close()) Fail("close");
  });
  const std::string back = folder + "Back.scv";
  const auto toDesktop = Time(sizes.runs, [&] {
    CHandheldDocument_V5 db;
    if (!db.Open("Big", "Business") || !db.ReadState()) Fail("open");
    CLocalDocumentEx local;
    CDocumentHeader header;
    db.CopyHeaderTo(header);
    local.WriteHeader(header);
    std::string problem;
    if (db.CopyDocument(local, problem) != conduit::CopyStep::Done) Fail("copy " + problem);
    fs::AtomicFile out(back);
    out.Write(local.Bytes());
    out.Commit();
    db.ClearModified();
    if (!db.WriteAppInfo() || !db.Close()) Fail("close");
  });
  report.Figure("changed text to the handheld", toHandheld.median, "ms");
  report.Figure("changed text back to the desktop", toDesktop.median, "ms");
  std::printf(
      "a changed %s text to the handheld: %.1f ms median, %.1f ms best, CPU %.1f ms median; "
      "back: %.1f ms median, %.1f ms best, CPU %.1f ms median (%d runs; the device folder's file "
      "is "
      "written and flushed to disk on each close)\n",
      sizes.textSize == (1 << 20) ? "1 MB" : (std::to_string(sizes.textSize) + "-byte").c_str(),
      toHandheld.median, toHandheld.best, toHandheld.cpu, toDesktop.median, toDesktop.best,
      toDesktop.cpu, sizes.runs);
}

void Picture(const std::string& home, bench::Report& report) {
  const std::string path = home + "/photo.jpg";
  {
    slides::FreeImageLibrary library;
    slides::Bitmap photo(FreeImage_Allocate(1600, 1200, 24));
    uint32_t noise = 1;
    for (int y = 0; y < 1200; ++y) {
      BYTE* line = FreeImage_GetScanLine(photo.get(), y);
      for (int x = 0; x < 1600; ++x) {
        noise = noise * 1103515245u + 12345u;
        line[3 * x + FI_RGBA_RED] = static_cast<BYTE>(x * 255 / 1599);
        line[3 * x + FI_RGBA_GREEN] = static_cast<BYTE>(y * 255 / 1199);
        line[3 * x + FI_RGBA_BLUE] = static_cast<BYTE>((x ^ y) + (noise >> 28));
      }
    }
    if (!FreeImage_Save(FIF_JPEG, photo.get(), path.c_str(), JPEG_QUALITYGOOD)) Fail("the JPEG");
  }
  const ImageObject images = CreateImageObject();
  std::size_t size = 0;
  const auto captured = Time(sizes.runs, [&] {
    const auto bits = CaptureImageBits(images, path);
    if (!bits) Fail("capture");
    size = bits->size();
  });
  report.Figure("1,600 x 1,200 JPEG captured", captured.median, "ms");
  std::printf(
      "a 1,600 x 1,200 JPEG captured (%zu bytes at 800 x 600): %.1f ms median, %.1f ms best (%d "
      "runs)\n",
      size, captured.median, captured.best, sizes.runs);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<int64_t> documentCounts = {2000};
  bool copyOnly = std::getenv("SCRIV_BENCH_ONLY_COPY") != nullptr;
  bench::CommandLine line(
      "scriv_sync",
      "Speed of the document conduit: a no-change HotSync through the hotsync program for each\n"
      "number of documents given, a changed text copied each way, and a JPEG captured.");
  line.Counts("documents", "numbers of documents for the no-change HotSync, one set-up each",
              &documentCounts, 1, 1000000);
  line.Count("document-size", "bytes of each of those documents", &sizes.documentSize, 100,
             1 << 20);
  line.Count("text", "bytes of the changed text", &sizes.textSize, 1, 64 << 20);
  line.Count("repeat", "timed runs of each step; medians are printed", &sizes.runs, 1, 10000);
  line.Flag("copy-only", "leave out the HotSync (as SCRIV_BENCH_ONLY_COPY does)", &copyOnly);
  line.ParseOrExit(argc, argv);
  bench::WorkFolder work("scriv-sync-bench");
  bench::Report report("scriv_sync", line.ResultsPath());
  if (!copyOnly) {
    for (const int64_t n : documentCounts) {
      NoChangeHotSync(work.path() + "/n" + std::to_string(n), static_cast<int>(n), report);
    }
  }
  const std::string home = work.path() + "/copy-home";
  fs::MakeFolder(home);
  setenv("BREVORA_HOME", home.c_str(), 1);
  OneMegabyte(home, report);
  Picture(home, report);
  return 0;
}
