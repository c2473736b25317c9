// palmdoc: speed of the PalmDOC codec of libtabrelc on generated English text,
// (a) record by record (4,096-byte records, as document databases store them)
// and (b) a 1 MB text in one call; also the compression ratio. Every result is
// checked: expanding the compressed form must give the text back.
// Beside (a), in the same rounds, the same records through the peers found when
// the benchmark was built: LZ4 HC at level 9 and zstd at level 1 (each with a
// context reused from record to record, their fastest way to compress
// independent blocks).
// MB means 10^6 bytes; both directions count the uncompressed bytes.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#ifdef BENCH_HAVE_LZ4
#include <lz4.h>
#include <lz4hc.h>
#endif
#ifdef BENCH_HAVE_ZSTD
#include <zstd.h>
#endif

#include "bench/english_text.h"
#include "bench/lib/command_line.h"
#include "bench/lib/report.h"
#include "bench/lib/timing.h"
#include "support/tabrelc.h"

namespace {

using namespace brevora::bench;
using Bytes = std::vector<uint8_t>;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "palmdoc: %s\n", what.c_str());
  std::exit(1);
}

// One codec: compress and expand whole pieces into buffers of a given room.
struct Codec {
  std::string name;
  std::function<size_t(size_t)> room;  // room for the compressed form of n bytes
  std::function<int64_t(const uint8_t*, size_t, uint8_t*, size_t)> compress;  // < 0: failed
  std::function<int64_t(const uint8_t*, size_t, uint8_t*, size_t)> expand;
  bool cr_as_lf = false;  // the expander gives CR back as LF
};

Codec PalmDoc() {
  return {
      "PalmDOC", [](size_t n) { return 2 * n; },
      [](const uint8_t* s, size_t n, uint8_t* d, size_t cap) {
        return int64_t{CompressString(s, static_cast<int32_t>(n), d, static_cast<int32_t>(cap))};
      },
      [](const uint8_t* s, size_t n, uint8_t* d, size_t cap) {
        return int64_t{DecompressString(s, static_cast<int32_t>(n), d, static_cast<int32_t>(cap))};
      },
      true};
}

std::vector<Codec> Peers() {
  std::vector<Codec> peers;
#ifdef BENCH_HAVE_LZ4
  static LZ4_streamHC_t* const lz4 = LZ4_createStreamHC();
  if (!lz4) Fail("no memory for LZ4");
  peers.push_back(
      {"LZ4 HC-9",
       [](size_t n) { return static_cast<size_t>(LZ4_compressBound(static_cast<int>(n))); },
       [](const uint8_t* s, size_t n, uint8_t* d, size_t cap) {
         LZ4_resetStreamHC_fast(lz4, 9);
         const int r = LZ4_compress_HC_continue(lz4, reinterpret_cast<const char*>(s),
                                                reinterpret_cast<char*>(d), static_cast<int>(n),
                                                static_cast<int>(cap));
         return int64_t{r > 0 ? r : -1};
       },
       [](const uint8_t* s, size_t n, uint8_t* d, size_t cap) {
         return int64_t{LZ4_decompress_safe(reinterpret_cast<const char*>(s),
                                            reinterpret_cast<char*>(d), static_cast<int>(n),
                                            static_cast<int>(cap))};
       }});
#endif
#ifdef BENCH_HAVE_ZSTD
  static ZSTD_CCtx* const cctx = ZSTD_createCCtx();
  static ZSTD_DCtx* const dctx = ZSTD_createDCtx();
  if (!cctx || !dctx) Fail("no memory for zstd");
  peers.push_back({"zstd -1", [](size_t n) { return ZSTD_compressBound(n); },
                   [](const uint8_t* s, size_t n, uint8_t* d, size_t cap) {
                     const size_t r = ZSTD_compressCCtx(cctx, d, cap, s, n, 1);
                     return ZSTD_isError(r) ? int64_t{-1} : static_cast<int64_t>(r);
                   },
                   [](const uint8_t* s, size_t n, uint8_t* d, size_t cap) {
                     const size_t r = ZSTD_decompressDCtx(dctx, d, cap, s, n);
                     return ZSTD_isError(r) ? int64_t{-1} : static_cast<int64_t>(r);
                   }});
#endif
  return peers;
}

// A codec's work on one text cut into pieces: the compressed pieces and the
// rate of each round.
struct Run {
  std::vector<Bytes> buffers;
  std::vector<int64_t> sizes;
  size_t packed_bytes = 0;
  Samples compress_mb_s;
  Samples expand_mb_s;
};

class Pieces {
 public:
  Pieces(const std::string& text, size_t piece_size) : text_(text), piece_(piece_size) {}
  size_t count() const { return (text_.size() + piece_ - 1) / piece_; }
  const uint8_t* at(size_t i) const {
    return reinterpret_cast<const uint8_t*>(text_.data()) + i * piece_;
  }
  size_t size(size_t i) const { return std::min(piece_, text_.size() - i * piece_); }
  size_t piece_size() const { return piece_; }
  const std::string& text() const { return text_; }

 private:
  const std::string& text_;
  size_t piece_;
};

double Mb(const std::string& text) { return static_cast<double>(text.size()) / 1e6; }

void CompressRound(const Codec& codec, const Pieces& pieces, Run& run) {
  if (run.buffers.empty()) {
    run.buffers.assign(pieces.count(), Bytes(codec.room(pieces.piece_size())));
    run.sizes.assign(pieces.count(), 0);
  }
  const double start = WallMs();
  for (size_t i = 0; i < pieces.count(); ++i) {
    run.sizes[i] =
        codec.compress(pieces.at(i), pieces.size(i), run.buffers[i].data(), run.buffers[i].size());
  }
  run.compress_mb_s.Add(Mb(pieces.text()) / ((WallMs() - start) / 1e3));
  run.packed_bytes = 0;
  for (const int64_t size : run.sizes) {
    if (size < 0) Fail(codec.name + ": compression failed");
    run.packed_bytes += static_cast<size_t>(size);
  }
}

