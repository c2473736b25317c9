#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "doc/document.h"
#include "doc/document_test_support.h"
#include "doc/handheld_records.h"
#include "doc/zazer_records.h"
#include "office/server_database.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/time/dates.h"
#include "testing/fake_server_database.h"

namespace brevora::doc {
namespace {

using brevora::testing::FakeServerDatabase;
using Bytes = std::vector<uint8_t>;
using Members = std::vector<std::string>;
using testing::ErrorOf;

// The byte array passed in the n-th call of `member` (0-based).
Bytes Passed(const FakeServerDatabase& db, const char* member, size_t n = 0) {
  return db.CallsOf(member).at(n).args.at(0).AsBytes();
}

uint32_t Big32(const Bytes& b, size_t at) {
  return uint32_t{b.at(at)} << 24 | uint32_t{b.at(at + 1)} << 16 | uint32_t{b.at(at + 2)} << 8 |
         b.at(at + 3);
}
uint16_t Big16(const Bytes& b, size_t at) {
  return static_cast<uint16_t>(b.at(at) << 8 | b.at(at + 1));
}

std::string Text(const Bytes& b, size_t at, size_t n) {
  return std::string(b.begin() + at, b.begin() + at + n);
}

Ref<Document> DocumentOf(std::vector<std::string> blocks) {
  Ref<Document> document = MakeRef<Document>();
  document->InitFromDefaults();
  document->SetIsCompressed(false);
  document->SetBlocks(std::move(blocks));
  return document;
}

TEST(ZazerTest, TheCallsOfOneBlockOfTenCharactersInOrder) {
  Ref<Document> document = DocumentOf({"0123456789"});
  document->SetCategory(3);
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  const int32_t before = office::ServerCreationTime(dates::NowVbDate());
  document->WriteToZazerDB(*db);
  const int32_t after = office::ServerCreationTime(dates::NowVbDate());
  EXPECT_EQ(db->Members(), (Members{"setVersion", "SetAppInfoBinaryData", "MoveFirst",
                                    "AddNewRecord", "SetRecordBinaryData", "SetRecordCategory",
                                    "AddNewRecord", "SetRecordBinaryData", "SetCreationTime"}));
  EXPECT_EQ(db->calls[0].args.at(0), Variant(int16_t{5}));
  EXPECT_EQ(db->CallsOf("SetRecordCategory").at(0).args.at(0), Variant(int16_t{3}));
  EXPECT_EQ(Passed(*db, "SetRecordBinaryData", 0),
            (Bytes{1, 1, 0, 1, 0, 0, 0, 10, 0, 1, 0x08, 0x00, 0, 0, 0, 0, 0, 10}));
  EXPECT_EQ(Passed(*db, "SetRecordBinaryData", 1),
            Bytes(std::string_view("0123456789").begin(), std::string_view("0123456789").end()));
  const Variant time = db->CallsOf("SetCreationTime").at(0).args.at(0);
  EXPECT_EQ(time.type(), VarType::Long);
  EXPECT_GE(time.AsLong(), before);
  EXPECT_LE(time.AsLong(), after);
  EXPECT_TRUE(document->IsServerSync());
}

TEST(ZazerTest, TheApplicationInfoBlock) {
  Ref<Document> document = DocumentOf({"x"});
  document->SetVersion(-1);
  document->SetDocName(std::string(31, 'N'));
  document->SetPassword("  secret ");
  document->SetLastReadPos(70000);
  document->SetCursorEndPos(70001);
  document->SetIsModified(true);
  document->SetLinkedDOCFileName("/docs/Letter.doc");
  document->SetLinkedDOCSyncMethod(2);
  document->SetLinkedDOCSyncOption(3);
  document->SetLinkedDOCFileModDateTime(3888043200.7);
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  document->WriteToZazerDB(*db);
  const Bytes info = Passed(*db, "SetAppInfoBinaryData");
  ASSERT_EQ(info.size(), 400u);
  EXPECT_EQ(Big16(info, 0), 0xFFFF);  // the low 16 bits of -1
  EXPECT_EQ(Text(info, 2, 32), std::string(31, 'N') + '\0');
  EXPECT_EQ(Text(info, 34, 32), std::string("secret") + std::string(26, '\0'));
  EXPECT_EQ(Text(info, 66, 10), std::string(10, '\0'));
  EXPECT_EQ(Big16(info, 76), 70000 - 65536);
  EXPECT_EQ(Big16(info, 78), 70001 - 65536);
  EXPECT_EQ(Text(info, 80, 53), std::string(53, '\0'));
  EXPECT_EQ(info[133], 1);  // modified
  EXPECT_EQ(info[134], 1);  // server sync, set by the call
  EXPECT_EQ(info[135], 0);
  EXPECT_EQ(Text(info, 136, 16), "/docs/Letter.doc");
  EXPECT_EQ(Text(info, 152, 240), std::string(240, '\0'));
  EXPECT_EQ(Big16(info, 392), 2);
  EXPECT_EQ(Big16(info, 394), 3);
  EXPECT_EQ(Big32(info, 396), 3888043200u);  // the whole part
}

TEST(ZazerTest, ALongNameIsCutToItsFirst31Characters) {
  // A name read from a file may be longer than the property takes.
  DocumentHeader header;
  const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn";  // 40
  header.DocName = letters;
  header.LinkedDOCFileName = std::string(300, 'p');
  const Bytes info = EncodeZazerAppInfo(header, {.version = 5, .isModified = false});
  ASSERT_EQ(info.size(), 400u);
  EXPECT_EQ(Text(info, 2, 31), letters.substr(0, 31));
  EXPECT_EQ(info[33], 0);
  EXPECT_EQ(Text(info, 136, 255), std::string(255, 'p'));
  EXPECT_EQ(info[391], 0);
}

TEST(ZazerTest, ThreeBlocksGiveTheirLengthsAndTableWords) {
  Ref<Document> document =
      DocumentOf({std::string(2048, 'a'), std::string(2048, 'b'), std::string(100, 'c')});
  document->SetBookmark(1, "first", 10);
  document->SetBookmark(2, "a very long bookmark name", -1);
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  document->WriteToZazerDB(*db);
  const Bytes header = Passed(*db, "SetRecordBinaryData", 0);
  ASSERT_EQ(header.size(), 22u);
  EXPECT_EQ(Big32(header, 4), 4196u);
  EXPECT_EQ(Big16(header, 8), 3);
  EXPECT_EQ(Big16(header, 10), 2048);
  EXPECT_EQ(Big16(header, 16), 2048);
  EXPECT_EQ(Big16(header, 18), 2048);
  EXPECT_EQ(Big16(header, 20), 100);
  EXPECT_EQ(db->CallsOf("AddNewRecord").size(), 1u + 3u + 2u);
  EXPECT_EQ(db->CallsOf("SetRecordCategory").size(), 1u);  // the header record only
  const Bytes first = Passed(*db, "SetRecordBinaryData", 4);
  EXPECT_EQ(Text(first, 0, 16), std::string("first") + std::string(11, '\0'));
  EXPECT_EQ(Big32(first, 16), 10u);
  const Bytes second = Passed(*db, "SetRecordBinaryData", 5);
  ASSERT_EQ(second.size(), 20u);
  EXPECT_EQ(Text(second, 0, 16), std::string("a very long boo") + '\0');
  EXPECT_EQ(Big32(second, 16), 0xFFFFFFFFu);
}

TEST(ZazerTest, TheTextLengthCountsTheCharactersOfEveryBlock) {
  // Blocks cut short before a tag hold fewer than 2048 characters.
  Ref<Document> document = DocumentOf({std::string(2040, 'a'), std::string(30, 'b')});
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  document->WriteToZazerDB(*db);
  EXPECT_EQ(Big32(Passed(*db, "SetRecordBinaryData", 0), 4), 2070u);
}

TEST(ZazerTest, CompressedBlocksKeepTheirLengthOrArePassedWhole) {
  std::string text;
  for (int i = 0; i < 2048; ++i) text += "The quick brown fox. "[i % 21];
  std::string noisy;  // bytes at 0x80 and above: PalmDOC stores each with an escape
  for (int i = 0; i < 64; ++i) noisy += static_cast<char>(0x80 + (i * 37) % 128);
  Ref<Document> document = DocumentOf({text, noisy});
  document->SetIsCompressed(true);
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  document->WriteToZazerDB(*db);

  const Bytes compressed = CompressRecord(text);
  const Bytes first = Passed(*db, "SetRecordBinaryData", 1);
  ASSERT_EQ(first.size(), 2048u);
  EXPECT_EQ(Bytes(first.begin(), first.begin() + static_cast<long>(compressed.size())), compressed);
  EXPECT_EQ(Bytes(first.begin() + static_cast<long>(compressed.size()), first.end()),
            Bytes(2048 - compressed.size(), 0));

  const Bytes longer = CompressRecord(noisy);
  ASSERT_GT(longer.size(), noisy.size());
  EXPECT_EQ(Passed(*db, "SetRecordBinaryData", 2), longer);  // whole, not cut
  EXPECT_EQ(ExpandRecord(longer, 4096), noisy);
}

TEST(ZazerTest, BookmarksAreTheNonEmptySlots) {
  Ref<Document> document = DocumentOf({"x"});
  EXPECT_TRUE(document->SetBookmark(3, "third", 7));
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  document->WriteToZazerDB(*db);
  const auto records = db->CallsOf("SetRecordBinaryData");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(Text(records[2].args.at(0).AsBytes(), 0, 5), "third");
}

TEST(ZazerTest, ADocumentWithoutTextSendsLengthZero) {
  for (bool erased : {false, true}) {
    Ref<Document> document = DocumentOf({});  // an empty block collection
    if (erased) document->EraseText();        // none at all
    Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
    document->WriteToZazerDB(*db);
    EXPECT_EQ(Passed(*db, "SetRecordBinaryData"),
              (Bytes{1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0x08, 0x00, 0, 0, 0, 0}));
    EXPECT_EQ(db->CallsOf("AddNewRecord").size(), 1u);
    EXPECT_EQ(db->Members().back(), "SetCreationTime");
  }
}

TEST(ZazerTest, ARefusedRecordStopsTheWrite) {
  Ref<Document> document = DocumentOf({"one", "two"});
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  db->AllowRecords(2);
  const AutomationError e = ErrorOf([&] { document->WriteToZazerDB(*db); });
  EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040112u));
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(e.description(), "Cannot add new record.");
  EXPECT_EQ(db->Members(), (Members{"setVersion", "SetAppInfoBinaryData", "MoveFirst",
                                    "AddNewRecord", "SetRecordBinaryData", "SetRecordCategory",
                                    "AddNewRecord", "SetRecordBinaryData", "AddNewRecord"}));
}

