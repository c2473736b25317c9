#include "platform/windows/window_entry.h"

#include "platform/text/line_reader.h"
#include "platform/windows/window_message.h"

namespace brevora::windows {
namespace {

constexpr std::string_view kMagic = "brevora-window 1";

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
  text::LineReader lines(text);  // every line ends with LF
  std::string_view line;
  if (!lines.Next(line) || line != kMagic) return std::nullopt;

  WindowEntry entry;
  std::optional<std::string_view> value;
  if (!lines.Next(line) || !(value = text::KeyValue(line, "pid"))) return std::nullopt;
  const auto pid = text::DecimalNumber<int32_t>(*value);
  if (!lines.Next(line) || !(value = text::KeyValue(line, "order"))) return std::nullopt;
  const auto order = text::DecimalNumber<uint64_t>(*value);
  if (!pid || !order) return std::nullopt;
  entry.pid = *pid;
  entry.order = *order;
  if (!lines.Next(line) || !(value = text::KeyValue(line, "class"))) return std::nullopt;
  entry.windowClass = std::string(*value);
  // "title " with an empty title is the key and its space alone.
  if (!lines.Next(line) || !(value = text::KeyValue(line, "title"))) return std::nullopt;
  entry.title = std::string(*value);
  while (!lines.AtEnd()) {
    if (!lines.Next(line) || !(value = text::KeyValue(line, "button"))) return std::nullopt;
    const std::size_t space = value->find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    entry.buttons.push_back(
        {std::string(value->substr(0, space)), std::string(value->substr(space + 1))});
    if (entry.buttons.size() > kMaxButtons) return std::nullopt;
  }
  if (!IsValidEntry(entry)) return std::nullopt;
  return entry;
}

}  // namespace brevora::windows
