#include "office/link_settings.h"

#include <gtest/gtest.h>

#include "platform/error/error.h"
#include "testing/caught_error.h"

namespace brevora::office {
namespace {

using ::brevora::testing::ErrorOf;
using ::brevora::testing::RaisesError;

constexpr LinkSettings kXls{"XLS", "Tabulyn - Workbook"};

TEST(LinkSettings, SyncMethodTextsBothWays) {
  const struct {
    int32_t method;
    const char* text;
  } cases[] = {{0, "Synchronize"}, {1, "Palm to XLS"}, {2, "XLS to Palm"}, {3, "Do Nothing"}};
  for (const auto& c : cases) {
    EXPECT_EQ(kXls.SyncMethodText(c.method), c.text);
    EXPECT_EQ(kXls.SyncMethodFromText(c.text), c.method) << c.text;
  }
  for (int32_t outside : {-1, 4, 70000})
    EXPECT_EQ(kXls.SyncMethodText(outside), "Synchronize") << outside;
  for (const char* unknown : {"", "palm to xls", "Palm to DOC", "Do Nothing "}) {
    EXPECT_EQ(kXls.SyncMethodFromText(unknown), 0) << unknown;
  }
  EXPECT_EQ(LinkSettings("PPT", "x").SyncMethodText(2), "PPT to Palm");
}

TEST(LinkSettings, SyncValuesOutsideZeroToThreeAreRefused) {
  for (int32_t good : {0, 3}) EXPECT_NO_THROW(kXls.CheckSyncValue(good, "syncMethod"));
  for (int32_t bad : {-1, 4}) {
    EXPECT_THAT([&] { kXls.CheckSyncValue(bad, "syncOption"); },
                RaisesError(kWrapError, "Tabulyn - Workbook"))
        << bad;
  }
  EXPECT_EQ(ErrorOf([] { kXls.CheckSyncValue(4, "syncOption"); }).description(),
            "Invalid syncOption.  Must be between 0 and 3");
}

}  // namespace
}  // namespace brevora::office
