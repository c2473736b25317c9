#include "core/module_error.h"

#include <gtest/gtest.h>

namespace brevora::core {
namespace {

TEST(ModuleError, ObjectErrorsCarryTheModulesName) {
  try {
    RaiseModuleError(0x112, "Cannot add new record.");
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040112u));
    EXPECT_EQ(e.source(), "tabrelpc");
    EXPECT_EQ(e.description(), "Cannot add new record.");
  }
}

TEST(ModuleError, TheModulesNameBecomesTheSource) {
  const AutomationError e = AsModuleError(AutomationError(1004, "Db", "Refused."));
  EXPECT_EQ(e.number(), 1004);
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(e.description(), "Refused.");
}

}  // namespace
}  // namespace brevora::core
