#pragma once
// The file names of the device folder: each handheld database is the file of
// its name, percent-encoded, with ".pdb". Bytes pass as they are when they are
// printable ASCII other than '%', '/' and '\' (and '.' in the first place, so
// no name is hidden, "." or ".."); every other byte becomes "%XX" (upper-case
// hex). The name inside the file's header stays the real one.
#include <optional>
#include <string>
#include <string_view>

namespace brevora::hotsync {

inline constexpr std::string_view kDatabaseExtension = ".pdb";

// A database name is 1 to 31 bytes without NUL.
bool IsDatabaseName(std::string_view name);
// "<encoded name>.pdb" of a valid name.
std::string DatabaseFileName(std::string_view name);
// The name a file name stands for: the part before ".pdb" decoded; nullopt for
// a file name without ".pdb", or whose "%" is not followed by two hex digits.
std::optional<std::string> DatabaseNameOfFile(std::string_view fileName);

}  // namespace brevora::hotsync
