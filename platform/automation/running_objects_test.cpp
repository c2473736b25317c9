#include "platform/automation/running_objects.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora {
namespace {

using ::brevora::testing::NumberOf;

class App : public Dispatch {};

TEST(RunningObjects, AttachToTheRegisteredObjectUntilRevoked) {
  EXPECT_EQ(NumberOf([] { GetActiveObject("Brevora.TestApp"); }), 429);
  auto app = MakeRef<App>();
  RegisterActive("Brevora.TestApp", app);
  EXPECT_EQ(GetActiveObject("brevora.testapp"), Ref<Dispatch>(app));
  EXPECT_EQ(app->RefCount(), 2);  // the table holds one

  auto newer = MakeRef<App>();
  RegisterActive("BREVORA.TESTAPP", newer);
  EXPECT_EQ(GetActiveObject("Brevora.TestApp"), Ref<Dispatch>(newer));
  EXPECT_EQ(app->RefCount(), 1);

  EXPECT_TRUE(RevokeActive("Brevora.TestApp"));
  EXPECT_FALSE(RevokeActive("Brevora.TestApp"));
  EXPECT_EQ(newer->RefCount(), 1);
  EXPECT_EQ(NumberOf([] { GetActiveObject("Brevora.TestApp"); }), 429);
}

}  // namespace
}  // namespace brevora
