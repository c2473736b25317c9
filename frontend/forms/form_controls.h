#pragma once
// Small helpers of the windows and dialogs: a control made under its own name
// (the name callers and tests find it by), text between the code page and Qt,
// the critical message box, and the call of an event handler
// from Qt, whose errors are shown in the critical message box titled "Brevora"
// instead of being thrown into Qt. A form's handlers run only while it is
// loaded: the window of an unloaded form waits for the event loop to delete it
// and may still send a signal or two on its way, which change nothing.
#include <QString>
#include <string>
#include <utility>

#include "frontend/forms/qt_form.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {

template <class W, class... A>
W* Named(const char* name, A&&... args) {
  W* widget = new W(std::forward<A>(args)...);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

// Code-page text as Qt's, and back.
inline QString ToQt(const std::string& codePage) { return QString::fromStdString(text::CpToUtf8(codePage)); }
inline std::string FromQt(const QString& text) { return text::Utf8ToCp(text.toStdString()); }

// The critical message box, titled "Brevora" unless a title is given.
inline void ShowCritical(const std::string& text, const std::string& title = "Brevora") {
  services::ShowMessage({text, title, services::MsgButtons::Ok, services::MsgIcon::Critical});
}

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
