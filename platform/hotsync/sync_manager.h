#pragma once
// The Sync Manager calls: how a conduit reaches the handheld. The handheld is a
// device folder (device.h) that the host opens for the length of a HotSync; a
// call made while no device is open fails with kSyncErrNoDevice.
//
// Databases are named by up to 31 code-page bytes and opened by name on card 0;
// an open database is a one-byte handle (1-255). For the calls, existence
// changes at once (SyncCreateDB, SyncDeleteDB); an open database's blocks and
// records change in memory and reach the device folder when it is closed, and
// a created database reaches it then too, whole (a HotSync that breaks off
// before leaves no half-made database). Deleting an open database drops its
// handle and its unsaved changes with it.
//
// Every call but the byte-order helpers counts as one call for fault injection
// (device.h): the failing call returns kSyncErrCommunication and does nothing.
//
// Buffers are never overrun: a record or block larger than the caller's buffer
// is refused with kSyncErrBufferTooSmall, its real size reported, nothing copied.
//
// Four-character codes (creator, type) are 32-bit numbers whose high byte is the
// first character ('Zeri' is 0x5A657269); SyncCode makes one from text.
#include <stdint.h>

#include "platform/hotsync/hotsync_api.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  kSyncOk = 0,
  kSyncErrNotFound = 0x4001,        // no such database or record; past the end of the list
  kSyncErrExists = 0x4002,          // a database of that name exists
  kSyncErrNotOpen = 0x4003,         // no database is open under that handle
  kSyncErrAlreadyOpen = 0x4004,     // the database is open already
  kSyncErrReadOnly = 0x4005,        // a write to a database opened for reading
  kSyncErrBadArgument = 0x4006,     // null pointer, bad name, card other than 0, bad mode
  kSyncErrBufferTooSmall = 0x4007,  // the caller's buffer can't take the record or block
  kSyncErrDeviceFull = 0x4008,      // the handheld has no room for the write
  kSyncErrTooLarge = 0x4009,  // a record or block over 65,535 bytes, 65,535 records, ids used up
  kSyncErrDamaged = 0x400A,   // the database's file does not hold together
  kSyncErrIo = 0x400B,        // the device folder could not be read or written
  kSyncErrCommunication = 0x400C,  // the connection failed (injected faults)
  kSyncErrNoDevice = 0x400D,       // no device is open in this process
  kSyncErrTooManyOpen = 0x400E,    // all 255 handles are in use
};

// Open modes; a conduit opens read and write (192).
enum { kSyncModeRead = 0x80, kSyncModeWrite = 0x40, kSyncModeReadWrite = 0xC0 };

// Record attributes (the high four bits of a record's attribute byte; the low
// four are its category).
enum {
  kSyncRecordDeleted = 0x80,
  kSyncRecordDirty = 0x40,
  kSyncRecordBusy = 0x20,
  kSyncRecordSecret = 0x10,
};

// SyncDbInfo.state
enum { kSyncDbDamaged = 1 };

enum { kSyncNameSize = 32, kSyncMaxListPage = 64 };

typedef struct SyncDbInfo {
  char name[kSyncNameSize];  // NUL-terminated; for a damaged file, its decoded file name
  uint32_t creator;
  uint32_t type;
  uint16_t attributes;
  uint16_t version;
  uint32_t creationDate;  // seconds since 1904-01-01
  uint32_t modificationDate;
  uint32_t backupDate;
  uint32_t modificationNumber;
  uint16_t recordCount;
  uint16_t state;  // kSyncDbDamaged, or 0
  int32_t card;
} SyncDbInfo;

typedef struct SyncCreateDbRecord {
  uint32_t creator;
  uint32_t type;
  uint16_t flags;  // database attributes
  uint16_t version;
  int32_t card;
  char name[kSyncNameSize];  // NUL-terminated, 1 to 31 bytes
  uint8_t handle;            // set on success
} SyncCreateDbRecord;

