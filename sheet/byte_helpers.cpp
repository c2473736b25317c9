#include "sheet/byte_helpers.h"

#include <algorithm>

#include "core/module_error.h"
#include "platform/error/error.h"

namespace brevora::sheet {

std::vector<uint8_t> StringToBytes(std::string_view text, size_t n) {
  std::vector<uint8_t> bytes(n + 1, 0);
  std::copy_n(text.begin(), std::min(n, text.size()), bytes.begin());
  return bytes;
}

std::string BytesToString(const Variant& bytes) {
  if (bytes.type() != VarType::Bytes)
    core::RaiseModuleError(273, "The parameter is not an array of byte.");
  const std::vector<uint8_t>& b = bytes.AsBytes();
  if (b.empty()) return {};
  const size_t end =
      std::min(static_cast<size_t>(std::find(b.begin(), b.end(), 0) - b.begin()), b.size() - 1);
  return std::string(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(end));
}

}  // namespace brevora::sheet
