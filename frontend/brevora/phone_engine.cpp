#include "frontend/brevora/phone_engine.h"

#include <dlfcn.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <system_error>

#include "frontend/phone_sync.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::program {
namespace {

// The library file registered for the engine's CLSID, when there is one.
std::optional<std::string> RegisteredLibrary() {
  using registry::ValueType;
  const std::optional<registry::Value> value =
      registry::QueryValue(registry::Hive::ClassesRoot,
                           std::string("CLSID\\") + kPhoneSyncEngineClsid + "\\InprocServer32", "");
  if (!value || (value->type != ValueType::String && value->type != ValueType::ExpandString) ||
      value->text.empty()) {
    return std::nullopt;
  }
  return value->text;
}

}  // namespace

std::string RegisterPhoneEngine(const std::string& libraryFolder) {
  std::error_code ec;
  try {
    if (const std::optional<std::string> registered = RegisteredLibrary();
        registered && std::filesystem::is_regular_file(fs::NativePath(*registered), ec)) {
      return {};
    }
  } catch (...) {
    // A registry file that can't be read is reported, not registered over.
    return text::CpToUtf8(CurrentError().description());
  }
  const std::string library = (std::filesystem::path(libraryFolder) / kPhoneEngineLibrary).string();
  if (libraryFolder.empty() || !std::filesystem::is_regular_file(library, ec)) {
    return "the phone sync library " + library + " is not there.";
  }
  // The library stays loaded: loading it registers its classes in this
  // process, and their factories are its code.
  void* handle = dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return "the phone sync library " + library + " could not be loaded.";
  auto registerServer = reinterpret_cast<int32_t (*)()>(dlsym(handle, "BrevoraRegisterServer"));
  if (!registerServer) return "the phone sync library " + library + " has no registration entry.";
  if (const int32_t number = registerServer(); number != 0) {
    return "the phone sync library " + library + " could not be registered (error " +
           std::to_string(number) + ").";
  }
  return {};
}

}  // namespace brevora::frontend::program
