#include "core/registry_helpers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>

#include "platform/error/error.h"
#include "platform/registry/registry.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::core {
namespace {

using ::brevora::testing::ErrorOf;
using registry::Hive;

constexpr const char* kKey = "Software\\Orvanex\\Tabulyn";

// Replaces the current user's hive file with text the registry can't parse.
void CorruptCurrentUserHive() {
  registry::SetValue(Hive::CurrentUser, "Software", "x", registry::Value::String("y"));
  const std::string path = testing::TempHome() + "/registry/HKEY_CURRENT_USER.reg";
  std::remove(path.c_str());
  std::ofstream(path) << "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software]\n\"broken\n";
}

TEST(RegistryHelpers, MissingKeyOrValueReadsAsEmptyOrDefault) {
  EXPECT_EQ(GetRegistryString(kKey, "HomePath"), "");
  EXPECT_EQ(GetRegistryWord(kKey, "CellWarn", 1500), 1500);
  registry::SetValue(Hive::CurrentUser, kKey, "Other", registry::Value::String("x"));
  EXPECT_EQ(GetRegistryString(kKey, "HomePath"), "");
  EXPECT_EQ(GetRegistryWord(kKey, "CellWarn", 1500), 1500);
  EXPECT_EQ(GetRegistryStringEx(Hive::Users, kKey, "HomePath"), "");
}

TEST(RegistryHelpers, StringsRoundTripWhole) {
  const std::string cases[] = {
      "",
      "a",
      "Tabulyn",
      std::string(254, 'x'),
      std::string(255, 'y'),  // one past the old 254-character limit
      std::string(256, 'z'),
      std::string(5000, 'q'),
      "trailing blanks  ",
      "caf\xE9 \x80 \xFF",  // code-page bytes
      "back\\slash and \"quotes\"",
  };
  int n = 0;
  for (const std::string& text : cases) {
    const std::string name = "Value" + std::to_string(n++);
    SetRegistryString(kKey, name, text);
    EXPECT_EQ(GetRegistryString(kKey, name), text) << "length " << text.size();
  }
}

TEST(RegistryHelpers, SetRegistryStringCreatesTheKeyAndConvertsAnyValue) {
  const char* key = "Software\\Orvanex\\New\\Deeper";
  ASSERT_FALSE(registry::KeyExists(Hive::CurrentUser, key));
  SetRegistryString(key, "Name", "Server A");
  EXPECT_TRUE(registry::KeyExists(Hive::CurrentUser, key));
  const auto stored = registry::QueryValue(Hive::CurrentUser, key, "Name");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->type, registry::ValueType::String);
  EXPECT_EQ(stored->text, "Server A");

  const struct {
    Variant value;
    const char* text;
  } conversions[] = {{Variant(int32_t{5}), "5"},
                     {Variant(true), "True"},
                     {Variant(1.5), "1.5"},
                     {Variant(int16_t{-3}), "-3"},
                     {Variant(), ""}};
  for (const auto& c : conversions) {
    SetRegistryString(key, "Converted", c.value);
    EXPECT_EQ(GetRegistryString(key, "Converted"), c.text);
  }
}

TEST(RegistryHelpers, WordsRoundTripAllThirtyTwoBits) {
  const int32_t cases[] = {0, 1, 1500, -1, INT32_MAX, INT32_MIN, -1500};
  for (int32_t value : cases) {
    SetRegistryWord(kKey, "CellWarn", std::to_string(value));
    EXPECT_EQ(GetRegistryWord(kKey, "CellWarn", 7), value);
  }
}

TEST(RegistryHelpers, SetRegistryWordReadsTheNumberInItsText) {
  const struct {
    const char* word;
    int32_t stored;
  } cases[] = {{"1500", 1500},
               {"  42 ", 42},
               {"-7", -7},
               {"+8", 8},
               {"&H10", 16},
               {"&HFFFF", -1},
               {"2.5", 2},
               {"3.5", 4},
               {"1E3", 1000},
               {"2147483647", INT32_MAX},
               {"-2147483648", INT32_MIN}};
  for (const auto& c : cases) {
    SetRegistryWord(kKey, "Word", c.word);
    EXPECT_EQ(GetRegistryWord(kKey, "Word", 99), c.stored) << c.word;
  }
}

TEST(RegistryHelpers, SetRegistryWordRefusesATextThatIsNoWord) {
  SetRegistryWord(kKey, "Word", "5");
  const char* refused[] = {"",    " ",          "abc",         "12abc", "1 2",
                           "--1", "2147483648", "-2147483649", "1E10",  "&HZ"};
  for (const char* word : refused) {
    const AutomationError e = ErrorOf([&] { SetRegistryWord(kKey, "Word", word); });
    EXPECT_EQ(e.number(), 32760) << word;
    EXPECT_EQ(e.source(), "SetRegistryWord") << word;
    EXPECT_EQ(e.description(), std::string("SetRegistry Word:  Invalid sWord:") + word);
    EXPECT_EQ(GetRegistryWord(kKey, "Word", 99), 5) << word;  // nothing written
  }
  // Refused before the registry is touched: no key is made for it.
  const char* key = "Software\\Orvanex\\Untouched";
  EXPECT_THROW(SetRegistryWord(key, "Word", "ten"), AutomationError);
  EXPECT_FALSE(registry::KeyExists(Hive::CurrentUser, key));
}

