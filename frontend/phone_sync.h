#pragma once
// The main window's phone sync (cmdSync): the phone sync engine of libbvsync.so,
// created by its class identifier through the class registry, is asked to
// synchronise the chosen phone user in direction 0 (sdSynchronize), with a
// progress sink of the window's. The engine shows and absorbs the errors of a
// run itself; what fails around it (the engine can't be created, the call
// fails) is shown here: "Error synchronizing for Nokia device.  " CR LF and the
// error's description, in an OK box without a title of its own.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/automation/member_table.h"

namespace brevora::frontend {

// BVSync.BVSyncEngine.
inline constexpr const char* kPhoneSyncEngineClsid = "{B601BA41-3057-4F1F-A75F-347BEC6F94DE}";

// The window's ISyncProgress: the engine calls Update(Message, Percentage)
// late-bound, on the window's thread, inside Synchronize.
class SyncProgressSink : public Dispatchable<SyncProgressSink> {
 public:
  using Handler = std::function<void(const std::string& message, int16_t percentage)>;
  static const MemberTable<SyncProgressSink>& Members();
  explicit SyncProgressSink(Handler handler) : handler_(std::move(handler)) {}
  void Update(const std::string& message, int16_t percentage) { handler_(message, percentage); }

 private:
  Handler handler_;
};

// The status bar text of a progress report: the message, two blanks, the
// percentage and "% complete.".
std::string SyncProgressText(const std::string& message, int16_t percentage);

// cmdSync_Click's work for the user `user` (the text of cboUser), blocking
// until the engine returns. Errors are shown, not raised.
void SynchronizePhone(const std::string& user, const Ref<SyncProgressSink>& progress);

}  // namespace brevora::frontend
