#pragma once
// The modified line at the top of a product's desktop file: "1" when the file
// changed since the last HotSync, "0" (or "2") when not; any other first line
// is not a modified line. Changing it rewrites that one byte, the file
// replaced through a temporary file + rename.
#include <optional>
#include <string>
#include <string_view>

namespace brevora::conduit {

// The flag of a first line (without its line end).
std::optional<bool> ParseModifiedLine(std::string_view line);
// The flag of a desktop file's text: of its first line as the desktop files'
// reader takes it (text::kDesktopLines); nullopt when that is not a modified line.
std::optional<bool> ModifiedFlagOf(std::string_view text);
// Sets the flag of the file `path` (system path); false when the file can't be
// read or written, or its first line (ModifiedFlagOf) is not a modified line.
// A flag that already says so leaves the file untouched.
bool SetModifiedFlag(const std::string& path, bool modified);

}  // namespace brevora::conduit
