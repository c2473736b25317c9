#include "platform/text/line_reader.h"

namespace brevora::text {

std::optional<std::string_view> LineReader::Next() {
  if (AtEnd()) return std::nullopt;
  const std::string_view rest = text_.substr(pos_);
  const std::size_t end = rest.find_first_of(rules_.ends == LineEnds::CrLfOrCr ? "\r\n" : "\n");
  if (end == std::string_view::npos) {
    if (!rules_.openLastLine) return std::nullopt;
    pos_ = text_.size();
    return rules_.ends == LineEnds::CrLf && rest.back() == '\r' ? rest.substr(0, rest.size() - 1)
                                                                : rest;
  }
  pos_ += end + LineBreakAt(rest, end, rules_.ends);
  if (rules_.ends == LineEnds::CrLf && end > 0 && rest[end - 1] == '\r')
    return rest.substr(0, end - 1);
  return rest.substr(0, end);
}

std::size_t LineReader::LinesLeft() const {
  LineReader copy = *this;
  std::size_t lines = 0;
  while (copy.Next()) ++lines;
  return lines;
}

std::optional<std::string_view> KeyValue(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || !line.starts_with(key) || line[key.size()] != ' ')
    return std::nullopt;
  return line.substr(key.size() + 1);
}

}  // namespace brevora::text
