#pragma once
// The HotSync user list: the file "users.txt" in the HotSync root folder, one
// user per line: id TAB name TAB directory, in UTF-8, LF or CR LF line ends.
// The id is a decimal number (0 to 2147483647); the name is not empty; the
// directory is a plain folder name inside the root (no separators, not "." or
// ".."). Lines that break these rules, and lines repeating an id already seen,
// are skipped; a missing or unreadable file is an empty list. In memory, names
// and directories are code-page text (a directory the code page cannot hold
// exactly is skipped; a name gets '?' for such characters).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::hotsync {

inline constexpr const char* kUsersFileName = "users.txt";

struct PalmUser {
  int32_t id = 0;
  std::string name;
  std::string directory;  // relative to the root
  bool operator==(const PalmUser&) const = default;
};

// The HotSync root folder from the registry (as stored, code page); nullopt when
// no Pilot Desktop key or no "Path" value exists, or the value is empty.
std::optional<std::string> RootDirectory();

// Parses the text of a users file.
std::vector<PalmUser> ParseUserList(std::string_view fileText);
// The users of the root's "users.txt"; empty when there is no root or file.
std::vector<PalmUser> ReadUsers();

// Adds (or, for an id already listed, replaces) a user in the root's
// "users.txt", written through a temporary file + rename. Raises
// AutomationError 5 for a user the file could not hold (bad id, empty name or
// name with TAB/CR/LF, directory not a plain name), 76 "Path not found"
// when no root is configured, and the file error when a list that exists
// can't be read (it is then left as it is).
void AddUser(const PalmUser& user);

}  // namespace brevora::hotsync
