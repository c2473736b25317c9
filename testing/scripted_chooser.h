#pragma once
// A scripted PresentationChooser for the album's tests and fuzz target: each
// call records what it was offered and takes the next scripted answer, a path
// (OK) or nothing (Cancel); with no answer left it cancels.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "album/presentation_chooser.h"

namespace brevora::testing {

class ScriptedChooser : public album::PresentationChooser {
 public:
  struct Call {
    bool save;
    std::string offered;
    bool operator==(const Call&) const = default;
  };

  void Answer(std::optional<std::string> path) { answers_.push_back(std::move(path)); }
  const std::vector<Call>& calls() const { return calls_; }

  bool FileToSave(Dispatch&, std::string& path) override { return Next(true, path); }
  bool FileToOpen(Dispatch&, std::string& path) override { return Next(false, path); }

 private:
  bool Next(bool save, std::string& path) {
    calls_.push_back({save, path});
    std::optional<std::string> answer;
    if (!answers_.empty()) {
      answer = std::move(answers_.front());
      answers_.pop_front();
    }
    path = answer.value_or("");
    return answer.has_value();
  }

  std::deque<std::optional<std::string>> answers_;
  std::vector<Call> calls_;
};

}  // namespace brevora::testing
