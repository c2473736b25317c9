// The Sync Manager calls over the device of the running session (device.h).
// None raises: every failure is a result code.
#include "platform/hotsync/sync_manager.h"

#include <bit>
#include <cstring>
#include <string>

#include "platform/hotsync/device_state.h"

namespace {

using brevora::hotsync::Device;
using brevora::hotsync::DeviceDatabase;

constexpr uint32_t kMaxDataSize = 0xFFFF;

// Runs one counted call on the current device.
template <class F>
int32_t Call(F&& body) noexcept {
  try {
    Device* device = brevora::hotsync::CurrentDevice();
    if (device == nullptr) return kSyncErrNoDevice;
    int32_t rc = device->BeginCall();
    if (rc == kSyncOk) rc = body(*device);
    device->EndCall(rc);
    return rc;
  } catch (...) {
    return kSyncErrIo;
  }
}

// A name of 1 to 31 bytes, NUL-terminated within its 32.
bool TakeName(const char* text, std::string& name) {
  if (text == nullptr) return false;
  const std::size_t length = strnlen(text, kSyncNameSize);
  if (length == 0 || length == kSyncNameSize) return false;
  name.assign(text, length);
  return true;
}

int32_t ReadBlock(const SyncBlock* block, bool appInfo) {
  return Call([&](Device& device) {
    if (block == nullptr) return static_cast<int32_t>(kSyncErrBadArgument);
    SyncBlock& out = *const_cast<SyncBlock*>(block);
    DeviceDatabase* db = device.Database(out.handle);
    if (db == nullptr) return static_cast<int32_t>(kSyncErrNotOpen);
    const auto& bytes = appInfo ? db->appInfo() : db->sortInfo();
    out.bytesRead = 0;
    if (bytes.empty()) return static_cast<int32_t>(kSyncErrNotFound);
    if (bytes.size() > kMaxDataSize) return static_cast<int32_t>(kSyncErrTooLarge);
    out.bytesRead = static_cast<uint16_t>(bytes.size());
    if (out.buffer == nullptr || bytes.size() > out.bufferSize) {
      return static_cast<int32_t>(kSyncErrBufferTooSmall);
    }
    std::memcpy(out.buffer, bytes.data(), bytes.size());
    return static_cast<int32_t>(kSyncOk);
  });
}

int32_t WriteBlock(const SyncBlock* block, bool appInfo) {
  return Call([&](Device& device) {
    if (block == nullptr || (block->bufferSize > 0 && block->buffer == nullptr)) {
      return static_cast<int32_t>(kSyncErrBadArgument);
    }
    DeviceDatabase* db = device.Database(block->handle);
    if (db == nullptr) return static_cast<int32_t>(kSyncErrNotOpen);
    if (!db->writable()) return static_cast<int32_t>(kSyncErrReadOnly);
    if (!device.TakeRoom(block->bufferSize)) return static_cast<int32_t>(kSyncErrDeviceFull);
    const std::span bytes(static_cast<const uint8_t*>(block->buffer), block->bufferSize);
    appInfo ? db->SetAppInfo(bytes) : db->SetSortInfo(bytes);
    return static_cast<int32_t>(kSyncOk);
  });
}

// Fills `record` from record `index` of `db`, copying the data when it fits.
int32_t ReadRecordAt(DeviceDatabase& db, std::size_t index, SyncRecord& record) {
  const DeviceDatabase::RecordInfo info = db.Info(index);
  record.id = info.id;
  record.index = static_cast<uint16_t>(index);
  record.attributes = info.attributes & 0xF0;
  record.category = info.attributes & 0x0F;
  record.size = info.size;
  if (info.size > record.bufferSize || (info.size > 0 && record.buffer == nullptr)) {
    return kSyncErrBufferTooSmall;
  }
  std::span<const uint8_t> data;
  if (const int32_t rc = db.Data(index, data); rc != kSyncOk) return rc;
  if (!data.empty()) std::memcpy(record.buffer, data.data(), data.size());
  return kSyncOk;
}

}  // namespace

