#pragma once
// The errors of documents: the value-check numbers. (The outer open and save
// operations wrap with WrapAlways of platform/error/error.h.)
#include <cstdint>
#include <string>

#include "platform/error/error.h"

namespace brevora::doc {

// Added to kObjectError, with source "tabrelpc".
inline constexpr int32_t kNotNamedError = 0x108;  // "Please name the Document before saving it."
inline constexpr int32_t kFieldTooLongError = 0x113;  // a name or password over 31 characters

inline constexpr const char* kNotNamedText = "Please name the Document before saving it.";
inline constexpr const char* kCrLf = "\r\n";

}  // namespace brevora::doc
