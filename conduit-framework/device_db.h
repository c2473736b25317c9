#pragma once
// The conduit's view of handheld databases through the Sync Manager calls:
// CDeviceDB (a named database in a category), CRecordDB (a record database
// with creator, type, version and a handle) and CHandheldDatabase, the base of
// a product's database classes (one for each layout of the product's
// databases: workbooks, documents).
//
// An object closes its database when it is destroyed open. Results are true
// for success; the Sync Manager's code of the last failure is kept in
// lastError().
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace brevora::conduit {

class CDeviceDB {
 public:
  virtual ~CDeviceDB() = default;
  CDeviceDB(const CDeviceDB&) = delete;
  CDeviceDB& operator=(const CDeviceDB&) = delete;

  virtual bool Create() = 0;
  virtual bool Open(const std::string& name, const std::string& category) = 0;
  virtual bool Delete() = 0;

  const std::string& name() const { return name_; }
  const std::string& category() const { return category_; }
  bool isOpen() const { return open_; }

 protected:
  CDeviceDB() = default;

  std::string name_;
  std::string category_;
  bool open_ = false;
};

class CRecordDB : public CDeviceDB {
 public:
  CRecordDB(uint32_t creator, uint32_t type, uint16_t version);
  ~CRecordDB() override;

  // Creates the database `name()` with creator, type, version, attributes 0 on card 0.
  bool Create() override;
  // Opens (read and write) and keeps name and category.
  bool Open(const std::string& name, const std::string& category) override;
  // Closes when open, then deletes the database by name.
  bool Delete() override;
  bool Close();
  // Deletes the open database without saving it: its unsaved changes go with it.
  bool Discard();

  virtual bool ReadAppInfo() { return true; }
  virtual bool WriteAppInfo() { return false; }
  virtual void InitAppInfo() {}

  void SetName(std::string name) { name_ = std::move(name); }
  uint32_t creator() const { return creator_; }
  uint32_t type() const { return type_; }
  uint16_t version() const { return version_; }
  uint8_t handle() const { return handle_; }
  int32_t lastError() const { return lastError_; }

  // The blocks, whole (nullopt when absent or unreadable), and writing them.
  std::optional<std::vector<uint8_t>> ReadAppInfoBlock();
  bool WriteAppInfoBlock(const std::vector<uint8_t>& bytes);
  std::optional<std::vector<uint8_t>> ReadSortInfoBlock();
  bool WriteSortInfoBlock(const std::vector<uint8_t>& bytes);

  struct Record {
    uint32_t id = 0;
    uint8_t attributes = 0;  // high four bits
    uint8_t category = 0;    // 0-15
    std::vector<uint8_t> data;
  };
  // Record `index`; nullopt past the last record (lastError() kSyncErrNotFound) or on a failure.
  std::optional<Record> ReadRecord(uint16_t index);
  // Appends a record (id 0) or replaces the record of its id; sets the id.
  bool WriteRecord(Record& record);
  std::optional<uint16_t> RecordCount();

 protected:
  bool Check(int32_t result);

 private:
  std::optional<std::vector<uint8_t>> ReadBlock(bool appInfo);
  bool WriteBlock(bool appInfo, const std::vector<uint8_t>& bytes);

  uint32_t creator_;
  uint32_t type_;
  uint16_t version_;
  uint8_t handle_ = 0;
  int32_t lastError_ = 0;
};

// The base of a product's handheld database classes: the block's state
// through the product's accessors, and the records read in order from index 0
// (ReadNextRecord) or appended (AppendRecord).
class CHandheldDatabase : public CRecordDB {
 public:
  using CRecordDB::CRecordDB;

  // Opens `name`, reading its block; or creates it with the class's defaults
  // in the category of `categoryId`, writes the block and opens it. True when
  // open; created() tells which. The next record read is record 0.
  bool OpenOrCreate(const std::string& name, const std::string& category, uint8_t categoryId);
  bool created() const { return created_; }

  enum class NextRecord {
    Read,    // `record` holds the next record
    End,     // no record is left
    Failed,  // the Sync Manager failed (lastError())
  };
  // The record at the cursor; the cursor moves on. Records marked deleted are
  // passed over.
  NextRecord ReadNextRecord(Record& record);
  // The next record read is record 0.
  void ResetCursor() { nextRecord_ = 0; }
  // The index of the record the next read starts at.
  uint32_t cursor() const { return nextRecord_; }
  // Appends a record of `data` (new id, attributes 0, category 0).
  bool AppendRecord(const std::vector<uint8_t>& data);

  // Reads the block of the open database; false when it can't be read or
  // does not hold together.
  virtual bool ReadState() = 0;
  // After a ReadState that failed: why the product refuses the database (its
  // content is of a kind it does not take), logged after its name; "" when the
  // database could not be read.
  virtual std::string Refusal() const { return {}; }
  virtual uint8_t GetCategoryID() const = 0;
  virtual bool IsModified() const = 0;
  virtual void ClearModified() = 0;
  virtual bool IsServerSync() const = 0;
  // The class's default block, in the category of `categoryId`.
  virtual void InitDefaults(uint8_t categoryId) = 0;
  bool WriteAppInfo() override = 0;

 private:
  uint32_t nextRecord_ = 0;
  bool created_ = false;
};

}  // namespace brevora::conduit
