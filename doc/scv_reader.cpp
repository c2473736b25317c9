#include "doc/scv_reader.h"

#include <string>

#include "core/text_cleanup.h"
#include "doc/line_cursor.h"
#include "doc/scv_format.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"

namespace brevora::doc {

namespace {

constexpr int32_t kInputPastEnd = 62;

// The header lines in order, with Visual Basic's conversions of numbers.
class HeaderLines {
 public:
  explicit HeaderLines(std::string_view file) : lines_(file) {}

  std::string_view Line() {
    auto line = lines_.Next();
    if (!line) RaiseRuntimeError(kInputPastEnd);
    return *line;
  }
  int16_t Integer() { return CInt(Variant(Line())); }
  int32_t Long() { return CLng(Variant(Line())); }
  // Files written where "," is the decimal separator are read as well.
  double Double() {
    std::string text(Line());
    if (text.find('.') == std::string::npos) {
      if (auto comma = text.find(','); comma != std::string::npos) text[comma] = '.';
    }
    return CDbl(Variant(text));
  }
  // A whole line without any double quote.
  std::string Text() { return fs::StripQuotes(Line()); }

  LineCursor& Cursor() { return lines_; }

 private:
  LineCursor lines_;
};

// A quoted field: the text between the first pair of double quotes (to the end
// of the line when the closing one is missing); an unquoted line as it is.
std::string QuotedField(std::string_view line) {
  const std::string trimmed = core::Trim(line);
  if (trimmed.empty() || trimmed.front() != scv_format::kQuote) return trimmed;
  const size_t close = trimmed.find(scv_format::kQuote, 1);
  return trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1);
}

}  // namespace

ScvHeader ScvHeaderReader::Read(const DocumentHeader& initial) const {
  ScvHeader result;
  result.header = initial;
  DocumentHeader& h = result.header;
  HeaderLines lines(file_);

  result.modified = lines.Integer() == 1;
  // The version read is not kept: the document is of this module's version.
  const int16_t version = lines.Integer();
  if (version > scv_format::kVersion) {
    RaiseError(
        kWrapError, "Document.ReadHeader",
        "This Document is of a newer version than this module.  Please contact Orvanex, Inc.");
  }
  if (lines.Integer() == 0) {  // no header: the text follows at once
    result.bodyPosition = lines.Cursor().Position();
    return result;
  }

  if (version < scv_format::kFirstVersionWithLink) {
    h.LinkedDOCSyncMethod = 0;
    h.LinkedDOCFileName.clear();
    h.LinkedDOCFileModDateTime = 0;
    h.LinkedDOCSyncOption = 0;
  } else {
    h.LinkedDOCSyncMethod = lines.Integer();
    h.LinkedDOCFileName = lines.Text();
    h.LinkedDOCFileModDateTime = lines.Double();
    h.LinkedDOCSyncOption = lines.Integer();
  }
  h.serverSync = lines.Integer();
  h.editable = lines.Integer();
  h.compression = lines.Integer();
  if (h.compression < kNotCompressed || h.compression > kCompressed) h.compression = kCompressed;
  h.searchMode = lines.Integer();
  h.DocName = lines.Text();
  h.password = lines.Text();
  h.databaseValue = lines.Long();
  h.readingPosition = lines.Long();
  h.CursorEndPos = lines.Long();

  const int16_t count = lines.Integer();
  std::vector<Bookmark> read;
  bool separatorRead = false;
  for (int i = 1; i <= count; ++i) {
    const std::string_view nameLine = lines.Line();
    if (nameLine.empty()) {  // the separator: the file holds fewer pairs than it states
      separatorRead = true;
      break;
    }
    Bookmark bookmark{QuotedField(nameLine), lines.Long()};
    if (i <= kMaxBookmarks) read.push_back(std::move(bookmark));
  }
  h.ReplaceBookmarks(read);

  const LineCursor& cursor = lines.Cursor();
  result.bodyPosition = separatorRead ? cursor.Position() : scv_format::TextStart(cursor);
  return result;
}

}  // namespace brevora::doc
