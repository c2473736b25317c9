#pragma once
// ReturnPacket: one reply being built (layout in packet_format.h). Start clears
// the 270-byte buffer and writes the fixed fields; the extra data is appended
// in order and can never run past the buffer: an append that does not fit
// changes nothing and returns false.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "remote/packet_format.h"

namespace brevora::remote {

class ReturnPacket {
 public:
  ReturnPacket() { Start(0); }

  // A reply to `command` with status 0 and no extra data.
  void Start(uint16_t command);
  void SetStatus(Status status);
  bool AppendU16(uint16_t value);
  bool AppendU32(uint32_t value);
  bool AppendBytes(std::span<const uint8_t> bytes);

  // The bytes to send: length + 10.
  std::span<const uint8_t> Bytes() const { return {buffer_.data(), kReplyExtraOffset + extra_}; }

 private:
  bool Fits(size_t n) const { return extra_ + n <= kMaxReplyExtra; }
  void Grow(size_t n);

  std::array<uint8_t, kReturnPacketSize> buffer_{};
  size_t extra_ = 0;
};

}  // namespace brevora::remote
