#pragma once
// The file that holds the phone sync engine's code (libbvsync.so, or a program
// that links the engine's code itself) and its folder. Send programs run in
// that folder, and the support library is looked for beside it.
#include <string>

namespace brevora::bvsync {

// Native (UTF-8) paths; the folder without a trailing separator.
std::string LibraryFile();
std::string LibraryFolder();

}  // namespace brevora::bvsync
