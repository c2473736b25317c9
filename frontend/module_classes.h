#pragma once
// The automation classes of libtabrelpc.so that other programs create by
// ProgID or CLSID (the Office add-ins, the conduits, the phone sync engine, the
// album tool), as an installer registers them in HKEY_CLASSES_ROOT: ProgID ->
// CLSID -> InprocServer32 = this library. A program that loads the library
// through those entries gets its objects from BrevoraCreateObject, which the
// library exports (core/exports.cpp).
#include <string>
#include <vector>

namespace brevora::frontend {

struct ModuleClass {
  const char* progId;
  const char* clsid;
};

// Every class of the module that has both names, the application object first.
const std::vector<ModuleClass>& ModuleClasses();

// The library file these classes are in (canonical native path; "" when it
// can't be told).
std::string ModuleLibraryFile();

}  // namespace brevora::frontend
