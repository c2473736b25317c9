#pragma once
// ExtPDB: handheld database files for scripts and the Office add-ins
// ("TabulynPC.ExtPDB"). It holds one pdb, made by create, and forwards every
// call to it; records are addressed by their 1-based position.
//
// Every member but create raises 91 until create has been called. A position
// outside 1..numRecords raises 9. An appended record gets the attribute byte 8
// and a unique id one more than the largest id present, so appending to a file
// that was read never repeats an id. The pdb's own errors pass unchanged.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/pdb.h"
#include "platform/automation/member_table.h"

namespace brevora::core {

class ExtPDB : public Dispatchable<ExtPDB> {
 public:
  static constexpr const char* kProgId = "TabulynPC.ExtPDB";
  static constexpr const char* kClsid = "{3C0F6A52-8E1B-4D27-9A64-2B5E7C1D0A02}";
  static constexpr uint8_t kAppendedAttributes = 8;

  static const MemberTable<ExtPDB>& Members();

  ExtPDB();
  ~ExtPDB() override;

  void create();

  void addRecordString(std::string_view text);
  // `attr` is accepted for the callers' sake and not used.
  void addRecord(std::vector<uint8_t> data, uint8_t attr = 0);
  void addRecordB(std::vector<uint8_t> bytes);

  int32_t numRecords();
  int32_t getRecordSize(int32_t index);
  std::string getRecord(int32_t index);
  std::vector<uint8_t> getRecordB(int32_t index);

  std::string getAppInfo();
  void setAppInfo(std::string_view text);
  std::string getCreatorID();
  void setCreatorID(std::string_view creator);
  std::string getDBType();
  void setDBType(std::string_view type);
  std::string getName();
  void setName(std::string_view name);
  void setVersion(int32_t version);

  void openPDB(std::string_view inFile);
  void writePDB(std::string_view destFile);

 private:
  pdb& Db();  // 91 before create
  record& RecordAt(int32_t index);
  void Append(std::vector<uint8_t> data);
  int32_t NextUniqueID();

  std::unique_ptr<pdb> db_;
};

}  // namespace brevora::core
