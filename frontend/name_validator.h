#pragma once
// The one check of every name a user gives the desktop window for a file or a
// folder: a category added or renamed, a document renamed in the list or typed
// in the Save dialog, the name a file is imported under. Each of these becomes
// one entry of a category folder, so it must be a plain name that stays in
// that folder and shows up in the lists again.
//
// A name is refused when it is blank (empty or blanks only), longer than the
// caller's maximum (characters of the code page), holds one of / \ : * ? " < > |
// or a control character, is "." or "..", or begins with a full stop (such an
// entry is hidden here and would vanish from the lists). Blanks around a name
// are kept as typed; only a name of blanks alone counts as blank.
#include <cstddef>
#include <string>
#include <string_view>

namespace brevora::frontend {

// The characters a name may not hold, as the Visual Basic pattern lists them.
inline constexpr std::string_view kReservedNameCharacters = "/\\:*?\"<>|";

// Longest names: a category, and a document by file mode (the name box's limit).
inline constexpr std::size_t kMaxCategoryName = 15;
inline constexpr std::size_t kMaxWorkbookName = 30;
inline constexpr std::size_t kMaxDocumentName = 31;
// 30 in the spreadsheet mode (0), 31 in the others.
std::size_t MaxDocumentName(int fileMode);

enum class NameFault {
  kNone,
  kBlank,
  kTooLong,
  kReservedCharacter,  // one of kReservedNameCharacters
  kControlCharacter,   // below 0x20, or 0x7F
  kDotName,            // ".", "..", or a leading full stop
};

// The first fault of `name` in the order of the enumeration; kNone for a good name.
NameFault CheckName(std::string_view name, std::size_t maxLength);

// True when a typed character is dropped by a name box (Visual Basic's KeyPress
// filter): one of kReservedNameCharacters.
bool IsReservedNameCharacter(char c);

// What the window tells the user about a refused name; `kind` is the word for
// what is named ("document", "category"). kTooLong gives "Only <max> characters
// per <kind> name are allowed.  Please rename this <kind>."; kNone gives "".
std::string NameFaultMessage(NameFault fault, std::size_t maxLength, std::string_view kind);

}  // namespace brevora::frontend
