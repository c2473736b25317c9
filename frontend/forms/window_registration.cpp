#include "frontend/forms/window_registration.h"

#include <QAbstractButton>
#include <QSocketNotifier>
#include <QString>

#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::forms {
namespace {

std::vector<windows::ChildButton> ChildButtons(
    const std::vector<WindowRegistration::Button>& buttons) {
  std::vector<windows::ChildButton> children;
  for (const auto& b : buttons) children.push_back({b.windowClass, b.caption});
  return children;
}

}  // namespace

WindowRegistration::WindowRegistration(QWidget& window, std::string windowClass, std::string title,
                                       std::vector<Button> buttons)
    : window_(&window), entry_(std::move(windowClass), std::move(title), ChildButtons(buttons)) {
  for (const auto& b : buttons)
    buttons_.emplace_back(windows::ChildButton{b.windowClass, b.caption}, b.button);
  notifier_ = std::make_unique<QSocketNotifier>(entry_.fd(), QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { HandleMessages(); });
}

WindowRegistration::~WindowRegistration() = default;

void WindowRegistration::HandleMessages() {
  entry_.HandlePending([this](const windows::WindowMessage& message) { Handle(message); });
}

void WindowRegistration::Handle(const windows::WindowMessage& message) {
  if (!window_) return;
  switch (message.kind) {
    case windows::WindowMessage::Kind::Activate:
      if (window_->isMinimized()) window_->showNormal();
      window_->show();
      window_->raise();
      window_->activateWindow();
      break;
    case windows::WindowMessage::Kind::Minimize:
      window_->showMinimized();
      break;
    case windows::WindowMessage::Kind::Title:
      window_->setWindowTitle(QString::fromStdString(text::CpToUtf8(message.text)));
      break;
    case windows::WindowMessage::Kind::Click:
      // The directory only hands over clicks on registered buttons.
      for (auto& [child, button] : buttons_) {
        if (button && text::LCase(child.windowClass) == text::LCase(message.childClass) &&
            text::LCase(child.caption) == text::LCase(message.caption)) {
          button->click();
          break;
        }
      }
      break;
  }
}

}  // namespace brevora::frontend::forms
