// pdb: speed of the handheld database file of libtabrelpc: writing and reading
// a database of 10,000 records of 100 to 4,000 bytes (a file in the work
// folder). Write includes the temporary file, fsync and rename (the wall-clock
// figure includes waiting for the disk, the CPU figure does not); read
// includes reading the file and setting up every record. Every read is checked
// against what was written. MB means 10^6 bytes of record data.
// Beside the reads, in the same rounds, the peer: a plain open, fstat, read()
// of the whole file into a buffer of its size and close, as a C program reads
// a file; and the file read alone (fs::ReadWholeFile), which the database read
// is built on.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/timing.h"
#include "bench/lib/work_folder.h"
#include "core/handheld_database.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace {

using namespace brevora::bench;
using brevora::core::DatabaseRecord;
using brevora::core::HandheldDatabase;
using brevora::core::RecordRef;

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "pdb: %s\n", what);
  std::exit(1);
}

// The peer: the whole file with one read() into a buffer of its size.
size_t PlainRead(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open the file");
  struct stat st {};
  if (fstat(fd, &st) != 0) Fail("cannot stat the file");
  const size_t size = static_cast<size_t>(st.st_size);
  const std::unique_ptr<uint8_t[]> buffer(new uint8_t[size]);
  size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, buffer.get() + got, size - got);
    if (n <= 0) Fail("cannot read the file");
    got += static_cast<size_t>(n);
  }
  close(fd);
  return got + buffer[size / 2] * 0;  // the buffer is used
}

}  // namespace

int main(int argc, char** argv) {
  int records = 10000;
  int rounds = 5;
  CommandLine line(
      "pdb",
      "Speed of writing and reading a handheld database file of records of 100 to 4,000 bytes,\n"
      "beside a plain read() of the same file in the same rounds.");
  line.Count("records", "records in the database (at most 65,535)", &records, 1, 65535);
  int small_files = 2000;
  line.Count("small-files", "small database files read one by one, beside read()", &small_files, 1,
             1000000);
  line.Count("repeat", "rounds; the best is printed, the table also has median and worst", &rounds,
             1, 1000);
  line.ParseOrExit(argc, argv);
  WorkFolder work("pdb-bench");
  Report report("pdb", line.ResultsPath());
  try {
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> size(100, 4000);
    std::uniform_int_distribution<int> byte(0, 255);

    HandheldDatabase db;
    db.SetName("Benchmark");
    db.SetType("DATA");
    db.SetCreator("bnch");
    db.SetAppInfoBlock(std::string(512, 'a'));
    uint64_t dataBytes = 0;
    for (int i = 0; i < records; ++i) {
      std::vector<uint8_t> data(static_cast<size_t>(size(random)));
      for (uint8_t& b : data) b = static_cast<uint8_t>(byte(random));
      dataBytes += data.size();
      RecordRef rec = brevora::MakeRef<DatabaseRecord>();
      rec->SetUniqueID(i + 1);
      rec->SetData(std::move(data));
      db.Records().Add(rec);
    }
    const std::string file = work.path() + "/bench.pdb";
    const double mb = static_cast<double>(dataBytes) / 1e6;

    Samples write_ms, write_cpu;
    for (int round = 0; round < rounds; ++round) {
      const Timing t = Measure(1, CpuClock::Thread, [&] { db.WriteFile(file); });
      write_ms.Add(t.wall_ms.Min());
      write_cpu.Add(t.cpu_ms.Min());
    }
    const double fileMb = static_cast<double>(brevora::fs::FileSize(file)) / 1e6;

    Samples read_ms, read_cpu, whole_ms, plain_ms;
    for (int round = 0; round < rounds; ++round) {
      HandheldDatabase read;
      const Timing t = Measure(1, CpuClock::Thread, [&] { read.ReadFile(file, true); });
      read_ms.Add(t.wall_ms.Min());
      read_cpu.Add(t.cpu_ms.Min());
      if (read.Records().Count() != records) Fail("record count differs");
      for (int i = 1; i <= records; ++i) {
        const auto got = read.Records().Item(i)->Data();
        const auto want = db.Records().Item(i)->Data();
        if (!std::equal(got.begin(), got.end(), want.begin(), want.end()))
          Fail("record data differs");
      }
      size_t whole = 0;
      whole_ms.Add(Measure(1, CpuClock::Thread, [&] {
                     whole = brevora::fs::ReadWholeFile(file).size();
                   }).wall_ms.Min());
      size_t plain = 0;
      plain_ms.Add(Measure(1, CpuClock::Thread, [&] { plain = PlainRead(file); }).wall_ms.Min());
      if (whole != plain || static_cast<double>(whole) != fileMb * 1e6)
        Fail("the reads differ in size");
    }

    // Small files: each read whole, in turn with the peer.
    std::vector<std::string> smalls;
    std::uniform_int_distribution<int> small_size(200, 4000);
    brevora::fs::MakeFolder(work.path() + "/small");
    for (int i = 0; i < small_files; ++i) {
      smalls.push_back(work.path() + "/small/db" + std::to_string(i) + ".pdb");
      brevora::fs::AtomicWrite(smalls.back(),
                               std::string(static_cast<size_t>(small_size(random)), 's'));
    }
    Samples small_whole_us, small_plain_us;
    for (int round = 0; round < rounds; ++round) {
      size_t a = 0, b = 0;
      small_whole_us.Add(Measure(1, CpuClock::Thread,
                                 [&] {
                                   for (const std::string& f : smalls)
                                     a += brevora::fs::ReadWholeFile(f).size();
                                 })
                             .wall_ms.Min() *
                         1e3 / small_files);
      small_plain_us.Add(Measure(1, CpuClock::Thread,
                                 [&] {
                                   for (const std::string& f : smalls) b += PlainRead(f);
                                 })
                             .wall_ms.Min() *
                         1e3 / small_files);
      if (a != b) Fail("the small reads differ in size");
    }

    std::printf("pdb: %d records, %.1f MB of record data, file %.1f MB\n", records, mb, fileMb);
    std::printf("in %s\n", work.path().c_str());
    std::printf("write: %8.1f MB/s  (%.2f ms; %8.1f MB per CPU second)\n",
                mb / (write_ms.Min() / 1e3), write_ms.Min(), mb / (write_cpu.Min() / 1e3));
    std::printf("read:  %8.1f MB/s  (%.2f ms; %8.1f MB per CPU second)\n",
                mb / (read_ms.Min() / 1e3), read_ms.Min(), mb / (read_cpu.Min() / 1e3));
    std::printf(
        "file read alone (ReadWholeFile): %.2f ms; plain read() of the file: %.2f ms (best of "
        "%d)\n",
        whole_ms.Min(), plain_ms.Min(), rounds);
    std::printf(
        "%d small files read whole: %.2f us a file; plain read(): %.2f us a file (best of %d)\n",
        small_files, small_whole_us.Min(), small_plain_us.Min(), rounds);
    report.Figure("write", write_ms, "ms");
    report.Compare("database read", read_ms, "read()", plain_ms, "ms");
    report.Compare("file read (ReadWholeFile)", whole_ms, "read()", plain_ms, "ms");
    report.Compare("small file read (ReadWholeFile)", small_whole_us, "read()", small_plain_us,
                   "us a file");
    return 0;
  } catch (const brevora::AutomationError& e) {
    std::fprintf(stderr, "pdb: error %d: %s\n", e.number(), e.description().c_str());
    return 1;
  }
}
