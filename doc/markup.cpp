#include "doc/markup.h"

#include "core/text_cleanup.h"

namespace brevora::doc::markup {

namespace {
constexpr std::string_view kFourBlanks = "    ";
}

std::string AddEscapeCodes(std::string_view input) {
  std::string out;
  out.reserve(input.size());
  for (char c : input) {
    if (c == '\t') {
      out += kFourBlanks;
    } else {
      out += c;
    }
  }
  return out;
}

void PlainCharToMarkup(char c, std::string& out) {
  switch (c) {
    case '&':
      out += "&amp;";
      break;
    case '<':
      out += "&lt;";
      break;
    case '>':
      out += "&gt;";
      break;
    case '\n':
      out += "<br>";
      break;
    case '\t':
      out += kFourBlanks;
      break;
    default:
      out += c;
  }
}

std::string EscapePlainText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '&' || c == '<' || c == '>') {
      PlainCharToMarkup(c, out);
    } else {
      out += c;
    }
  }
  return out;
}

void LineBreakWriter::Append(std::string_view text, std::string& out) {
  for (char c : text) {
    if (pendingCR_) {
      pendingCR_ = false;
      out += '\n';
      if (c == '\n') continue;
    }
    if (c == '\r') {
      out += c;
      pendingCR_ = true;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
}

void LineBreakWriter::Finish(std::string& out) {
  if (pendingCR_) out += '\n';
  pendingCR_ = false;
}

size_t PartialTagLength(std::string_view text) {
  for (size_t i = text.size(); i-- > 0;) {
    const char c = text[i];
    if (c == '>' || c == ';') return 0;
    if (c == '<' || c == '&') return i == 0 ? 0 : text.size() - i;
  }
  return 0;
}

size_t CutPartialTag(std::string& text) {
  const size_t cut = PartialTagLength(text);
  text.resize(text.size() - cut);
  return cut;
}

std::string StripTags(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  char closer = 0;  // the delimiter that ends the markup being skipped
  for (char c : text) {
    if (closer) {
      if (c == closer) closer = 0;
    } else if (c == '<') {
      closer = '>';
    } else if (c == '&') {
      closer = ';';
    } else {
      out += c;
    }
  }
  return out;
}

std::string FirstTextLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto code = static_cast<unsigned char>(c);
    if (code >= 32 && code <= 122) {
      out += c;
    } else if ((c == '\r' || c == '\n') && !out.empty()) {
      break;
    }
  }
  return out;
}

std::string FixLength(std::string_view text, size_t n, bool firstLineOnly) {
  std::string_view head = text.substr(0, n);
  std::string field = core::Trim(firstLineOnly ? FirstTextLine(head) : std::string(head));
  field.resize(n + 1, '\0');
  return field;
}

std::vector<std::string> CutIntoBlocks(std::string_view text, size_t blockSize) {
  std::vector<std::string> blocks;
  while (!text.empty()) {
    std::string_view block = text.substr(0, blockSize);
    if (block.size() < text.size()) block.remove_suffix(PartialTagLength(block));
    blocks.emplace_back(block);
    text.remove_prefix(block.size());
  }
  return blocks;
}

std::string_view TrimNulls(std::string_view text) {
  const size_t end = text.find_last_not_of('\0');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string NameFromMarkup(std::string_view text) {
  const std::string stripped = StripTags(text);
  return core::Trim(FirstTextLine(std::string_view(stripped).substr(0, 31)));
}

}  // namespace brevora::doc::markup
