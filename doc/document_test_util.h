#pragma once
// Test support for Document: the error a call raises, files written and read.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/error/error.h"
#include "platform/fs/files.h"

namespace brevora::doc::testing {

inline AutomationError ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return e;
  }
  return AutomationError(0, "", "no error");
}

inline std::string ReadFile(const std::string& path) {
  const std::vector<uint8_t> bytes = fs::ReadWholeFile(path);
  return std::string(bytes.begin(), bytes.end());
}

inline void WriteFile(const std::string& path, std::string_view bytes) { fs::AtomicWrite(path, bytes); }

}  // namespace brevora::doc::testing
