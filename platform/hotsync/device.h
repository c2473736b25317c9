#pragma once
// The handheld, as the host opens it for one HotSync: a device folder that
// holds one handheld database file per database (device_names.h), the same
// layout as a handheld backup folder. While a DeviceSession lives, the Sync
// Manager calls of this process (sync_manager.h) work on its folder.
//
// Fault injection, for tests of what a conduit does when the handheld fails:
//   - failCall N: the Nth Sync Manager call of the session (from 1) fails with
//     kSyncErrCommunication and does nothing; the calls after it work again;
//   - deviceFullAfter B: the handheld takes B bytes of new data in this session
//     (records, blocks and 78 for each new database); a write that would pass
//     that fails with kSyncErrDeviceFull and does nothing;
//   - cutListAfter K: the database list breaks off after K entries: a read of
//     the list from index K on fails with kSyncErrCommunication;
//   - killCall N: the process kills itself (SIGKILL) during the Nth call: when
//     the call writes a database file, once its temporary file is complete and
//     before it is renamed into place; otherwise when the call has done its work.
//     For tests of what a HotSync killed at any moment leaves to the next one.
//
// A database created in a session (SyncCreateDB) is written to the folder
// when it is closed, whole: a session that ends before leaves no file of it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace brevora::hotsync {

struct Faults {
  std::optional<uint64_t> failCall;
  std::optional<uint64_t> deviceFullAfter;
  std::optional<uint32_t> cutListAfter;
  std::optional<uint64_t> killCall;
};

class DeviceSession {
 public:
  // `folder` is a native path. Raises AutomationError 76 when the folder is
  // missing and 5 when this process has a device open already.
  explicit DeviceSession(const std::string& folder, Faults faults = {});
  // Closes whatever is still open (as CloseLeftOpen) and ends the session.
  ~DeviceSession();
  DeviceSession(const DeviceSession&) = delete;
  DeviceSession& operator=(const DeviceSession&) = delete;

  // Closes, saving their changes as SyncCloseDB would, the databases a conduit
  // left open; returns how many there were.
  std::size_t CloseLeftOpen();

  // Sync Manager calls made so far, and whether the failing call was reached.
  uint64_t calls() const;
  // Calls so far that the handheld failed: the connection broke, it was full,
  // or its folder could not be read or written.
  uint64_t failures() const;
  bool faultReached() const;
};

// Removes from the device folder `folder` (native path) what HotSyncs that
// were killed left: the temporary files of database and identity writes that
// no live writer holds. Nothing else (no database, no lock, no other hidden
// file). Call it holding the folder's RunLock (run_lock.h). Returns how many
// files were removed.
std::size_t RemoveDeviceLeftovers(const std::string& folder);

}  // namespace brevora::hotsync
