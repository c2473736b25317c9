#include "platform/error/error.h"

#include <new>
#include <string>
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

AutomationError WrapAlways(const AutomationError& inner, const std::string& source,
                           const std::string& message) {
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

void RaiseObjectError(int32_t n, const std::string& source, const std::string& description) {
  throw AutomationError(kObjectError + n, source, description);
}

void RaiseError(int32_t number, const std::string& source, const std::string& description) {
  throw AutomationError(number, source, description);
}

std::string RuntimeErrorText(int32_t number) {
  switch (number) {
    case 5:
      return "Invalid procedure call or argument";
    case 6:
      return "Overflow";
    case 7:
      return "Out of memory";
    case 9:
      return "Subscript out of range";
    case 11:
      return "Division by zero";
    case 13:
      return "Type mismatch";
    case 52:
      return "Bad file name or number";
    case 53:
      return "File not found";
    case 57:
      return "Device I/O error";
    case 58:
      return "File already exists";
    case 61:
      return "Disk full";
    case 62:
      return "Input past end of file";
    case 70:
      return "Permission denied";
    case 74:
      return "Can't rename with different drive";
    case 75:
      return "Path/File access error";
    case 76:
      return "Path not found";
    case 91:
      return "Object variable or With block variable not set";
    case 94:
      return "Invalid use of Null";
    case 321:
      return "Invalid file format";
    case 380:
      return "Invalid property value";
    case 424:
      return "Object required";
    case 429:
      return "ActiveX component can't create object";
    case 438:
      return "Object doesn't support this property or method";
    case 449:
      return "Argument not optional";
    case 450:
      return "Wrong number of arguments or invalid property assignment";
    case 457:
      return "This key is already associated with an element of this collection";
    default:
      return "Application-defined or object-defined error";
  }
}

AutomationError RuntimeError(int32_t number) {
  return AutomationError(number, "", RuntimeErrorText(number));
}

void RaiseRuntimeError(int32_t number) { throw RuntimeError(number); }

}  // namespace brevora
