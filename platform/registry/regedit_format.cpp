#include "platform/registry/regedit_format.h"

#include <cstdio>

#include "platform/error/error.h"
#include "platform/text/case.h"
#include "platform/text/codepage.h"

namespace brevora::registry {
namespace {

constexpr Hive kHives[] = {Hive::CurrentUser, Hive::LocalMachine, Hive::Users, Hive::ClassesRoot};
constexpr const char* kShortNames[] = {"HKCU", "HKLM", "HKU", "HKCR"};
constexpr size_t kBytesPerLine = 20;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && text::EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

// UTF-16LE (with an optional terminating zero) -> code page; '?' for what it lacks.
std::string FromUtf16(const std::vector<uint8_t>& bytes) {
  std::string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char32_t unit = bytes[i] | (bytes[i + 1] << 8);
    if (unit == 0 && i + 2 >= bytes.size()) break;  // the terminator
    auto cp = text::UnicodeToCp(unit);              // surrogates are not in the code page either
    out.push_back(cp ? static_cast<char>(*cp) : '?');
  }
  return out;
}

std::vector<uint8_t> ToUtf16(std::string_view cp) {
  std::vector<uint8_t> out;
  out.reserve(cp.size() * 2 + 2);
  for (char c : cp) {
    const char32_t ch = text::CpToUnicode(static_cast<unsigned char>(c));
    out.push_back(static_cast<uint8_t>(ch & 0xFF));
    out.push_back(static_cast<uint8_t>(ch >> 8));
  }
  out.push_back(0);
  out.push_back(0);
  return out;
}

class Parser {
 public:
  Parser(std::string_view utf8, std::string_view origin) : origin_(origin) {
    if (utf8.substr(0, 3) == "\xEF\xBB\xBF") utf8.remove_prefix(3);
    size_t start = 0;
    while (start <= utf8.size()) {
      size_t end = utf8.find('\n', start);
      if (end == std::string_view::npos) end = utf8.size();
      std::string_view line = utf8.substr(start, end - start);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      lines_.push_back(line);
      start = end + 1;
    }
  }

  std::vector<RegeditSection> Parse() {
    ReadHeader();
    std::vector<RegeditSection> sections;
    for (; index_ < lines_.size(); ++index_) {
      if (!text::IsValidUtf8(lines_[index_])) Fail("not UTF-8 text");
      const std::string_view line = Trim(lines_[index_]);
      if (line.empty() || line.front() == ';') continue;
      if (line.front() == '[') {
        sections.push_back(ParseSection(line));
      } else if (line.front() == '"' || line.front() == '@') {
        if (sections.empty()) Fail("value outside a key section");
        if (sections.back().remove) Fail("value in a key deletion");
        sections.back().entries.push_back(ParseValue(line));
      } else {
        Fail("unexpected text");
      }
    }
    return sections;
  }

 private:
  [[noreturn]] void Fail(const std::string& reason) const {
    throw AutomationError(
        kRegistryError, "Registry",
        std::string(origin_) + ", line " + std::to_string(index_ + 1) + ": " + reason);
  }

  void ReadHeader() {
    while (index_ < lines_.size() && Trim(lines_[index_]).empty()) ++index_;
    if (index_ == lines_.size()) index_ = 0;
    const std::string_view header = index_ < lines_.size() ? Trim(lines_[index_]) : "";
    if (header != "REGEDIT4" && header != "Windows Registry Editor Version 5.00") {
      Fail("missing REGEDIT4 header");
    }
    ++index_;
  }

  RegeditSection ParseSection(std::string_view line) {
    if (line.back() != ']' || line.size() < 3) Fail("unterminated key name");
    std::string_view inner = line.substr(1, line.size() - 2);
    RegeditSection section;
    section.line = static_cast<int>(index_ + 1);
    if (!inner.empty() && inner.front() == '-') {
      section.remove = true;
      inner.remove_prefix(1);
    }
    std::vector<std::string> parts = SplitKeyPath(inner);
    if (parts.empty()) Fail("empty key name");
    if (parts.size() - 1 > kMaxKeyDepth)
      Fail("key path deeper than " + std::to_string(kMaxKeyDepth) + " levels");
    bool known = false;
    for (size_t i = 0; i < std::size(kHives); ++i) {
      if (text::EqualsNoCase(parts[0], HiveName(kHives[i])) ||
          text::EqualsNoCase(parts[0], kShortNames[i])) {
        section.hive = kHives[i];
        known = true;
      }
    }
    if (!known) Fail("unknown root key \"" + parts[0] + "\"");
    // Refused here, before anything is applied: ImportRegedit applies hive by hive.
    if (section.remove && parts.size() == 1) Fail("a root key can't be deleted");
    for (size_t i = 1; i < parts.size(); ++i) section.path.push_back(text::Utf8ToCp(parts[i]));
    return section;
  }

