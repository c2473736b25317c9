// The web-request object: which addresses reach the browser, and the copy of
// a file: address that ends in the window's DownloadComplete, posted.
#include "frontend/internet.h"

#include <gtest/gtest.h>

#include <deque>

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "platform/services/service_slot.h"
#include "platform/services/web_browser.h"
#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

// A window that records its DownloadComplete calls.
class RecordingWindow : public Dispatch {
 public:
  struct Call {
    std::string path;
    bool success;
    bool operator==(const Call&) const = default;
  };
  Variant Invoke(std::string_view name, CallKind, Args args) override {
    if (name != "DownloadComplete" || args.size() != 3) RaiseRuntimeError(438);
    calls.push_back({CStr(args[1]), CBool(args[2])});
    return Variant();
  }
  std::vector<Call> calls;
};

class InternetTest : public ::testing::Test {
 protected:
  Ref<Internet> internet_ =
      MakeRef<Internet>([this](std::function<void()> task) { posted_.push_back(task); });
  std::deque<std::function<void()>> posted_;
  std::shared_ptr<services::RecordingWebBrowser> browser_ =
      std::make_shared<services::RecordingWebBrowser>();
  services::ScopedService<services::WebBrowser> scope_{services::InstallWebBrowser, browser_};
  std::string dir_ = testing::MakeTempDir("web");

  void RunPosted() {
    while (!posted_.empty()) {
      auto task = std::move(posted_.front());
      posted_.pop_front();
      task();
    }
  }
};

TEST_F(InternetTest, OnlyHttpHttpsAndFileAddressesReachTheBrowserWhole) {
  const char* shown[] = {"https://www.orvanex.example/support/", "HTTP://a.example/x?y=1&z=2",
                         "file:///tmp/caf\xE9.html", "http://a.example/with space"};
  const char* refused[] = {"javascript:alert(1)", "--help", "ftp://a.example/",
                           "mailto:x@y",          "",       "http://a.example/\nsecond",
                           "www.orvanex.example"};
  for (const char* address : shown)
    CallByName(internet_, "OpenWebBrowser", CallKind::Method, address);
  for (const char* address : refused)
    CallByName(internet_, "OpenWebBrowser", CallKind::Method, address);
  EXPECT_EQ(browser_->opened(),
            (std::vector<std::string>{"https://www.orvanex.example/support/",
                                      "HTTP://a.example/x?y=1&z=2", "file:///tmp/caf\xC3\xA9.html",
                                      "http://a.example/with space"}));
}

TEST_F(InternetTest, IsNeverOnline) {
  EXPECT_EQ(CallByName(internet_, "InternetOnline", CallKind::Method), Variant(false));
}

TEST_F(InternetTest, AFileAddressIsCopiedAndReportedLaterOnTheWindowsThread) {
  fs::AtomicWrite(dir_ + "/banner one.gif", std::string_view("GIF89a-new"));
  const std::string local = dir_ + "/cache/brevora.gif";
  auto window = MakeRef<RecordingWindow>();
  CallByName(internet_, "GetWebFile", CallKind::Method, Ref<Dispatch>(window), local,
             "file://" + dir_ + "/banner%20one.gif", "products.orvanex.example");
  EXPECT_TRUE(window->calls.empty());  // never inside GetWebFile
  RunPosted();
  EXPECT_EQ(window->calls, (std::vector<RecordingWindow::Call>{{local, true}}));
  EXPECT_EQ(fs::ReadWholeFile(local),
            (std::vector<uint8_t>{'G', 'I', 'F', '8', '9', 'a', '-', 'n', 'e', 'w'}));
}

TEST_F(InternetTest, OtherAddressesAndMissingFilesFailAndLeaveTheOldPicture) {
  const std::string local = dir_ + "/brevora.gif";
  fs::AtomicWrite(local, std::string_view("old"));
  auto window = MakeRef<RecordingWindow>();
  for (const std::string& address :
       {std::string("https://products.orvanex.example/banner/brevora.gif"),
        "file://" + dir_ + "/missing.gif", std::string("file://otherhost/x.gif"),
        std::string("file:///a%2"), std::string("file:///a%00b")}) {
    CallByName(internet_, "GetWebFile", CallKind::Method, Ref<Dispatch>(window), local, address,
               "");
  }
  RunPosted();
  EXPECT_EQ(window->calls, std::vector<RecordingWindow::Call>(5, {local, false}));
  EXPECT_EQ(fs::ReadWholeFile(local), (std::vector<uint8_t>{'o', 'l', 'd'}));
}

TEST(FileAddressPath, ReadsTheLocalForms) {
  const std::pair<const char*, std::optional<std::string>> cases[] = {
      {"file:///tmp/a.gif", "/tmp/a.gif"},
      {"FILE://localhost/tmp/a.gif", "/tmp/a.gif"},
      {"file:/tmp/a%20b.gif", "/tmp/a b.gif"},
      {"file:///tmp/caf%C3%A9.gif", "/tmp/caf\xE9.gif"},
      {"file://server/share/a.gif", std::nullopt},
      {"file:relative.gif", std::nullopt},
      {"file://", std::nullopt},
      {"file:///tmp/%zz", std::nullopt},
      {"file:///tmp/%E2%82", std::nullopt},     // not UTF-8
      {"file:///tmp/%E4%B8%AD", std::nullopt},  // not in the code page
      {"http:///tmp/a.gif", std::nullopt}};
  for (const auto& [address, path] : cases) EXPECT_EQ(FileAddressPath(address), path) << address;
}

}  // namespace
}  // namespace brevora::frontend
