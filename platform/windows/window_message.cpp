#include "platform/windows/window_message.h"

#include <utility>

namespace brevora::windows {
namespace {

bool IsControl(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b < 0x20 || b == 0x7F;
}

constexpr std::string_view kClick = "click ";
constexpr std::string_view kTitle = "title ";
constexpr std::string_view kActivate = "activate";
constexpr std::string_view kMinimize = "minimize";

}  // namespace

WindowMessage WindowMessage::Click(std::string childClass, std::string caption) {
  WindowMessage m;
  m.kind = Kind::Click;
  m.childClass = std::move(childClass);
  m.caption = std::move(caption);
  return m;
}

WindowMessage WindowMessage::Activate() { return WindowMessage{}; }

WindowMessage WindowMessage::Minimize() {
  WindowMessage m;
  m.kind = Kind::Minimize;
  return m;
}

WindowMessage WindowMessage::Title(std::string text) {
  WindowMessage m;
  m.kind = Kind::Title;
  m.text = std::move(text);
  return m;
}

bool IsClassName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameSize) return false;
  for (const char c : name) {
    if (c == ' ' || IsControl(c)) return false;
  }
  return true;
}

bool IsWindowText(std::string_view text, bool allowEmpty) {
  if (text.size() > kMaxNameSize || (text.empty() && !allowEmpty)) return false;
  for (const char c : text) {
    if (IsControl(c)) return false;
  }
  return true;
}

std::optional<std::string> EncodeMessage(const WindowMessage& message) {
  switch (message.kind) {
    case WindowMessage::Kind::Click:
      if (!IsClassName(message.childClass) || !IsWindowText(message.caption, false)) break;
      return std::string(kClick) + message.childClass + ' ' + message.caption;
    case WindowMessage::Kind::Activate:
      return std::string(kActivate);
    case WindowMessage::Kind::Minimize:
      return std::string(kMinimize);
    case WindowMessage::Kind::Title:
      if (!IsWindowText(message.text, true)) break;
      return std::string(kTitle) + message.text;
  }
  return std::nullopt;
}

std::optional<WindowMessage> DecodeMessage(std::string_view datagram) {
  if (datagram.size() > kMaxMessageSize) return std::nullopt;
  if (datagram == kActivate) return WindowMessage::Activate();
  if (datagram == kMinimize) return WindowMessage::Minimize();
  if (datagram.starts_with(kTitle)) {
    const std::string_view text = datagram.substr(kTitle.size());
    if (!IsWindowText(text, true)) return std::nullopt;
    return WindowMessage::Title(std::string(text));
  }
  if (datagram.starts_with(kClick)) {
    const std::string_view rest = datagram.substr(kClick.size());
    const std::size_t space = rest.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    const std::string_view childClass = rest.substr(0, space);
    const std::string_view caption = rest.substr(space + 1);
    if (!IsClassName(childClass) || !IsWindowText(caption, false)) return std::nullopt;
    return WindowMessage::Click(std::string(childClass), std::string(caption));
  }
  return std::nullopt;
}

}  // namespace brevora::windows
