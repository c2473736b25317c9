#pragma once
// LineCursor: reads the lines of a text held in memory. A line ends at CR LF,
// at a CR on its own or at a LF on its own (files made on Windows and on Linux
// read the same); the last line may end without a line break. The text must
// outlive the cursor.
#include <cstddef>
#include <optional>
#include <string_view>

namespace brevora::doc {

class LineCursor {
 public:
  explicit LineCursor(std::string_view text, size_t start = 0) : text_(text), pos_(start) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  // The byte position of the next line.
  size_t Position() const { return pos_; }

  // The next line without its line break; nullopt at the end of the text.
  std::optional<std::string_view> Next() {
    if (AtEnd()) return std::nullopt;
    const size_t start = pos_;
    const size_t end = text_.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      pos_ = text_.size();
      return text_.substr(start);
    }
    pos_ = end + 1;
    if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
    return text_.substr(start, end - start);
  }

 private:
  std::string_view text_;
  size_t pos_;
};

}  // namespace brevora::doc
