#pragma once
// The errors the connectivity module raises for a bad call on one of its
// objects: kObjectError + n with the module's name, "tabrelpc", as their source.
// AsModuleError: an error as it leaves the module where the module answers for
// it (the server database exchange): same number and description, the module's
// name as source.
#include <cstdint>
#include <string>

#include "platform/error/error.h"

namespace brevora::core {

inline constexpr const char* kModuleName = "tabrelpc";

[[noreturn]] inline void RaiseModuleError(int32_t n, const std::string& description) {
  RaiseObjectError(n, kModuleName, description);
}

inline AutomationError AsModuleError(const AutomationError& error) {
  return AutomationError(error.number(), kModuleName, error.description());
}

}  // namespace brevora::core
