#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/services/event_log.h"
#include "platform/services/service_slot.h"
#include "platform/windows/window_directory.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::windows {
namespace {

using ::brevora::testing::NumberOf;

constexpr const char* kForm = "ThunderRT5Form";
constexpr const char* kButton = "ThunderRT5CommandButton";
constexpr const char* kTitle = "Brevora Desktop";

// A pipe whose ends close on every path.
struct Pipe {
  int fds[2] = {-1, -1};
  Pipe() { EXPECT_EQ(pipe(fds), 0); }
  ~Pipe() {
    for (int fd : fds)
      if (fd >= 0) close(fd);
  }
  template <class T>
  void Send(const T& value) {
    EXPECT_EQ(write(fds[1], &value, sizeof value), ssize_t(sizeof value));
  }
  template <class T>
  T Receive() {
    T value{};
    EXPECT_EQ(read(fds[0], &value, sizeof value), ssize_t(sizeof value));
    return value;
  }
};

// Runs `body` in a forked child, which ends with its result as exit status
// without running any destructor of the parent's objects.
pid_t Spawn(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    int status = 99;
    try {
      status = body();
    } catch (...) {
      status = 98;
    }
    _exit(status);
  }
  return pid;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// Waits up to 10 s for datagrams on the window's socket.
bool WaitReadable(const RegisteredWindow& window) {
  pollfd p{window.fd(), POLLIN, 0};
  return poll(&p, 1, 10000) == 1;
}

std::string Native(const std::string& name) {
  return fs::NativePath(fs::JoinPath(DirectoryPath(), name));
}

// Whether a name exists, without following a link.
bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

std::string HexName(WindowHandle handle) {
  char name[9];
  std::snprintf(name, sizeof name, "%08x", handle);
  return name;
}

TEST(WindowDirectory, AnotherProcessFindsTheWindowAndClicksItsButton) {
  Pipe handles;
  const pid_t child = Spawn([&] {
    RegisteredWindow window(kForm, kTitle, {{kButton, "Refresh"}, {kButton, "Close"}});
    handles.Send(window.handle());
    while (WaitReadable(window)) {
      bool refreshed = false;
      window.HandlePending([&](const WindowMessage& m) {
        refreshed = m == WindowMessage::Click(kButton, "Refresh");
      });
      if (refreshed) return 0;
    }
    return 1;
  });
  const WindowHandle handle = handles.Receive<WindowHandle>();

  const auto found = Find("thunderrt5form", "BREVORA DESKTOP");
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].handle, handle);
  EXPECT_EQ(found[0].pid, child);
  EXPECT_EQ(found[0].title, kTitle);
  EXPECT_EQ(found[0].buttons.size(), 2u);
  EXPECT_TRUE(Find(kForm, "Brevora Server").empty());

  EXPECT_TRUE(Post(handle, WindowMessage::Click(kButton, "refresh")));
  EXPECT_EQ(ExitStatus(child), 0);
}

TEST(WindowDirectory, TheEntryOfADeadProcessIsRemoved) {
  Pipe handles;
  const pid_t child = Spawn([&] {
    // Ends without unregistering, as a crash would.
    static RegisteredWindow* leaked = new RegisteredWindow(kForm, kTitle, {{kButton, "Refresh"}});
    handles.Send(leaked->handle());
    return 0;
  });
  const WindowHandle handle = handles.Receive<WindowHandle>();
  ASSERT_EQ(ExitStatus(child), 0);
  const std::string entry = Native(HexName(handle) + ".entry");
  const std::string socket = Native(HexName(handle) + ".sock");
  ASSERT_TRUE(Exists(entry));
  ASSERT_TRUE(Exists(socket));

  RegisteredWindow live(kForm, kTitle, {});
  const auto found = Find(kForm, kTitle);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].handle, live.handle());
  EXPECT_FALSE(Exists(entry));
  EXPECT_FALSE(Exists(socket));
  EXPECT_FALSE(Post(handle, WindowMessage::Activate()));
}

// Sends raw bytes to a window's socket, as a stranger might.
void SendRaw(WindowHandle handle, const std::string& bytes) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string path = Native(HexName(handle) + ".sock");
  std::memcpy(address.sun_path, path.data(), path.size());
  const int fd = socket(AF_UNIX, SOCK_DGRAM, 0);
  ASSERT_GE(fd, 0);
  EXPECT_EQ(sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&address),
                   sizeof address),
            ssize_t(bytes.size()));
  close(fd);
}

