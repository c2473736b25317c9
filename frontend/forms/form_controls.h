#pragma once
// Small helpers of the dialog classes: a control made under its own name (the
// name callers and tests find it by), and a dialog's event handler whose errors
// are shown in the critical message box titled "Brevora" instead of being
// raised into Qt.
#include <QString>
#include <utility>

#include "platform/error/error.h"
#include "platform/services/message_box.h"

namespace brevora::frontend::forms {

template <class W, class... A>
W* Named(const char* name, A&&... args) {
  W* widget = new W(std::forward<A>(args)...);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

template <class F>
void HandleDialogEvent(F&& handler) {
  try {
    handler();
  } catch (...) {
    services::ShowMessage(
        {CurrentError().description(), "Brevora", services::MsgButtons::Ok, services::MsgIcon::Critical});
  }
}

}  // namespace brevora::frontend::forms
