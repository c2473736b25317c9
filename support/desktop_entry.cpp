// Launcher (.desktop) Exec parsing and argument joining (see desktop_entry.h).
#include "support/desktop_entry.h"

#include <string_view>

namespace tabrelc {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

// The value of Exec in [Desktop Entry], still escaped.
std::optional<std::string_view> FindExec(std::string_view text) {
  bool in_entry = false;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line.front() == '#') continue;
    if (line.front() == '[') {
      in_entry = line == "[Desktop Entry]";
      continue;
    }
    if (!in_entry) continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    if (Trim(line.substr(0, eq)) == "Exec") return Trim(line.substr(eq + 1));
  }
  return std::nullopt;
}

// The escapes of string values: \s \n \t \r \\. Others stay for the quoting step.
std::string UnescapeValue(std::string_view v) {
  std::string out;
  for (size_t i = 0; i < v.size(); ++i) {
    if (v[i] == '\\' && i + 1 < v.size()) {
      const char e = v[i + 1];
      const char plain = e == 's'    ? ' '
                         : e == 'n'  ? '\n'
                         : e == 't'  ? '\t'
                         : e == 'r'  ? '\r'
                         : e == '\\' ? '\\'
                                     : 0;
      if (plain != 0) {
        out += plain;
        ++i;
        continue;
      }
    }
    out += v[i];
  }
  return out;
}

bool IsFieldCode(char c) {
  return std::string_view("fFuUdDnNickvm").find(c) != std::string_view::npos;
}

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

std::optional<std::vector<std::string>> ParseDesktopExec(std::string_view text) {
  const auto exec = FindExec(text);
  if (!exec) return std::nullopt;
  const std::string command = UnescapeValue(*exec);
  std::vector<std::string> words;
  size_t i = 0;
  while (i < command.size()) {
    if (IsSeparator(command[i])) {
      ++i;
      continue;
    }
    std::string word;
    bool quoted = false;
    while (i < command.size() && !IsSeparator(command[i])) {
      if (command[i] == '"') {
        quoted = true;
        ++i;
        while (i < command.size() && command[i] != '"') {
          if (command[i] == '\\' && i + 1 < command.size() &&
              std::string_view("\"`$\\").find(command[i + 1]) != std::string_view::npos) {
            ++i;
          }
          word += command[i++];
        }
        if (i >= command.size()) return std::nullopt;  // no closing quote
        ++i;
      } else if (command[i] == '%' && i + 1 < command.size() && command[i + 1] == '%') {
        word += '%';
        i += 2;
      } else if (command[i] == '%' && i + 1 < command.size() && IsFieldCode(command[i + 1])) {
        i += 2;
      } else {
        word += command[i++];
      }
    }
    if (quoted || !word.empty()) words.push_back(std::move(word));
  }
  if (words.empty() || words.front().empty()) return std::nullopt;
  return words;
}

std::string JoinArguments(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) {
    if (!out.empty()) out += ' ';
    if (!w.empty() && w.find_first_of(" \t\"") == std::string::npos) {
      out += w;
      continue;
    }
    out += '"';
    size_t backslashes = 0;
    for (const char c : w) {
      if (c == '\\') {
        ++backslashes;
        continue;
      }
      // Backslashes before a quote are doubled, the quote itself escaped.
      out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
      backslashes = 0;
      out += c;
    }
    out.append(backslashes * 2, '\\');  // before the closing quote
    out += '"';
  }
  return out;
}

}  // namespace tabrelc
