#pragma once
// Small helpers of the windows and dialogs: a control made under its own name
// (the name callers and tests find it by), and the call of an event handler
// from Qt, whose errors are shown in the critical message box titled "Brevora"
// instead of being thrown into Qt. A form's handlers run only while it is
// loaded: the window of an unloaded form waits for the event loop to delete it
// and may still send a signal or two on its way, which change nothing.
#include <QString>
#include <utility>

#include "frontend/forms/qt_form.h"
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
void HandleEvent(F&& handler) {
  try {
    handler();
  } catch (...) {
    services::ShowMessage(
        {CurrentError().description(), "Brevora", services::MsgButtons::Ok, services::MsgIcon::Critical});
  }
}

// HandleEvent for an event of `form`'s window, while the form is loaded.
template <class F>
void HandleFormEvent(const QtForm& form, F&& handler) {
  if (form.IsLoaded()) HandleEvent(std::forward<F>(handler));
}

}  // namespace brevora::frontend::forms
