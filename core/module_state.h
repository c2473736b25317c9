#pragma once
// The connectivity module's state, one copy per thread: the thread's global
// Session, the server pool the converters take Office applications from in
// server mode, the help file of the dialogs and the two dialog flags.
//
// The module starts on a thread the first time it is used there: GlobalSession()
// (and the creation of any of the module's objects) runs Main once per thread.
// Main creates the thread's global Session; when that fails it tells the user and
// leaves gSession unset for the rest of the thread.
#include <string>

#include "platform/automation/dispatch.h"
#include "platform/automation/object.h"

namespace brevora::core {

class Session;

struct ModuleState {
  Ref<Session> gSession;
  Ref<Dispatch> gServerPool;
  std::string gHelpFile;
  bool gDialogAbort = false;
  bool gDialogCancelled = false;
  bool started = false;  // Main has run (or is running) on this thread
};

// This thread's state as it is; does not start the module.
ModuleState& Module();

// Runs Main unless it has already run on this thread.
void EnsureModuleStarted();

// The thread's global Session after start-up; null when start-up failed.
Ref<Session> GlobalSession();

// Module start-up: sets gSession to a new Session. On failure shows the critical
// message box "Could not load TabulynPC." CR LF <description>, titled "Brevora",
// and leaves gSession unset. Called through EnsureModuleStarted.
void Main();

// The server pool of this thread (null when none is set).
Ref<Dispatch> ServerPool();
// The one place that sets gServerPool: the host that runs the module in server
// mode hands in its pool object (tests hand in a recording fake). Null clears it.
void SetServerPool(Ref<Dispatch> pool);

}  // namespace brevora::core
