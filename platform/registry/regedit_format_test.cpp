#include "platform/registry/regedit_format.h"

#include <gtest/gtest.h>

#include "platform/error/error.h"

namespace brevora::registry {
namespace {

KeyNode Parse(std::string_view text, Hive hive = Hive::CurrentUser) {
  KeyNode root;
  ApplySections(root, hive, ParseRegedit(text, "test.reg"), "test.reg");
  return root;
}

const Value& ValueAt(const KeyNode& root, std::string_view key, std::string_view name) {
  const KeyNode* node = FindKey(root, SplitKeyPath(key));
  if (!node || !node->FindValue(name))
    throw std::runtime_error("missing value " + std::string(name));
  return *node->FindValue(name);
}

TEST(RegeditFormat, WrittenTextReadsBackTheSameTree) {
  std::string everyByte;
  for (int b = 1; b < 256; ++b) everyByte.push_back(static_cast<char>(b));
  std::vector<uint8_t> binary;
  for (int b = 0; b < 256; ++b) binary.push_back(static_cast<uint8_t>(b));

  KeyNode root;
  root.SetValue("", Value::String("root default"));
  KeyNode& key = FindOrCreateKey(root, {"Software", "Orvanex", "Caf\xE9 ]["});
  key.SetValue("HomePath", Value::String("C:\\Palm\\\"quoted\""));
  key.SetValue("", Value::String("default"));
  key.SetValue("Every\"byte\\", Value::String(everyByte));
  key.SetValue("Lines", Value::String(std::string("a\r\nb\0c", 6)));
  key.SetValue("CellWarn", Value::DWord(1500));
  key.SetValue("Max", Value::DWord(0xFFFFFFFF));
  key.SetValue("Blob", Value::Binary(binary));
  key.SetValue("Empty", Value::Binary({}));
  key.SetValue("Expand", Value::ExpandString("%HOME%\\x\x80"));
  key.SetValue("EmptyText", Value::String(""));
  FindOrCreateKey(root, {"Software", "Empty key"});

  const std::string text = WriteRegedit(root, Hive::CurrentUser);
  const KeyNode back = Parse(text);
  EXPECT_EQ(WriteRegedit(back, Hive::CurrentUser), text);
  const KeyNode* node = FindKey(back, {"Software", "Orvanex", "Caf\xE9 ]["});
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->values, key.values);
  EXPECT_NE(FindKey(back, {"Software", "Empty key"}), nullptr);
  EXPECT_EQ(ValueAt(back, "", ""), Value::String("root default"));
  // UTF-8 on disk, quotes and backslashes escaped.
  EXPECT_NE(text.find("[HKEY_CURRENT_USER\\Software\\Orvanex\\Caf\xC3\xA9 ][]"), std::string::npos);
  EXPECT_NE(text.find("\"HomePath\"=\"C:\\\\Palm\\\\\\\"quoted\\\"\"\n"), std::string::npos);
  EXPECT_NE(text.find("\"CellWarn\"=dword:000005dc\n"), std::string::npos);
}

TEST(RegeditFormat, ReadsWhatWindowsWrites) {
  const KeyNode root = Parse(
      "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
      "\r\n"
      "; a comment\r\n"
      "[HKEY_CURRENT_USER\\Software\\Orvanex\\Tabulyn]\r\n"
      "\"UserName\" = \"Pat\"\r\n"
      "\"Path\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,\\\r\n"
      "  5c,00,78,00,00,00\r\n"
      "\"Old\"=hex(2):61,62,00\r\n"
      "\"Word\"=hex(4):dc,05,00,00\r\n"
      "\"Short\"=dword:5DC\r\n"
      "\"Utf16\"=hex(1):e9,00,ac,20,00,00\r\n"
      "@=\"\"\r\n");
  const std::string key = "Software\\Orvanex\\Tabulyn";
  EXPECT_EQ(ValueAt(root, key, "username"), Value::String("Pat"));
  EXPECT_EQ(ValueAt(root, key, "Path"), Value::ExpandString("%HOME%\\x"));
  EXPECT_EQ(ValueAt(root, key, "Old"), Value::ExpandString("ab"));
  EXPECT_EQ(ValueAt(root, key, "Word"), Value::DWord(1500));
  EXPECT_EQ(ValueAt(root, key, "Short"), Value::DWord(1500));
  EXPECT_EQ(ValueAt(root, key, "Utf16"), Value::String("\xE9\x80"));
  EXPECT_EQ(ValueAt(root, key, ""), Value::String(""));
}

TEST(RegeditFormat, DeletionsAndOtherHives) {
  const auto sections = ParseRegedit(
      "REGEDIT4\n"
      "[HKCU\\A\\B]\n\"x\"=\"1\"\n\"y\"=\"2\"\n"
      "[HKEY_LOCAL_MACHINE\\M]\n\"m\"=\"3\"\n"
      "[hkey_current_user\\a\\b]\n\"X\"=-\n"
      "[HKCU\\A\\C]\n"
      "[-HKCU\\A\\C]\n",
      "fixture");
  KeyNode user;
  ApplySections(user, Hive::CurrentUser, sections, "fixture");
  EXPECT_EQ(FindKey(user, {"A", "C"}), nullptr);
  const KeyNode* b = FindKey(user, {"a", "b"});
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->values.size(), 1u);
  EXPECT_EQ(b->values[0].first, "y");
  EXPECT_EQ(user.Child("M"), nullptr);
  KeyNode machine;
  ApplySections(machine, Hive::LocalMachine, sections, "fixture");
  EXPECT_EQ(ValueAt(machine, "M", "m"), Value::String("3"));
}