// Expands every piece; checks the result against the text.
void ExpandRound(const Codec& codec, const Pieces& pieces, Run& run) {
  const std::string& text = pieces.text();
  Bytes out(text.size() + 16);
  size_t total = 0;
  const double start = WallMs();
  for (size_t i = 0; i < pieces.count(); ++i) {
    const int64_t n =
        codec.expand(run.buffers[i].data(), static_cast<size_t>(run.sizes[i]), out.data() + total,
                     std::min(pieces.piece_size(), out.size() - total));
    if (n < 0) Fail(codec.name + ": expansion failed");
    total += static_cast<size_t>(n);
  }
  run.expand_mb_s.Add(Mb(text) / ((WallMs() - start) / 1e3));
  // The text holds CR LF; the PalmDOC expander gives LF for a CR written as a
  // literal and copies what it wrote before, so compare with CR read as LF.
  if (total != text.size()) Fail(codec.name + ": expanded size differs from the text");
  for (size_t i = 0; i < total; ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    if (out[i] != (codec.cr_as_lf && c == 0x0D ? 0x0A : c))
      Fail(codec.name + ": expanded text differs");
  }
}

void PrintLine(const char* name, const std::string& text, const Run& run) {
  std::printf("%-34s %8.1f MB/s compress %9.1f MB/s expand   ratio %.3f (%zu -> %zu bytes)\n", name,
              run.compress_mb_s.Max(), run.expand_mb_s.Max(),
              static_cast<double>(run.packed_bytes) / static_cast<double>(text.size()), text.size(),
              run.packed_bytes);
}

}  // namespace

int main(int argc, char** argv) {
  int64_t text_bytes = 4'000'000;
  int64_t record = 4096;
  int64_t one_call = 1 << 20;
  int rounds = 5;
  CommandLine line(
      "palmdoc",
      "Speed of PalmDOC compression and expansion on generated English text, record by record and\n"
      "in one call, beside LZ4 HC-9 and zstd -1 on the same records in the same rounds.");
  line.Count("text", "bytes of text cut into records for (a)", &text_bytes, 1, int64_t{1} << 30);
  line.Count("record", "bytes of a record in (a)", &record, 1, 1 << 20);
  line.Count("one-call", "bytes of the text compressed in one call in (b)", &one_call, 1, 64 << 20);
  line.Count("repeat", "rounds; the best is printed, the table also has median and worst", &rounds,
             1, 1000);
  line.ParseOrExit(argc, argv);
  Report report("palmdoc", line.ResultsPath());

  const std::string records = EnglishText(static_cast<size_t>(text_bytes), 2024);
  const std::string whole = EnglishText(static_cast<size_t>(one_call), 7);
  const Codec palmdoc = PalmDoc();
  const std::vector<Codec> peers = Peers();

  // (a): the codecs take turns in every round, so a busy machine slows each alike.
  const Pieces record_pieces(records, static_cast<size_t>(record));
  Run own;
  std::vector<Run> peer_runs(peers.size());
  for (int r = 0; r < rounds; ++r) {
    CompressRound(palmdoc, record_pieces, own);
    for (size_t p = 0; p < peers.size(); ++p) CompressRound(peers[p], record_pieces, peer_runs[p]);
  }
  for (int r = 0; r < rounds; ++r) {
    ExpandRound(palmdoc, record_pieces, own);
    for (size_t p = 0; p < peers.size(); ++p) ExpandRound(peers[p], record_pieces, peer_runs[p]);
  }
  // (b)
  const Pieces whole_piece(whole, whole.size());
  Run one;
  for (int r = 0; r < rounds; ++r) CompressRound(palmdoc, whole_piece, one);
  for (int r = 0; r < rounds; ++r) ExpandRound(palmdoc, whole_piece, one);

  const std::string record_text = Grouped(record) + "-byte records";
  char sizes[64];
  std::snprintf(sizes, sizeof sizes, ", %g MB text", static_cast<double>(text_bytes) / 1e6);
  char whole_size[64];
  std::snprintf(whole_size, sizeof whole_size, "(b) %g MB text in one call",
                static_cast<double>(one_call) / (1 << 20));
  std::printf("PalmDOC codec, one core, best of %d rounds\n", rounds);
  PrintLine(("(a) " + record_text + sizes).c_str(), records, own);
  PrintLine(whole_size, whole, one);
  if (peers.empty()) {
    report.Figure("compress, " + record_text, own.compress_mb_s, "MB/s");
    report.Figure("expand, " + record_text, own.expand_mb_s, "MB/s");
  }
  report.Figure("compress, one call", one.compress_mb_s, "MB/s");
  report.Figure("expand, one call", one.expand_mb_s, "MB/s");
  if (peers.empty()) std::printf("peers: none (built without liblz4-dev and libzstd-dev)\n");
  for (size_t p = 0; p < peers.size(); ++p) {
    PrintLine(("    " + peers[p].name + ", the records of (a)").c_str(), records, peer_runs[p]);
  }
  for (size_t p = 0; p < peers.size(); ++p) {
    report.Compare("compress, " + record_text, own.compress_mb_s, peers[p].name,
                   peer_runs[p].compress_mb_s, "MB/s");
    report.Compare("expand, " + record_text, own.expand_mb_s, peers[p].name,
                   peer_runs[p].expand_mb_s, "MB/s");
  }
  return 0;
}
