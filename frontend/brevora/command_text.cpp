#include "frontend/brevora/command_text.h"

namespace brevora::frontend::program {

std::string CommandText(const std::vector<std::string>& arguments) {
  std::string text;
  for (const std::string& argument : arguments) {
    if (!text.empty()) text += ' ';
    text += argument.find(' ') == std::string::npos ? argument : '"' + argument + '"';
  }
  return text;
}

}  // namespace brevora::frontend::program
