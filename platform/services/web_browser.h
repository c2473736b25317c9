#pragma once
// Showing a web page in the user's browser. The default browser hands the
// address to xdg-open as its one argument (no shell) when a display is present
// and otherwise reports it on stderr; tests install a RecordingWebBrowser.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace brevora::services {

class WebBrowser {
 public:
  virtual ~WebBrowser() = default;
  // `address` is UTF-8. Never raises; a browser that can't be started is
  // reported on stderr.
  virtual void Open(const std::string& address) = 0;
};

class XdgOpenWebBrowser : public WebBrowser {
 public:
  void Open(const std::string& address) override;
};

class RecordingWebBrowser : public WebBrowser {
 public:
  void Open(const std::string& address) override;
  std::vector<std::string> opened() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> opened_;
};

std::shared_ptr<WebBrowser> CurrentWebBrowser();
// Installs `browser` for the process (nullptr: the default); returns the previous one.
std::shared_ptr<WebBrowser> InstallWebBrowser(std::shared_ptr<WebBrowser> browser);

}  // namespace brevora::services
