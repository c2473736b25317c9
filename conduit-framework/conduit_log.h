#pragma once
// The conduit's lines in the HotSync log, and the run's errors flag.
//   LogHotSync: the product prefix ("Tabulyn - ") and the text, activity -1;
//   LogFileError: the text alone, activity 21;
//   RunErrors::Refuse: a LogHotSync line for a name left alone, and the errors
//   flag set.
// RunErrors lives for one OpenConduit call: a run with refusals ends with the
// failure line, though everything else was synchronized.
#include <string>
#include <string_view>

namespace brevora::conduit {

struct Product;

void LogHotSync(const Product& product, std::string_view text);
void LogFileError(std::string_view text);

class RunErrors {
 public:
  // `product` names the lines; it must outlive the object.
  explicit RunErrors(const Product& product) : product_(product) {}
  RunErrors(const RunErrors&) = delete;
  RunErrors& operator=(const RunErrors&) = delete;

  void Refuse(std::string_view text);
  void Set() { any_ = true; }
  bool any() const { return any_; }

 private:
  const Product& product_;
  bool any_ = false;
};

}  // namespace brevora::conduit