TEST(ZazerTest, TheObjectsErrorsLeaveWithTheModulesName) {
  Ref<Document> document = DocumentOf({"one"});
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  db->answers["MoveFirst"] = [](Args) -> Variant {
    RaiseError(3021, "RivorOdurov", "No current record.");
  };
  const AutomationError e = ErrorOf([&] { document->WriteToZazerDB(*db); });
  EXPECT_EQ(e.number(), 3021);
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(e.description(), "No current record.");
  EXPECT_EQ(db->Members().size(), 3u);
}

TEST(ZazerTest, LateBoundAndReadingBackIsRefused) {
  Ref<Document> document = DocumentOf({"one"});
  Ref<FakeServerDatabase> db = MakeRef<FakeServerDatabase>();
  CallByName(document, "WriteToZazerDB", CallKind::Method, Ref<Dispatch>(db));
  EXPECT_EQ(db->Members().size(), 9u);

  db->calls.clear();
  for (const AutomationError& e :
       {ErrorOf(
            [&] { CallByName(document, "OpenFromZazerDB", CallKind::Method, Ref<Dispatch>(db)); }),
        ErrorOf([&] { CallByName(document, "OpenFromZazerDB", CallKind::Method); })}) {
    EXPECT_EQ(e.number(), static_cast<int32_t>(0x80040114u));
    EXPECT_EQ(e.source(), "OpenFromZazerDB");
    EXPECT_EQ(e.description(), "Function not yet implemented.");
  }
  EXPECT_TRUE(db->calls.empty());
}

}  // namespace
}  // namespace brevora::doc
