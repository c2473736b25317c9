#pragma once
// AutomationError: the one exception type that crosses library boundaries, the
// equivalent of Visual Basic's Err.Raise (number, source, description).
// Wrap32760 builds the wrapping chain: an error already numbered 32760 passes on
// unchanged, any other becomes 32760 with the operation's own source and message,
// a CR LF, and the inner description, so a message reads from the outside in.
// WrapAlways does the same for every error, 32760 included.
#include <cstdint>
#include <exception>
#include <string>

namespace brevora {

inline constexpr int32_t kWrapError = 32760;
// Visual Basic's vbObjectError: object-check errors are this plus a small number.
inline constexpr int32_t kObjectError = static_cast<int32_t>(0x80040000u);

class AutomationError : public std::exception {
 public:
  AutomationError(int32_t number, std::string source, std::string description);
  ~AutomationError() override;

  int32_t number() const noexcept { return number_; }
  const std::string& source() const noexcept { return source_; }
  const std::string& description() const noexcept { return description_; }
  const char* what() const noexcept override { return description_.c_str(); }

 private:
  int32_t number_;
  std::string source_;
  std::string description_;
};

// The error to raise for a failed operation: `inner` unchanged when it is already
// 32760, else 32760 with `source` and `message` + CR LF + inner description.
AutomationError Wrap32760(const AutomationError& inner, const std::string& source,
                          const std::string& message);
// The error of an outer operation (open, save) whose message always comes
// first: 32760 with `source` and `message` + CR LF + inner description, whatever
// the inner number, 32760 included.
AutomationError WrapAlways(const AutomationError& inner, const std::string& source,
                           const std::string& message);

// Turns whatever the current exception is (inside a catch block) into an
// AutomationError: AutomationError as is, std::bad_alloc as 7 "Out of memory",
// anything else as 5 with its what() text.
AutomationError CurrentError();

// Runs `body` and returns what it returns; any error of it leaves as
// Wrap32760(error, source, message): the guard of a public method or step.
template <class F>
auto RunWrapped(const std::string& source, const std::string& message, F&& body) {
  try {
    return body();
  } catch (...) {
    throw Wrap32760(CurrentError(), source, message);
  }
}

// The same with WrapAlways: `message` comes first whatever the error.
template <class F>
auto RunWrappedAlways(const std::string& source, const std::string& message, F&& body) {
  try {
    return body();
  } catch (...) {
    throw WrapAlways(CurrentError(), source, message);
  }
}

// Raises kObjectError + n with the given source and description: the error a
// module raises for a bad call on one of its objects (its source is the module's
// name).
[[noreturn]] void RaiseObjectError(int32_t n, const std::string& source,
                                   const std::string& description);

// Err.Raise: throws AutomationError(number, source, description).
[[noreturn]] void RaiseError(int32_t number, const std::string& source,
                             const std::string& description);

// Visual Basic's own text of a run-time error number ("Type mismatch" for 13),
// "Application-defined or object-defined error" for numbers it has no text for.
std::string RuntimeErrorText(int32_t number);
// A run-time error as Visual Basic raises it: the number, an empty source, its text.
AutomationError RuntimeError(int32_t number);
[[noreturn]] void RaiseRuntimeError(int32_t number);

}  // namespace brevora
