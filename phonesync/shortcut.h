#pragma once
// ResolveShortcut: a launcher (".desktop") or link resolved by the support
// library's ResolveIt. The library, libtabrelc.so, is loaded by name on the
// first call (beside this library first, then on the usual search path) and
// stays loaded.
#include <optional>
#include <string>

namespace brevora::bvsync {

struct ResolvedShortcut {
  std::string target;     // the program (code page)
  std::string arguments;  // its arguments, Windows-quoted (code page)
};

// nullopt when ResolveIt could not resolve `shortcut` (a system path). When
// the library or its entry cannot be loaded: 53 "File not found:
// libtabrelc.so" or 453 "Can't find DLL entry point ResolveIt in
// libtabrelc.so".
std::optional<ResolvedShortcut> ResolveShortcut(const std::string& shortcut);

}  // namespace brevora::bvsync
