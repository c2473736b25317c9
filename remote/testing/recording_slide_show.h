#pragma once
// RecordingSlideShow: a SlideShowControl for protocol tests, fuzzing and
// benchmarks. It logs each call as a line ("Open(Talk)", "Goto(3, 1)",
// "Current(0)", "End") and answers from what the test set: whether opening and
// going to a slide succeed, and the current slide. A test makes a call raise
// with FailOn(line prefix, error).
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/error/error.h"
#include "remote/slide_show_control.h"

namespace brevora::remote::testing {

class RecordingSlideShow : public SlideShowControl {
 public:
  bool OpenPresentationShow(const std::string& name) override;
  bool GotoShowSlide(uint32_t target, uint32_t mode) override;
  uint32_t GetCurrentShowSlide(uint32_t mode) override;
  void EndPowerPointSession() override;

  void FailOn(std::string linePrefix, AutomationError error);
  std::vector<std::string> Calls() const;
  void ClearCalls();

  bool openResult = true;
  bool gotoResult = true;
  uint32_t currentSlide = 0;

 private:
  void Record(std::string line);

  mutable std::mutex mutex_;
  std::vector<std::string> calls_;
  std::vector<std::pair<std::string, AutomationError>> failures_;
};

}  // namespace brevora::remote::testing
