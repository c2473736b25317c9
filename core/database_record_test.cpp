#include "core/database_record.h"

#include <gtest/gtest.h>

#include "platform/error/error.h"

namespace brevora::core {
namespace {

TEST(Record, StartsEmpty) {
  const auto rec = MakeRef<DatabaseRecord>();
  EXPECT_EQ(rec->Attributes(), 0);
  EXPECT_EQ(rec->UniqueID(), 0);
  EXPECT_EQ(rec->DataOffset().Value(), 0.0);
  EXPECT_EQ(rec->DataLength(), 0);
  EXPECT_EQ(rec->DataText(), "");
}

TEST(Record, DataAsTextAndAsBytesIsTheSame) {
  DatabaseRecord rec;
  rec.SetDataText(std::string("A\0\xE9z", 4));  // code-page text, NUL included
  EXPECT_EQ(rec.DataLength(), 4);
  const auto bytes = rec.Data();
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.end()),
            (std::vector<uint8_t>{'A', 0, 0xE9, 'z'}));
  rec.SetData({0xFF, 0x80});
  EXPECT_EQ(rec.DataText(), "\xFF\x80");
  rec.SetData({});
  EXPECT_EQ(rec.DataLength(), 0);
}

TEST(Record, UniqueIDKeepsTheLow24Bits) {
  DatabaseRecord rec;
  rec.SetUniqueID(0x12345678);
  EXPECT_EQ(rec.UniqueID(), 0x345678);
  rec.SetUniqueID(16777215);
  EXPECT_EQ(rec.UniqueID(), 16777215);
  rec.SetUniqueID(0x010203);
  try {
    rec.SetUniqueID(-1);
    FAIL() << "a negative id was taken";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 6);
  }
  EXPECT_EQ(rec.UniqueID(), 0x010203);
}

}  // namespace
}  // namespace brevora::core
