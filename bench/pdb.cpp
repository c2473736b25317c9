// pdb: speed of the handheld database file of libtabrelpc: writing and reading
// a database of 10,000 records of 100 to 4,000 bytes (a file in the temporary
// folder, removed at the end). Write includes the temporary file, fsync and
// rename (the wall-clock figure includes waiting for the disk, the CPU figure
// does not); read includes reading the file and setting up every record. Every
// read is checked against what was written. MB means 10^6 bytes of record data.
// The folder is $TMPDIR (or /tmp).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

#include "core/handheld_database.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"

namespace {

using Clock = std::chrono::steady_clock;
using brevora::core::HandheldDatabase;
using brevora::core::DatabaseRecord;
using brevora::core::RecordRef;

constexpr int kRecords = 10000;
constexpr int kRounds = 5;  // best of

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "pdb: %s\n", what);
  std::exit(1);
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// CPU time of this thread (user and system), without the waits for the disk.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

}  // namespace

int main() {
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
    for (int i = 0; i < kRecords; ++i) {
      std::vector<uint8_t> data(static_cast<size_t>(size(random)));
      for (uint8_t& b : data) b = static_cast<uint8_t>(byte(random));
      dataBytes += data.size();
      RecordRef rec = brevora::MakeRef<DatabaseRecord>();
      rec->SetUniqueID(i + 1);
      rec->SetData(std::move(data));
      db.Records().Add(rec);
    }

    brevora::fs::TempFileGuard file(brevora::fs::MakeTempFile("pdb-bench-", ".pdb"));
    double bestWrite = 1e30, bestWriteCpu = 1e30;
    for (int round = 0; round < kRounds; ++round) {
      const auto start = Clock::now();
      const double cpu = CpuSeconds();
      db.WriteFile(file.path());
      bestWriteCpu = std::min(bestWriteCpu, CpuSeconds() - cpu);
      bestWrite = std::min(bestWrite, Seconds(start));
    }

    double bestRead = 1e30, bestReadCpu = 1e30;
    for (int round = 0; round < kRounds; ++round) {
      HandheldDatabase read;
      const auto start = Clock::now();
      const double cpu = CpuSeconds();
      read.ReadFile(file.path(), true);
      bestReadCpu = std::min(bestReadCpu, CpuSeconds() - cpu);
      bestRead = std::min(bestRead, Seconds(start));
      if (read.Records().Count() != kRecords) Fail("record count differs");
      for (int i = 1; i <= kRecords; ++i) {
        const auto got = read.Records().Item(i)->Data();
        const auto want = db.Records().Item(i)->Data();
        if (!std::equal(got.begin(), got.end(), want.begin(), want.end())) {
          Fail("record data differs");
        }
      }
    }

    const double mb = static_cast<double>(dataBytes) / 1e6;
    std::printf("pdb: %d records, %.1f MB of record data, file %.1f MB\n", kRecords, mb,
                static_cast<double>(brevora::fs::FileSize(file.path())) / 1e6);
    std::printf("in %s\n", brevora::fs::TempDir().c_str());
    std::printf("write: %8.1f MB/s  (%.2f ms; %8.1f MB per CPU second)\n", mb / bestWrite,
                bestWrite * 1e3, mb / bestWriteCpu);
    std::printf("read:  %8.1f MB/s  (%.2f ms; %8.1f MB per CPU second)\n", mb / bestRead,
                bestRead * 1e3, mb / bestReadCpu);
    return 0;
  } catch (const brevora::AutomationError& e) {
    std::fprintf(stderr, "pdb: error %d: %s\n", e.number(), e.description().c_str());
    return 1;
  }
}
