#include "platform/services/web_browser.h"

#include <cstdio>

#include "platform/services/service_slot.h"
#include "platform/services/session_display.h"
#include "platform/services/spawn.h"

namespace brevora::services {
namespace {

ServiceSlot<WebBrowser, XdgOpenWebBrowser>& Slot() {
  static ServiceSlot<WebBrowser, XdgOpenWebBrowser> slot;
  return slot;
}

}  // namespace

void XdgOpenWebBrowser::Open(const std::string& address) {
  if (!SessionHasDisplay()) {
    std::fprintf(stderr, "web page: %s\n", address.c_str());
    return;
  }
  if (!SpawnDetached({"xdg-open", address})) {
    std::fprintf(stderr, "web page: could not start xdg-open for %s\n", address.c_str());
  }
}

void RecordingWebBrowser::Open(const std::string& address) {
  std::lock_guard<std::mutex> lock(mutex_);
  opened_.push_back(address);
}

std::vector<std::string> RecordingWebBrowser::opened() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return opened_;
}

std::shared_ptr<WebBrowser> CurrentWebBrowser() { return Slot().Get(); }

std::shared_ptr<WebBrowser> InstallWebBrowser(std::shared_ptr<WebBrowser> browser) {
  return Slot().Install(std::move(browser));
}

}  // namespace brevora::services
