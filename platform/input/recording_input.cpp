#include "platform/input/recording_input.h"

#include <cstdio>

namespace brevora::input {
namespace {

std::string KeyName(uint8_t key) {
  switch (key) {
    case vk::kShift:
      return "Shift";
    case vk::kControl:
      return "Control";
    case vk::kAlt:
      return "Alt";
    case vk::kBack:
      return "Backspace";
    case vk::kTab:
      return "Tab";
    case vk::kReturn:
      return "Enter";
    case vk::kEscape:
      return "Escape";
    case vk::kSpace:
      return "Space";
    case vk::kPageUp:
      return "PageUp";
    case vk::kPageDown:
      return "PageDown";
    case vk::kEnd:
      return "End";
    case vk::kHome:
      return "Home";
    case vk::kLeft:
      return "Left";
    case vk::kUp:
      return "Up";
    case vk::kRight:
      return "Right";
    case vk::kDown:
      return "Down";
    case vk::kInsert:
      return "Insert";
    case vk::kDelete:
      return "Delete";
    case vk::kLeftWindows:
      return "Windows";
    case vk::kApplications:
      return "Applications";
    default:
      break;
  }
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
    return std::string(1, static_cast<char>(key));
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", key);
  return hex;
}

const char* ActionName(MouseAction action) {
  switch (action) {
    case MouseAction::Move:
      return "move";
    case MouseAction::LeftDown:
      return "left down";
    case MouseAction::LeftUp:
      return "left up";
    case MouseAction::RightDown:
      return "right down";
    case MouseAction::RightUp:
      return "right up";
  }
  return "?";
}

}  // namespace

std::string Describe(const InputEvent& event) {
  if (const auto* key = std::get_if<KeyEvent>(&event)) {
    return KeyName(key->key) + (key->down ? " down" : " up");
  }
  const auto& mouse = std::get<MouseEvent>(event);
  return std::string(ActionName(mouse.action)) + (mouse.absolute ? " to " : " by ") +
         std::to_string(mouse.x) + "," + std::to_string(mouse.y);
}

void RecordingInputSink::SendKey(const KeyEvent& event) { Add(event); }
void RecordingInputSink::SendMouse(const MouseEvent& event) { Add(event); }

std::optional<ScreenSize> RecordingInputSink::Screen() {
  std::lock_guard lock(mutex_);
  return screen_;
}

void RecordingInputSink::SetScreen(std::optional<ScreenSize> screen) {
  std::lock_guard lock(mutex_);
  screen_ = screen;
}

void RecordingInputSink::Add(InputEvent event) {
  const Clock::time_point now = Clock::now();
  {
    std::lock_guard lock(mutex_);
    events_.push_back(event);
    times_.push_back(now);
  }
  arrived_.notify_all();
}

std::vector<InputEvent> RecordingInputSink::Events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<std::string> RecordingInputSink::Described() const {
  std::vector<std::string> lines;
  for (const InputEvent& e : Events()) lines.push_back(Describe(e));
  return lines;
}

size_t RecordingInputSink::Count() const {
  std::lock_guard lock(mutex_);
  return events_.size();
}

RecordingInputSink::Clock::time_point RecordingInputSink::ArrivedAt(size_t index) const {
  std::lock_guard lock(mutex_);
  return index < times_.size() ? times_[index] : Clock::time_point{};
}

bool RecordingInputSink::WaitForCount(size_t count, std::chrono::milliseconds timeout) const {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [&] { return events_.size() >= count; });
}

void RecordingInputSink::Clear() {
  std::lock_guard lock(mutex_);
  events_.clear();
  times_.clear();
}

}  // namespace brevora::input
