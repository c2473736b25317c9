#pragma once
// The text routines of documents. A document holds its text as light markup:
// line breaks as "<br>" tags or CR characters, tags between "<" and ">", and
// character entities between "&" and ";". These routines are shared by the
// desktop file, the imports and the handheld database writers and readers.
// All text is code-page text, one byte per character.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::doc::markup {

// Every TAB replaced by four blanks.
std::string AddEscapeCodes(std::string_view input);

// Plain text as markup: "&", "<" and ">" become "&amp;", "&lt;" and "&gt;" (so
// that no character of the text can be taken for markup and lost), every LF
// becomes "<br>" and every TAB four blanks; all other characters, CR included,
// are kept. Appends the result of one character to `out`.
void PlainCharToMarkup(char c, std::string& out);
// The same for a whole text, without the LF and TAB rules (e-text lines).
std::string EscapePlainText(std::string_view text);

// Writes text with every line break as CR LF, as desktop text files have
// them: a CR LF stays, a CR or a LF on its own becomes CR LF; all other
// characters are copied. Blocks are given one after the other, so a CR LF
// split between two blocks is written once. Finish ends a CR left at the end.
class LineBreakWriter {
 public:
  void Append(std::string_view text, std::string& out);
  void Finish(std::string& out);

 private:
  bool pendingCR_ = false;  // a CR was written; its LF is still to come
};

// The number of characters of an unfinished tag ("<" ...) or entity ("&" ...)
// at the end of `text`: searching from the end, a ">" or ";" met first gives 0;
// a "<" or "&" met first at 1-based position p gives length - p + 1 when p is 2
// or more, 0 when p is 1. 0 without any of the four characters.
size_t PartialTagLength(std::string_view text);
// Cuts PartialTagLength(text) characters off `text` and returns their number.
size_t CutPartialTag(std::string& text);

// The text without markup: "<" up to the next ">" and "&" up to the next ";"
// are dropped with their delimiters (an unclosed one to the end).
std::string StripTags(std::string_view text);

// The characters from the blank to "z" (codes 32 to 122) in order; a CR or LF
// ends the scan once something was taken; all other characters are skipped.
std::string FirstTextLine(std::string_view text);

// A fixed text field of n + 1 characters: the first n characters (reduced to
// FirstTextLine when `firstLineOnly`), blanks trimmed at both ends, NUL
// characters appended up to n + 1 (so at least one).
std::string FixLength(std::string_view text, size_t n, bool firstLineOnly = false);

// `text` cut into blocks of at most `blockSize` characters (at least 1); a block
// that would end inside a tag or entity ends before it (PartialTagLength), so
// markup is never split between blocks. None for an empty text.
std::vector<std::string> CutIntoBlocks(std::string_view text, size_t blockSize);

// The text without the NUL characters at its end.
std::string_view TrimNulls(std::string_view text);

// The handheld document database's name of a text: StripTags, the first 31
// characters of that, FirstTextLine, blanks trimmed.
std::string NameFromMarkup(std::string_view text);

}  // namespace brevora::doc::markup
