#include "sheet/tbr_reader.h"

#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/text/line_reader.h"
#include "sheet/cell_line.h"
#include "sheet/tbr_format.h"

namespace brevora::sheet {

namespace {

constexpr const char* kSource = "Workbook.ReadHeader";

// A value of the header ends at a line break, a CR on its own among them; a
// cell line keeps a CR on its own as a byte of its fields.
constexpr text::LineRules kHeaderRule = text::kDesktopValueLines;
constexpr text::LineRules kCellRule = text::kDesktopLines;

bool IsLineEnd(std::string_view data, size_t pos) {
  return text::LineBreakAt(data, pos, kHeaderRule.ends) > 0;
}

}  // namespace

TbrReader::HeaderInfo TbrReader::ReadHeader(WorkbookHeader& header) {
  HeaderInfo info{false, 0};
  try {
    ReadHeaderValues(header, info);
  } catch (...) {
    const AutomationError e = CurrentError();
    if (e.number() == kWrapError) throw;
    throw AutomationError(kWrapError, kSource,
                          "This workbook is corrupt or is not a Tabulyn file.  " + e.description());
  }
  return info;
}

void TbrReader::ReadHeaderValues(WorkbookHeader& header, HeaderInfo& info) {
  using tbr_format::TbrLayout;
  info.modified = ReadNumber() != 0;
  const double version = ReadNumber();
  if (version > tbr_format::kVersion) {
    RaiseError(
        kWrapError, kSource,
        "This workbook is of a newer version than this module.  Please contact Orvanex, Inc.");
  }
  info.version = DoubleToInteger(version);
  const bool hasHeader = ReadNumber() != 0;
  if (hasHeader) {
    const TbrLayout layout = tbr_format::TbrLayoutOf(info.version);
    if (layout.tenDroppedValues) {
      for (size_t i = 0; i < tbr_format::kTenDroppedValues; ++i) ReadNumber();
      for (size_t j = 0; j < tbr_format::kTenDroppedValues; ++j)
        header.SheetParams[1].ColumnWidths[j] = 0;
    }
    if (layout.linkFields) {
      header.SyncMethod = ReadInteger();
      header.LinkedFileName = ReadText();
      header.LinkedFileTime = ReadNumber();
      header.SyncOption = ReadInteger();
    }
    header.DefaultFormat = ReadNumber();
    header.CurrentSheet = ReadInteger();
    header.Properties = layout.properties ? ReadNumber() : kDefaultProperties;
    header.Extra = ReadNumber();
    header.Currency = ReadText();
    for (StyleSlot& slot : header.Styles) {
      slot.Format = ReadNumber();
      slot.Name = ReadText();
    }
    if (layout.defaultStyles) DefaultStyles(header.Styles);
    for (size_t e = 0; e < tbr_format::kStoredSheetEntries; ++e) {
      SheetParamsEntry& p = header.SheetParams[e];
      for (size_t j = 0; j < layout.widths; ++j) p.ColumnWidths[j] = ReadInteger();
      for (int16_t& v : p.Frozen) v = ReadInteger();
      for (int16_t& v : p.Current) v = ReadInteger();
      if (layout.droppedLongs) {
        ReadLong();
        ReadLong();
      }
      p.OverflowColumn = ReadInteger();
      p.Fixed47 = layout.fixed47 ? ReadInteger() : kFixed47;
      p.Reserved = ReadLong();
    }
  }
  header.SheetCount = ReadInteger();
  if (header.SheetCount > static_cast<int16_t>(kSheetEntries)) RaiseRuntimeError(9);
  for (int16_t i = 0; i < header.SheetCount; ++i)
    header.SheetNames[static_cast<size_t>(i)] = ReadText();
}

std::string_view TbrReader::NextValue() {
  while (pos_ < data_.size() && (data_[pos_] == ' ' || data_[pos_] == '\t')) ++pos_;
  if (pos_ >= data_.size()) throw AutomationError(62, "", "Input past end of file");
  std::string_view value;
  if (data_[pos_] == tbr_format::kQuote) {
    const size_t start = ++pos_;
    while (pos_ < data_.size() && data_[pos_] != tbr_format::kQuote && !IsLineEnd(data_, pos_))
      ++pos_;
    value = data_.substr(start, pos_ - start);
    if (pos_ < data_.size() && data_[pos_] == tbr_format::kQuote) ++pos_;
    // Anything between the closing quote and the separator is passed over.
    while (pos_ < data_.size() && data_[pos_] != tbr_format::kValueSeparator &&
           !IsLineEnd(data_, pos_))
      ++pos_;
  } else {
    const size_t start = pos_;
    while (pos_ < data_.size() && data_[pos_] != tbr_format::kValueSeparator &&
           !IsLineEnd(data_, pos_))
      ++pos_;
    value = data_.substr(start, pos_ - start);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
  }
  if (pos_ < data_.size()) {
    const size_t lineBreak = text::LineBreakAt(data_, pos_, kHeaderRule.ends);
    pos_ += lineBreak > 0 ? lineBreak : 1;  // the line break, or the comma
  }
  return value;
}

double TbrReader::ReadNumber() {
  const std::string_view text = NextValue();
  if (text.empty()) return 0;
  size_t used = 0;
  const double value = LeadingNumber(text, &used);
  if (used == 0) RaiseRuntimeError(13);
  for (size_t i = used; i < text.size(); ++i) {
    if (text[i] != ' ') RaiseRuntimeError(13);
  }
  return value;
}

int16_t TbrReader::ReadInteger() { return DoubleToInteger(ReadNumber()); }
int32_t TbrReader::ReadLong() { return DoubleToLong(ReadNumber()); }

bool TbrReader::NextLine(std::string_view& line) {
  text::LineReader lines(data_, kCellRule, pos_);
  const auto next = lines.Next();
  if (!next) return false;
  line = *next;
  pos_ = lines.Position();
  return true;
}

}  // namespace brevora::sheet