  // A quoted string starting at s[pos] == '"'; advances past the closing quote.
  std::string ParseQuoted(std::string_view s, size_t& pos) {
    std::string out;
    for (++pos; pos < s.size(); ++pos) {
      const char c = s[pos];
      if (c == '"') {
        ++pos;
        return text::Utf8ToCp(out);
      }
      if (c == '\\') {
        if (++pos >= s.size() || (s[pos] != '\\' && s[pos] != '"')) Fail("bad escape in a string");
      }
      out.push_back(s[pos]);
    }
    Fail("unterminated string");
  }

  RegeditEntry ParseValue(std::string_view line) {
    RegeditEntry entry;
    size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else {
      entry.name = ParseQuoted(line, pos);
    }
    std::string_view rest = Trim(line.substr(pos));
    if (rest.empty() || rest.front() != '=') Fail("missing '=' after the value name");
    rest = Trim(rest.substr(1));
    if (rest == "-") return entry;
    if (!rest.empty() && rest.front() == '"') {
      size_t end = 0;
      std::string value = ParseQuoted(rest, end);
      if (!Trim(rest.substr(end)).empty()) Fail("text after a string");
      entry.value = Value::String(std::move(value));
    } else if (StartsWithNoCase(rest, "dword:")) {
      entry.value = Value::DWord(ParseDWord(rest.substr(6)));
    } else if (StartsWithNoCase(rest, "hex")) {
      entry.value = ParseHexValue(rest.substr(3));
    } else {
      Fail("unknown value data");
    }
    return entry;
  }

  uint32_t ParseDWord(std::string_view digits) {
    if (digits.empty() || digits.size() > 8) Fail("bad dword");
    uint32_t value = 0;
    for (char c : digits) {
      const int d = HexDigit(c);
      if (d < 0) Fail("bad dword");
      value = value << 4 | static_cast<uint32_t>(d);
    }
    return value;
  }

  // After "hex": an optional "(type)", ':' and the byte list, which may continue
  // over following lines ending in '\'.
  Value ParseHexValue(std::string_view rest) {
    uint32_t type = 3;  // REG_BINARY
    if (!rest.empty() && rest.front() == '(') {
      const size_t close = rest.find(')');
      if (close == std::string_view::npos || close == 1 || close > 9) Fail("bad hex type");
      type = 0;
      for (char c : rest.substr(1, close - 1)) {
        const int d = HexDigit(c);
        if (d < 0) Fail("bad hex type");
        type = type << 4 | static_cast<uint32_t>(d);  // up to 8 digits: unsigned, never overflows
      }
      rest.remove_prefix(close + 1);
    }
    if (rest.empty() || rest.front() != ':') Fail("missing ':' after hex");
    std::string list(Trim(rest.substr(1)));
    while (!list.empty() && list.back() == '\\') {
      list.pop_back();
      if (++index_ >= lines_.size()) Fail("hex list continues past the end");
      if (!text::IsValidUtf8(lines_[index_])) Fail("not UTF-8 text");
      list += Trim(lines_[index_]);
    }
    std::vector<uint8_t> bytes = ParseByteList(list);
    switch (type) {
      case 3:
        return Value::Binary(std::move(bytes));
      case 1:
        return Value::String(FromUtf16(bytes));
      case 2:
        return Value::ExpandString(ExpandText(bytes));
      case 4:
        if (bytes.size() != 4) Fail("a hex(4) value needs 4 bytes");
        return Value::DWord(bytes[0] | bytes[1] << 8 | bytes[2] << 16 |
                            static_cast<uint32_t>(bytes[3]) << 24);
      default: {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%x", type);
        Fail("unsupported value type hex(" + std::string(digits) + ")");
      }
    }
  }

