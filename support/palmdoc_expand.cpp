// DecompressString: expands PalmDOC codes into a bounded destination. Data from
// files and handhelds is not trusted: a copy reaching before the start of the
// output (or of distance 0), a literal run or copy cut off by the end of the
// input, and output beyond the capacity all end the expansion with -1.
//
// While enough input and room remain, runs of plain bytes are found with a
// byte mask and moved 16 bytes at a time, and copies and raw runs move as whole
// words (possibly writing scratch bytes past the current end, never past the
// capacity); near the ends every code is checked byte by byte.
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "support/palmdoc_format.h"
#include "support/tabrelc.h"

namespace tabrelc::palmdoc {
namespace {

inline uint64_t Load64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void Store64(uint8_t* p, uint64_t v) { std::memcpy(p, &v, sizeof v); }

inline void Copy16(uint8_t* to, const uint8_t* from) { std::memcpy(to, from, 16); }

// Bit k set when byte k of the 16 at p is not a plain byte (0x09..0x7F other
// than 0x0D): the bytes where a run of plain bytes ends.
inline uint32_t SpecialMask16(const uint8_t* p) {
#if defined(__SSE2__)
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  const __m128i below9 = _mm_cmplt_epi8(v, _mm_set1_epi8(kFirstPlain));  // signed: 0x80..0xFF too
  const __m128i cr = _mm_cmpeq_epi8(v, _mm_set1_epi8(0x0D));
  return static_cast<uint32_t>(_mm_movemask_epi8(_mm_or_si128(below9, cr)));
#else
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  auto special8 = [](uint64_t v) {  // exact per byte: no carry crosses a byte
    const uint64_t low7 = v & ~kHigh;
    const uint64_t below9 = ~(low7 + 0x77 * kOnes) & kHigh;
    const uint64_t x = v ^ (0x0D * kOnes);
    const uint64_t cr = ~(((x & ~kHigh) + 0x7F * kOnes) | x) & kHigh;
    const uint64_t bits = (v & kHigh) | below9 | cr;
    return static_cast<uint32_t>(((bits >> 7) * 0x0102040810204080ull) >>
                                 56);  // gather the 8 high bits
  };
  return special8(Load64(p)) | (special8(Load64(p + 8)) << 8);
#endif
}

// One code that is not a plain byte, with every bound checked. Returns false
// for malformed input or a full destination.
inline bool SlowCode(const uint8_t* src, int32_t n, int32_t& i, uint8_t* dst, int32_t cap,
                     int32_t& o) {
  const uint8_t b = src[i++];
  if (b >= kFirstPlain && b < kFirstCopy) {
    if (o >= cap) return false;
    dst[o++] = b == 0x0D ? 0x0A : b;
  } else if (b >= kFirstBlankPair) {
    if (cap - o < 2) return false;
    dst[o] = kBlank;
    dst[o + 1] = b ^ 0x80;
    o += 2;
  } else if (b >= kFirstCopy) {
    if (i >= n) return false;
    const int code = ((b << 8) | src[i++]) & 0x3FFF;
    const int32_t distance = code >> 3;
    const int32_t length = (code & 7) + kMinCopy;
    if (distance == 0 || distance > o || cap - o < length) return false;
    for (int32_t k = 0; k < length; ++k, ++o) dst[o] = dst[o - distance];
  } else if (b != 0) {
    if (n - i < b || cap - o < b) return false;
    std::memcpy(dst + o, src + i, b);
    i += b;
    o += b;
  }
  return true;
}

int32_t Expand(const uint8_t* src, int32_t n, uint8_t* dst, int32_t cap) {
  int32_t i = 0;
  int32_t o = 0;
  // Fast loop over blocks of 64 input bytes while 80 input bytes and 96 bytes
  // of room are left. A mask of the bytes that are not plain gives each run of
  // plain bytes at once (moved 16 bytes at a time); the code after the run is
  // nearly always a copy, moved as two 8-byte words. Words may write scratch
  // bytes past the current end (never past the capacity), which later codes
  // overwrite.
  while (n - i >= 80 && cap - o >= 96) {
    const uint64_t mask = SpecialMask16(src + i) | (uint64_t{SpecialMask16(src + i + 16)} << 16) |
                          (uint64_t{SpecialMask16(src + i + 32)} << 32) |
                          (uint64_t{SpecialMask16(src + i + 48)} << 48);
    int32_t pos = 0;
    // 64 input bytes write at most 320 bytes (and 16 scratch bytes past them).
    const bool roomy = cap - o >= 32 * kMaxCopy + 96;
    while (pos < 63 && (roomy || cap - o >= 96)) {
      const uint64_t ahead = mask >> pos;
      const int32_t run = ahead != 0 ? __builtin_ctzll(ahead) : 64 - pos;
      const uint8_t* in = src + i + pos;
      uint8_t* to = dst + o;
      Copy16(to, in);
      if (__builtin_expect(run > 16, 0)) {
        for (int32_t k = 16; k < run; k += 16) Copy16(to + k, in + k);
      }
      o += run;
      pos += run;
      if (pos >= 63) break;  // a code at the block's end waits for the next block

      const uint32_t b = src[i + pos];
      to = dst + o;
      if (__builtin_expect((b & 0xC0) == kFirstCopy, 1)) {
        const uint32_t code = ((b << 8) | src[i + pos + 1]) & 0x3FFF;
        const int32_t distance = static_cast<int32_t>(code >> 3);
        const int32_t length = static_cast<int32_t>(code & 7) + kMinCopy;
        if (distance >= 16 && distance <= o) {
          Copy16(to, to - distance);
        } else if (distance >= 8 && distance <= o) {
          // Word by word: the second word is read after the first was
          // written, so an overlapping copy repeats its pattern correctly.
          Store64(to, Load64(to - distance));
          Store64(to + 8, Load64(to - distance + 8));
        } else {
          if (distance == 0 || distance > o) return -1;
          for (int32_t k = 0; k < length; ++k) to[k] = to[k - distance];
        }
        o += length;
        pos += 2;
      } else if (b >= kFirstBlankPair) {
        to[0] = kBlank;
        to[1] = static_cast<uint8_t>(b ^ 0x80);
        o += 2;
        pos += 1;
      } else if (b == 0x0D) {
        to[0] = 0x0A;
        o += 1;
        pos += 1;
      } else if (b != 0) {  // a raw run of 1..8 bytes, inside the 80 input bytes
        Store64(to, Load64(src + i + pos + 1));
        o += static_cast<int32_t>(b);
        pos += 1 + static_cast<int32_t>(b);
      } else {
        pos += 1;
      }
    }
    i += pos;
  }
  // Near the ends: code by code, words while 9 input bytes and 16 bytes of
  // room are left, then every byte checked.
  while (n - i >= 9 && cap - o >= 16) {
    const uint32_t b = src[i];
    uint8_t* to = dst + o;
    if ((b & 0xC0) == kFirstCopy) {
      const uint32_t code = ((b << 8) | src[i + 1]) & 0x3FFF;
      const int32_t distance = static_cast<int32_t>(code >> 3);
      const int32_t length = static_cast<int32_t>(code & 7) + kMinCopy;
      if (distance >= 8 && distance <= o) {
        Store64(to, Load64(to - distance));
        Store64(to + 8, Load64(to - distance + 8));
      } else {
        if (distance == 0 || distance > o) return -1;
        for (int32_t k = 0; k < length; ++k) to[k] = to[k - distance];
      }
      o += length;
      i += 2;
    } else if (b - 1 < kMaxRawRun) {
      Store64(to, Load64(src + i + 1));
      o += static_cast<int32_t>(b);
      i += 1 + static_cast<int32_t>(b);
    } else if (!SlowCode(src, n, i, dst, cap, o)) {
      return -1;
    }
  }
  while (i < n) {
    if (!SlowCode(src, n, i, dst, cap, o)) return -1;
  }
  return o;
}

}  // namespace
}  // namespace tabrelc::palmdoc

extern "C" int32_t DecompressString(const uint8_t* src, int32_t srcLen, uint8_t* dst,
                                    int32_t dstCap) {
  if (srcLen < 0 || dstCap < 0 || (srcLen > 0 && src == nullptr) || (dstCap > 0 && dst == nullptr))
    return -1;
  if (srcLen == 0) return 0;
  return tabrelc::palmdoc::Expand(src, srcLen, dst, dstCap);
}
