#include "frontend/name_validator.h"

#include <string>

namespace brevora::frontend {

std::size_t MaxDocumentName(int fileMode) {
  return fileMode == 0 ? kMaxWorkbookName : kMaxDocumentName;
}

bool IsReservedNameCharacter(char c) {
  return kReservedNameCharacters.find(c) != std::string_view::npos;
}

NameFault CheckName(std::string_view name, std::size_t maxLength) {
  if (name.find_first_not_of(' ') == std::string_view::npos) return NameFault::kBlank;
  if (name.size() > maxLength) return NameFault::kTooLong;
  for (const char c : name) {
    if (IsReservedNameCharacter(c)) return NameFault::kReservedCharacter;
  }
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) return NameFault::kControlCharacter;
  }
  if (name.front() == '.') return NameFault::kDotName;
  return NameFault::kNone;
}

std::string NameFaultMessage(NameFault fault, std::size_t maxLength, std::string_view kind) {
  const std::string what(kind);
  switch (fault) {
    case NameFault::kNone:
      return {};
    case NameFault::kBlank:
      return "Please type a " + what + " name.";
    case NameFault::kTooLong:
      return "Only " + std::to_string(maxLength) + " characters per " + what +
             " name are allowed.  Please rename this " + what + ".";
    case NameFault::kReservedCharacter:
      return "A " + what + " name can't contain any of the characters / \\ : * ? \" < > |.";
    case NameFault::kControlCharacter:
      return "A " + what + " name can't contain control characters.";
    case NameFault::kDotName:
      return "A " + what + " name can't begin with a full stop.";
  }
  return {};
}

}  // namespace brevora::frontend
