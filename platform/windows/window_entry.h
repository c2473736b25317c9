#pragma once
// The entry of a registered window: what other processes read to find it.
// Code-page text, one field per line, each line ending in LF:
//
//   brevora-window 1
//   pid <decimal>
//   order <decimal>            registration order (monotonic clock, ns)
//   class <class>
//   title <title>              the title may be empty
//   button <class> <caption>   zero or more, one per child button
//
// Classes, captions and titles follow window_message.h's rules. ParseEntry
// accepts exactly this form (the handle comes from the entry's name, not from
// its text) and refuses anything else, a text over kMaxEntrySize bytes or more
// than kMaxButtons buttons among it.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::windows {

using WindowHandle = uint32_t;

// An entry fits the target of a symbolic link (window_directory.h).
inline constexpr std::size_t kMaxEntrySize = 4000;
inline constexpr std::size_t kMaxButtons = 16;

struct ChildButton {
  std::string windowClass;
  std::string caption;
  bool operator==(const ChildButton&) const = default;
};

struct WindowEntry {
  WindowHandle handle = 0;
  int32_t pid = 0;
  uint64_t order = 0;
  std::string windowClass;
  std::string title;
  std::vector<ChildButton> buttons;
  bool operator==(const WindowEntry&) const = default;
};

// True when the fields follow the rules (class, title, buttons, their count
// and the size of the whole text).
bool IsValidEntry(const WindowEntry& entry);
// The text of a valid entry.
std::string FormatEntry(const WindowEntry& entry);
// The entry a text holds (handle 0); nullopt for anything else.
std::optional<WindowEntry> ParseEntry(std::string_view text);

}  // namespace brevora::windows
