#pragma once
// What the folder chooser frmRootDirectory decides, without its window: the
// check of the typed path on OK, and its fixed texts.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevora::frontend {

inline constexpr const char* kInvalidPathMessage = "You must select a valid path.";
inline constexpr const char* kInvalidPathTitle = "Select Path";
inline constexpr uint32_t kRootDirectoryHelpContext = 720;

struct RootDirectoryChoice {
  std::string directory;  // the typed text, blanks trimmed
  bool valid = false;     // a folder of that name exists
  bool operator==(const RootDirectoryChoice&) const = default;
};

// OK's check of the typed path (a system path): trimmed, it must name an
// existing folder; an empty text or a failed lookup is not valid.
RootDirectoryChoice CheckRootDirectory(std::string_view typed);

}  // namespace brevora::frontend
