#pragma once
// The phone sync engine as its callers see it (libbvsync.so): the identifiers
// of its type library, the sync direction, the progress sink a caller
// implements, and the engine's default interface.
//
// A caller creates the engine by its class identifier through the class
// registry (HKEY_CLASSES_ROOT gives the library, which is loaded with dlopen),
// casts the object to IBVSyncEngine and calls it directly:
//
//   Ref<IBVSyncEngine> engine = RefCast<IBVSyncEngine>(CreateObjectFromClsid(kEngineClsid));
//   engine->Synchronize(user, SyncDir::sdSynchronize, progressSink);
//
// Late-bound callers find Synchronize and Install in the engine's member table,
// and Update in the sink's.
#include <cstdint>
#include <string>

#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"

// The interfaces cross library boundaries (the caller's and libbvsync.so):
// their type information must be visible to both.
#define BVSYNC_INTERFACE __attribute__((visibility("default")))

namespace brevora::bvsync {

// Type library "BVSync", version 1.1, locale 1033.
inline constexpr const char* kTypeLibraryId = "{8655559D-9DAC-4704-B8BE-474E4E1C201A}";
inline constexpr int kTypeLibraryMajorVersion = 1;
inline constexpr int kTypeLibraryMinorVersion = 1;
inline constexpr int kTypeLibraryLocale = 1033;

inline constexpr const char* kEngineClsid = "{B601BA41-3057-4F1F-A75F-347BEC6F94DE}";
inline constexpr const char* kEngineProgId = "BVSync.BVSyncEngine";
inline constexpr const char* kEngineIid = "{EC06934D-1981-4EF6-8686-8370674CDA3F}";
inline constexpr const char* kSyncProgressClsid = "{EDE67248-E53C-4DA6-9FED-B0B2D8D6BB6A}";
inline constexpr const char* kSyncProgressIid = "{03748ED8-7F50-49DE-8572-93BDFB67018C}";
inline constexpr const char* kSyncDirId = "{830023DC-BD7D-4555-A123-3111DF944452}";

// SyncDir: what a run should do. Handed to the conduits unchanged; every value
// sends from the desktop to the phone.
enum class SyncDir : int32_t {
  sdSynchronize = 0,
  sdPCOverwrites = 1,
  sdHandheldOverwrites = 2,
  sdDoNothing = 3,
};

// ISyncProgress: the caller's progress sink (default interface _ISyncProgress).
// The engine hands it to its conduits; the presentation conduit keeps it and
// never calls it.
class BVSYNC_INTERFACE ISyncProgress : public Dispatchable<ISyncProgress> {
 public:
  virtual void Update(const std::string& message, int16_t percentage) = 0;

  static const MemberTable<ISyncProgress>& Members() {
    static const MemberTable<ISyncProgress> table{
        {"Update", CallKind::Method,
         [](ISyncProgress& p, Args a) { p.Update(CStr(a[0]), CInt(a[1])); }, 2}};
    return table;
  }
};

// IBVSyncEngine: the engine's default interface _BVSyncEngine. Neither member
// returns anything.
class BVSYNC_INTERFACE IBVSyncEngine : public Dispatch {
 public:
  // Runs every conduit of the engine for the device user named `user`. Every
  // failure is shown to the user in a message box and ends here: the call
  // itself always returns normally.
  virtual void Synchronize(const std::string& user, SyncDir direction,
                           const Ref<ISyncProgress>& callback) = 0;
  // Sends the one file `file` to the phone through the send tool the user
  // picks. A cancelled pick does nothing; a send that failed raises 32760
  // with source "BVSyncEngine.Install" and the collected error text.
  virtual void Install(const std::string& file) = 0;
};

}  // namespace brevora::bvsync
