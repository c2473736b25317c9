#pragma once
// The window directory: how one process finds another's windows by class and
// title and posts them messages (a button click, activate, minimize, a new
// title) without a window system. The desktop window registers itself; the
// conduits press its "Refresh" button; a second start of the desktop program
// finds and activates the first.
//
// The directory is the folder <RuntimeDir>/windows (mode 0700). A registered
// window owns two names there, after its 32-bit handle in 8 hex digits:
// "<handle>.sock", a Unix datagram socket bound while the window lives, and
// "<handle>.entry", its entry (window_entry.h): a symbolic link whose target
// is the entry's text, so that one readlink reads it whole, written as a
// temporary link renamed over it. A window whose process died leaves both
// behind; Find notices that its socket refuses a connection and removes them.
//
// Receiving needs no thread: an event loop watches fd() and calls
// HandlePending when it is readable. Only datagrams from the same user (checked
// through SCM_CREDENTIALS) that decode as a message (window_message.h) and, for
// a click, name one of the window's own buttons (case ignored; the handler gets
// the button as registered), reach the handler; anything else is dropped and
// written to the event log.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows/window_entry.h"
#include "platform/windows/window_message.h"

namespace brevora::windows {

// The directory's system path; created (0700) when missing. Raises
// AutomationError 75 when it exists but is not a folder of this user.
// A program that looks for a window and registers its own when it finds none
// holds fs::FolderLock (platform/fs/folder_lock.h) on this folder for both
// steps, so that two programs started at once never both register one.
std::string DirectoryPath();

// The live windows whose class and title equal the given ones (case ignored),
// in registration order. Matching entries whose window is gone are removed.
// No directory: nothing found. Never raises.
std::vector<WindowEntry> Find(std::string_view windowClass, std::string_view title);

// Posts `message` to the window `handle` without waiting for it. False when it
// could not be sent: no such window, its queue full, or a message that breaks
// window_message.h's rules. Never raises.
bool Post(WindowHandle handle, const WindowMessage& message);

// A window's registration: lives as long as the window. Construction binds the
// socket and writes the entry; destruction removes both.
class RegisteredWindow {
 public:
  // Raises AutomationError 5 for a class, title or buttons that break the rules,
  // and 75 (with the reason) when the socket or the entry can't be made, also
  // when the socket's path is too long for a Unix socket address.
  RegisteredWindow(std::string windowClass, std::string title, std::vector<ChildButton> buttons);
  ~RegisteredWindow();
  RegisteredWindow(const RegisteredWindow&) = delete;
  RegisteredWindow& operator=(const RegisteredWindow&) = delete;

  WindowHandle handle() const { return entry_.handle; }
  const WindowEntry& entry() const { return entry_; }
  // Readable when datagrams wait (non-blocking, close-on-exec; owned here).
  int fd() const { return fd_; }

  // Rewrites the entry with a new title (5 for a title that breaks the rules).
  void SetTitle(std::string title);

  // Takes every datagram waiting, without blocking, and hands each message
  // that passes the checks to `handler`; returns how many it handed over.
  std::size_t HandlePending(const std::function<void(const WindowMessage&)>& handler);

 private:
  void WriteEntry() const;

  WindowEntry entry_;
  std::string entryPath_;  // native paths
  std::string socketPath_;
  int fd_ = -1;
};

}  // namespace brevora::windows