TEST(RegeditFormat, MalformedTextNamesItsLine) {
  struct Case {
    const char* text;
    int line;
    const char* reason;
  };
  const Case cases[] = {
      {"", 1, "missing REGEDIT4 header"},
      {"\n\nREGEDIT5\n", 3, "missing REGEDIT4 header"},
      {"REGEDIT4\n\"a\"=\"b\"\n", 2, "value outside a key section"},
      {"REGEDIT4\n[HKEY_NOWHERE\\X]\n", 2, "unknown root key"},
      {"REGEDIT4\n[HKCU\\X\n", 2, "unterminated key name"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=\"b\n", 3, "unterminated string"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=\"b\\n\"\n", 3, "bad escape"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"\"b\"\n", 3, "missing '='"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=\"b\" junk\n", 3, "text after a string"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=dword:123456789\n", 3, "bad dword"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=dword:12g4\n", 3, "bad dword"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=hex:01,2,03\n", 3, "bad hex byte"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=hex:01,\\\n  02,zz\n", 4, "bad hex byte"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=hex:01,\\", 4, "continues past the end"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=hex:01,\\\n", 4, "bad hex byte"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=hex(7):00,00\n", 3, "unsupported value type"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=hex(ffffffff):00\n", 3, "unsupported value type hex(ffffffff)"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=hex(80000007):00\n", 3, "unsupported value type hex(80000007)"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=hex(4):01\n", 3, "4 bytes"},
      {"REGEDIT4\n[HKCU\\X]\n\"a\"=text\n", 3, "unknown value data"},
      {"REGEDIT4\n[HKCU\\X]\ngarbage\n", 3, "unexpected text"},
      {"REGEDIT4\n[HKCU\\X]\n\"caf\xE9\"=\"1\"\n", 3, "not UTF-8"},
      {"REGEDIT4\n[-HKCU\\X]\n\"a\"=\"1\"\n", 3, "value in a key deletion"},
      {"REGEDIT4\n[-HKCU]\n", 2, "root key can't be deleted"},
      // Refused while parsing, also when the tree it is applied to is another hive's.
      {"REGEDIT4\n[HKCU\\X]\n[-HKEY_LOCAL_MACHINE]\n", 3, "root key can't be deleted"},
  };
  for (const auto& c : cases) {
    try {
      Parse(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 32759);
      const std::string where = "test.reg, line " + std::to_string(c.line) + ": ";
      EXPECT_EQ(e.description().substr(0, where.size()), where) << e.description();
      EXPECT_NE(e.description().find(c.reason), std::string::npos) << e.description();
    }
  }
}

// A hive file with a very deep key path: 200,000 levels overflowed the stack
// when the tree was written or destroyed.
TEST(RegeditFormat, KeyPathsDeeperThan512LevelsAreRefused) {
  const auto text = [](size_t levels) {
    std::string section = "[HKEY_CURRENT_USER";
    for (size_t i = 0; i < levels; ++i) section += "\\k";
    return "REGEDIT4\n" + section + "]\n\"x\"=dword:00000001\n";
  };
  const KeyNode deepest = Parse(text(512));
  const std::string written = WriteRegedit(deepest, Hive::CurrentUser);
  EXPECT_EQ(WriteRegedit(Parse(written), Hive::CurrentUser), written);
  for (const size_t levels : {size_t{513}, size_t{200000}}) {
    try {
      Parse(text(levels));
      ADD_FAILURE() << "accepted " << levels << " levels";
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 32759);
      EXPECT_EQ(e.description(), "test.reg, line 2: key path deeper than 512 levels");
    }
  }
}

}  // namespace
}  // namespace brevora::registry
