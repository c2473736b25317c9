#include "testing/fake_server_database.h"

#include <memory>

namespace brevora::testing {

FakeServerDatabase::FakeServerDatabase() {
  answers["AddNewRecord"] = [](Args) { return Variant(true); };
}

Variant FakeServerDatabase::Invoke(std::string_view name, CallKind kind, Args args) {
  calls.push_back(
      RecordedCall{std::string(name), kind, std::vector<Variant>(args.begin(), args.end())});
  const auto it = answers.find(std::string(name));
  if (it == answers.end()) return Variant();
  const Answer answer = it->second;  // an answer may replace itself
  return answer(args);
}

std::vector<std::string> FakeServerDatabase::Members() const {
  std::vector<std::string> members;
  for (const RecordedCall& call : calls) members.push_back(call.member);
  return members;
}

std::vector<RecordedCall> FakeServerDatabase::CallsOf(std::string_view member) const {
  std::vector<RecordedCall> selected;
  for (const RecordedCall& call : calls) {
    if (text::EqualsNoCase(call.member, member)) selected.push_back(call);
  }
  return selected;
}

void FakeServerDatabase::AllowRecords(int count) {
  // The count is shared: answers are copied before each call.
  answers["AddNewRecord"] = [remaining = std::make_shared<int>(count)](Args) {
    return Variant((*remaining)-- > 0);
  };
}

}  // namespace brevora::testing
