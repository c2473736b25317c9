#include "core/big_endian_number.h"

#include <algorithm>
#include <cmath>

#include "platform/error/error.h"

namespace brevora::core {
namespace {

constexpr int kFileOrder = 1;

// Copies `stored` (most significant first) out in the given order.
template <std::size_t N>
std::vector<uint8_t> InOrder(const std::array<uint8_t, N>& stored, int order) {
  std::vector<uint8_t> out(stored.begin(), stored.end());
  if (order != kFileOrder) std::reverse(out.begin(), out.end());
  return out;
}

template <std::size_t N>
void FromOrder(std::array<uint8_t, N>& stored, int order, std::span<const uint8_t> bytes) {
  if (bytes.size() < N) RaiseRuntimeError(9);
  for (std::size_t i = 0; i < N; ++i) {
    stored[order == kFileOrder ? i : N - 1 - i] = bytes[i];
  }
}

// The little-endian memory image of a 32-bit integer whose first bytes are `bytes`.
int32_t FromMemoryImage(const std::vector<uint8_t>& bytes) {
  uint32_t v = 0;
  for (std::size_t i = 0; i < bytes.size() && i < 4; ++i) v |= uint32_t{bytes[i]} << (8 * i);
  return static_cast<int32_t>(v);
}

std::array<uint8_t, 4> MemoryImage(int32_t value) {
  const auto v = static_cast<uint32_t>(value);
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}

}  // namespace

std::vector<uint8_t> BigEndian16::Bytes(int order) const { return InOrder(bytes_, order); }

void BigEndian16::SetBytes(int order, std::span<const uint8_t> bytes) {
  FromOrder(bytes_, order, bytes);
}

int32_t BigEndian16::Value() const { return int32_t{bytes_[0]} << 8 | bytes_[1]; }

void BigEndian16::SetValue(int32_t value) {
  if (value < 0 || value > 0xFFFF) RaiseRuntimeError(6);
  bytes_ = {static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
}

int32_t BigEndian16::Int32Image(int order) const { return FromMemoryImage(Bytes(order)); }

void BigEndian16::SetInt32Image(int order, int32_t value) {
  const auto image = MemoryImage(value);
  SetBytes(order, std::span<const uint8_t>(image.data(), 2));
}

std::vector<uint8_t> BigEndian32::Bytes(int order) const { return InOrder(bytes_, order); }

void BigEndian32::SetBytes(int order, std::span<const uint8_t> bytes) {
  FromOrder(bytes_, order, bytes);
}

double BigEndian32::Value() const {
  return static_cast<double>(uint32_t{bytes_[0]} << 24 | uint32_t{bytes_[1]} << 16 |
                             uint32_t{bytes_[2]} << 8 | uint32_t{bytes_[3]});
}

void BigEndian32::SetValue(double value) {
  // The negated test also refuses NaN.
  if (!(value >= 0.0 && value <= 4294967295.0)) RaiseRuntimeError(6);
  const auto v = static_cast<uint32_t>(std::trunc(value));
  bytes_ = {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

int32_t BigEndian32::Int32Image(int order) const { return FromMemoryImage(Bytes(order)); }

void BigEndian32::SetInt32Image(int order, int32_t value) { SetBytes(order, MemoryImage(value)); }

}  // namespace brevora::core