TEST(RegistryHelpers, SetRegistryWordCreatesAMissingKey) {
  const char* key = "Software\\Orvanex\\Slidora\\Images";
  ASSERT_FALSE(registry::KeyExists(Hive::CurrentUser, key));
  SetRegistryWord(key, "Width", "160");
  EXPECT_TRUE(registry::KeyExists(Hive::CurrentUser, key));
  EXPECT_EQ(GetRegistryWord(key, "Width", 0), 160);
}

TEST(RegistryHelpers, ValueOfTheWrongTypeReadsAsMissing) {
  registry::ImportRegedit(
      "REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanex\\Tabulyn]\n"
      "\"Word\"=dword:00000005\n"
      "\"Text\"=\"12\"\n"
      "\"Bytes\"=hex:dc,05,00,00\n"
      "\"Expand\"=hex(2):41,42,00\n");
  EXPECT_EQ(GetRegistryString(kKey, "Word"), "");
  EXPECT_EQ(GetRegistryString(kKey, "Bytes"), "");
  EXPECT_EQ(GetRegistryWord(kKey, "Text", 99), 99);
  EXPECT_EQ(GetRegistryWord(kKey, "Bytes", 99), 99);
  EXPECT_EQ(GetRegistryWord(kKey, "Word", 99), 5);
  EXPECT_EQ(GetRegistryString(kKey, "Text"), "12");
  EXPECT_EQ(GetRegistryString(kKey, "Expand"), "AB");  // a string kind, read as stored
}

TEST(RegistryHelpers, RootsChooseTheHive) {
  registry::ImportRegedit(
      "REGEDIT4\n\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanex]\n\"ZazerConduit\"=\"user\"\n\n"
      "[HKEY_USERS\\Software\\Orvanex]\n\"ZazerConduit\"=\"default\"\n");
  EXPECT_EQ(GetRegistryString("Software\\Orvanex", "ZazerConduit"), "user");
  EXPECT_EQ(GetRegistryString("Software\\Orvanex", "ZazerConduit", Hive::Users), "default");
  EXPECT_EQ(GetRegistryStringEx(Hive::CurrentUser, "Software\\Orvanex", "ZazerConduit"), "user");
  EXPECT_EQ(
      GetRegistryStringEx(Hive::CurrentUser, "Software\\Orvanex", "ZazerConduit", Hive::Users),
      "default");
  EXPECT_EQ(
      GetRegistryStringEx(Hive::Users, "Software\\Orvanex", "ZazerConduit", Hive::CurrentUser),
      "user");
}

TEST(RegistryHelpers, FailuresAreRaisedAs32760WithTheProcedureAsSource) {
  CorruptCurrentUserHive();
  struct Case {
    std::function<void()> call;
    std::string source;
    std::string descriptionStart;
  };
  const Case cases[] = {
      {[] { GetRegistryString(kKey, "X"); }, "GetRegistryString",
       "Error getting registry string.\r\n"},
      {[] { GetRegistryStringEx(Hive::CurrentUser, kKey, "X"); }, "GetRegistryStringEx",
       "Error getting registry string.\r\n"},
      {[] { GetRegistryWord(kKey, "X", 0); }, "GetRegistryWord",
       "Error setting registry word.\r\n"},
      {[] { SetRegistryString(kKey, "X", "v"); }, "SetRegistryString",
       "Could not Set Registry string"},
      {[] { SetRegistryWord(kKey, "X", "1"); }, "SetRegistryWord", "Could not set registry value."},
  };
  for (const Case& c : cases) {
    const AutomationError e = ErrorOf(c.call);
    EXPECT_EQ(e.number(), 32760) << c.source;
    EXPECT_EQ(e.source(), c.source);
    EXPECT_THAT(e.description(), ::testing::StartsWith(c.descriptionStart)) << c.source;
  }
}

TEST(RegistryHelpers, WriteFailuresKeepTheirFixedMessages) {
  try {
    SetRegistryString(kKey, "bad\nname", "v");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.description(), "Could not Set Registry string");
  }
  try {
    SetRegistryWord(kKey, "bad\nname", "1");
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.description(), "Could not set registry value.");
  }
  // A value that can't become a string: the conversion's error follows the message.
  try {
    SetRegistryString(kKey, "Name", Variant::Null());
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "SetRegistryString");
    EXPECT_EQ(e.description(), "Could not Set Registry string\r\nInvalid use of Null");
  }
}

}  // namespace
}  // namespace brevora::core
