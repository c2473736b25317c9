#pragma once
// Named: a widget made under its own object name, the name the form's callers
// and its tests find it by (findChild<QListWidget*>("lstCategory")). The
// helper every form of the Qt programs and windows libraries builds with.
#include <QString>
#include <utility>

namespace brevora::qt {

template <class W, class... A>
W* Named(const char* name, A&&... args) {
  W* widget = new W(std::forward<A>(args)...);
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

}  // namespace brevora::qt
