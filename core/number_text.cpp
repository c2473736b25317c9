#include "core/number_text.h"

#include <cmath>

#include "platform/error/error.h"
#include "support/tabrelc.h"

namespace brevora::core {

std::string BigEndianBytes32(double value) {
  if (!std::isfinite(value)) RaiseRuntimeError(6);
  const double whole = std::nearbyint(value);  // halves to even, as CLng rounds
  if (whole < -2147483648.0 || whole > 4294967295.0) RaiseRuntimeError(6);
  const auto bits = static_cast<uint32_t>(static_cast<int64_t>(whole));
  char bytes[4];
  FlipDWordToStr(static_cast<int32_t>(bits), bytes);
  return std::string(bytes, 4);
}

std::string BigEndianBytes16(int32_t value) {
  char bytes[2];
  FlipWordToStr(value, bytes);
  return std::string(bytes, 2);
}

std::string ByteChar(int32_t value) {
  if (value < 0 || value > 255) RaiseRuntimeError(5);
  return std::string(1, static_cast<char>(static_cast<unsigned char>(value)));
}

double BitAndDecimal(std::string_view a, std::string_view b) {
  const std::string left(a), right(b);
  char buffer[20] = {};
  ORX_BitAnd(left.c_str(), right.c_str(), buffer);
  double result = 0;
  for (size_t i = 0; i < sizeof buffer && buffer[i] != '\0'; ++i) {
    if (buffer[i] < '0' || buffer[i] > '9') break;
    result = result * 10 + (buffer[i] - '0');
  }
  return result;
}

void AddChecked(int16_t& value, int16_t amount) {
  const int32_t sum = int32_t{value} + int32_t{amount};
  if (sum < INT16_MIN || sum > INT16_MAX) RaiseRuntimeError(6);
  value = static_cast<int16_t>(sum);
}

}  // namespace brevora::core
