#pragma once
// TbrReader: reads a desktop workbook file (layout in sheet/tbr_format.h) held
// in memory. It does not own the bytes, which must outlive it. ReadHeader takes
// the header value by value into a header record (a value ends at a comma or a
// line break: CR LF, LF or a CR on its own); NextLine then hands out the cell
// section one line at a time (line ends CR LF or LF, not included; a CR on its
// own stays in its line: text::LineEnds).
//
// ReadHeader raises 32760 with source "Workbook.ReadHeader": for a version
// above 9 "This workbook is of a newer version than this module.  Please contact
// Orvanex, Inc."; for any other fault "This workbook is corrupt or is not a
// Tabulyn file.  " and the fault's description: 62 "Input past end of file",
// 13 "Type mismatch" (a number expected), 6 "Overflow" (a number out of its
// field's range), 9 "Subscript out of range" (more than 17 sheet names).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "sheet/workbook_header.h"

namespace brevora::sheet {

class TbrReader {
 public:
  explicit TbrReader(std::string_view data) : data_(data) {}
  TbrReader(const TbrReader&) = delete;
  TbrReader& operator=(const TbrReader&) = delete;

  struct HeaderInfo {
    bool modified;    // line 1 not 0
    int16_t version;  // line 2
  };
  // Fills the fields the file holds; fields it lacks keep their values.
  HeaderInfo ReadHeader(WorkbookHeader& header);

  // The next line of what follows the header; false at the end of the data.
  bool NextLine(std::string_view& line);
  // What follows the header, from the current place.
  std::string_view Rest() const { return data_.substr(pos_); }

 private:
  void ReadHeaderValues(WorkbookHeader& header, HeaderInfo& info);
  // The next value's text (quotes removed) and whether it was quoted.
  std::string_view NextValue();
  std::string ReadText() { return std::string(NextValue()); }
  double ReadNumber();
  int16_t ReadInteger();
  int32_t ReadLong();

  std::string_view data_;
  size_t pos_ = 0;
};

}  // namespace brevora::sheet
