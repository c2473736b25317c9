#pragma once
// BigEndian16 and BigEndian32: an unsigned 16-bit and 32-bit number of a
// handheld database, held as bytes most significant first; both start at 0.
// An `order` of 1 means most significant byte first (file order); any other
// value means least significant first. Byte arrays are std::vector<uint8_t>;
// the first element is the one Visual Basic callers index as 1.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace brevora::core {

class BigEndian16 {
 public:
  // The 2 bytes in the given order.
  std::vector<uint8_t> Bytes(int order) const;
  // Takes the first 2 bytes in the given order; 9 when fewer are given.
  void SetBytes(int order, std::span<const uint8_t> bytes);

  int32_t Value() const;         // 0 to 65535
  void SetValue(int32_t value);  // 6 (overflow) outside 0 to 65535

  // The bytes of Bytes(order) as the low bytes of a little-endian 32-bit
  // integer's memory image: the value for order != 1, byte-swapped for order 1.
  int32_t Int32Image(int order) const;
  // The two low bytes of value's memory image, taken by SetBytes(order).
  void SetInt32Image(int order, int32_t value);

 private:
  std::array<uint8_t, 2> bytes_{};  // most significant first
};

class BigEndian32 {
 public:
  // The 4 bytes in the given order.
  std::vector<uint8_t> Bytes(int order) const;
  // Takes the first 4 bytes in the given order; 9 when fewer are given.
  void SetBytes(int order, std::span<const uint8_t> bytes);

  double Value() const;  // 0 to 4,294,967,295
  // 6 (overflow) outside 0 to 4,294,967,295; a fraction is dropped.
  void SetValue(double value);

  // The bytes of Bytes(order) as a little-endian 32-bit integer's memory
  // image: the value for order != 1, byte-swapped for order 1.
  int32_t Int32Image(int order) const;
  void SetInt32Image(int order, int32_t value);

 private:
  std::array<uint8_t, 4> bytes_{};  // most significant first
};

}  // namespace brevora::core
