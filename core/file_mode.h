#pragma once
// The file modes: which kind of document a Session works on, and the names its
// files carry. Their exact results matter: stored files and the front end
// depend on them.
#include <cstdint>
#include <string>
#include <string_view>

namespace brevora::core {

enum FileMode : int16_t { kTabulynMode = 0, kScrivaneMode = 1, kSlidoraMode = 2 };

// "tbr", "scv", "pdb" for modes 0, 1, 2 (no full stop); "" for any other.
std::string FileModeExtension(int16_t fileMode);
// "Tabulyn Workbook", "Scrivane Document"; "" for any other mode (2 included).
std::string FileModeTypeName(int16_t fileMode);
// The sub-folder of a user's folder that holds a mode's files: "tabrel",
// "scriv", "slidr"; "" for any other mode.
std::string FileModeFolder(int32_t fileMode);

// `name` without ".<ext>" when its last extension is the mode's (any case).
std::string RemoveFileModeExtension(std::string_view name, int16_t fileMode);
// RemoveFileModeExtension(name, mode) + "." + the mode's extension.
std::string AddFileModeExtension(std::string_view name, int16_t fileMode);

}  // namespace brevora::core
