#include "platform/windows/window_entry.h"

#include <charconv>

#include "platform/windows/window_message.h"

namespace brevora::windows {
namespace {

constexpr std::string_view kMagic = "brevora-window 1";

// Splits off the next line (without its LF); false when no LF ends it.
bool NextLine(std::string_view& text, std::string_view& line) {
  const std::size_t lf = text.find('\n');
  if (lf == std::string_view::npos) return false;
  line = text.substr(0, lf);
  text.remove_prefix(lf + 1);
  return true;
}

// "key value" -> value, when the line starts with "key ".
std::optional<std::string_view> Field(std::string_view line, std::string_view key) {
  if (line.size() <= key.size() || !line.starts_with(key) || line[key.size()] != ' ') {
    return std::nullopt;
  }
  return line.substr(key.size() + 1);
}

template <class T>
std::optional<T> Number(std::string_view digits) {
  // One spelling per number: no sign, no leading zero.
  if (digits.empty() || digits.size() > 20 || (digits.size() > 1 && digits[0] == '0')) return std::nullopt;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  T value{};
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return value;
}

}  // namespace

bool IsValidEntry(const WindowEntry& entry) {
  if (!IsClassName(entry.windowClass) || !IsWindowText(entry.title, true)) return false;
  if (entry.pid < 0 || entry.buttons.size() > kMaxButtons) return false;
  for (const ChildButton& b : entry.buttons) {
    if (!IsClassName(b.windowClass) || !IsWindowText(b.caption, false)) return false;
  }
  return FormatEntry(entry).size() <= kMaxEntrySize;
}

std::string FormatEntry(const WindowEntry& entry) {
  std::string text(kMagic);
  text += "\npid " + std::to_string(entry.pid);
  text += "\norder " + std::to_string(entry.order);
  text += "\nclass " + entry.windowClass;
  text += "\ntitle " + entry.title;
  for (const ChildButton& b : entry.buttons) {
    text += "\nbutton " + b.windowClass + ' ' + b.caption;
  }
  text += '\n';
  return text;
}

std::optional<WindowEntry> ParseEntry(std::string_view text) {
  if (text.size() > kMaxEntrySize) return std::nullopt;
  std::string_view line;
  if (!NextLine(text, line) || line != kMagic) return std::nullopt;

  WindowEntry entry;
  std::optional<std::string_view> value;
  if (!NextLine(text, line) || !(value = Field(line, "pid"))) return std::nullopt;
  const auto pid = Number<int32_t>(*value);
  if (!NextLine(text, line) || !(value = Field(line, "order"))) return std::nullopt;
  const auto order = Number<uint64_t>(*value);
  if (!pid || !order) return std::nullopt;
  entry.pid = *pid;
  entry.order = *order;
  if (!NextLine(text, line) || !(value = Field(line, "class"))) return std::nullopt;
  entry.windowClass = std::string(*value);
  // "title " with an empty title is the key and its space alone.
  if (!NextLine(text, line) || !line.starts_with("title ")) return std::nullopt;
  entry.title = std::string(line.substr(6));
  while (!text.empty()) {
    if (!NextLine(text, line) || !(value = Field(line, "button"))) return std::nullopt;
    const std::size_t space = value->find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    entry.buttons.push_back({std::string(value->substr(0, space)),
                             std::string(value->substr(space + 1))});
    if (entry.buttons.size() > kMaxButtons) return std::nullopt;
  }
  if (!IsValidEntry(entry)) return std::nullopt;
  return entry;
}

}  // namespace brevora::windows
