#include "remote/testing/packets.h"

#include "remote/packet_format.h"

namespace brevora::remote::testing {

Bytes B(std::string_view text) { return Bytes(text.begin(), text.end()); }

Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

Bytes U16(uint16_t v) { return {static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)}; }

Bytes U32(uint32_t v) {
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

Bytes Header(uint16_t command, uint32_t length) { return B("PSPD") + U16(command) + U32(length); }

Bytes Packet(uint16_t command, const Bytes& payload) {
  return Header(command, static_cast<uint32_t>(payload.size())) + payload;
}

Bytes Reply(uint16_t command, uint16_t status, const Bytes& extra) {
  return B("PSPD") + U16(kReplyMarker) + U32(static_cast<uint32_t>(4 + extra.size())) +
         U16(command) + U16(status) + extra;
}

Bytes OpenShow(std::string_view name) {
  return Packet(kCommandOpenShow, U16(1) + U16(7) + U16(9) + Bytes{3, 4} + B(name) + Bytes{0});
}

Bytes GotoSlide(uint32_t target, uint32_t mode) {
  return Packet(kCommandGotoSlide, U32(target) + U32(mode));
}

Bytes Mouse(uint16_t x, uint16_t y, uint16_t action) {
  return Packet(kCommandMouse, {static_cast<uint8_t>(x), static_cast<uint8_t>(x >> 8),
                                static_cast<uint8_t>(y), static_cast<uint8_t>(y >> 8),
                                static_cast<uint8_t>(action), static_cast<uint8_t>(action >> 8)});
}

Bytes HelloReply(uint32_t versionWord) {
  return Reply(kCommandHello, 0, U16(0) + U16(67) + U16(0) + U32(versionWord) + U32(80));
}

}  // namespace brevora::remote::testing
