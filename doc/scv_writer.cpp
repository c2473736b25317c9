#include "doc/scv_writer.h"

#include <charconv>
#include <cmath>

#include "doc/line_cursor.h"
#include "doc/markup.h"
#include "doc/scv_format.h"
#include "platform/error/error.h"

namespace brevora::doc {

std::string ScvWriter::Quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += scv_format::kQuote;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      out += ' ';
    } else if (c != scv_format::kQuote) {
      out += c;
    }
  }
  out += scv_format::kQuote;
  return out;
}

std::string ScvWriter::FormatSeconds(double value) {
  if (!std::isfinite(value)) RaiseRuntimeError(6);
  char buffer[400];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) RaiseRuntimeError(6);
  return std::string(buffer, end);
}

void ScvWriter::Line(std::string_view text) {
  out_ += text;
  out_ += scv_format::kLineEnd;
}

void ScvWriter::WriteHeader(const DocumentHeader& h, bool modified) {
  const auto number = [this](auto value) { Line(std::to_string(value)); };
  number(modified ? 1 : 0);
  number(scv_format::kVersion);
  number(1);  // header present
  number(h.LinkedDOCSyncMethod);
  Line(Quoted(h.LinkedDOCFileName));
  Line(FormatSeconds(h.LinkedDOCFileModDateTime));
  number(h.LinkedDOCSyncOption);
  number(h.serverSync);
  number(h.editable);
  number(h.compression);
  number(h.searchMode);
  Line(Quoted(h.DocName));
  Line(Quoted(h.password));
  number(h.databaseValue);
  number(h.readingPosition);
  number(h.CursorEndPos);
  const std::vector<Bookmark> bookmarks = h.StoredBookmarks();
  number(bookmarks.size());
  for (const Bookmark& bookmark : bookmarks) {
    Line(Quoted(bookmark.name));
    number(bookmark.offset);
  }
  out_ += scv_format::kLineEnd;  // the separator
}

void ScvWriter::WriteText(const std::vector<std::string_view>& blocks) {
  size_t size = 0;
  for (std::string_view block : blocks) size += block.size();
  out_.reserve(out_.size() + size + size / 16);
  markup::LineBreakWriter lines;
  for (std::string_view block : blocks) lines.Append(block, out_);
  lines.Finish(out_);
}

void ScvWriter::CopyLines(std::string_view text) {
  LineCursor lines(text);
  while (auto line = lines.Next()) Line(*line);
}

}  // namespace brevora::doc
