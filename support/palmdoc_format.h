#pragma once
// The PalmDOC compressed byte codes, shared by the compressor and the expander.
//
//   0x00         nothing (skipped)
//   0x01..0x08   the next n bytes are copied as they are
//   0x09..0x7F   the byte itself (0x0D comes out as 0x0A)
//   0x80..0xBF   with the next byte: a copy; the low 14 bits hold the distance
//                (1..2047) shifted left by 3 and the length - 3 (3..10)
//   0xC0..0xFF   a blank followed by the byte XOR 0x80 (0x40..0x7F)
#include <cstdint>

namespace tabrelc::palmdoc {

constexpr uint8_t kMaxRawRun = 0x08;
constexpr uint8_t kFirstPlain = 0x09;
constexpr uint8_t kFirstCopy = 0x80;
constexpr uint8_t kFirstBlankPair = 0xC0;
constexpr uint8_t kBlank = 0x20;

constexpr int kMinCopy = 3;
constexpr int kMaxCopy = 10;
constexpr int kMaxDistance = 2047;

}  // namespace tabrelc::palmdoc
