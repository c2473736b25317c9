#pragma once
// How frmSave's event handlers are called from Qt: an error that a handler
// does not report itself is shown (critical, titled "Brevora") and never
// thrown into Qt.
#include "platform/error/error.h"
#include "platform/services/message_box.h"

namespace brevora::frontend::forms {

template <class F>
void HandleEvent(F&& handler) {
  try {
    handler();
  } catch (...) {
    services::ShowMessage(
        {CurrentError().description(), "Brevora", services::MsgButtons::Ok, services::MsgIcon::Critical});
  }
}

}  // namespace brevora::frontend::forms
