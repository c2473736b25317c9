// CompressString: PalmDOC compression with a fixed choice among the possible
// encodings. At each position p the longest run of 3 to 10 bytes that also
// starts earlier in the 2047-byte window is copied, from its OLDEST earlier
// start; the run may overlap p but never includes the last source byte. Every
// other byte is a literal, blanks folded into the following 0x40..0x7F byte.
//
// The search keeps, per hash of the 3-byte prefix, the positions in ascending
// order (a head moved lazily past positions that left the window, a tail for
// appending, next links). Walking a bucket from the oldest position, the first
// candidate that reaches the greatest length is the oldest run of that length,
// and a candidate of the cap length ends the walk at once.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

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

// Positions of the source by hash of their first 3 bytes, oldest first.
class MatchFinder {
 public:
  MatchFinder(const uint8_t* src, int32_t n)
      : src_(src), n_(n), next_(std::make_unique_for_overwrite<int32_t[]>(static_cast<size_t>(n))) {
    int bits = 8;
    while (bits < 12 && (1 << bits) < n) ++bits;
    shift_ = 32 - bits;
    buckets_.assign(size_t{1} << bits, Bucket{});
  }
  MatchFinder(const MatchFinder&) = delete;
  MatchFinder& operator=(const MatchFinder&) = delete;

  // Finds the run at p (cap: longest length allowed, 3..10; p + cap < n):
  // returns its length (0 when below 3) and sets *from to its oldest start.
  int Find(int32_t p, int cap, int32_t* from) {
    while (inserted_ < p) Insert(inserted_++);
    const int32_t window_start = p - kMaxDistance;
    Bucket& bucket = buckets_[Hash(p)];
    // The chain runs from head to tail; links past the tail are stale.
    if (bucket.tail < window_start) return 0;  // empty, or every entry left the window
    int32_t head = bucket.head;
    while (head < window_start) head = next_[head];
    bucket.head = head;
    const int32_t tail = bucket.tail;

    int best = kMinCopy - 1;
    int32_t found = 0;
    if (cap == kMaxCopy) {  // then p + 10 < n: 8-byte loads at p stay inside
      const uint64_t at_p = Load64(src_ + p);
      for (int32_t q = head;; q = next_[q]) {
        const uint64_t diff = Load64(src_ + q) ^ at_p;
        int len;
        if (diff != 0) {
          len = __builtin_ctzll(diff) >> 3;
        } else {
          len = src_[q + 8] != src_[p + 8] ? 8 : src_[q + 9] != src_[p + 9] ? 9 : 10;
        }
        // Branch-free update: which candidate improves is hard to predict.
        const bool better = len > best;
        best = better ? len : best;
        found = better ? q : found;
        if (best == kMaxCopy || q == tail) break;
      }
    } else {
      for (int32_t q = head;; q = next_[q]) {
        int len = 0;
        while (len < cap && src_[q + len] == src_[p + len]) ++len;
        if (len > best) {
          best = len;
          found = q;
          if (best == cap) break;
        }
        if (q == tail) break;
      }
    }
    *from = found;
    return best >= kMinCopy ? best : 0;
  }

 private:
  static constexpr int32_t kEmpty = -kMaxDistance - 2;  // below every window start

  struct Bucket {
    int32_t head = kEmpty;  // oldest position (lazily moved into the window)
    int32_t tail = kEmpty;  // newest position; the chain ends here
  };

  uint32_t Hash(int32_t i) const {
    uint32_t key;
    if (i + 4 <= n_) {
      std::memcpy(&key, src_ + i, sizeof key);
      key &= 0xFFFFFF;
    } else {
      key = src_[i] | (uint32_t{src_[i + 1]} << 8) | (uint32_t{src_[i + 2]} << 16);
    }
    return (key * 2654435761u) >> shift_;
  }

  void Insert(int32_t i) {
    if (i + kMinCopy > n_) return;
    Bucket& b = buckets_[Hash(i)];
    if (b.tail < i - kMaxDistance) {
      b.head = i;  // empty, or every entry left the window: start afresh
    } else {
      next_[b.tail] = i;
    }
    b.tail = i;
  }

  const uint8_t* src_;
  int32_t n_;
  int shift_ = 0;
  int32_t inserted_ = 0;
  std::unique_ptr<int32_t[]> next_;  // written before it is read: a link is followed only up to the tail
  std::vector<Bucket> buckets_;
};

int32_t Compress(const uint8_t* src, int32_t n, uint8_t* dst, int32_t cap) {
  Output out(dst, cap);
  MatchFinder finder(src, n);
  int32_t p = 0;
  while (p < n && !out.Failed()) {
    // The run never reaches the last source byte.
    const int cap_len = std::min<int32_t>(kMaxCopy, n - 1 - p);
    int32_t from = 0;
    const int len = cap_len >= kMinCopy ? finder.Find(p, cap_len, &from) : 0;
    if (len >= kMinCopy) {
      out.Copy(p - from, len);
      p += len;
    } else {
      out.Literal(src[p]);
      ++p;
    }
  }
  out.FlushBlank();
  return out.Result();
}

}  // namespace
}  // namespace tabrelc::palmdoc

extern "C" int32_t CompressString(const uint8_t* src, int32_t srcLen, uint8_t* dst, int32_t dstCap) {
  if (srcLen < 0 || dstCap < 0 || (srcLen > 0 && src == nullptr) || (dstCap > 0 && dst == nullptr)) return -1;
  if (srcLen == 0) return 0;
  try {
    return tabrelc::palmdoc::Compress(src, srcLen, dst, dstCap);
  } catch (const std::bad_alloc&) {  // nothing throws across the C boundary
    return -1;
  }
}
