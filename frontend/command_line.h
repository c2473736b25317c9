#pragma once
// The command text a host hands to DoOpenStandAloneEX: a file path, optionally
// with the switch SERVERCONDUIT=<name> (any case, the name plain or in double
// quotes) that opens the window in server mode under that name.
#include <string>
#include <string_view>

namespace brevora::frontend {

struct CommandLine {
  bool server = false;
  std::string serverName;  // keeps its case; "" without the switch
  std::string rest;        // the text without the switch, blanks trimmed
  bool operator==(const CommandLine&) const = default;
};

// Finds "SERVERCONDUIT" (any case) and the first "=" after it; without either
// the text is not a server command and comes back unchanged as `rest`. The name
// starts at the first non-blank after "="; a quoted name runs to the next
// double quote, a plain one to the next blank, and either to the end of the
// text when that comes first. `rest` is the text before the switch followed by
// the text after the name's end, trimmed.
CommandLine ParseCommandLine(std::string_view command);

}  // namespace brevora::frontend
