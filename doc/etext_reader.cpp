#include "doc/etext_reader.h"

#include "doc/document_header.h"
#include "doc/line_cursor.h"
#include "doc/markup.h"
#include "platform/text/case.h"

namespace brevora::doc {

namespace {

constexpr size_t kShortLine = 50;

// The byte position where the book's text begins: after the first line that
// contains "*end*" (any case), or the start of the source without one.
size_t TextStart(std::string_view source) {
  LineCursor lines(source);
  while (auto line = lines.Next()) {
    if (text::LCase(*line).find("*end*") != std::string::npos) return lines.Position();
  }
  return 0;
}

}  // namespace

std::string ETextReader::Reflow() const {
  std::string text;
  text.reserve(source_.size() + source_.size() / 8);
  LineCursor lines(source_, TextStart(source_));
  size_t previousLength = 0;
  while (auto line = lines.Next()) {
    if (line->empty()) {
      text += (!text.empty() && text.back() == '\n') ? "<br>\n" : "<br>\n<br>\n";
    } else if (line->size() < kShortLine && previousLength < kShortLine) {
      text += markup::EscapePlainText(*line);
      text += "<br>\n";
    } else {
      text += ' ';
      text += markup::EscapePlainText(*line);
    }
    previousLength = line->size();
  }
  return text;
}

std::vector<std::string> ETextReader::ReadBlocks() const {
  return markup::CutIntoBlocks(Reflow(), kBlockFactor);
}

}  // namespace brevora::doc
