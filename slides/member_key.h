#pragma once
// The key of a slide, outline line or annotation in its collection: the number
// in decimal followed by "K" (slide 3 is "3K").
#include <cstdint>
#include <string>

namespace brevora::slides {

inline std::string MemberKey(int32_t number) { return std::to_string(number) + "K"; }

}  // namespace brevora::slides
