#pragma once
// modMain: the plain helper procedures of the connectivity module that the file
// formats and the document models build on: file-mode names and extensions,
// path and file-name pieces, the temporary folder, file existence, byte strings
// of numbers and flag tests. Their exact results matter: stored files and the
// front end depend on them. Also DaysToSeconds, the one conversion of a date
// into the seconds stored as a linked Office file's modification time.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/collection.h"

namespace brevora::core {

// The file modes: which kind of document a Session works on.
enum eFileMode : int16_t { eTabulyn = 0, eScrivane = 1, eSlidora = 2 };

namespace modMain {

// "tbr", "scv", "pdb" for modes 0, 1, 2; "" for any other.
std::string GetFileExtension(int16_t fileMode);
// "Tabulyn Workbook", "Scrivane Document"; "" for any other mode (2 included).
std::string GetFileTypeName(int16_t fileMode);

// Path pieces. '\' separates folders; '/' is taken as a separator too, so that
// Linux paths split the same way. "Last" means searching from the end.
// Up to and including the last separator; the whole text when there is none.
std::string GetPathPart(std::string_view path);
// After the last separator; the whole text when there is none.
std::string GetFilePart(std::string_view path);
// After the last full stop; the whole text when there is none.
std::string GetExtensionPart(std::string_view name);
// Before the last full stop; the whole text when there is none.
std::string StripExtension(std::string_view name);
// The text with every double quote removed.
std::string StripQuotes(std::string_view text);
// `name` without ".<ext>" when its last extension is the mode's (any case).
std::string RemoveFileModeExtension(std::string_view name, int16_t fileMode);
// RemoveFileModeExtension(name, mode) + "." + the mode's extension.
std::string AddFileModeExtension(std::string_view name, int16_t fileMode);
// The path without double quotes, its last component replaced by the name the
// file system holds for it (matched without regard to case); the quote-free
// path unchanged when nothing matches.
std::string GetLongFileName(std::string_view path);
// The system folder for temporary files, ending with a separator. Failure: 32760,
// source "GetTempFilePath", "Could not get temporary file path." + CR LF + description.
std::string GetTempFilePath();
// True when `path` names an existing file (not a folder), the name matched
// without regard to case as Windows does.
bool FileExists(std::string_view path);

// True when `collection` holds an item under `key` (any case).
template <class T>
bool CollectionHasKey(Collection<T>& collection, std::string_view key) {
  return collection.Find(key) != nullptr;
}

// There is no pending error state to clear; kept for callers: always false.
inline bool ClearError() { return false; }

// Byte strings, most significant byte first, one character per byte.
// An unsigned 32-bit value (negative values down to -2^31 as two's complement);
// outside that range, or not a whole number after rounding: 6 "Overflow".
std::string DWordToString(double value);
// The low 16 bits of `value`.
std::string WordToString(int32_t value);
// The character of a byte value; 5 outside 0 to 255.
std::string ByteToString(int32_t value);

// The bitwise AND of two unsigned decimal numbers given as text (the support
// library's parsing: blanks, sign, digits; saturating at 4294967295).
double BitAnd(std::string_view a, std::string_view b);

// Writes `text` to the application event log.
void WriteToEventLog(std::string_view text);

}  // namespace modMain

// A date (days since 1899-12-30, the fraction the time of day) as seconds:
// date * 86400. A result that is not finite raises 6 "Overflow".
double DaysToSeconds(double date);

}  // namespace brevora::core
