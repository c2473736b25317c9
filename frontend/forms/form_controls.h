#pragma once
// Small helpers of the form classes: a control made under its own name (the
// name callers and tests find it by), and an event handler whose errors are
// shown in the critical message box titled "Brevora" instead of being raised
// into Qt.
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

inline void ShowErrorMessage(const AutomationError& error) {
  services::ShowMessage({error.description(), "", services::MsgButtons::Ok, services::MsgIcon::Critical});
}

template <class F>
void HandleEvent(F&& handler) {
  try {
    handler();
  } catch (...) {
    ShowErrorMessage(CurrentError());
  }
}

}  // namespace brevora::frontend::forms
