#include "frontend/about_box.h"

#include "frontend/module_version.h"

namespace brevora::frontend {

namespace v = module_version;

AboutBoxTexts AboutTexts(std::string_view macroVersion) {
  return {std::string(v::kProductName) + " " + std::to_string(v::kMajor) + "." +
              std::to_string(v::kMinor),
          v::kLegalCopyright, v::kLegalTrademarks, "Macro version:  " + std::string(macroVersion)};
}

std::string DefaultMacroVersion() {
  return "{" + std::to_string(v::kMajor) + "." + std::to_string(v::kMinor) + "." +
         std::to_string(v::kRevision) + "}";
}

}  // namespace brevora::frontend
