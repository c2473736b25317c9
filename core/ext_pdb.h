#pragma once
// ExtPDB: handheld database files for scripts and the Office add-ins
// ("TabulynPC.ExtPDB"). It holds one HandheldDatabase, made by create, and forwards every
// call to it; records are addressed by their 1-based position.
//
// Every member but create raises 91 until create has been called. A position
// outside 1..numRecords raises 9. An appended record gets the attribute byte 8
// and a unique id one more than the largest id present, so appending to a file
// that was read never repeats an id. The database's own errors pass unchanged.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/handheld_database.h"
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

  void Create();

  void AddRecordText(std::string_view text);
  // `attr` is accepted for the callers' sake and not used.
  void AddRecord(std::vector<uint8_t> data, uint8_t attr = 0);
  void AddRecordBytes(std::vector<uint8_t> bytes);

  int32_t RecordCount();
  int32_t RecordSize(int32_t index);
  std::string RecordText(int32_t index);
  std::vector<uint8_t> RecordBytes(int32_t index);

  std::string AppInfo();
  void SetAppInfo(std::string_view text);
  std::string CreatorID();
  void SetCreatorID(std::string_view creator);
  std::string DatabaseType();
  void SetDatabaseType(std::string_view type);
  std::string Name();
  void SetName(std::string_view name);
  void SetVersion(int32_t version);

  void Open(std::string_view inFile);
  void Write(std::string_view destFile);

 private:
  HandheldDatabase& Db();  // 91 before create
  DatabaseRecord& RecordAt(int32_t index);
  void Append(std::vector<uint8_t> data);
  int32_t NextUniqueID();

  std::unique_ptr<HandheldDatabase> db_;
};

}  // namespace brevora::core
