#pragma once
// The errors of documents: the value-check numbers and the wrapping that the
// outer open and save operations use.
#include <cstdint>
#include <string>

#include "platform/automation/error.h"

namespace brevora::doc {

// Added to kObjectError, with source "tabrelpc".
inline constexpr int32_t kNotNamedError = 0x108;    // "Please name the Document before saving it."
inline constexpr int32_t kFieldTooLongError = 0x113;  // a name or password over 31 characters

inline constexpr const char* kNotNamedText = "Please name the Document before saving it.";
inline constexpr const char* kCrLf = "\r\n";

// 32760 with `source` and `message` + CR LF + the inner description, whatever
// the inner number (the outer open and save operations wrap every error, so
// their message always comes first).
inline AutomationError WrapAlways(const AutomationError& inner, const std::string& source,
                                  const std::string& message) {
  return AutomationError(kWrapError, source, message + kCrLf + inner.description());
}

}  // namespace brevora::doc
