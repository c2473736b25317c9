#pragma once
// The version word of the hello reply: the date the receiver's own program file
// was last written, (year - 2000) in the top byte, then the month, then the day,
// then 0x0A in the low byte. 0 when the file cannot be read.
#include <cstdint>
#include <ctime>
#include <string_view>

namespace brevora::remote {

// The word for a local date (years outside 2000..2255 keep their low byte).
uint32_t VersionWordOfDate(const std::tm& date);
// The word for the file at `path` (a native path); 0 when it cannot be read.
uint32_t VersionWordOfFile(std::string_view path);
// The word for the running program (/proc/self/exe).
uint32_t GetBuildVersionWord();

}  // namespace brevora::remote
