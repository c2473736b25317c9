#include "testing/caught_error.h"

#include <gtest/gtest.h>

namespace brevora::testing {
namespace {

TEST(CaughtError, GivesTheRaisedErrorOrNumberZero) {
  const AutomationError e = ErrorOf([] { RaiseError(380, "Here", "Invalid property value"); });
  EXPECT_EQ(e.number(), 380);
  EXPECT_EQ(e.source(), "Here");
  EXPECT_EQ(e.description(), "Invalid property value");
  EXPECT_EQ(NumberOf([] { RaiseRuntimeError(91); }), 91);
  EXPECT_EQ(NumberOf([] {}), 0);
}

TEST(CaughtError, RaisesErrorMatchesNumberAndSource) {
  const auto raise = [] { RaiseError(380, "Here", "Invalid property value"); };
  EXPECT_THAT(raise, RaisesError(380, "Here"));
  EXPECT_THAT(raise, ::testing::Not(RaisesError(381, "Here")));
  EXPECT_THAT(raise, ::testing::Not(RaisesError(380, "There")));
  EXPECT_THAT([] {}, ::testing::Not(RaisesError(380, "Here")));
}

TEST(CaughtError, RaisesErrorNumberMatchesTheNumberOnly) {
  EXPECT_THAT([] { RaiseError(53, "Anywhere", "File not found"); }, RaisesErrorNumber(53));
  EXPECT_THAT([] { RaiseRuntimeError(53); }, RaisesErrorNumber(53));
  EXPECT_THAT([] { RaiseRuntimeError(53); }, ::testing::Not(RaisesErrorNumber(76)));
  EXPECT_THAT([] {}, ::testing::Not(RaisesErrorNumber(53)));
}

}  // namespace
}  // namespace brevora::testing
