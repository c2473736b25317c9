#include "frontend/command_line.h"

#include "core/text_cleanup.h"
#include "platform/text/case.h"

namespace brevora::frontend {

CommandLine ParseCommandLine(std::string_view command) {
  CommandLine result;
  result.rest = std::string(command);
  const std::string upper = text::UCase(command);
  const std::size_t p = upper.find("SERVERCONDUIT");
  if (p == std::string::npos) return result;
  const std::size_t q = command.find('=', p);
  if (q == std::string::npos) return result;

  // Every index below stays within [0, size]; size means "the end".
  const std::size_t size = command.size();
  std::size_t i = q + 1;
  while (i < size && command[i] == ' ') ++i;
  char terminator = ' ';
  if (i < size && command[i] == '"') {
    terminator = '"';
    ++i;  // the name starts after the quote; "" is an empty name
  }
  std::size_t j = i;
  while (j < size && command[j] != terminator) ++j;

  result.server = true;
  result.serverName = core::Trim(command.substr(i, j - i));
  const std::size_t after = j < size ? j + 1 : size;  // past the terminator
  result.rest = core::Trim(std::string(command.substr(0, p)) + std::string(command.substr(after)));
  return result;
}

}  // namespace brevora::frontend
