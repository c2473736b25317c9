#include "core/ext_pdb.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/handheld_database.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/hotsync/database_format.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::core {
namespace {

using ::brevora::testing::NumberOf;

std::string TempFile(const std::string& name) {
  return testing::MakeTempDir("extpdb") + "/" + name;
}

// A database file whose records carry the given unique ids.
std::string FileWithIds(const std::vector<int32_t>& ids) {
  HandheldDatabase db;
  db.SetName("Ids");
  for (int32_t id : ids) {
    RecordRef rec = MakeRef<DatabaseRecord>();
    rec->SetUniqueID(id);
    rec->SetDataText("r" + std::to_string(id));
    db.Records().Add(rec);
  }
  const std::string path = TempFile("ids.pdb");
  db.WriteFile(path);
  return path;
}

std::unique_ptr<HandheldDatabase> ReadBack(const std::string& path) {
  auto db = std::make_unique<HandheldDatabase>();
  db->ReadFile(path, true);
  return db;
}

TEST(ExtPDB, ThreeStringsWrittenGetIdsOneToThreeAndAttributeEight) {
  Ref<Dispatch> x = CreateObject("TabulynPC.ExtPDB");
  CallByName(x, "create", CallKind::Method);
  CallByName(x, "setName", CallKind::Method, "Notes");
  for (const char* text : {"one", "two", "three"}) {
    CallByName(x, "addRecordString", CallKind::Method, text);
  }
  const std::string path = TempFile("three.pdb");
  CallByName(x, "writePDB", CallKind::Method, path);

  const std::unique_ptr<HandheldDatabase> read = ReadBack(path);
  HandheldDatabase& db = *read;
  EXPECT_EQ(db.Name(), "Notes");
  ASSERT_EQ(db.Records().Count(), 3);
  for (int32_t i = 1; i <= 3; ++i) {
    EXPECT_EQ(db.Records().Item(i)->UniqueID(), i);
    EXPECT_EQ(db.Records().Item(i)->Attributes(), 8);
  }

  Ref<Dispatch> y = CreateObject("TabulynPC.ExtPDB");
  CallByName(y, "create", CallKind::Method);
  CallByName(y, "openPDB", CallKind::Method, path);
  EXPECT_EQ(CallByName(y, "numRecords", CallKind::Method), Variant(int32_t{3}));
  EXPECT_EQ(CallByName(y, "getRecord", CallKind::Method, 2), Variant("two"));
  EXPECT_EQ(CallByName(y, "getRecordSize", CallKind::Method, 3), Variant(int32_t{5}));
  EXPECT_EQ(CallByName(y, "getName", CallKind::Method), Variant("Notes"));
}

TEST(ExtPDB, AddRecordIgnoresItsAttributeArgument) {
  Ref<ExtPDB> x = MakeRef<ExtPDB>();
  x->Create();
  Variant args[] = {Variant(std::vector<uint8_t>{1, 2, 0, 255}), Variant(int16_t{0})};
  x->Invoke("addRecord", CallKind::Method, args);
  Variant bytes[] = {Variant(std::vector<uint8_t>{9})};
  x->Invoke("addRecordB", CallKind::Method, bytes);
  const std::string path = TempFile("attr.pdb");
  x->Write(path);
  const std::unique_ptr<HandheldDatabase> read = ReadBack(path);
  HandheldDatabase& db = *read;
  ASSERT_EQ(db.Records().Count(), 2);
  EXPECT_EQ(db.Records().Item(1)->Attributes(), 8);
  EXPECT_EQ(db.Records().Item(1)->DataText(), std::string("\x01\x02\x00\xff", 4));
  EXPECT_EQ(db.Records().Item(2)->UniqueID(), 2);
}

TEST(ExtPDB, NewDatabaseIsEmpty) {
  Ref<ExtPDB> x = MakeRef<ExtPDB>();
  x->Create();
  EXPECT_EQ(x->RecordCount(), 0);
  EXPECT_EQ(x->AppInfo(), "");
  EXPECT_EQ(x->Name(), "");
  EXPECT_EQ(x->CreatorID(), std::string(4, '\0'));
}

TEST(ExtPDB, EveryMemberButCreateNeedsCreateFirst) {
  Ref<Dispatch> x = CreateObject("TabulynPC.ExtPDB");
  const std::pair<const char*, int> members[] = {
      {"addRecordString", 1}, {"addRecord", 1},     {"addRecordB", 1},   {"getAppInfo", 0},
      {"numRecords", 0},      {"getRecordSize", 1}, {"getRecord", 1},    {"getRecordB", 1},
      {"setAppInfo", 1},      {"setCreatorID", 1},  {"getCreatorID", 0}, {"setDBType", 1},
      {"getDBType", 0},       {"setName", 1},       {"getName", 0},      {"openPDB", 1},
      {"setVersion", 1},      {"writePDB", 1}};
  for (const auto& [name, argc] : members) {
    std::vector<Variant> args(argc, Variant("1"));
    EXPECT_EQ(NumberOf([&, name = name] { x->Invoke(name, CallKind::Method, args); }), 91) << name;
  }
}

TEST(ExtPDB, APositionOutsideTheRecordsRaises9) {
  Ref<ExtPDB> x = MakeRef<ExtPDB>();
  x->Create();
  x->AddRecordText("a");
  x->AddRecordText("b");
  for (int32_t index : {0, -1, 3, 1000}) {
    EXPECT_EQ(NumberOf([&] { x->RecordText(index); }), 9) << index;
    EXPECT_EQ(NumberOf([&] { x->RecordSize(index); }), 9) << index;
    EXPECT_EQ(NumberOf([&] { x->RecordBytes(index); }), 9) << index;
  }
  // A text index is a position too, never a key.
  EXPECT_EQ(NumberOf([&] { CallByName(x, "getRecord", CallKind::Method, "K1"); }), 13);
  EXPECT_EQ(CallByName(x, "getRecord", CallKind::Method, "2"), Variant("b"));
}

// Appended ids used to be "number of records + 1", which repeated an id of a
// file that was read.
TEST(ExtPDB, AppendedIdIsOneMoreThanTheLargestPresent) {
  const struct {
    std::vector<int32_t> ids;
    int32_t next;
  } cases[] = {
      {{}, 1},
      {{5, 9, 7}, 10},
      {{2, 1}, 3},
      {{0}, 1},
      {{static_cast<int32_t>(hotsync::database_format::kMaxUniqueID) - 1},
       static_cast<int32_t>(hotsync::database_format::kMaxUniqueID)},
      // Past 24 bits: the smallest free id.
      {{static_cast<int32_t>(hotsync::database_format::kMaxUniqueID), 1, 2, 4}, 3},
  };
  for (const auto& c : cases) {
    Ref<ExtPDB> x = MakeRef<ExtPDB>();
    x->Create();
    x->Open(FileWithIds(c.ids));
    x->AddRecordText("new");
    const std::string path = TempFile("appended.pdb");
    x->Write(path);
    const std::unique_ptr<HandheldDatabase> read = ReadBack(path);
    HandheldDatabase& db = *read;
    ASSERT_EQ(db.Records().Count(), static_cast<int32_t>(c.ids.size()) + 1);
    EXPECT_EQ(db.Records().Item(db.Records().Count())->UniqueID(), c.next)
        << ::testing::PrintToString(c.ids);
  }
}

TEST(ExtPDB, HeaderFieldsAndBlocksPassThrough) {
  Ref<ExtPDB> x = MakeRef<ExtPDB>();
  x->Create();
  x->SetCreatorID("ab");
  x->SetDatabaseType("DATA");
  x->SetAppInfo(std::string("info\0\xe9yz", 8));
  x->SetVersion(65535);
  EXPECT_EQ(x->CreatorID(), std::string("ab\0\0", 4));
  EXPECT_EQ(x->DatabaseType(), "DATA");
  EXPECT_EQ(x->AppInfo(), std::string("info\0\xe9yz", 8));
  // The database's own checks pass unchanged.
  EXPECT_EQ(NumberOf([&] { x->SetVersion(65536); }), 6);
  EXPECT_EQ(NumberOf([&] { x->SetCreatorID("toolong"); }), 380);
  EXPECT_EQ(NumberOf([&] { x->SetName(std::string(32, 'n')); }), 380);
  EXPECT_EQ(x->CreatorID(), std::string("ab\0\0", 4));

  x->AddRecordText("\xe4\xf6");  // code-page text, one byte per character
  EXPECT_EQ(x->RecordBytes(1), (std::vector<uint8_t>{0xe4, 0xf6}));
  Variant b = CallByName(x, "getRecordB", CallKind::Method, 1);
  EXPECT_EQ(b.type(), VarType::Bytes);

  const std::string path = TempFile("fields.pdb");
  x->Write(path);
  Ref<ExtPDB> y = MakeRef<ExtPDB>();
  y->Create();
  y->Open(path);
  EXPECT_EQ(y->AppInfo(), std::string("info\0\xe9yz", 8));
  EXPECT_EQ(y->DatabaseType(), "DATA");
}

TEST(ExtPDB, OpeningAMissingFileRaisesTheReadErrorAndKeepsTheDatabase) {
  Ref<ExtPDB> x = MakeRef<ExtPDB>();
  x->Create();
  x->AddRecordText("kept");
  const int number = NumberOf([&] { x->Open(TempFile("missing.pdb")); });
  EXPECT_NE(number, 0);
  EXPECT_EQ(x->RecordCount(), 1);
}

}  // namespace
}  // namespace brevora::core
