#pragma once
// Small helpers of the windows and dialogs: a control made under its own name
// (the name callers and tests find it by) and the critical message box, both
// the platform's, text between the code page and Qt, and the call of an event
// handler from Qt, whose errors are shown in the critical message box titled "Brevora"
// instead of being thrown into Qt. A form's handlers run only while it is
// loaded: the window of an unloaded form waits for the event loop to delete it
// and may still send a signal or two on its way, which change nothing.
#include <QString>
#include <string>
#include <utility>

#include "frontend/forms/qt_form.h"
#include "platform/error/error.h"
#include "platform/qt/named.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {

using qt::Named;
using services::ShowCritical;

// Code-page text as Qt's, and back.
inline QString ToQt(const std::string& codePage) {
  return QString::fromStdString(text::CpToUtf8(codePage));
}
inline std::string FromQt(const QString& text) { return text::Utf8ToCp(text.toStdString()); }

template <class F>
void HandleEvent(F&& handler) {
  try {
    handler();
  } catch (...) {
    ShowCritical(CurrentError().description());
  }
}

// HandleEvent for an event of `form`'s window, while the form is loaded.
template <class F>
void HandleFormEvent(const QtForm& form, F&& handler) {
  if (form.IsLoaded()) HandleEvent(std::forward<F>(handler));
}

}  // namespace brevora::frontend::forms
