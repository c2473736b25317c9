#pragma once
// The run-time errors of the handheld database file classes (their texts are in
// the platform's table of Visual Basic texts). ReadFile and WriteFile wrap every
// error with their own source and message.
#include <cstdint>

#include "platform/error/error.h"

namespace brevora::core {

inline constexpr int32_t kInvalidFileFormat = 321;
inline constexpr int32_t kInvalidPropertyValue = 380;

// A file whose structure does not hold together.
[[noreturn]] inline void RaiseInvalidFormat() { RaiseRuntimeError(kInvalidFileFormat); }

}  // namespace brevora::core
