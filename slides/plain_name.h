#pragma once
// IsUserFileName: whether a category folder name or presentation name, taken
// from a caller, may be joined to a user's home folder: a plain name (no
// separators, not "." or "..") without control characters. Anything else
// could reach outside the user's folder.
#include <algorithm>
#include <string_view>

#include "platform/fs/paths.h"

namespace brevora::slides {

inline bool IsUserFileName(std::string_view name) {
  if (!fs::IsPlainName(name)) return false;
  return std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20; });
}

}  // namespace brevora::slides
