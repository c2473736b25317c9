#include "remote/packet_receiver.h"

#include <algorithm>

namespace brevora::remote {

void PacketReceiver::Received(size_t n) {
  count_ += std::min(n, buffer_.size() - count_);
  parser_.ParseReceivedData(buffer_, count_, force_);
  force_ = false;
}

void PacketReceiver::Feed(std::span<const uint8_t> bytes, size_t maxRead) {
  if (maxRead == 0) maxRead = 1;
  while (!bytes.empty()) {
    const std::span<uint8_t> free = FreeSpace();
    const size_t n = std::min({bytes.size(), free.size(), maxRead});
    if (n == 0) break;  // the parser always leaves room; never spin
    std::copy_n(bytes.begin(), n, free.begin());
    bytes = bytes.subspan(n);
    Received(n);
  }
}

}  // namespace brevora::remote
