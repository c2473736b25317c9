#include "remote/packet_parser.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace brevora::remote {
namespace {

// The first magic in [from, end), or end.
size_t FindMagic(const uint8_t* bytes, size_t from, size_t end) {
  if (end < from + kMagic.size()) return end;
  const auto* found = std::search(bytes + from, bytes + end,
                                  std::boyer_moore_horspool_searcher(kMagic.begin(), kMagic.end()));
  return static_cast<size_t>(found - bytes);
}

// How many bytes at the end of [from, end) could begin a magic (at most 3).
size_t MagicPrefixAtEnd(const uint8_t* bytes, size_t from, size_t end) {
  for (size_t n = std::min<size_t>(kMagic.size() - 1, end - from); n > 0; --n) {
    if (std::memcmp(bytes + end - n, kMagic.data(), n) == 0) return n;
  }
  return 0;
}

}  // namespace

PacketParser::PacketParser(CommandDispatcher& dispatcher) : dispatcher_(dispatcher) {}

void PacketParser::ResetProtocolState(ReplyPort* port) {
  port_ = port;
  pending_ = Pending::kNone;
  dataCommand_ = 0;
  remaining_ = 0;
  subHeader_.fill(0);
  subHeaderSize_ = 0;
  held_ = 0;
  carryForce_ = false;
  dispatcher_.ResetProtocolState();
}

void PacketParser::Send() {
  if (port_) port_->Write(reply_.Bytes());
}

void PacketParser::Dispatch(uint16_t command, std::span<const uint8_t> payload) {
  if (dispatcher_.DispatchCommand(command, payload, reply_)) Send();
}

void PacketParser::Refuse(uint16_t command) {
  dispatcher_.RefuseCommand(command, reply_);
  Send();
}

bool PacketParser::TakeHeader(const uint8_t* bytes, size_t& pos, size_t end) {
  const uint16_t command = ReadU16BE(bytes + pos + kCommandOffset);
  const uint32_t length = ReadU32BE(bytes + pos + kLengthOffset);
  const size_t payload = pos + kHeaderSize;
  const size_t available = end - payload;

  if (IsShortCommand(command)) {
    if (length > kMaxShortPayload) {
      // Could never be held whole: answered now, its payload skipped as it comes.
      Refuse(command);
      pending_ = Pending::kSkip;
      remaining_ = length;
      pos = payload;
      return true;
    }
    if (available < length) return false;
    Dispatch(command, {bytes + payload, length});
    pos = payload + length;
    return true;
  }

  const size_t subHeader = SubHeaderSize(command);
  if (length < subHeader) {
    Refuse(command);
    pending_ = Pending::kSkip;
    remaining_ = length;
    pos = payload;
    return true;
  }
  if (available < subHeader) return false;
  std::copy(bytes + payload, bytes + payload + subHeader, subHeader_.begin());
  subHeaderSize_ = subHeader;
  pending_ = Pending::kData;
  dataCommand_ = command;
  remaining_ = length - subHeader;
  pos = payload + subHeader;
  return true;
}

bool PacketParser::Resync(const uint8_t* bytes, size_t& pos, size_t end, size_t capacity) {
  // What was left unfinished at the pause, and where its declared length ends.
  uint64_t extent = 0;
  size_t from = pos;
  if (pending_ != Pending::kNone) {
    extent = remaining_;
  } else if (held_ > 0 && end - pos >= kMagic.size() &&
             std::equal(kMagic.begin(), kMagic.end(), bytes + pos)) {
    if (end - pos < kHeaderSize) return false;  // its length is not there yet
    extent = kHeaderSize + uint64_t{ReadU32BE(bytes + pos + kLengthOffset)};
    from = pos + 1;
  } else {
    return true;
  }
  const uint64_t limit = pos + extent;

  const size_t found = FindMagic(bytes, from, end);
  if (found != end) {
    if (found < limit) {  // the new packet begins inside the old one: it wins
      pending_ = Pending::kNone;
      pos = found;
    }
    return true;
  }
  // A magic may be beginning at the very end, inside the old one, which is not
  // complete yet: wait for it, while the buffer has room.
  const size_t tail = MagicPrefixAtEnd(bytes, from, end);
  if (tail > 0 && end < limit && end < capacity) {
    if (pending_ != Pending::kNone) {  // the bytes before it are the command's
      remaining_ -= end - tail - pos;
      pos = end - tail;
    }
    return false;
  }
  return true;
}

void PacketParser::ParseReceivedData(std::span<uint8_t> buffer, size_t& count, bool force) {
  uint8_t* bytes = buffer.data();
  const size_t end = std::min(count, buffer.size());
  size_t pos = 0;

  const bool forced = force || carryForce_;
  carryForce_ = false;
  if (forced && !Resync(bytes, pos, end, buffer.size())) {
    carryForce_ = true;  // decide with the next bytes
  } else {
    for (;;) {
      if (pending_ == Pending::kNone) {
        if (end - pos < kHeaderSize) break;  // wait for a whole header
        const size_t found = FindMagic(bytes, pos, end);
        if (found == end) {
          pos = end - MagicPrefixAtEnd(bytes, pos, end);
          break;
        }
        pos = found;
        if (end - pos < kHeaderSize) break;
        if (!TakeHeader(bytes, pos, end)) break;
        continue;
      }
      // A data command or a skip takes the bytes it still expects.
      const size_t take = static_cast<size_t>(std::min<uint64_t>(end - pos, remaining_));
      pos += take;
      remaining_ -= take;
      if (remaining_ > 0) break;
      if (pending_ == Pending::kData) Dispatch(dataCommand_, {subHeader_.data(), subHeaderSize_});
      pending_ = Pending::kNone;
      if (pos == end) break;
    }
  }

  if (pos > 0) std::memmove(bytes, bytes + pos, end - pos);
  count = end - pos;
  held_ = count;
}

}  // namespace brevora::remote
