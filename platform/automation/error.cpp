#include "platform/automation/error.h"

#include <new>
#include <utility>

namespace brevora {

AutomationError::AutomationError(int32_t number, std::string source, std::string description)
    : number_(number), source_(std::move(source)), description_(std::move(description)) {}

// Out of line so the type's identity (vtable, typeinfo) lives in this library only.
AutomationError::~AutomationError() = default;

AutomationError Wrap32760(const AutomationError& inner, const std::string& source,
                          const std::string& message) {
  if (inner.number() == kWrapError) return inner;
  return AutomationError(kWrapError, source, message + "\r\n" + inner.description());
}

AutomationError CurrentError() {
  try {
    throw;
  } catch (const AutomationError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return AutomationError(7, "", "Out of memory");
  } catch (const std::exception& e) {
    return AutomationError(5, "", e.what());
  } catch (...) {
    return AutomationError(5, "", "Invalid procedure call or argument");
  }
}

void RaiseObjectError(int32_t n, const std::string& description) {
  throw AutomationError(kObjectError + n, "tabrelpc", description);
}

}  // namespace brevora
