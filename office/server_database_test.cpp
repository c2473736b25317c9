#include "office/server_database.h"

#include <gtest/gtest.h>

#include "platform/time/dates.h"
#include "testing/fake_server_database.h"

namespace brevora::office {
namespace {

using brevora::testing::FakeServerDatabase;

TEST(ServerDatabaseTest, AddNewRecordMustAnswerTrue) {
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  AddServerRecord(*db);
  const Variant refusals[] = {Variant(false), Variant::Null(), Variant(), Variant("no"),
                              Variant(Ref<Dispatch>(db))};
  for (const Variant& refusal : refusals) {
    db->answers["AddNewRecord"] = [refusal](Args) { return refusal; };
    try {
      AddServerRecord(*db);
      FAIL() << "accepted " << ::testing::PrintToString(refusal);
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040112u));
      EXPECT_EQ(e.source(), "tabrelpc");
      EXPECT_EQ(e.description(), "Cannot add new record.");
    }
  }
  db->answers["AddNewRecord"] = [](Args) { return Variant(int16_t{-1}); };
  AddServerRecord(*db);
  db->answers.clear();  // nothing to break the reference cycle of the last answer
}

TEST(ServerDatabaseTest, TheCreationTimeIsInMinutes) {
  // 2 January 1900 12:00 is 3.5 days: 5040 minutes.
  EXPECT_EQ(ServerCreationTime(3.5), 5040);
  EXPECT_EQ(ServerCreationTime(3.5 + 59.0 / 86400), 5040);  // whole minutes only
  // Past 2^31 minutes (in the year 5982) the unsigned value wraps into the sign.
  EXPECT_EQ(ServerCreationTime(2147483648.0 / 1440), static_cast<int32_t>(0x80000000u));

  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  const int32_t before = ServerCreationTime(dates::NowVbDate());
  SetServerCreationTime(*db);
  const int32_t after = ServerCreationTime(dates::NowVbDate());
  ASSERT_EQ(db->Members(), (std::vector<std::string>{"SetCreationTime"}));
  const Variant& passed = db->calls[0].args.at(0);
  EXPECT_EQ(passed.type(), VarType::Long);
  EXPECT_GE(passed.AsLong(), before);
  EXPECT_LE(passed.AsLong(), after);
}

}  // namespace
}  // namespace brevora::office
