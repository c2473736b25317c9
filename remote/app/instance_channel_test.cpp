#include "remote/app/instance_channel.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "platform/serial/pseudo_terminal.h"
#include "platform/serial/serial_port.h"
#include "remote/instance_handover.h"
#include "remote/instance_message.h"
#include "remote/packet_format.h"
#include "remote/receiver_settings.h"
#include "remote/testing/packets.h"
#include "testing/temp_home.h"

namespace brevora::remote::app {
namespace {

using namespace std::chrono_literals;
using testing::operator+;

// Hands `action` over from another thread while this thread serves the channel.
bool SendWhileServing(const QString& path, StartupAction action) {
  auto sent = std::async(std::launch::async, [&] {
    return HandToRunningInstance(path.toStdString(), action) == Handover::kTaken;
  });
  while (sent.wait_for(5ms) != std::future_status::ready) QApplication::processEvents();
  QApplication::processEvents();  // the command is acted on from the event loop
  return sent.get();
}

TEST(InstanceMessage, ReadsOneShortLine) {
  using State = InstanceMessageReader::State;
  struct Case {
    std::vector<std::string> parts;
    State state;
    std::optional<StartupAction> command;
  };
  const Case cases[] = {
      {{"start\n"}, State::kDone, StartupAction::kStart},
      {{"st", "op", "\n"}, State::kDone, StartupAction::kStop},
      {{"show\nmore"}, State::kDone, StartupAction::kShow},
      {{"start"}, State::kWaiting, std::nullopt},
      {{"bogus\n"}, State::kRefused, std::nullopt},
      {{"\n"}, State::kRefused, std::nullopt},
      {{std::string(17, 'x')}, State::kRefused, std::nullopt},
      {{std::string("st\0rt\n", 6)}, State::kRefused, std::nullopt},
  };
  for (const Case& c : cases) {
    InstanceMessageReader reader;
    State state = State::kWaiting;
    for (const std::string& part : c.parts) state = reader.Feed(part);
    EXPECT_EQ(state, c.state) << c.parts[0];
    if (state == State::kDone) {
      EXPECT_EQ(reader.Command(), c.command) << c.parts[0];
    }
  }
}

TEST(InstanceChannel, HandsTheCommandToTheRunningInstance) {
  const QString path = InstanceChannel::SocketPath();
  EXPECT_EQ(HandToRunningInstance(path.toStdString(), StartupAction::kShow),
            Handover::kNoneRunning);

  InstanceChannel channel;
  ASSERT_TRUE(channel.Listen(path));
  std::vector<StartupAction> received;
  QObject::connect(&channel, &InstanceChannel::commandReceived,
                   [&](StartupAction a) { received.push_back(a); });
  EXPECT_TRUE(SendWhileServing(path, StartupAction::kStart));
  EXPECT_TRUE(SendWhileServing(path, StartupAction::kStop));
  EXPECT_EQ(received, (std::vector<StartupAction>{StartupAction::kStart, StartupAction::kStop}));
}

TEST(InstanceChannel, TakesOverASocketLeftBehind) {
  const QString path = InstanceChannel::SocketPath();
  // A socket file nobody listens on, as a crashed instance leaves it.
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string native = path.toStdString();
  ASSERT_LT(native.size(), sizeof address.sun_path);
  std::memcpy(address.sun_path, native.c_str(), native.size() + 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ::close(fd);

  EXPECT_EQ(HandToRunningInstance(native, StartupAction::kShow), Handover::kNoneRunning);
  InstanceChannel channel;
  ASSERT_TRUE(channel.Listen(path));
  int count = 0;
  QObject::connect(&channel, &InstanceChannel::commandReceived, [&](StartupAction) { ++count; });
  EXPECT_TRUE(SendWhileServing(path, StartupAction::kShow));
  EXPECT_EQ(count, 1);
}

// The program itself, started the way a user starts it, on this test's home:
// on the offscreen platform, or where there is no display at all.
class Program {
 public:
  enum class Display { kOffscreen, kNone };
  explicit Program(QStringList arguments, Display display = Display::kOffscreen) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("BREVORA_HOME"),
               QString::fromStdString(brevora::testing::TempHome()));
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    if (display == Display::kOffscreen) {
      env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    } else {
      env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    }
    process_.setProcessEnvironment(env);
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStringLiteral(VANTAPC_PROGRAM), arguments);
  }
  ~Program() {
    if (process_.state() != QProcess::NotRunning) {
      process_.kill();
      process_.waitForFinished(5000);
    }
  }
  bool Started() { return process_.waitForStarted(10000); }
  // The exit code when it ended by itself within `timeout`; -1 otherwise.
  int ExitCode(std::chrono::milliseconds timeout) {
    if (!process_.waitForFinished(static_cast<int>(timeout.count()))) return -1;
    return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
  }
  // True when it ended by itself with exit code 0 within `timeout`.
  bool EndsCleanly(std::chrono::milliseconds timeout) { return ExitCode(timeout) == 0; }
  bool Running() const { return process_.state() == QProcess::Running; }
  // What it wrote to stdout and stderr so far.
  std::string Output() {
    output_ += process_.readAll().toStdString();
    return output_;
  }

