#pragma once
// SplitArguments: the words of an argument string as the support library's
// shortcut resolver writes it for a launcher's arguments, by the quoting rules
// of a Windows command line (the rules a program started with that line would
// use to take it apart). Blanks and tabs outside double quotes separate
// words; a double quote starts or ends a quoted part; backslashes are literal
// except before a double quote, where each pair gives one backslash and an odd
// one left over makes the quote a literal character. "" is an empty word.
#include <string>
#include <string_view>
#include <vector>

namespace brevora::bvsync {

std::vector<std::string> SplitArguments(std::string_view arguments);

}  // namespace brevora::bvsync
