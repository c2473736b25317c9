#pragma once
// PacketReceiver: the serial worker's receive buffer (kReceiveBufferSize bytes)
// in front of a PacketParser. A read goes into FreeSpace(); Received(n) hands the
// new bytes to the parser, with the force flag when the line was idle before
// them (Idle()). Feed does both for bytes already in memory, cut into reads of
// at most `maxRead` bytes, as tests, fuzzing and benchmarks use it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <span>

#include "remote/packet_format.h"
#include "remote/packet_parser.h"

namespace brevora::remote {

class PacketReceiver {
 public:
  // `parser` must outlive the receiver.
  explicit PacketReceiver(PacketParser& parser) : parser_(parser) {}

  std::span<uint8_t> FreeSpace() { return std::span(buffer_).subspan(count_); }
  // `n` bytes were read into FreeSpace().
  void Received(size_t n);
  // A read found nothing: the next bytes come after a pause.
  void Idle() { force_ = true; }
  // Receives `bytes` as reads of at most `maxRead` bytes each (and at most the
  // free space).
  void Feed(std::span<const uint8_t> bytes, size_t maxRead = std::numeric_limits<size_t>::max());

  // The bytes held for the parser's next turn.
  size_t Held() const { return count_; }

 private:
  PacketParser& parser_;
  std::array<uint8_t, kReceiveBufferSize> buffer_{};
  size_t count_ = 0;
  bool force_ = false;
};

}  // namespace brevora::remote
