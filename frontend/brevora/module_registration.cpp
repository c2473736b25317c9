#include "frontend/brevora/module_registration.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "frontend/module_classes.h"
#include "platform/automation/class_registry.h"
#include "platform/error/error.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "platform/text/codepage.h"

namespace brevora::frontend::program {
namespace {

using registry::Hive;

std::optional<std::string> DefaultValue(const std::string& key) {
  const std::optional<registry::Value> value = registry::QueryValue(Hive::ClassesRoot, key, "");
  if (!value ||
      (value->type != registry::ValueType::String &&
       value->type != registry::ValueType::ExpandString) ||
      value->text.empty()) {
    return std::nullopt;
  }
  return value->text;
}

// Whether `progId` names a CLSID whose server library is a file that exists.
bool RegisteredToALibrary(const char* progId) {
  const std::optional<std::string> clsid = DefaultValue(std::string(progId) + "\\CLSID");
  if (!clsid) return false;
  const std::optional<std::string> server = DefaultValue("CLSID\\" + *clsid + "\\InprocServer32");
  std::error_code error;
  return server && std::filesystem::is_regular_file(fs::NativePath(*server), error);
}

}  // namespace

std::string RegisterModuleClasses(const std::string& library) {
  std::error_code error;
  if (library.empty() || !std::filesystem::is_regular_file(library, error)) {
    return "the library " + (library.empty() ? std::string("libtabrelpc.so") : library) +
           " is not there.";
  }
  try {
    for (const ModuleClass& c : ModuleClasses()) {
      if (!RegisteredToALibrary(c.progId)) RegisterServer(c.progId, c.clsid, library);
    }
  } catch (...) {
    // A registry file that can't be read is reported, not registered over.
    return text::CpToUtf8(CurrentError().description());
  }
  return {};
}

}  // namespace brevora::frontend::program
