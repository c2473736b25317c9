#pragma once
// A recording fake of the RivorOdurov server database object that the
// workbook and document exchanges (WriteToZazerDB) write into, late-bound.
// It accepts every member name: each call is kept, in order, with copies of
// its arguments, and answered by the test's answer for that member (any case);
// members without an answer return Empty, except AddNewRecord, which answers
// True until the test says otherwise. An answer is copied before it runs, so
// an answer that counts keeps its count in shared state.
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/automation/dispatch.h"
#include "platform/automation/variant.h"
#include "platform/text/case.h"

namespace brevora::testing {

struct RecordedCall {
  std::string member;
  CallKind kind;
  std::vector<Variant> args;
};

class FakeServerDatabase : public Dispatch {
 public:
  using Answer = std::function<Variant(Args args)>;

  FakeServerDatabase();
  Variant Invoke(std::string_view name, CallKind kind, Args args) override;

  // The members called, in order.
  std::vector<std::string> Members() const;
  // The calls of one member (any case), in order.
  std::vector<RecordedCall> CallsOf(std::string_view member) const;
  // AddNewRecord answers True for the first `count` calls and False after.
  void AllowRecords(int count);

  std::vector<RecordedCall> calls;
  std::map<std::string, Answer, text::LessNoCase> answers;
};

}  // namespace brevora::testing