 private:
  QProcess process_;
  std::string output_;
};

bool WaitForFile(const QString& path) {
  for (int i = 0; i < 1000; ++i) {
    if (QFileInfo::exists(path)) return true;
    std::this_thread::sleep_for(10ms);
  }
  return false;
}

TEST(Program, StartAndStopReachTheRunningInstance) {
  serial::PseudoTerminal pty;
  SaveComPort(pty.SlavePath());

  // "-stop" with no instance running starts nothing.
  {
    Program stop({QStringLiteral("-stop")});
    ASSERT_TRUE(stop.Started());
    EXPECT_TRUE(stop.EndsCleanly(30s));
    EXPECT_FALSE(QFileInfo::exists(InstanceChannel::SocketPath()));
  }

  Program first({});
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(WaitForFile(InstanceChannel::SocketPath()));
  // Not listening yet: nothing answers on the line.
  ASSERT_TRUE(pty.WriteMaster(testing::Packet(kCommandPresentationName)));
  EXPECT_TRUE(pty.ReadMasterUntilQuiet(300ms).empty());

  // A second start with "-start" makes the first one listen, and ends.
  {
    Program second({QStringLiteral("-start")});
    ASSERT_TRUE(second.Started());
    EXPECT_TRUE(second.EndsCleanly(30s));
  }
  ASSERT_TRUE(pty.WriteMaster(testing::Packet(kCommandHello)));
  // The request written before it listened is answered too, first.
  EXPECT_EQ(pty.ReadMaster(14, 10s), testing::Reply(6, 2));
  const testing::Bytes reply = pty.ReadMaster(28, 10s);
  ASSERT_EQ(reply.size(), 28u);
  EXPECT_EQ(reply, testing::HelloReply(ReadU32BE(&reply[20])));
  EXPECT_EQ(reply[27], 80);
  EXPECT_TRUE(first.Running());

  // "-stop" ends it, and it lets go of the port.
  {
    Program stop({QStringLiteral("-stop")});
    ASSERT_TRUE(stop.Started());
    EXPECT_TRUE(stop.EndsCleanly(30s));
  }
  EXPECT_TRUE(first.EndsCleanly(30s));
  serial::SerialPort port;
  std::error_code error;
  EXPECT_TRUE(port.Open(pty.SlavePath(), error));
}

}  // namespace
}  // namespace brevora::remote::app

