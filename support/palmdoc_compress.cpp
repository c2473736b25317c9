// CompressString: PalmDOC compression with a fixed choice among the possible
// encodings. At each position p the longest run of 3 to 10 bytes that also
// starts earlier in the 2047-byte window is copied, from its OLDEST earlier
// start; the run may overlap p but never includes the last source byte. Every
// other byte is a literal, blanks folded into the following 0x40..0x7F byte.
//
// The search sorts the positions of a stretch of the source by the hash of
// their first 3 bytes (a counting sort: one pass to count, one to place), so
// that each hash has its positions side by side in ascending order. The
// candidates for p are then a contiguous run of that array: from the first
// position still in the window (a start moved lazily) up to p's own place.
// Walking it from the oldest, the first candidate that reaches the greatest
// length is the oldest run of that length, and a candidate of the cap length
// ends the walk at once. Compared with linked hash chains, the walk reads
// memory in order instead of following links, and the setup is two tight
// passes instead of a branch per position.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "support/palmdoc_format.h"
#include "support/tabrelc.h"

namespace tabrelc::palmdoc {
namespace {

// Output with a capacity; a write past it marks the result as failed.
class Output {
 public:
  Output(uint8_t* dst, int32_t cap) : dst_(dst), cap_(cap) {}

  void Put(uint8_t b) {
    if (size_ < cap_) {
      dst_[size_++] = b;
    } else {
      overflow_ = true;
    }
  }

  // A literal byte under the pending-blank rules.
  void Literal(uint8_t c) {
    if (blank_pending_) {
      blank_pending_ = false;
      if (c >= 0x40 && c <= 0x7F) {
        Put(c ^ 0x80);
        return;
      }
      Put(kBlank);
    } else if (c == kBlank) {
      blank_pending_ = true;
      return;
    }
    // A 0x00 byte goes in a one-byte literal run too: written bare, the expander
    // would skip it and every later copy distance would be off by one.
    if (c <= kMaxRawRun || c >= 0x80) Put(0x01);
    Put(c);
  }

  void Copy(int distance, int length) {
    FlushBlank();
    const int code = distance * 8 + (length - kMinCopy);
    Put(static_cast<uint8_t>(kFirstCopy + (code >> 8)));
    Put(static_cast<uint8_t>(code & 0xFF));
  }

  void FlushBlank() {
    if (blank_pending_) {
      blank_pending_ = false;
      Put(kBlank);
    }
  }

  bool Failed() const { return overflow_; }
  int32_t Result() const { return overflow_ ? -1 : size_; }

 private:
  uint8_t* dst_;
  int32_t cap_;
  int32_t size_ = 0;
  bool blank_pending_ = false;
  bool overflow_ = false;
};

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Positions [first, last) of the source sorted by the hash of their first 3
// bytes, ascending within each hash. Positions are kept relative to `first` in
// 16 bits: a stretch covers at most kStretch positions (the whole of any
// record; a longer source is searched stretch by stretch).
class MatchFinder {
 public:
  static constexpr int32_t kStretch = 65535;

  // A finder over src[0, n) (n >= kMinCopy) that covers no position yet.
  MatchFinder(const uint8_t* src, int32_t n)
      : src_(src),
        n_(n),
        room_(std::min<int32_t>(n - kMinCopy + 1, kStretch)),
        bucket_of_(std::make_unique_for_overwrite<uint16_t[]>(static_cast<size_t>(room_))),
        slot_of_(std::make_unique_for_overwrite<uint16_t[]>(static_cast<size_t>(room_))),
        sorted_(std::make_unique_for_overwrite<uint16_t[]>(static_cast<size_t>(room_))) {}
  MatchFinder(const MatchFinder&) = delete;
  MatchFinder& operator=(const MatchFinder&) = delete;

  // Whether the stretch sorted last has position p to search from (asked in
  // ascending order: every stretch holds the window of its first position).
  bool Covers(int32_t p) const { return p < last_; }

  // Sorts the stretch that searches from p on: it starts with the window
  // before p (where runs for p may start) and ends with the source's last
  // position that has 3 bytes, or where the 16 bits end.
  void SortFrom(int32_t p) {
    first_ = std::max<int32_t>(0, p - kMaxDistance);
    last_ = std::min<int32_t>(n_ - kMinCopy + 1, first_ + kStretch);
    const uint8_t* const from = src_ + first_;
    const int32_t count = last_ - first_;
    int bits = 8;
    while (bits < kMaxBits && (1 << bits) < count) ++bits;
    const uint32_t hashes = 1u << bits;
    std::fill_n(start_, hashes, uint16_t{0});
    uint16_t* const bucket_of = bucket_of_.get();
    uint16_t* const start = start_;
    const int32_t avail = n_ - first_;  // bytes from `from` on
    for (int32_t i = 0; i < count; ++i) {
      uint32_t key;
      if (i + 4 <= avail) {
        std::memcpy(&key, from + i, sizeof key);
        key &= 0xFFFFFF;
      } else {
        key = from[i] | (uint32_t{from[i + 1]} << 8) | (uint32_t{from[i + 2]} << 16);
      }
      const uint32_t h = (key * 2654435761u) >> (32 - bits);
      bucket_of[i] = static_cast<uint16_t>(h);
      ++start[h];
    }
    // The end of each hash's places, then filled from the back: what remains
    // is the start of each.
    uint32_t end = 0;
    for (uint32_t h = 0; h < hashes; ++h) {
      end += start[h];
      start[h] = static_cast<uint16_t>(end);
    }
    uint16_t* const slot_of = slot_of_.get();
    uint16_t* const sorted = sorted_.get();
    for (int32_t i = count - 1; i >= 0; --i) {
      const uint16_t slot = --start[bucket_of[i]];
      sorted[slot] = static_cast<uint16_t>(i);
      slot_of[i] = slot;
    }
  }