  std::vector<uint8_t> ParseByteList(std::string_view list) {
    std::vector<uint8_t> bytes;
    if (Trim(list).empty()) return bytes;
    size_t start = 0;
    while (start <= list.size()) {
      size_t end = list.find(',', start);
      if (end == std::string_view::npos) end = list.size();
      const std::string_view token = Trim(list.substr(start, end - start));
      if (token.size() != 2 || HexDigit(token[0]) < 0 || HexDigit(token[1]) < 0)
        Fail("bad hex byte");
      bytes.push_back(static_cast<uint8_t>(HexDigit(token[0]) * 16 + HexDigit(token[1])));
      start = end + 1;
    }
    return bytes;
  }

  // hex(2): UTF-16LE as Windows writes it (even length, ending in a zero unit);
  // otherwise 8-bit text as older files hold it, read as UTF-8 like this file.
  std::string ExpandText(std::vector<uint8_t> bytes) {
    const size_t n = bytes.size();
    if (n >= 2 && n % 2 == 0 && bytes[n - 1] == 0 && bytes[n - 2] == 0) return FromUtf16(bytes);
    if (!bytes.empty() && bytes.back() == 0) bytes.pop_back();
    return text::Utf8ToCp(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }

  std::string_view origin_;
  std::vector<std::string_view> lines_;
  size_t index_ = 0;
};

std::string Quote(std::string_view cp) {
  std::string out = "\"";
  for (char c : text::CpToUtf8(cp)) {
    if (c == '\\' || c == '"') out.push_back('\\');
    out.push_back(c);
  }
  out.push_back('"');
  return out;
}

void AppendHex(std::string& out, std::string_view prefix, const std::vector<uint8_t>& bytes) {
  out += prefix;
  char digits[3];
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) out += (i % kBytesPerLine == 0) ? ",\\\n  " : ",";
    std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
    out += digits;
  }
}

// Strings holding control characters (line breaks, NUL) can't stand in quotes
// on one line; they are written as hex(1), which every reader understands.
bool NeedsHexForm(std::string_view s) {
  for (char c : s) {
    if (static_cast<unsigned char>(c) < 0x20 && c != '\t') return true;
  }
  return false;
}

void AppendValue(std::string& out, const std::string& name, const Value& value) {
  out += name.empty() ? std::string("@") : Quote(name);
  out += '=';
  switch (value.type) {
    case ValueType::String:
      if (NeedsHexForm(value.text)) {
        AppendHex(out, "hex(1):", ToUtf16(value.text));
      } else {
        out += Quote(value.text);
      }
      break;
    case ValueType::ExpandString:
      AppendHex(out, "hex(2):", ToUtf16(value.text));
      break;
    case ValueType::DWord: {
      char digits[16];
      std::snprintf(digits, sizeof digits, "dword:%08x", value.dword);
      out += digits;
      break;
    }
    case ValueType::Binary:
      AppendHex(out, "hex:", value.bytes);
      break;
  }
  out += '\n';
}

void AppendKey(std::string& out, const KeyNode& node, const std::string& path, bool isRoot) {
  if (!isRoot || !node.values.empty()) {
    out += "[" + path + "]\n";
    for (const auto& [name, value] : node.values) AppendValue(out, name, value);
    out += '\n';
  }
  for (const auto& child : node.children) {
    AppendKey(out, child, path + "\\" + text::CpToUtf8(child.name), false);
  }
}

}  // namespace

const char* HiveName(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return "HKEY_CURRENT_USER";
    case Hive::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case Hive::Users:
      return "HKEY_USERS";
    case Hive::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
  }
  return "HKEY_CURRENT_USER";
}

std::vector<RegeditSection> ParseRegedit(std::string_view utf8, std::string_view origin) {
  return Parser(utf8, origin).Parse();
}

void ApplySections(KeyNode& root, Hive hive, const std::vector<RegeditSection>& sections,
                   std::string_view origin) {
  for (const auto& section : sections) {
    if (section.hive != hive) continue;
    if (section.remove) {
      if (section.path.empty()) {
        throw AutomationError(kRegistryError, "Registry",
                              std::string(origin) + ", line " + std::to_string(section.line) +
                                  ": a root key can't be deleted");
      }
      RemoveKey(root, section.path);
      continue;
    }
    KeyNode& key = FindOrCreateKey(root, section.path);
    for (const auto& entry : section.entries) {
      if (entry.value) {
        key.SetValue(entry.name, *entry.value);
      } else {
        key.RemoveValue(entry.name);
      }
    }
  }
}

std::string WriteRegedit(const KeyNode& root, Hive hive) {
  std::string out = "REGEDIT4\n\n";
  AppendKey(out, root, HiveName(hive), true);
  return out;
}

}  // namespace brevora::registry
