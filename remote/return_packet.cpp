#include "remote/return_packet.h"

#include <algorithm>

namespace brevora::remote {

void ReturnPacket::Start(uint16_t command) {
  buffer_.fill(0);
  std::copy(kMagic.begin(), kMagic.end(), buffer_.begin());
  WriteU16BE(&buffer_[kCommandOffset], kReplyMarker);
  WriteU16BE(&buffer_[kReplyCommandOffset], command);
  extra_ = 0;
  Grow(0);
}

void ReturnPacket::SetStatus(Status status) {
  WriteU16BE(&buffer_[kReplyStatusOffset], static_cast<uint16_t>(status));
}

void ReturnPacket::Grow(size_t n) {
  extra_ += n;
  WriteU32BE(&buffer_[kLengthOffset], static_cast<uint32_t>(kReplyFixedLength + extra_));
}

bool ReturnPacket::AppendU16(uint16_t value) {
  if (!Fits(2)) return false;
  WriteU16BE(&buffer_[kReplyExtraOffset + extra_], value);
  Grow(2);
  return true;
}

bool ReturnPacket::AppendU32(uint32_t value) {
  if (!Fits(4)) return false;
  WriteU32BE(&buffer_[kReplyExtraOffset + extra_], value);
  Grow(4);
  return true;
}

bool ReturnPacket::AppendBytes(std::span<const uint8_t> bytes) {
  if (!Fits(bytes.size())) return false;
  std::copy(bytes.begin(), bytes.end(),
            buffer_.begin() + static_cast<std::ptrdiff_t>(kReplyExtraOffset + extra_));
  Grow(bytes.size());
  return true;
}

}  // namespace brevora::remote
