#pragma once
// What the about box frmAbout shows: the module's product name and version,
// its legal texts and the version of the add-in macros that asked for it.
#include <string>
#include <string_view>

namespace brevora::frontend {

struct AboutBoxTexts {
  std::string title;         // lblTitle: "Brevora Desktop 7.1"
  std::string copyright;     // lblCopyright
  std::string trademark;     // lbltrademark
  std::string macroVersion;  // lblMacroVersion: "Macro version:  " + the version
  bool operator==(const AboutBoxTexts&) const = default;
};

AboutBoxTexts AboutTexts(std::string_view macroVersion);

// This module's version in braces, "{7.1.0}": the macro version DoAbout shows
// when the caller gives none.
std::string DefaultMacroVersion();

}  // namespace brevora::frontend