// An application-info or sort-info block. Read: `bufferSize` is the capacity,
// `bytesRead` the block's size (also when it did not fit). Write: `bufferSize`
// bytes from `buffer`; 0 removes the block.
typedef struct SyncBlock {
  uint8_t handle;
  void* buffer;
  uint16_t bufferSize;
  uint16_t bytesRead;
} SyncBlock;

// A record. Read: by `index` (0-based) or by `id`; fills id, index, attributes,
// category and `size`, and copies the data when it fits in `bufferSize` bytes.
// Write: `id` 0 appends a new record and sets `id` and `index`; another id
// replaces that record's data, attributes and category.
typedef struct SyncRecord {
  uint8_t handle;
  uint8_t attributes;  // kSyncRecord* bits
  uint8_t category;    // 0-15
  uint32_t id;         // unique id, 24 bits
  uint16_t index;
  void* buffer;
  uint32_t bufferSize;
  uint32_t size;
} SyncRecord;

HOTSYNC_API int32_t SyncOpenDB(const char* name, int32_t card, uint8_t* handle, int32_t mode);
HOTSYNC_API int32_t SyncCreateDB(SyncCreateDbRecord* record);
HOTSYNC_API int32_t SyncCloseDB(uint8_t handle);
HOTSYNC_API int32_t SyncDeleteDB(const char* name, int32_t card);
// Up to `capacity` (at most kSyncMaxListPage) databases from `startIndex` on;
// kSyncErrNotFound when `startIndex` is past the last. `ramOnly` is accepted
// for its meaning (the device folder holds only RAM databases).
HOTSYNC_API int32_t SyncReadDBList(int32_t card, uint16_t startIndex, int32_t ramOnly,
                                   SyncDbInfo* buffer, uint16_t capacity, uint16_t* count);
HOTSYNC_API int32_t SyncFindDbByName(int32_t card, const char* name, SyncDbInfo* info);
HOTSYNC_API int32_t SyncReadOpenDbInfo(uint8_t handle, SyncDbInfo* info);
HOTSYNC_API int32_t SyncGetDBRecordCount(uint8_t handle, uint16_t* count);

HOTSYNC_API int32_t SyncReadDBAppInfoBlock(SyncBlock* block);
HOTSYNC_API int32_t SyncWriteDBAppInfoBlock(const SyncBlock* block);
HOTSYNC_API int32_t SyncReadDBSortInfoBlock(SyncBlock* block);
HOTSYNC_API int32_t SyncWriteDBSortInfoBlock(const SyncBlock* block);

HOTSYNC_API int32_t SyncReadRecordByIndex(SyncRecord* record);
HOTSYNC_API int32_t SyncReadRecordById(SyncRecord* record);
HOTSYNC_API int32_t SyncWriteRec(SyncRecord* record);
HOTSYNC_API int32_t SyncDeleteRec(uint8_t handle, uint32_t id);

// Registration of a conduit around its run; the handle is handed back to
// SyncUnRegisterConduit.
HOTSYNC_API int32_t SyncRegisterConduit(int32_t* conduitHandle);
HOTSYNC_API int32_t SyncUnRegisterConduit(int32_t conduitHandle);

// Handheld numbers are big-endian.
HOTSYNC_API uint16_t SyncHHToHostWord(uint16_t value);
HOTSYNC_API uint32_t SyncHHToHostDWord(uint32_t value);
HOTSYNC_API uint16_t SyncHostToHHWord(uint16_t value);
HOTSYNC_API uint32_t SyncHostToHHDWord(uint32_t value);

#ifdef __cplusplus
}  // extern "C"

namespace brevora::hotsync {
// The code of four characters ("Zeri" -> 0x5A657269).
constexpr uint32_t SyncCode(const char (&text)[5]) {
  return uint32_t{static_cast<uint8_t>(text[0])} << 24 |
         uint32_t{static_cast<uint8_t>(text[1])} << 16 |
         uint32_t{static_cast<uint8_t>(text[2])} << 8 | uint32_t{static_cast<uint8_t>(text[3])};
}
}  // namespace brevora::hotsync
#endif
