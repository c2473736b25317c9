#pragma once
// The text of a desktop document as the handheld holds it, and its cut into
// text records.
//
//   IsHtml: the first 3,072 bytes of the text, lower-cased, hold "<html", "<p"
//     or "<br".
//   EscapeHtml: TAB becomes four blanks, "&" "&amp;", "<" "&lt;", ">" "&gt;",
//     a line break (CR LF, CR or LF) "<br>"; the result grows as it needs to.
//   DeviceText: an HTML text as it is but for its line breaks, each a line
//     feed (the handheld's, which its compression makes of a CR too); a plain
//     text escaped and wrapped in "<html><head></head><body>" and
//     "</body></html>". A CR LF is one line break: the desktop program writes
//     its line breaks so, and reads a line feed as one.
//   AdjustRecordEnd: the length of a record cut at `end` bytes of `text` so
//     that it ends neither inside an entity nor inside a tag: looking back at
//     most 11 bytes, an "&" met before a ";" moves the end to before it;
//     otherwise, looking back at most 349 bytes, a "<" met before a ">" moves
//     the end to before it. An end that would leave the record empty stays.
//   CutRecords: the text in records of at most 3,072 bytes, each but the last
//     ended by AdjustRecordEnd.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::scriv {

bool IsHtml(std::string_view text);
std::string EscapeHtml(std::string_view text);
std::string DeviceText(std::string_view desktopText);
std::size_t AdjustRecordEnd(std::string_view text, std::size_t end);
std::vector<std::string_view> CutRecords(std::string_view text);

}  // namespace brevora::scriv
