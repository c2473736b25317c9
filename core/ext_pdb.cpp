#include "core/ext_pdb.h"

#include <algorithm>
#include <unordered_set>

#include "core/module_state.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/hotsync/database_format.h"

namespace brevora::core {

ExtPDB::ExtPDB() = default;
ExtPDB::~ExtPDB() = default;

const MemberTable<ExtPDB>& ExtPDB::Members() {
  using M = CallKind;
  static const MemberTable<ExtPDB> table{
      {"addRecordString", M::Method, [](ExtPDB& x, Args a) { x.AddRecordText(CStr(a[0])); }, 1},
      {"create", M::Method, [](ExtPDB& x, Args) { x.Create(); }},
      {"addRecord", M::Method, [](ExtPDB& x, Args a) { x.AddRecord(CBytes(a[0])); }, 1, 2},
      {"addRecordB", M::Method, [](ExtPDB& x, Args a) { x.AddRecordBytes(CBytes(a[0])); }, 1},
      {"getAppInfo", M::Method, [](ExtPDB& x, Args) { return Variant(x.AppInfo()); }},
      {"numRecords", M::Method, [](ExtPDB& x, Args) { return Variant(x.RecordCount()); }},
      {"getRecordSize", M::Method,
       [](ExtPDB& x, Args a) { return Variant(x.RecordSize(CLng(a[0]))); }, 1},
      {"getRecord", M::Method, [](ExtPDB& x, Args a) { return Variant(x.RecordText(CLng(a[0]))); },
       1},
      {"getRecordB", M::Method,
       [](ExtPDB& x, Args a) { return Variant(x.RecordBytes(CLng(a[0]))); }, 1},
      {"setAppInfo", M::Method, [](ExtPDB& x, Args a) { x.SetAppInfo(CStr(a[0])); }, 1},
      {"setCreatorID", M::Method, [](ExtPDB& x, Args a) { x.SetCreatorID(CStr(a[0])); }, 1},
      {"getCreatorID", M::Method, [](ExtPDB& x, Args) { return Variant(x.CreatorID()); }},
      {"setDBType", M::Method, [](ExtPDB& x, Args a) { x.SetDatabaseType(CStr(a[0])); }, 1},
      {"getDBType", M::Method, [](ExtPDB& x, Args) { return Variant(x.DatabaseType()); }},
      {"setName", M::Method, [](ExtPDB& x, Args a) { x.SetName(CStr(a[0])); }, 1},
      {"getName", M::Method, [](ExtPDB& x, Args) { return Variant(x.Name()); }},
      {"openPDB", M::Method, [](ExtPDB& x, Args a) { x.Open(CStr(a[0])); }, 1},
      {"setVersion", M::Method, [](ExtPDB& x, Args a) { x.SetVersion(CLng(a[0])); }, 1},
      {"writePDB", M::Method, [](ExtPDB& x, Args a) { x.Write(CStr(a[0])); }, 1}};
  return table;
}

void ExtPDB::Create() { db_ = std::make_unique<HandheldDatabase>(); }

void ExtPDB::AddRecordText(std::string_view text) {
  Append(std::vector<uint8_t>(text.begin(), text.end()));
}

void ExtPDB::AddRecord(std::vector<uint8_t> data, uint8_t) { Append(std::move(data)); }

void ExtPDB::AddRecordBytes(std::vector<uint8_t> bytes) { Append(std::move(bytes)); }

int32_t ExtPDB::RecordCount() { return Db().Records().Count(); }

int32_t ExtPDB::RecordSize(int32_t index) { return RecordAt(index).DataLength(); }

std::string ExtPDB::RecordText(int32_t index) { return RecordAt(index).DataText(); }

std::vector<uint8_t> ExtPDB::RecordBytes(int32_t index) {
  const std::span<const uint8_t> data = RecordAt(index).Data();
  return std::vector<uint8_t>(data.begin(), data.end());
}

std::string ExtPDB::AppInfo() { return Db().AppInfoBlock(); }
void ExtPDB::SetAppInfo(std::string_view text) { Db().SetAppInfoBlock(std::string(text)); }
std::string ExtPDB::CreatorID() { return Db().Creator(); }
void ExtPDB::SetCreatorID(std::string_view creator) { Db().SetCreator(creator); }
std::string ExtPDB::DatabaseType() { return Db().Type(); }
void ExtPDB::SetDatabaseType(std::string_view type) { Db().SetType(type); }
std::string ExtPDB::Name() { return Db().Name(); }
void ExtPDB::SetName(std::string_view name) { Db().SetName(name); }
void ExtPDB::SetVersion(int32_t version) { Db().Version().SetValue(version); }

void ExtPDB::Open(std::string_view inFile) { Db().ReadFile(inFile, true); }
void ExtPDB::Write(std::string_view destFile) { Db().WriteFile(destFile); }

HandheldDatabase& ExtPDB::Db() {
  if (!db_) RaiseRuntimeError(91);
  return *db_;
}

DatabaseRecord& ExtPDB::RecordAt(int32_t index) { return *Db().Records().Item(index); }

void ExtPDB::Append(std::vector<uint8_t> data) {
  HandheldDatabase& db = Db();
  RecordRef rec = MakeRef<DatabaseRecord>();
  rec->SetAttributes(kAppendedAttributes);
  rec->SetUniqueID(NextUniqueID());
  rec->SetData(std::move(data));
  db.Records().Add(std::move(rec));
}

// One more than the largest id present. Past the 24-bit range the smallest free
// id from 1 is taken instead, so an id is never repeated (a file holds at most
// 65,535 records, so one is always free).
int32_t ExtPDB::NextUniqueID() {
  uint32_t largest = 0;
  for (const RecordRef& rec : db_->Records()) {
    largest = std::max(largest, static_cast<uint32_t>(rec->UniqueID()));
  }
  if (largest < hotsync::database_format::kMaxUniqueID) return static_cast<int32_t>(largest + 1);
  std::unordered_set<uint32_t> used;
  for (const RecordRef& rec : db_->Records()) used.insert(static_cast<uint32_t>(rec->UniqueID()));
  uint32_t id = 1;
  while (used.count(id)) ++id;
  return static_cast<int32_t>(id);
}

namespace {
const ClassRegistration registration(ExtPDB::kProgId, ExtPDB::kClsid, [] {
  EnsureModuleStarted();
  return Ref<Dispatch>(MakeRef<ExtPDB>());
});
}  // namespace

}  // namespace brevora::core
