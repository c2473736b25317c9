#pragma once
// WindowRegistration: a Qt window in the window directory
// (platform/windows/window_directory.h), so that other programs and the
// application object find it by class and title and post it messages. The
// messages are handled on the window's thread as they arrive: "activate"
// shows and raises the window, "minimize" minimises it, "title" sets its
// caption, and a click presses the registered button of that class and
// caption as a mouse click would. It lives as long as the window should be
// findable (the window outlives it); ending it takes the entry away.
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/windows/window_directory.h"

class QAbstractButton;
class QSocketNotifier;

namespace brevora::frontend::forms {

class WindowRegistration {
 public:
  struct Button {
    std::string windowClass;  // "ThunderRT5CommandButton"
    std::string caption;      // "Refresh"
    QAbstractButton* button;  // pressed by a posted click
  };

  // Registers `window` under `windowClass` and `title` (code page) with its
  // buttons. Raises what RegisteredWindow raises.
  WindowRegistration(QWidget& window, std::string windowClass, std::string title,
                     std::vector<Button> buttons);
  ~WindowRegistration();
  WindowRegistration(const WindowRegistration&) = delete;
  WindowRegistration& operator=(const WindowRegistration&) = delete;

  windows::WindowHandle handle() const { return entry_.handle(); }
  // The title other programs find the window by (code page).
  void SetTitle(std::string title) { entry_.SetTitle(std::move(title)); }

 private:
  void HandleMessages();
  void Handle(const windows::WindowMessage& message);

  QPointer<QWidget> window_;
  std::vector<std::pair<windows::ChildButton, QPointer<QAbstractButton>>> buttons_;
  windows::RegisteredWindow entry_;
  std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace brevora::frontend::forms
