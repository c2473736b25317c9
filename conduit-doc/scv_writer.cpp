#include "conduit-doc/scv_writer.h"

#include "conduit-doc/scv_format.h"

namespace brevora::scriv {
namespace {

namespace fmt = scriv_format;

// The text without double quotes and line breaks.
std::string Plain(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      out += ' ';
    } else if (c != fmt::kQuote) {
      out += c;
    }
  }
  return out;
}

// 32 bits as the desktop program reads them: a signed number.
std::string Signed(uint32_t value) { return std::to_string(static_cast<int32_t>(value)); }

}  // namespace

std::string ScvWriter::Quoted(std::string_view text) {
  return fmt::kQuote + Plain(text) + fmt::kQuote;
}

void ScvWriter::Line(std::string_view text) { out_.WriteLine(text); }

void ScvWriter::Separator() {
  if (separated_) return;
  out_.WriteLine("");
  separated_ = true;
}

void ScvWriter::WriteHeader(const CDocumentHeader& h) {
  Line(h.modified ? "1" : "0");
  Line(std::to_string(fmt::kDocumentVersion));
  Line(fmt::kHeaderPresent);
  Line(std::to_string(h.linkMethod));
  Line(Quoted(h.linkPath));
  Line(std::to_string(h.linkDate));
  Line(std::to_string(h.linkOption));
  Line(std::to_string(h.serverSync));
}

void ScvWriter::WriteDocInfo(const DocumentInfo& info) {
  Line(std::to_string(info.editable));
  Line(std::to_string(info.compression));
  Line(std::to_string(info.mode));
  Line(Quoted(info.firstName));
  Line(Plain(info.secondName));
  Line(Signed(info.position));
  Line(std::to_string(info.wordA));
  Line(std::to_string(info.wordB));
  Line(std::to_string(info.bookmarkCount));
}

void ScvWriter::WriteBookmark(const Bookmark& bookmark) {
  Line(Quoted(bookmark.name));
  Line(Signed(bookmark.position));
}

void ScvWriter::WriteText(std::span<const uint8_t> text) {
  Separator();
  out_.text().append(reinterpret_cast<const char*>(text.data()), text.size());
}

const std::string& ScvWriter::Bytes() {
  Separator();
  return out_.text();
}

}  // namespace brevora::scriv
