#pragma once
// Device: the state behind the Sync Manager calls while a DeviceSession lives
// (device.h): the device folder, the databases open under their handles, the
// database list and the injected faults. Internal to libhotsync; one thread.
// Every operation returns a Sync Manager code (sync_manager.h).
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/hotsync/device.h"
#include "platform/hotsync/device_database.h"
#include "platform/hotsync/sync_manager.h"
#include "platform/hotsync/unique_fd.h"

namespace brevora::hotsync {

class Device {
 public:
  Device(UniqueFd folder, Faults faults);

  // Counts a call; kSyncErrCommunication when it is the one to fail.
  int32_t BeginCall();
  // Ends the call that returned `result`: counts a failure of the handheld,
  // and kills the process when it is the call to die.
  void EndCall(int32_t result);
  // Takes `bytes` from the handheld's room; false when it is full.
  bool TakeRoom(uint64_t bytes);

  int32_t Open(const std::string& name, int32_t mode, uint8_t& handle);
  int32_t Create(const std::string& name, const SyncCreateDbRecord& request, uint8_t& handle);
  int32_t Close(uint8_t handle);
  int32_t Delete(const std::string& name);
  int32_t List(uint16_t start, uint16_t capacity, SyncDbInfo* buffer, uint16_t& count);
  int32_t Find(const std::string& name, SyncDbInfo& info);
  // The open database of `handle`, or null.
  DeviceDatabase* Database(uint8_t handle);
  SyncDbInfo InfoOf(const DeviceDatabase& db) const;

  std::size_t CloseAll();
  uint64_t calls() const { return calls_; }
  uint64_t failures() const { return failures_; }
  bool faultReached() const { return faultReached_; }

  int32_t RegisterConduit(int32_t& handle);
  int32_t UnregisterConduit(int32_t handle);

 private:
  struct Listed {
    SyncDbInfo info{};
    std::string fileName;
    // What the listing read of it, taken by the first open instead of reading
    // the file again.
    std::unique_ptr<DeviceDatabase> read;
  };

  int32_t LoadList();
  std::optional<std::size_t> Listing(const std::string& name) const;
  void Relist(const DeviceDatabase& db);
  void Unlist(const std::string& name);
  std::optional<uint8_t> FreeHandle() const;

  UniqueFd folder_;
  Faults faults_;
  // Kills the process when this call is the one to die (Faults::killCall).
  void DieIfDying() const;

  uint64_t calls_ = 0;
  uint64_t failures_ = 0;
  bool faultReached_ = false;
  bool dying_ = false;
  uint64_t roomTaken_ = 0;
  std::array<std::unique_ptr<DeviceDatabase>, 256> open_;  // by handle; 0 unused
  bool listed_ = false;
  std::vector<Listed> list_;
  std::map<std::string, std::size_t> byName_;  // into list_
  int32_t nextConduit_ = 1;
  std::vector<int32_t> conduits_;
};

// The device of the running session, or null.
Device* CurrentDevice();

}  // namespace brevora::hotsync
