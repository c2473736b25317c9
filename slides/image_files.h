#pragma once
// The unpacked pictures of an open presentation: scratch copies in its image
// folder that the presentation itself makes and removes. They are written in
// place (no temporary file: they are not user files) and never through a
// symbolic link. Paths are system paths; errors raise platform/fs's errors.
#include <cstdint>
#include <span>
#include <string_view>

namespace brevora::slides {

// An empty file at `path`; an existing file of that name is removed first.
void CreateEmptyFile(std::string_view path);
// Appends `bytes` to the file, creating it when missing.
void AppendToFile(std::string_view path, std::span<const uint8_t> bytes);
// A file holding exactly `bytes`, replacing one of that name.
void WriteNewFile(std::string_view path, std::span<const uint8_t> bytes);

// True when `path` names an entry directly inside `folder` (the same spelling,
// or the same folder on disk reached through another one).
bool IsInFolder(std::string_view path, std::string_view folder);
// True when both name the same folder (spelling, trailing separator or disk).
bool SameFolder(std::string_view a, std::string_view b);

}  // namespace brevora::slides