  // Finds the run at p (a covered position; cap: longest length allowed,
  // 3..10; p + cap < n): returns its length (0 when below 3) and sets *from to
  // its oldest start. Positions are asked for in ascending order.
  int Find(int32_t p, int cap, int32_t* from) {
    const uint8_t* const src = src_ + first_;
    const int32_t at = p - first_;
    const int32_t window_start = at - kMaxDistance;
    const uint32_t h = bucket_of_[at];
    const uint16_t* const sorted = sorted_.get();
    uint32_t s = start_[h];
    if (window_start > 0) {
      while (static_cast<int32_t>(sorted[s]) < window_start) ++s;
      start_[h] = static_cast<uint16_t>(s);
    }
    const uint32_t end = slot_of_[at];  // p's own place: the candidates lie before it
    if (s == end) return 0;

    int best = kMinCopy - 1;
    int32_t found = 0;
    if (cap == kMaxCopy) {  // then p + 10 < n: 8-byte loads at p stay inside
      const uint64_t at_p = Load64(src + at);
      for (; s < end; ++s) {
        const int32_t q = sorted[s];
        const uint64_t diff = Load64(src + q) ^ at_p;
        int len;
        if (diff != 0) {
          len = __builtin_ctzll(diff) >> 3;
        } else {
          len = src[q + 8] != src[at + 8] ? 8 : src[q + 9] != src[at + 9] ? 9 : 10;
        }
        // Branch-free update: which candidate improves is hard to predict.
        const bool better = len > best;
        best = better ? len : best;
        found = better ? q : found;
        if (best == kMaxCopy) break;
      }
    } else {
      for (; s < end; ++s) {
        const int32_t q = sorted[s];
        int len = 0;
        while (len < cap && src[q + len] == src[at + len]) ++len;
        if (len > best) {
          best = len;
          found = q;
          if (best == cap) break;
        }
      }
    }
    *from = found + first_;
    return best >= kMinCopy ? best : 0;
  }

 private:
  static constexpr int kMaxBits = 12;

  const uint8_t* src_;
  int32_t n_;
  int32_t room_;       // positions a stretch may hold
  int32_t first_ = 0;  // the stretch sorted last: positions [first_, last_)
  int32_t last_ = 0;
  // Written before they are read: a stretch reads only what SortFrom wrote.
  std::unique_ptr<uint16_t[]> bucket_of_;  // by position: its hash
  std::unique_ptr<uint16_t[]> slot_of_;    // by position: its place in sorted_
  std::unique_ptr<uint16_t[]> sorted_;     // positions, by hash, then ascending
  uint16_t start_[1 << kMaxBits];          // by hash: its first place still in the window
};

int32_t Compress(const uint8_t* src, int32_t n, uint8_t* dst, int32_t cap) {
  Output out(dst, cap);
  int32_t p = 0;
  // A run never reaches the last source byte: the last 3 are literals.
  const int32_t runs_end = n - kMinCopy;
  if (runs_end > 0) {
    MatchFinder finder(src, n);
    while (p < runs_end && !out.Failed()) {
      if (!finder.Covers(p)) finder.SortFrom(p);
      int32_t from = 0;
      const int len = finder.Find(p, std::min<int32_t>(kMaxCopy, n - 1 - p), &from);
      if (len >= kMinCopy) {
        out.Copy(p - from, len);
        p += len;
      } else {
        out.Literal(src[p]);
        ++p;
      }
    }
  }
  for (; p < n && !out.Failed(); ++p) out.Literal(src[p]);
  out.FlushBlank();
  return out.Result();
}

}  // namespace
}  // namespace tabrelc::palmdoc

extern "C" int32_t CompressString(const uint8_t* src, int32_t srcLen, uint8_t* dst,
                                  int32_t dstCap) {
  if (srcLen < 0 || dstCap < 0 || (srcLen > 0 && src == nullptr) || (dstCap > 0 && dst == nullptr))
    return -1;
  if (srcLen == 0) return 0;
  try {
    return tabrelc::palmdoc::Compress(src, srcLen, dst, dstCap);
  } catch (const std::bad_alloc&) {  // nothing throws across the C boundary
    return -1;
  }
}
