#include "office/addin_session.h"

#include <cctype>
#include <charconv>
#include <cmath>

#include "core/session.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"

namespace brevora::office {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

}  // namespace

std::array<std::string, kSessionValueCount> SessionValueTexts(const core::Session& session) {
  const std::array<Variant, kSessionValueCount> values = GetSessionValues(session);
  std::array<std::string, kSessionValueCount> texts;
  texts[0].assign(1, CBool(values[0]) ? '1' : '0');
  for (int i = 1; i < kSessionValueCount; ++i) texts[i] = CStr(values[i]);
  return texts;
}

void SetSessionValuesFromTexts(core::Session& session,
                               std::span<const std::string, kSessionValueCount> texts) {
  const Variant values[kSessionValueCount] = {Variant(LeadingNumber(texts[0]) != 0),
                                              Variant(texts[1]),
                                              Variant(LeadingNumber(texts[2])),
                                              Variant(LeadingNumber(texts[3])),
                                              Variant(texts[4]),
                                              Variant(texts[5]),
                                              Variant(texts[6]),
                                              Variant(texts[7]),
                                              Variant(texts[8]),
                                              Variant(LeadingNumber(texts[9]))};
  SetSessionValues(session, values);
}

double LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  std::string number;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
  bool digits = false;
  while (i < text.size() && IsDigit(text[i])) {
    number += text[i++];
    digits = true;
  }
  if (i < text.size() && text[i] == '.') {
    number += text[i++];
    while (i < text.size() && IsDigit(text[i])) {
      number += text[i++];
      digits = true;
    }
  }
  if (!digits) return 0;
  if (number.front() == '+') number.erase(0, 1);
  double value = 0;  // from_chars: the same whatever the locale
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    return number.front() == '-' ? -HUGE_VAL : HUGE_VAL;  // converting it then overflows (6)
  }
  return value;
}

void ClearErrorSlot(core::Session& session) {
  session.SetErrorMessage("");
  session.SetErrorNumber(0);
}

void RaiseErrorSlot(const core::Session& session) {
  const int32_t number = session.ErrorNumber();
  const std::string& message = session.ErrorMessage();
  if (message.empty() && number == 0) return;
  RaiseError(number == 0 ? kWrapError : number, kAddInErrorSource, message);
}

}  // namespace brevora::office