namespace brevora::remote::app {
namespace {

TEST(Program, StopReachesAnInstanceWhileItShowsAMessage) {
  // No port chosen yet: "-start" makes the running instance ask for one, in a
  // message box it waits on; "-stop" still ends it cleanly.
  Program first({});
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(WaitForFile(InstanceChannel::SocketPath()));
  {
    Program start({QStringLiteral("-start")});
    ASSERT_TRUE(start.Started());
    EXPECT_TRUE(start.EndsCleanly(30s));
  }
  std::this_thread::sleep_for(200ms);
  EXPECT_TRUE(first.Running());
  {
    Program stop({QStringLiteral("-stop")});
    ASSERT_TRUE(stop.Started());
    EXPECT_TRUE(stop.EndsCleanly(30s));
  }
  EXPECT_TRUE(first.EndsCleanly(30s));
  EXPECT_FALSE(QFileInfo::exists(InstanceChannel::SocketPath()));
}

}  // namespace
}  // namespace brevora::remote::app

namespace brevora::remote::app {
namespace {

TEST(Program, StopNeedsNoDisplay) {
  using Display = Program::Display;
  // None running: "-stop" ends at once, quietly; any other start needs a display.
  {
    Program stop({QStringLiteral("-stop")}, Display::kNone);
    ASSERT_TRUE(stop.Started());
    EXPECT_EQ(stop.ExitCode(30s), 0);
    EXPECT_EQ(stop.Output(), "");
  }
  {
    Program start({QStringLiteral("-start")}, Display::kNone);
    ASSERT_TRUE(start.Started());
    EXPECT_EQ(start.ExitCode(30s), 2);
    EXPECT_EQ(start.Output(), "vantapc: no display to show the window on.\n");
  }

  // One running (on a display): a start without one hands it its command,
  // and "-stop" ends it.
  Program first({});
  ASSERT_TRUE(first.Started());
  ASSERT_TRUE(WaitForFile(InstanceChannel::SocketPath()));
  {
    Program show({}, Display::kNone);
    ASSERT_TRUE(show.Started());
    EXPECT_EQ(show.ExitCode(30s), 0) << show.Output();
  }
  EXPECT_TRUE(first.Running());
  {
    Program stop({QStringLiteral("-stop")}, Display::kNone);
    ASSERT_TRUE(stop.Started());
    EXPECT_EQ(stop.ExitCode(30s), 0) << stop.Output();
    EXPECT_EQ(stop.Output(), "");
  }
  EXPECT_TRUE(first.EndsCleanly(30s)) << first.Output();
  EXPECT_FALSE(QFileInfo::exists(InstanceChannel::SocketPath()));
}

}  // namespace
}  // namespace brevora::remote::app

namespace brevora::remote::app {
namespace {

// A socket at `path` that takes connections (into its backlog) and never
// answers, as an instance that hangs.
class SilentListener {
 public:
  explicit SilentListener(const std::string& path) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    listening_ = fd_ >= 0 && path.size() < sizeof address.sun_path &&
                 ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                 ::listen(fd_, 4) == 0;
  }
  ~SilentListener() {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Listening() const { return listening_; }

 private:
  int fd_;
  bool listening_ = false;
};

TEST(InstanceChannel, AnInstanceThatDoesNotAnswerIsNotTakenOver) {
  const std::string path = InstanceChannel::SocketPath().toStdString();
  SilentListener hung(path);
  ASSERT_TRUE(hung.Listening());
  EXPECT_EQ(HandToRunningInstance(path, StartupAction::kStop, 200ms), Handover::kNoAnswer);

  // The program says so and leaves the socket to it, with or without a display.
  Program stop({QStringLiteral("-stop")}, Program::Display::kNone);
  ASSERT_TRUE(stop.Started());
  EXPECT_EQ(stop.ExitCode(30s), 1);
  EXPECT_EQ(stop.Output(), "vantapc: the running VantaPC does not answer; nothing was done.\n");
  EXPECT_TRUE(QFileInfo::exists(InstanceChannel::SocketPath()));
}

}  // namespace
}  // namespace brevora::remote::app
