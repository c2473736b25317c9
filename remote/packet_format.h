#pragma once
// The remote-control packets between the handheld presentation program and the
// receiver, as they travel on the serial line. Integers are big-endian unless
// said otherwise.
//
// Request (RemoteControlPacket):
//   0  4  magic "PSPD"
//   4  2  command
//   6  4  payload length in bytes
//   10 n  payload
// Short commands carry their whole payload in one packet, which must fit the
// receive buffer; data commands stream their payload, after a sub-header for
// the three that have one (3: u32 + u16; 17 and 0x1000: u32 + u32).
//
// Reply (RemoteControlReturnPacket), built in a cleared 270-byte buffer and
// sent as length + 10 bytes:
//   0  4  magic "PSPD"
//   4  2  0x8000
//   6  4  length: 4 + size of the extra data
//   10 2  command echoed
//   12 2  status
//   14 n  extra data
#include <array>
#include <cstddef>
#include <cstdint>

namespace brevora::remote {

inline constexpr std::array<uint8_t, 4> kMagic = {'P', 'S', 'P', 'D'};
inline constexpr size_t kCommandOffset = 4;
inline constexpr size_t kLengthOffset = 6;
inline constexpr size_t kHeaderSize = 10;

// The receive buffer: a short command (header and payload) must fit in it.
inline constexpr size_t kReceiveBufferSize = 4096;
inline constexpr size_t kMaxShortPayload = kReceiveBufferSize - kHeaderSize;

inline constexpr size_t kReturnPacketSize = 270;
inline constexpr uint16_t kReplyMarker = 0x8000;
inline constexpr size_t kReplyCommandOffset = 10;
inline constexpr size_t kReplyStatusOffset = 12;
inline constexpr size_t kReplyExtraOffset = 14;
inline constexpr size_t kMaxReplyExtra = kReturnPacketSize - kReplyExtraOffset;
// The length field counts the echoed command and the status with the extra data.
inline constexpr uint32_t kReplyFixedLength = 4;

// RemoteControlCommand.
enum Command : uint16_t {
  kCommandHello = 1,
  kCommandOpenShow = 2,   // u16 format (1), u16, u16, u8, u8, name + NUL
  kCommandData3 = 3,      // data, sub-header u32 + u16
  kCommandGotoSlide = 4,  // u32 target, u32 addressing mode
  kCommandEndShow = 5,
  kCommandPresentationName = 6,
  kCommandUnsupported7 = 7,
  kCommandUnsupported8 = 8,
  kCommandTimeMark = 9,  // u16 mark
  kCommandUnsupported16 = 16,
  kCommandData17 = 17,          // data, sub-header u32 + u32, never answered
  kCommandKeystrokes = 18,      // keystroke bytes
  kCommandMouse = 19,           // u16 x, u16 y, u16 action, little-endian
  kCommandData0x1000 = 0x1000,  // data, sub-header u32 + u32
};

// RemoteControlStatus.
enum class Status : uint16_t {
  kDone = 0,
  kRefused = 1,         // not supported or malformed
  kNoPresentation = 2,  // none opened yet, or the presentation operation failed
};

// Command 2's fixed fields before the name, and the one format it knows.
inline constexpr size_t kOpenShowFieldsSize = 8;
inline constexpr uint16_t kOpenShowFormat = 1;
// The longest name command 6 can echo: u16 1, the name and its NUL in the extra data.
inline constexpr size_t kMaxPresentationName = kMaxReplyExtra - 2 - 1;
inline constexpr size_t kGotoSlideSize = 8;
inline constexpr size_t kTimeMarkSize = 2;
inline constexpr size_t kMouseSize = 6;

// The hello reply's fixed values and the slide report's marker.
inline constexpr uint16_t kHelloValue67 = 67;
inline constexpr uint32_t kHelloValue80 = 80;
inline constexpr uint16_t kSlideReportMarker = 4;

inline bool IsShortCommand(uint16_t command) {
  switch (command) {
    case 1:
    case 2:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
    case 16:
    case 18:
    case 19:
      return true;
    default:
      return false;
  }
}

inline bool IsDataCommand(uint16_t command) {
  return command == kCommandData3 || command == kCommandData17 || command == kCommandData0x1000;
}

// The sub-header of a data command; 0 for commands that have none.
inline size_t SubHeaderSize(uint16_t command) {
  if (command == kCommandData3) return 6;
  if (command == kCommandData17 || command == kCommandData0x1000) return 8;
  return 0;
}
inline constexpr size_t kMaxSubHeader = 8;

inline uint16_t ReadU16BE(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t ReadU32BE(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}
inline uint16_t ReadU16LE(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline void WriteU16BE(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v >> 8);
  p[1] = static_cast<uint8_t>(v);
}
inline void WriteU32BE(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v >> 24);
  p[1] = static_cast<uint8_t>(v >> 16);
  p[2] = static_cast<uint8_t>(v >> 8);
  p[3] = static_cast<uint8_t>(v);
}

}  // namespace brevora::remote
