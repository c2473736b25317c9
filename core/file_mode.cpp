#include "core/file_mode.h"

#include "platform/text/case.h"

namespace brevora::core {

std::string FileModeExtension(int16_t fileMode) {
  switch (fileMode) {
    case kTabulynMode:
      return "tbr";
    case kScrivaneMode:
      return "scv";
    case kSlidoraMode:
      return "pdb";
    default:
      return "";
  }
}

std::string FileModeTypeName(int16_t fileMode) {
  switch (fileMode) {
    case kTabulynMode:
      return "Tabulyn Workbook";
    case kScrivaneMode:
      return "Scrivane Document";
    default:
      return "";
  }
}

std::string FileModeFolder(int32_t fileMode) {
  switch (fileMode) {
    case kTabulynMode:
      return "tabrel";
    case kScrivaneMode:
      return "scriv";
    case kSlidoraMode:
      return "slidr";
    default:
      return "";
  }
}

std::string RemoveFileModeExtension(std::string_view name, int16_t fileMode) {
  const size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return std::string(name);
  if (!text::EqualsNoCase(name.substr(dot + 1), FileModeExtension(fileMode)))
    return std::string(name);
  return std::string(name.substr(0, dot));
}

std::string AddFileModeExtension(std::string_view name, int16_t fileMode) {
  return RemoveFileModeExtension(name, fileMode) + "." + FileModeExtension(fileMode);
}

}  // namespace brevora::core
