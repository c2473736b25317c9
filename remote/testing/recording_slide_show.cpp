#include "remote/testing/recording_slide_show.h"

namespace brevora::remote::testing {

void RecordingSlideShow::Record(std::string line) {
  std::lock_guard lock(mutex_);
  calls_.push_back(line);
  for (const auto& [prefix, error] : failures_) {
    if (line.starts_with(prefix)) throw error;
  }
}

bool RecordingSlideShow::OpenPresentationShow(const std::string& name) {
  Record("Open(" + name + ")");
  return openResult;
}

bool RecordingSlideShow::GotoShowSlide(uint32_t target, uint32_t mode) {
  Record("Goto(" + std::to_string(target) + ", " + std::to_string(mode) + ")");
  return gotoResult;
}

uint32_t RecordingSlideShow::GetCurrentShowSlide(uint32_t mode) {
  Record("Current(" + std::to_string(mode) + ")");
  return currentSlide;
}

void RecordingSlideShow::EndPowerPointSession() { Record("End"); }

void RecordingSlideShow::FailOn(std::string linePrefix, AutomationError error) {
  std::lock_guard lock(mutex_);
  failures_.emplace_back(std::move(linePrefix), std::move(error));
}

std::vector<std::string> RecordingSlideShow::Calls() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void RecordingSlideShow::ClearCalls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

}  // namespace brevora::remote::testing
