#pragma once
// Internet: the web-request object "WebRequest.cInternet" that the main window
// creates and calls late-bound. OpenWebBrowser shows a page in the user's
// browser (http, https and file addresses only, handed over as one argument);
// InternetOnline answers False, since this system fetches nothing from the
// network; GetWebFile copies a file: address into the local file (replacing it
// whole) and reports the end to the window by calling its DownloadComplete
// (an unused first argument, the local path, the success flag) through the
// poster, so that the call arrives later on the window's thread and never
// inside GetWebFile. Other addresses end with success False.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/automation/member_table.h"
#include "platform/automation/object.h"

namespace brevora::frontend {

inline constexpr const char* kInternetProgId = "WebRequest.cInternet";

class Internet : public Dispatchable<Internet> {
 public:
  // Runs a task later on the calling thread (the window's event loop).
  using Poster = std::function<void(std::function<void()>)>;
  explicit Internet(Poster post);

  static const MemberTable<Internet>& Members();

  // `address` is a code-page string. Addresses of another kind, or holding
  // control characters, are refused with a line on stderr.
  void OpenWebBrowser(std::string_view address) const;
  bool InternetOnline() const { return false; }
  // `window` gets DownloadComplete(Empty, localPath, success) through the
  // poster; `localPath` and `address` are system paths and code-page text;
  // `host` is not used (addresses carry their host).
  void GetWebFile(const Ref<Dispatch>& window, const std::string& localPath,
                  const std::string& address, std::string_view host) const;

 private:
  Poster post_;
};

// Whether the browser may be given this address: http:, https: or file:
// (any case), no control characters.
bool IsBrowsableAddress(std::string_view address);

// Whether `address` is a file: address (any case): a file of this machine,
// which GetWebFile copies without a connection to the internet.
bool IsFileAddress(std::string_view address);

// The local system path of a file: address ("file:///p", "file://localhost/p",
// "file:/p", percent escapes decoded); nullopt for any other address, another
// host, a bad escape, a NUL, or a name the code page can't hold.
std::optional<std::string> FileAddressPath(std::string_view address);

}  // namespace brevora::frontend
