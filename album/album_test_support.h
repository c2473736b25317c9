#pragma once
// Test support for the album's tests: the automation error a call raised.
#include <gtest/gtest.h>

#include <optional>

#include "platform/error/error.h"

namespace brevora::album::testing {

// The AutomationError `body` raised; nullopt (and a test failure) when it
// raised none.
template <class F>
std::optional<AutomationError> CaughtError(F&& body) {
  try {
    body();
  } catch (const AutomationError& e) {
    return e;
  }
  ADD_FAILURE() << "no automation error was raised";
  return std::nullopt;
}

}  // namespace brevora::album::testing
