#pragma once
// The automation error a call raises, for tests: ErrorOf(call) gives it (an
// error numbered 0 with empty texts when the call raises none), NumberOf(call)
// only its number, and the matchers RaisesError(number, source) and
// RaisesErrorNumber(number) check a call directly:
//   EXPECT_THAT([&] { db.ReadFile(path, true); }, RaisesError(321, "PDB.ReadFile"));
//   EXPECT_THAT([&] { RemoveFile(missing); }, RaisesErrorNumber(53));
#include <gmock/gmock.h>

#include <cstdint>
#include <functional>
#include <string>

#include "platform/error/error.h"

namespace brevora::testing {

inline AutomationError ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const AutomationError& e) {
    return e;
  }
  return AutomationError(0, "", "");
}

inline int32_t NumberOf(const std::function<void()>& call) { return ErrorOf(call).number(); }

MATCHER_P2(RaisesError, number, source,
           "raises automation error " + ::testing::PrintToString(number) + " from " +
               ::testing::PrintToString(source)) {
  const AutomationError e = ErrorOf(arg);
  *result_listener << "raised " << e.number() << " from \"" << e.source()
                   << "\": " << e.description();
  return e.number() == number && e.source() == std::string(source);
}

MATCHER_P(RaisesErrorNumber, number,
          "raises automation error " + ::testing::PrintToString(number)) {
  const AutomationError e = ErrorOf(arg);
  *result_listener << "raised " << e.number() << " from \"" << e.source()
                   << "\": " << e.description();
  return e.number() == number;
}

}  // namespace brevora::testing
