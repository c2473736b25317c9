#pragma once
// The phone sync engine is a library of its own (libbvsync.so) that the main
// window's Sync button creates by its CLSID through HKEY_CLASSES_ROOT. The
// program registers it, from the folder its own libraries were loaded from,
// when no library that exists is registered for that CLSID yet: then Sync
// works on a fresh desktop, and a library registered elsewhere is left alone.
#include <string>

namespace brevora::frontend::program {

inline constexpr const char* kPhoneEngineLibrary = "libbvsync.so";

// Registers `libraryFolder`/libbvsync.so (by calling its BrevoraRegisterServer)
// unless the engine's CLSID already names a library file that exists. "" when
// the engine is registered (already, or now); otherwise why it is not (also
// when the registry can't be read). Raises nothing.
std::string RegisterPhoneEngine(const std::string& libraryFolder);

}  // namespace brevora::frontend::program
