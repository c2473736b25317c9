#pragma once
// The command text brevora hands to the application object: its arguments
// joined by blanks, each that holds a blank in double quotes.
#include <string>
#include <vector>

namespace brevora::frontend::program {

std::string CommandText(const std::vector<std::string>& arguments);

}  // namespace brevora::frontend::program
