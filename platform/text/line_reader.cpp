#include "platform/text/line_reader.h"

namespace brevora::text {

bool LineReader::Next(std::string_view& line) {
  if (rest_.empty()) return false;
  const std::size_t lf = rest_.find('\n');
  if (lf == std::string_view::npos) {
    if (!rules_.openLastLine) return false;
    line = rest_;
    rest_ = {};
  } else {
    line = rest_.substr(0, lf);
    rest_.remove_prefix(lf + 1);
  }
  if (rules_.crLf && !line.empty() && line.back() == '\r') line.remove_suffix(1);
  return true;
}

std::optional<std::string_view> KeyValue(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || !line.starts_with(key) || line[key.size()] != ' ') return std::nullopt;
  return line.substr(key.size() + 1);
}

}  // namespace brevora::text
