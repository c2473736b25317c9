#pragma once
// The suite's two conduits as the HotSync stand-in runs them, registered by
// the program for the folders its window shows (a user's "tabrel" and "scriv"
// folders): "Tabulyn" (libtabrel.so, creator "Zeri") and "Scrivane"
// (libscriv.so, creator "Scrv"), from the folder of the program's libraries.
// A conduit the user registered is left alone: one of the same name, or of
// the same creator (two conduits of one creator would sync the same handheld
// databases into two folders), whose library exists. One of the same name
// whose library is gone is registered again.
#include <string>

namespace brevora::frontend::program {

struct SuiteConduit {
  const char* name;
  const char* library;    // file name beside libtabrelpc.so
  const char* directory;  // the window's folder of that file mode
  const char* creator;
};

inline constexpr SuiteConduit kSuiteConduits[] = {
    {"Tabulyn", "libtabrel.so", "tabrel", "Zeri"},
    {"Scrivane", "libscriv.so", "scriv", "Scrv"},
};

// Registers what is missing (see above) from `libraryFolder`. "" when both are
// registered (already, or now); otherwise why not, one sentence per conduit
// (also when the registry can't be read). Raises nothing.
std::string RegisterSuiteConduits(const std::string& libraryFolder);

}  // namespace brevora::frontend::program
