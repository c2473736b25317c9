#pragma once
// Reading a freedesktop launcher (.desktop file): the command of the Exec key
// in its [Desktop Entry] group, split into words with the launcher quoting
// rules, field codes (%f, %U, ...) removed and %% turned into %. Also the
// inverse step the shortcut resolver needs: words joined into one argument
// string with Windows command-line quoting.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tabrelc {

// The words of Exec; nullopt when the text has no [Desktop Entry] group with an
// Exec key, the command is empty, or its quoting is broken. Text is UTF-8.
std::optional<std::vector<std::string>> ParseDesktopExec(std::string_view text);

// Joins words with single blanks; a word that is empty or holds a blank, tab
// or double quote is put in double quotes (quotes and the backslashes before
// them escaped as a Windows command line expects).
std::string JoinArguments(const std::vector<std::string>& words);

}  // namespace tabrelc
