#include "frontend/name_validator.h"

#include <gtest/gtest.h>

#include <string>

namespace brevora::frontend {
namespace {

struct NameCase {
  std::string name;
  std::size_t max;
  NameFault fault;
};

TEST(NameValidator, RefusesWhatWouldLeaveOrVanishFromTheFolder) {
  const NameCase cases[] = {
      {"Work", 15, NameFault::kNone},
      {" Work ", 15, NameFault::kNone},  // blanks kept as typed
      {"Budget 2024.v2", 30, NameFault::kNone},
      {std::string(15, 'c'), 15, NameFault::kNone},
      {std::string(16, 'c'), 15, NameFault::kTooLong},
      {std::string(30, 'w'), 30, NameFault::kNone},
      {std::string(31, 'w'), 30, NameFault::kTooLong},
      {"", 15, NameFault::kBlank},
      {"   ", 15, NameFault::kBlank},
      {"../x", 15, NameFault::kReservedCharacter},
      {"a\\b", 15, NameFault::kReservedCharacter},
      {"a:b", 15, NameFault::kReservedCharacter},
      {"a*", 15, NameFault::kReservedCharacter},
      {"a?", 15, NameFault::kReservedCharacter},
      {"a\"b", 15, NameFault::kReservedCharacter},
      {"<a>", 15, NameFault::kReservedCharacter},
      {"a|b", 15, NameFault::kReservedCharacter},
      {"a\tb", 15, NameFault::kControlCharacter},
      {std::string("a\0b", 3), 15, NameFault::kControlCharacter},
      {"a\x7f", 15, NameFault::kControlCharacter},
      {".", 15, NameFault::kDotName},
      {"..", 15, NameFault::kDotName},
      {".hidden", 15, NameFault::kDotName},
      {"\xe9t\xe9", 15, NameFault::kNone},  // code-page letters are fine
  };
  for (const NameCase& c : cases) {
    EXPECT_EQ(CheckName(c.name, c.max), c.fault) << '"' << c.name << '"';
  }
}

TEST(NameValidator, MaximumByFileModeAndTheTypedCharacterFilter) {
  EXPECT_EQ(MaxDocumentName(0), 30u);
  EXPECT_EQ(MaxDocumentName(1), 31u);
  EXPECT_EQ(MaxDocumentName(2), 31u);
  for (const char c : std::string("/\\:*?\"<>|")) EXPECT_TRUE(IsReservedNameCharacter(c)) << c;
  for (const char c : std::string("aZ0 .-_'")) EXPECT_FALSE(IsReservedNameCharacter(c)) << c;
}

TEST(NameValidator, Messages) {
  EXPECT_EQ(NameFaultMessage(NameFault::kTooLong, 30, "document"),
            "Only 30 characters per document name are allowed.  Please rename this document.");
  EXPECT_EQ(NameFaultMessage(NameFault::kNone, 30, "document"), "");
  for (NameFault f : {NameFault::kBlank, NameFault::kReservedCharacter,
                      NameFault::kControlCharacter, NameFault::kDotName}) {
    const std::string text = NameFaultMessage(f, 15, "category");
    EXPECT_NE(text.find("category"), std::string::npos) << text;
  }
}

}  // namespace
}  // namespace brevora::frontend
