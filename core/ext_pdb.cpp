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
      {"addRecordString", M::Method, [](ExtPDB& x, Args a) { x.addRecordString(CStr(a[0])); }, 1},
      {"create", M::Method, [](ExtPDB& x, Args) { x.create(); }},
      {"addRecord", M::Method, [](ExtPDB& x, Args a) { x.addRecord(CBytes(a[0])); }, 1, 2},
      {"addRecordB", M::Method, [](ExtPDB& x, Args a) { x.addRecordB(CBytes(a[0])); }, 1},
      {"getAppInfo", M::Method, [](ExtPDB& x, Args) { return Variant(x.getAppInfo()); }},
      {"numRecords", M::Method, [](ExtPDB& x, Args) { return Variant(x.numRecords()); }},
      {"getRecordSize", M::Method,
       [](ExtPDB& x, Args a) { return Variant(x.getRecordSize(CLng(a[0]))); }, 1},
      {"getRecord", M::Method, [](ExtPDB& x, Args a) { return Variant(x.getRecord(CLng(a[0]))); },
       1},
      {"getRecordB", M::Method, [](ExtPDB& x, Args a) { return Variant(x.getRecordB(CLng(a[0]))); },
       1},
      {"setAppInfo", M::Method, [](ExtPDB& x, Args a) { x.setAppInfo(CStr(a[0])); }, 1},
      {"setCreatorID", M::Method, [](ExtPDB& x, Args a) { x.setCreatorID(CStr(a[0])); }, 1},
      {"getCreatorID", M::Method, [](ExtPDB& x, Args) { return Variant(x.getCreatorID()); }},
      {"setDBType", M::Method, [](ExtPDB& x, Args a) { x.setDBType(CStr(a[0])); }, 1},
      {"getDBType", M::Method, [](ExtPDB& x, Args) { return Variant(x.getDBType()); }},
      {"setName", M::Method, [](ExtPDB& x, Args a) { x.setName(CStr(a[0])); }, 1},
      {"getName", M::Method, [](ExtPDB& x, Args) { return Variant(x.getName()); }},
      {"openPDB", M::Method, [](ExtPDB& x, Args a) { x.openPDB(CStr(a[0])); }, 1},
      {"setVersion", M::Method, [](ExtPDB& x, Args a) { x.setVersion(CLng(a[0])); }, 1},
      {"writePDB", M::Method, [](ExtPDB& x, Args a) { x.writePDB(CStr(a[0])); }, 1}};
  return table;
}

void ExtPDB::create() { db_ = std::make_unique<pdb>(); }

void ExtPDB::addRecordString(std::string_view text) {
  Append(std::vector<uint8_t>(text.begin(), text.end()));
}

void ExtPDB::addRecord(std::vector<uint8_t> data, uint8_t) { Append(std::move(data)); }

void ExtPDB::addRecordB(std::vector<uint8_t> bytes) { Append(std::move(bytes)); }

int32_t ExtPDB::numRecords() { return Db().Records().Count(); }

int32_t ExtPDB::getRecordSize(int32_t index) { return RecordAt(index).recordLength(); }

std::string ExtPDB::getRecord(int32_t index) { return RecordAt(index).recordData(); }

std::vector<uint8_t> ExtPDB::getRecordB(int32_t index) {
  const std::span<const uint8_t> data = RecordAt(index).RecordDataB();
  return std::vector<uint8_t>(data.begin(), data.end());
}

std::string ExtPDB::getAppInfo() { return Db().AppInfoBlock(); }
void ExtPDB::setAppInfo(std::string_view text) { Db().SetAppInfoBlock(std::string(text)); }
std::string ExtPDB::getCreatorID() { return Db().PDBCreator(); }
void ExtPDB::setCreatorID(std::string_view creator) { Db().SetPDBCreator(creator); }
std::string ExtPDB::getDBType() { return Db().pdbType(); }
void ExtPDB::setDBType(std::string_view type) { Db().SetPdbType(type); }
std::string ExtPDB::getName() { return Db().PDBName(); }
void ExtPDB::setName(std::string_view name) { Db().SetPDBName(name); }
void ExtPDB::setVersion(int32_t version) { Db().Version().SetValue(version); }

void ExtPDB::openPDB(std::string_view inFile) { Db().ReadFile(inFile, true); }
void ExtPDB::writePDB(std::string_view destFile) { Db().WriteFile(destFile); }

pdb& ExtPDB::Db() {
  if (!db_) RaiseRuntimeError(91);
  return *db_;
}

record& ExtPDB::RecordAt(int32_t index) { return *Db().Records().Item(index); }

void ExtPDB::Append(std::vector<uint8_t> data) {
  pdb& db = Db();
  RecordRef rec = MakeRef<record>();
  rec->SetAttributes(kAppendedAttributes);
  rec->SetUniqueID(NextUniqueID());
  rec->SetRecordDataB(std::move(data));
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