TEST(WindowDirectory, GarbageIsDroppedAndLogged) {
  Pipe handles;
  Pipe go;
  const pid_t child = Spawn([&] {
    auto log = std::make_shared<services::RecordingEventLog>();
    services::ScopedService<services::EventLog> installed(services::InstallEventLog, log);
    RegisteredWindow window(kForm, kTitle, {{kButton, "Refresh"}});
    handles.Send(window.handle());
    std::size_t handled = 0;
    bool activated = false;
    while (!activated && WaitReadable(window)) {
      handled += window.HandlePending(
          [&](const WindowMessage& m) { activated = m.kind == WindowMessage::Kind::Activate; });
    }
    const auto entries = log->entries();
    if (!activated) return 1;
    if (handled != 1) return 2;
    if (entries.size() != 6) return 10 + static_cast<int>(entries.size());
    return 0;
  });
  const WindowHandle handle = handles.Receive<WindowHandle>();
  SendRaw(handle, "");
  SendRaw(handle, "click");
  SendRaw(handle, "refresh please");
  SendRaw(handle, "click ThunderRT5CommandButton Delete everything");  // no such button
  SendRaw(handle, std::string(1025, 'x'));
  SendRaw(handle, "title " + std::string(2000, 't'));
  EXPECT_TRUE(Post(handle, WindowMessage::Activate()));
  EXPECT_EQ(ExitStatus(child), 0);
}

TEST(WindowDirectory, FindListsLiveWindowsInRegistrationOrder) {
  RegisteredWindow first(kForm, kTitle, {{kButton, "Refresh"}});
  RegisteredWindow other(kForm, "Brevora Server", {});
  RegisteredWindow second(kForm, kTitle, {});
  auto found = Find(kForm, kTitle);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].handle, first.handle());
  EXPECT_EQ(found[1].handle, second.handle());
  EXPECT_EQ(found[0], first.entry());

  // A new title is what others find.
  second.SetTitle("Microsoft Excel - Book1.tbr");
  found = Find(kForm, kTitle);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].handle, first.handle());
  ASSERT_EQ(Find(kForm, "Microsoft Excel - Book1.tbr").size(), 1u);

  // A message to a window of this process arrives too.
  ASSERT_TRUE(Post(second.handle(), WindowMessage::Title("x")));
  ASSERT_TRUE(WaitReadable(second));
  std::vector<WindowMessage> received;
  EXPECT_EQ(second.HandlePending([&](const WindowMessage& m) { received.push_back(m); }), 1u);
  EXPECT_EQ(received, std::vector<WindowMessage>{WindowMessage::Title("x")});
}

TEST(WindowDirectory, AWindowThatEndsLeavesNothingBehind) {
  WindowHandle handle = 0;
  {
    RegisteredWindow window(kForm, kTitle, {});
    handle = window.handle();
    EXPECT_EQ(Find(kForm, kTitle).size(), 1u);
  }
  EXPECT_TRUE(Find(kForm, kTitle).empty());
  const std::string folder = fs::NativePath(DirectoryPath());
  EXPECT_EQ(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
  EXPECT_FALSE(Post(handle, WindowMessage::Activate()));
}

TEST(WindowDirectory, BadRegistrationsAreRefused) {
  EXPECT_EQ(NumberOf([] { RegisteredWindow w("Thunder Form", kTitle, {}); }), 5);
  EXPECT_EQ(NumberOf([] { RegisteredWindow w(kForm, "two\nlines", {}); }), 5);
  EXPECT_EQ(NumberOf([] { RegisteredWindow w(kForm, kTitle, {{kButton, ""}}); }), 5);
  // Sixteen buttons fit, as long as the entry stays within 4,000 bytes.
  std::vector<ChildButton> many(16, ChildButton{kButton, std::string(250, 'c')});
  EXPECT_EQ(NumberOf([&] { RegisteredWindow w(kForm, kTitle, many); }), 5);
  many.resize(12);
  EXPECT_EQ(NumberOf([&] { RegisteredWindow w(kForm, kTitle, many); }), 0);
  RegisteredWindow window(kForm, kTitle, {});
  EXPECT_EQ(NumberOf([&] { window.SetTitle(std::string(256, 'x')); }), 5);
  EXPECT_EQ(window.entry().title, kTitle);
  EXPECT_EQ(DirectoryPath(), fs::JoinPath(fs::RuntimeDir(), "windows"));
  struct stat st {};
  ASSERT_EQ(stat(fs::NativePath(DirectoryPath()).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
}

TEST(WindowDirectory, ASocketPathTooLongIsAClearError) {
  const std::string home = testing::MakeTempDir(std::string(120, 'h'));
  const char* previous = std::getenv("BREVORA_HOME");
  const std::string saved = previous ? previous : "";
  setenv("BREVORA_HOME", home.c_str(), 1);
  try {
    RegisteredWindow window(kForm, kTitle, {});
    ADD_FAILURE() << "registered at " << home;
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 75);
    EXPECT_NE(e.description().find("too long for a Unix socket address"), std::string::npos);
  }
  EXPECT_TRUE(Find(kForm, kTitle).empty());
  setenv("BREVORA_HOME", saved.c_str(), 1);
}

}  // namespace
}  // namespace brevora::windows
