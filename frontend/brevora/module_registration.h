#pragma once
// The program's registration of libtabrelpc.so's automation classes
// (frontend/module_classes.h) in HKEY_CLASSES_ROOT, as an installer does, so
// that other programs reach the real classes by ProgID: a conduit meeting a
// linked Office file creates "TabulynPC.SDK" or "TabulynPC.SDK_Document" in the
// HotSync process. A class whose ProgID already names a CLSID with a library
// file that exists is left alone (the user's registration, or one made
// before); any other is registered to `library`.
#include <string>

namespace brevora::frontend::program {

// "" when every class is registered (already, or now); otherwise why not (the
// library missing, the registry unreadable). Raises nothing.
std::string RegisterModuleClasses(const std::string& library);

}  // namespace brevora::frontend::program
