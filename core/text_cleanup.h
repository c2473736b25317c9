#pragma once
// Clean-up of texts that come from files, the registry and the Office add-ins:
// the blanks around a name, a fixed field's zero padding, line breaks.
#include <string>
#include <string_view>

namespace brevora::core {

// Removes blanks (spaces only, not tabs) at both ends, as user names and
// friendly names are trimmed.
std::string Trim(std::string_view text);
// The text before the first NUL; the whole text when there is none.
std::string TrimAtNull(std::string_view text);
// Every occurrence of `find` replaced by `replacement`, left to right, never
// looking again at inserted text; exact comparison. Unchanged when `find` is
// empty or absent. Runs in one pass, whatever the size of the text.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);
// CR LF removed, then every vertical tab (code 11) replaced by a blank.
std::string StripLineBreaks(std::string_view text);
// Every LF replaced by CR LF (an existing CR LF becomes CR CR LF).
std::string LfToCrLf(std::string_view text);

}  // namespace brevora::core
