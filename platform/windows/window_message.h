#pragma once
// The messages one process posts to another's window through the window
// directory, and their datagram form: one line of code-page text, no line end.
//
//   click <child class> <caption>   press the child button of that class and caption
//   activate                        bring the window to the front
//   minimize                        minimize the window
//   title <text>                    set the window's title (text may be empty)
//
// A class is 1 to 255 bytes without spaces or control characters; a caption is
// 1 to 255 bytes and a title at most 255 bytes, both without control characters
// (below 0x20, or 0x7F). A datagram is at most kMaxMessageSize bytes. Anything
// else is not a message: DecodeMessage gives nullopt and the receiver drops it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace brevora::windows {

inline constexpr std::size_t kMaxMessageSize = 1024;
inline constexpr std::size_t kMaxNameSize = 255;  // classes, captions, titles

struct WindowMessage {
  enum class Kind { Click, Activate, Minimize, Title };

  Kind kind = Kind::Activate;
  std::string childClass;  // Click
  std::string caption;     // Click
  std::string text;        // Title

  static WindowMessage Click(std::string childClass, std::string caption);
  static WindowMessage Activate();
  static WindowMessage Minimize();
  static WindowMessage Title(std::string text);

  bool operator==(const WindowMessage&) const = default;
};

// A window or button class as the directory accepts it.
bool IsClassName(std::string_view name);
// A caption or title as the directory accepts it (`allowEmpty` for titles).
bool IsWindowText(std::string_view text, bool allowEmpty);

// The datagram of `message`; nullopt when a field breaks the rules above.
std::optional<std::string> EncodeMessage(const WindowMessage& message);
// The message a datagram holds; nullopt for anything else.
std::optional<WindowMessage> DecodeMessage(std::string_view datagram);

}  // namespace brevora::windows
