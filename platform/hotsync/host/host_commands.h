#pragma once
// The three commands of the `hotsync` program, the stand-in for the HotSync
// Manager:
//   sync       one HotSync of a handheld (a device folder) with this desktop:
//              every registered conduit's OpenConduit, in order;
//   configure  a conduit's action dialog for a user, and keeping its answer;
//   register   adding a conduit plug-in to the ones a HotSync runs.
// Each returns the program's exit status: 0 done, 1 failed (one line on `err`
// saying why), 2 bad usage (main's business); a sync whose conduits ran but one
// of them logged a failure returns 3 (a line on `err` names the log); a sync
// refused because another HotSync of the same handheld, or of the same user,
// is running returns 4 (a line on `err` says so) and does nothing.
//
// One sync at a time per device folder and per user folder: each is locked
// (run_lock.h) for the whole run. The run holding the locks first removes
// what killed runs left there (temporary files of their writes); the
// conduits clear their own in the category folders.
//
// The handheld's user: the device's identity (device_identity.h) names it; a
// new handheld names it with `user`, and a user this desktop does not know is
// added to the HotSync users (the HotSync folder, when none is set up yet,
// becomes <StateDir>/HotSync). The user's folder is the HotSync folder and the
// user's directory; a conduit's folder is the user's folder and the conduit's
// Directory. Its log run is "hotsync.log" in the user's folder.
//
// Sync types: the user's one-time action for the conduit, else the permanent
// one, else synchronize (0); a synchronize becomes 1 (alternate desktop) when
// the identity names another desktop than this one, or none. A one-time
// action is used up once the conduit was called with it (a conduit repeats a
// run it could not finish by itself). The identity names this desktop after
// every run that reached the conduits, whether or not one of them failed: a
// conduit that failed repeats its run from the pending state it keeps on the
// handheld, while the others synchronize normally. A conduit that was due a
// synchronize with an alternate desktop and could not be run, or that the
// handheld failed in it (a broken connection, a full handheld: its state may
// not have been written), is owed one: its next synchronize is one with an
// alternate desktop too (SyncAction).
#include <cstdio>
#include <string>

#include "platform/hotsync/device.h"
#include "platform/hotsync/host/conduit_registry.h"

namespace brevora::hotsync::host {

inline constexpr int kConduitFailedStatus = 3;
inline constexpr int kBusyStatus = 4;

struct SyncOptions {
  std::string device;  // native path of the device folder
  std::string user;    // code page; empty: the one the identity names
  Faults faults;
};

int Sync(const SyncOptions& options, std::FILE* err);
int Configure(const std::string& user, const std::string& conduit, std::FILE* out, std::FILE* err);
int Register(const ConduitRegistration& conduit, std::FILE* out, std::FILE* err);

// This desktop's id (16 hex digits), made on first use and kept in the registry.
std::string DesktopId();

}  // namespace brevora::hotsync::host
