#include "core/module_state.h"

#include "core/session.h"
#include "platform/automation/per_thread.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"

namespace brevora::core {

ModuleState& Module() { return PerThread<ModuleState>(); }

void EnsureModuleStarted() {
  if (Module().started) return;
  Main();
}

Ref<Session> GlobalSession() {
  EnsureModuleStarted();
  return Module().gSession;
}

void Main() {
  // Marked first: the Session created here starts nothing again, and a failed
  // start-up is not retried on this thread.
  Module().started = true;
  try {
    Ref<Session> session = MakeRef<Session>();
    Module().gSession = std::move(session);
  } catch (...) {
    const AutomationError error = CurrentError();
    services::ShowMessage({.text = "Could not load TabulynPC.\r\n" + error.description(),
                           .title = "Brevora",
                           .buttons = services::MsgButtons::Ok,
                           .icon = services::MsgIcon::Critical});
  }
}

Ref<Dispatch> ServerPool() { return Module().gServerPool; }

void SetServerPool(Ref<Dispatch> pool) { Module().gServerPool = std::move(pool); }

}  // namespace brevora::core
