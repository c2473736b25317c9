#pragma once
// Byte strings of remote-control packets for tests, fuzzing and benchmarks:
// requests and the replies the receiver should send, built from the layout in
// packet_format.h.
#include <cstdint>
#include <string_view>
#include <vector>

namespace brevora::remote::testing {

using Bytes = std::vector<uint8_t>;

Bytes B(std::string_view text);
Bytes operator+(Bytes a, const Bytes& b);
Bytes U16(uint16_t v);  // big-endian
Bytes U32(uint32_t v);  // big-endian

// The 10-byte header of a request.
Bytes Header(uint16_t command, uint32_t length);
// A whole request: header with the payload's length, then the payload.
Bytes Packet(uint16_t command, const Bytes& payload = {});
// The reply the receiver sends.
Bytes Reply(uint16_t command, uint16_t status, const Bytes& extra = {});

// Command 2 of format 1 for `name` (with its NUL).
Bytes OpenShow(std::string_view name);
// Command 4.
Bytes GotoSlide(uint32_t target, uint32_t mode);
// Command 19 (little-endian fields).
Bytes Mouse(uint16_t x, uint16_t y, uint16_t action);
// The hello reply for `versionWord`.
Bytes HelloReply(uint32_t versionWord);

}  // namespace brevora::remote::testing
