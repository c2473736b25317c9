#pragma once
// Paths as the system composes them: code-page strings with '\' or '/' as
// separators. NativePath turns one into the Linux path (UTF-8, '/'); every
// function of platform/fs takes system paths and converts at the edge.
#include <string>
#include <string_view>

namespace brevora::fs {

std::string NativePath(std::string_view systemPath);
// The system form of a Linux path (UTF-8 -> code page, exact); raises
// AutomationError 52 "Bad file name or number" when it cannot be represented.
std::string SystemPath(std::string_view nativePath);

// Name helpers on system paths; both separators count.
std::string FileNamePart(std::string_view path);   // after the last separator
std::string FolderPart(std::string_view path);     // up to and with the last separator
std::string ExtensionPart(std::string_view path);  // ".tbr" of the name part, "" if none
std::string JoinPath(std::string_view folder, std::string_view name);  // one separator between
// `folder` ending with a separator: a '\' is added unless it ends with one
// already (the empty text becomes "\", as the system builds its folders).
std::string WithSeparator(std::string_view folder);
bool IsSeparator(char c);
// The same pieces as the desktop front end takes them apart: on the whole text,
// and the whole text when the mark is missing (a name without a full stop is
// its own extension; a full stop in a folder name counts).
std::string PathPartOrWhole(std::string_view path);   // up to and with the last separator
std::string StripExtension(std::string_view text);    // before the last full stop
std::string ExtensionOrWhole(std::string_view text);  // after the last full stop
// The text without any double quote (a path as a command line quotes it).
std::string StripQuotes(std::string_view text);
// True when `name` is a plain file or folder name: not empty, not "." or "..",
// no separator, no control character (below 0x20, NUL included, or 0x7F).
// Names from files, the handheld or callers must pass this before they are
// joined to a folder.
bool IsPlainName(std::string_view name);

// The per-user roots: $BREVORA_HOME (config, state and runtime all inside it) when
// set, else $XDG_CONFIG_HOME/brevora, $XDG_STATE_HOME/brevora,
// $XDG_RUNTIME_DIR/brevora (with the XDG defaults). Created on demand; read from
// the environment on every call (never cached). Returned without a trailing
// separator. With $BREVORA_HOME, config and state are that folder itself and
// runtime is its "run" folder; without $XDG_RUNTIME_DIR, runtime is StateDir()/run.
std::string ConfigDir();
std::string StateDir();
std::string RuntimeDir();
// The user's data (the desktop files of a first-run example): $BREVORA_HOME
// when set, else $XDG_DATA_HOME/brevora (~/.local/share/brevora).
std::string DataDir();
// The system temporary folder ($TMPDIR or /tmp), with a trailing '/'.
std::string TempDir();

}  // namespace brevora::fs
