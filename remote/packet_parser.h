#pragma once
// PacketParser: finds the remote-control packets in the bytes read from the
// serial line, completes data commands whose payload comes over several reads,
// has each complete command carried out by the CommandDispatcher and writes the
// replies to the reply port.
//
// ParseReceivedData(buffer, count, force): the buffer holds `count` unconsumed
// bytes from its start; on return `count` says how many remain there (always
// fewer than kReceiveBufferSize, so a read always has room). The magic is
// searched as bytes, so NULs anywhere are ordinary bytes and a magic split over
// two reads is kept. A header is read only when its 10 bytes are there. Bytes
// outside packets are dropped.
//
// Lengths from the line are never trusted: a short command whose payload could
// never fit the buffer, or a data command shorter than its sub-header, is
// answered with status 1 at once and its declared payload skipped as it
// arrives. `force` says the line was quiet before these bytes: then a new packet
// found in them takes over from a data command in progress, a skip, or an
// unfinished packet held from before, when it begins inside that one's declared
// length, so a handheld that gave up on a packet is heard again after a pause.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "remote/command_dispatcher.h"
#include "remote/packet_format.h"
#include "remote/return_packet.h"

namespace brevora::remote {

// Where replies go (the serial port). A reply that cannot be written whole is
// dropped; nothing is retried.
class ReplyPort {
 public:
  virtual ~ReplyPort() = default;
  virtual bool Write(std::span<const uint8_t> bytes) = 0;
};

class PacketParser {
 public:
  // `dispatcher` must outlive the parser.
  explicit PacketParser(CommandDispatcher& dispatcher);

  // Stores the reply port (null: replies are built and dropped) and clears the
  // parser's and the dispatcher's state.
  void ResetProtocolState(ReplyPort* port);
  // `buffer` must hold at least kReceiveBufferSize bytes; `count` <= its size.
  void ParseReceivedData(std::span<uint8_t> buffer, size_t& count, bool force);

  bool DataCommandInProgress() const { return pending_ == Pending::kData; }

 private:
  enum class Pending { kNone, kData, kSkip };

  // Reads the header at `pos` (10 bytes there). Returns false to wait for more
  // bytes (pos unchanged); else moves pos past what it took.
  bool TakeHeader(const uint8_t* bytes, size_t& pos, size_t end);
  // After a pause: a new packet found in the bytes takes over from what was
  // left unfinished (a data command, a skip, a packet held from before) when it
  // begins inside that one's declared length. False when the bytes cannot tell
  // yet (a magic may be beginning at their end): they are held for the next call.
  bool Resync(const uint8_t* bytes, size_t& pos, size_t end, size_t capacity);
  void Dispatch(uint16_t command, std::span<const uint8_t> payload);
  void Refuse(uint16_t command);
  void Send();

  CommandDispatcher& dispatcher_;
  ReplyPort* port_ = nullptr;
  ReturnPacket reply_;

  Pending pending_ = Pending::kNone;
  uint16_t dataCommand_ = 0;
  uint64_t remaining_ = 0;
  std::array<uint8_t, kMaxSubHeader> subHeader_{};
  size_t subHeaderSize_ = 0;
  size_t held_ = 0;          // bytes left unconsumed by the previous call
  bool carryForce_ = false;  // a pause whose resync waits for more bytes
};

}  // namespace brevora::remote