extern "C" {

int32_t SyncOpenDB(const char* name, int32_t card, uint8_t* handle, int32_t mode) {
  return Call([&](Device& device) {
    std::string text;
    if (!TakeName(name, text) || card != 0 || handle == nullptr)
      return static_cast<int32_t>(kSyncErrBadArgument);
    return device.Open(text, mode, *handle);
  });
}

int32_t SyncCreateDB(SyncCreateDbRecord* record) {
  return Call([&](Device& device) {
    std::string name;
    if (record == nullptr || !TakeName(record->name, name))
      return static_cast<int32_t>(kSyncErrBadArgument);
    return device.Create(name, *record, record->handle);
  });
}

int32_t SyncCloseDB(uint8_t handle) {
  return Call([&](Device& device) { return device.Close(handle); });
}

int32_t SyncDeleteDB(const char* name, int32_t card) {
  return Call([&](Device& device) {
    std::string text;
    if (!TakeName(name, text) || card != 0) return static_cast<int32_t>(kSyncErrBadArgument);
    return device.Delete(text);
  });
}

int32_t SyncReadDBList(int32_t card, uint16_t startIndex, int32_t /*ramOnly*/, SyncDbInfo* buffer,
                       uint16_t capacity, uint16_t* count) {
  return Call([&](Device& device) {
    if (card != 0 || buffer == nullptr || count == nullptr || capacity == 0) {
      return static_cast<int32_t>(kSyncErrBadArgument);
    }
    return device.List(startIndex, capacity, buffer, *count);
  });
}

int32_t SyncFindDbByName(int32_t card, const char* name, SyncDbInfo* info) {
  return Call([&](Device& device) {
    std::string text;
    if (!TakeName(name, text) || card != 0 || info == nullptr)
      return static_cast<int32_t>(kSyncErrBadArgument);
    return device.Find(text, *info);
  });
}

int32_t SyncReadOpenDbInfo(uint8_t handle, SyncDbInfo* info) {
  return Call([&](Device& device) {
    DeviceDatabase* db = device.Database(handle);
    if (db == nullptr) return static_cast<int32_t>(kSyncErrNotOpen);
    if (info == nullptr) return static_cast<int32_t>(kSyncErrBadArgument);
    *info = device.InfoOf(*db);
    return static_cast<int32_t>(kSyncOk);
  });
}

int32_t SyncGetDBRecordCount(uint8_t handle, uint16_t* count) {
  return Call([&](Device& device) {
    DeviceDatabase* db = device.Database(handle);
    if (db == nullptr) return static_cast<int32_t>(kSyncErrNotOpen);
    if (count == nullptr) return static_cast<int32_t>(kSyncErrBadArgument);
    *count = static_cast<uint16_t>(db->recordCount());
    return static_cast<int32_t>(kSyncOk);
  });
}

int32_t SyncReadDBAppInfoBlock(SyncBlock* block) { return ReadBlock(block, true); }
int32_t SyncWriteDBAppInfoBlock(const SyncBlock* block) { return WriteBlock(block, true); }
int32_t SyncReadDBSortInfoBlock(SyncBlock* block) { return ReadBlock(block, false); }
int32_t SyncWriteDBSortInfoBlock(const SyncBlock* block) { return WriteBlock(block, false); }

int32_t SyncReadRecordByIndex(SyncRecord* record) {
  return Call([&](Device& device) {
    if (record == nullptr) return static_cast<int32_t>(kSyncErrBadArgument);
    DeviceDatabase* db = device.Database(record->handle);
    if (db == nullptr) return static_cast<int32_t>(kSyncErrNotOpen);
    if (record->index >= db->recordCount()) return static_cast<int32_t>(kSyncErrNotFound);
    return ReadRecordAt(*db, record->index, *record);
  });
}

int32_t SyncReadRecordById(SyncRecord* record) {
  return Call([&](Device& device) {
    if (record == nullptr) return static_cast<int32_t>(kSyncErrBadArgument);
    DeviceDatabase* db = device.Database(record->handle);
    if (db == nullptr) return static_cast<int32_t>(kSyncErrNotOpen);
    const auto index = db->IndexOf(record->id);
    if (!index) return static_cast<int32_t>(kSyncErrNotFound);
    return ReadRecordAt(*db, *index, *record);
  });
}

int32_t SyncWriteRec(SyncRecord* record) {
  return Call([&](Device& device) {
    if (record == nullptr || (record->bufferSize > 0 && record->buffer == nullptr)) {
      return static_cast<int32_t>(kSyncErrBadArgument);
    }
    DeviceDatabase* db = device.Database(record->handle);
    if (db == nullptr) return static_cast<int32_t>(kSyncErrNotOpen);
    if (!db->writable()) return static_cast<int32_t>(kSyncErrReadOnly);
    if (record->bufferSize > kMaxDataSize) return static_cast<int32_t>(kSyncErrTooLarge);
    const uint8_t attributes =
        static_cast<uint8_t>((record->attributes & 0xF0) | (record->category & 0x0F));
    const std::span data(static_cast<const uint8_t*>(record->buffer), record->bufferSize);
    std::optional<std::size_t> index;
    if (record->id != 0) {
      index = db->IndexOf(record->id);
      if (!index) return static_cast<int32_t>(kSyncErrNotFound);
    }
    if (!device.TakeRoom(record->bufferSize)) return static_cast<int32_t>(kSyncErrDeviceFull);
    if (index) {
      db->Replace(*index, attributes, data);
    } else {
      uint32_t id = 0;
      if (const int32_t rc = db->Append(attributes, data, id); rc != kSyncOk) return rc;
      record->id = id;
      index = db->recordCount() - 1;
    }
    record->index = static_cast<uint16_t>(*index);
    record->size = record->bufferSize;
    return static_cast<int32_t>(kSyncOk);
  });
}

int32_t SyncDeleteRec(uint8_t handle, uint32_t id) {
  return Call([&](Device& device) {
    DeviceDatabase* db = device.Database(handle);
    if (db == nullptr) return static_cast<int32_t>(kSyncErrNotOpen);
    if (!db->writable()) return static_cast<int32_t>(kSyncErrReadOnly);
    const auto index = db->IndexOf(id);
    if (!index) return static_cast<int32_t>(kSyncErrNotFound);
    db->Erase(*index);
    return static_cast<int32_t>(kSyncOk);
  });
}

int32_t SyncRegisterConduit(int32_t* conduitHandle) {
  return Call([&](Device& device) {
    if (conduitHandle == nullptr) return static_cast<int32_t>(kSyncErrBadArgument);
    return device.RegisterConduit(*conduitHandle);
  });
}

int32_t SyncUnRegisterConduit(int32_t conduitHandle) {
  return Call([&](Device& device) { return device.UnregisterConduit(conduitHandle); });
}

uint16_t SyncHHToHostWord(uint16_t value) {
  return std::endian::native == std::endian::big ? value : __builtin_bswap16(value);
}
uint32_t SyncHHToHostDWord(uint32_t value) {
  return std::endian::native == std::endian::big ? value : __builtin_bswap32(value);
}
uint16_t SyncHostToHHWord(uint16_t value) { return SyncHHToHostWord(value); }
uint32_t SyncHostToHHDWord(uint32_t value) { return SyncHHToHostDWord(value); }

}  // extern "C"
