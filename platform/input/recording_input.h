#pragma once
// RecordingInputSink: an InputSink that keeps every event in order, with the
// time it arrived, for tests and benchmarks. Its screen size is set by the
// test (1024 x 768 unless changed; nullopt stands for "no display"). Safe to
// use from the thread that injects while another reads or waits.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "platform/input/input_events.h"

namespace brevora::input {

using InputEvent = std::variant<KeyEvent, MouseEvent>;

// "Shift down", "A up", "0xBA down", "move to 6399,17066", "left down by -5,0":
// one line per event, so tests can compare sequences readably.
std::string Describe(const InputEvent& event);

class RecordingInputSink : public InputSink {
 public:
  using Clock = std::chrono::steady_clock;

  void SendKey(const KeyEvent& event) override;
  void SendMouse(const MouseEvent& event) override;
  std::optional<ScreenSize> Screen() override;

  void SetScreen(std::optional<ScreenSize> screen);
  std::vector<InputEvent> Events() const;
  std::vector<std::string> Described() const;
  size_t Count() const;
  // The arrival time of event `index`.
  Clock::time_point ArrivedAt(size_t index) const;
  // Waits until at least `count` events arrived; false when `timeout` passed first.
  bool WaitForCount(size_t count, std::chrono::milliseconds timeout) const;
  void Clear();

 private:
  void Add(InputEvent event);

  mutable std::mutex mutex_;
  mutable std::condition_variable arrived_;
  std::vector<InputEvent> events_;
  std::vector<Clock::time_point> times_;
  std::optional<ScreenSize> screen_ = ScreenSize{1024, 768};
};

}  // namespace brevora::input
