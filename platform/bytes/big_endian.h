#pragma once
// Unsigned numbers stored most significant byte first, as the handheld's files
// and records hold them. The caller guarantees the bytes are there (the readers
// check their ranges before they load).
#include <cstdint>

namespace brevora::bytes {

inline uint16_t LoadBigEndian16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] << 8 | p[1]);
}
inline uint32_t LoadBigEndian24(const uint8_t* p) {
  return uint32_t{p[0]} << 16 | uint32_t{p[1]} << 8 | uint32_t{p[2]};
}
inline uint32_t LoadBigEndian32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | uint32_t{p[3]};
}

inline void StoreBigEndian16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
inline void StoreBigEndian24(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 16);
  p[1] = static_cast<uint8_t>(v >> 8);
  p[2] = static_cast<uint8_t>(v);
}
inline void StoreBigEndian32(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

}  // namespace brevora::bytes
