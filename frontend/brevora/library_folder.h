#pragma once
// Where the suite's libraries are: the folder libtabrelpc.so was loaded from.
// The program's first run registers what lies beside it (the phone sync
// engine, the conduits, the module's own classes) from there.
#include <string>

namespace brevora::frontend::program {

// The folder libtabrelpc.so was loaded from ("" when it can't be told).
std::string ProgramLibraryFolder();

}  // namespace brevora::frontend::program
