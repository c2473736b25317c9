#include "conduit-framework/device_db.h"

#include <cstring>

#include "platform/hotsync/sync_manager.h"

namespace brevora::conduit {
namespace {

constexpr int32_t kCard = 0;
constexpr std::size_t kFirstBlockRead = 4096;

}  // namespace

CRecordDB::CRecordDB(uint32_t creator, uint32_t type, uint16_t version)
    : creator_(creator), type_(type), version_(version) {}

CRecordDB::~CRecordDB() {
  if (open_) Close();
}

bool CRecordDB::Check(int32_t result) {
  lastError_ = result;
  return result == kSyncOk;
}

bool CRecordDB::Create() {
  SyncCreateDbRecord request{};
  request.creator = creator_;
  request.type = type_;
  request.version = version_;
  request.card = kCard;
  if (name_.empty() || name_.size() >= sizeof request.name) return Check(kSyncErrBadArgument);
  std::memcpy(request.name, name_.data(), name_.size());
  if (!Check(SyncCreateDB(&request))) return false;
  handle_ = request.handle;
  open_ = true;
  return true;
}

bool CRecordDB::Open(const std::string& name, const std::string& category) {
  name_ = name;
  category_ = category;
  uint8_t handle = 0;
  open_ = Check(SyncOpenDB(name_.c_str(), kCard, &handle, kSyncModeReadWrite));
  if (open_) handle_ = handle;
  return open_;
}

bool CRecordDB::Close() {
  if (!open_) return true;
  if (!Check(SyncCloseDB(handle_))) return false;
  open_ = false;
  return true;
}

bool CRecordDB::Discard() {
  const bool deleted = Check(SyncDeleteDB(name_.c_str(), kCard));
  if (deleted) open_ = false;
  return deleted;
}

bool CRecordDB::Delete() {
  if (open_ && !Close()) return false;
  return Check(SyncDeleteDB(name_.c_str(), kCard));
}

std::optional<std::vector<uint8_t>> CRecordDB::ReadBlock(bool appInfo) {
  std::vector<uint8_t> bytes(kFirstBlockRead);
  SyncBlock block{handle_, bytes.data(), static_cast<uint16_t>(bytes.size()), 0};
  int32_t rc = appInfo ? SyncReadDBAppInfoBlock(&block) : SyncReadDBSortInfoBlock(&block);
  if (rc == kSyncErrBufferTooSmall) {
    bytes.resize(block.bytesRead);
    block = SyncBlock{handle_, bytes.data(), static_cast<uint16_t>(bytes.size()), 0};
    rc = appInfo ? SyncReadDBAppInfoBlock(&block) : SyncReadDBSortInfoBlock(&block);
  }
  if (!Check(rc)) return std::nullopt;
  bytes.resize(block.bytesRead);
  return bytes;
}

bool CRecordDB::WriteBlock(bool appInfo, const std::vector<uint8_t>& bytes) {
  if (bytes.size() > UINT16_MAX) return Check(kSyncErrTooLarge);
  SyncBlock block{handle_, const_cast<uint8_t*>(bytes.data()), static_cast<uint16_t>(bytes.size()),
                  0};
  return Check(appInfo ? SyncWriteDBAppInfoBlock(&block) : SyncWriteDBSortInfoBlock(&block));
}

std::optional<std::vector<uint8_t>> CRecordDB::ReadAppInfoBlock() { return ReadBlock(true); }
bool CRecordDB::WriteAppInfoBlock(const std::vector<uint8_t>& bytes) {
  return WriteBlock(true, bytes);
}
std::optional<std::vector<uint8_t>> CRecordDB::ReadSortInfoBlock() { return ReadBlock(false); }
bool CRecordDB::WriteSortInfoBlock(const std::vector<uint8_t>& bytes) {
  return WriteBlock(false, bytes);
}

std::optional<CRecordDB::Record> CRecordDB::ReadRecord(uint16_t index) {
  Record record;
  record.data.resize(kFirstBlockRead);
  SyncRecord request{};
  request.handle = handle_;
  request.index = index;
  request.buffer = record.data.data();
  request.bufferSize = static_cast<uint32_t>(record.data.size());
  int32_t rc = SyncReadRecordByIndex(&request);
  if (rc == kSyncErrBufferTooSmall) {
    record.data.resize(request.size);
    request.buffer = record.data.data();
    request.bufferSize = request.size;
    rc = SyncReadRecordByIndex(&request);
  }
  if (!Check(rc)) return std::nullopt;
  record.data.resize(request.size);
  record.id = request.id;
  record.attributes = request.attributes;
  record.category = request.category;
  return record;
}

bool CRecordDB::WriteRecord(Record& record) {
  SyncRecord request{};
  request.handle = handle_;
  request.id = record.id;
  request.attributes = record.attributes;
  request.category = record.category;
  request.buffer = record.data.data();
  request.bufferSize = static_cast<uint32_t>(record.data.size());
  if (!Check(SyncWriteRec(&request))) return false;
  record.id = request.id;
  return true;
}

std::optional<uint16_t> CRecordDB::RecordCount() {
  uint16_t count = 0;
  if (!Check(SyncGetDBRecordCount(handle_, &count))) return std::nullopt;
  return count;
}

CHandheldDatabase::NextRecord CHandheldDatabase::ReadNextRecord(Record& record) {
  for (;;) {
    if (nextRecord_ > UINT16_MAX) return NextRecord::End;
    auto read = ReadRecord(static_cast<uint16_t>(nextRecord_));
    if (!read) return lastError() == kSyncErrNotFound ? NextRecord::End : NextRecord::Failed;
    ++nextRecord_;
    if (read->attributes & kSyncRecordDeleted) continue;
    record = std::move(*read);
    return NextRecord::Read;
  }
}

bool CHandheldDatabase::AppendRecord(const std::vector<uint8_t>& data) {
  Record record;
  record.data = data;
  return WriteRecord(record);
}

bool CHandheldDatabase::OpenOrCreate(const std::string& name, const std::string& category,
                                     uint8_t categoryId) {
  nextRecord_ = 0;
  created_ = false;
  if (Open(name, category)) {
    if (ReadState()) return true;
    Close();
    open_ = false;
    return false;
  }
  if (lastError() != kSyncErrNotFound) return false;
  name_ = name;
  category_ = category;
  if (!Create()) return false;
  created_ = true;
  InitDefaults(categoryId);
  if (!WriteAppInfo()) {
    Discard();
    return false;
  }
  return true;
}

}  // namespace brevora::conduit
