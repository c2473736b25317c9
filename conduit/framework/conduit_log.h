#pragma once
// The conduit's lines in the HotSync log, and the run's errors flag.
//   LogHotSync: the product prefix ("Tabulyn - ") and the text, activity -1;
//   LogFileError: the text alone, activity 21;
//   LogRefusal: a LogHotSync line for a name left alone, and the errors flag set.
// RunErrors lives for one OpenConduit call: a run with refusals ends with the
// failure line, though everything else was synchronized.
#include <string>
#include <string_view>

#include "conduit/framework/conduit_namespace.h"

namespace brevora::CONDUIT_NAMESPACE {

void LogHotSync(std::string_view text);
void LogFileError(std::string_view text);

class RunErrors {
 public:
  void Refuse(std::string_view text);
  void Set() { any_ = true; }
  bool any() const { return any_; }

 private:
  bool any_ = false;
};

}  // namespace brevora::CONDUIT_NAMESPACE
