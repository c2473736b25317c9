#include "platform/serial/serial_port.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/serial/port_list.h"
#include "platform/serial/pseudo_terminal.h"
#include "testing/temp_home.h"

namespace brevora::serial {
namespace {

using namespace std::chrono_literals;

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

SerialPort OpenConfigured(const std::string& path, Timeouts timeouts = {}) {
  SerialPort port;
  std::error_code error;
  EXPECT_TRUE(port.Open(path, error)) << error.message();
  EXPECT_TRUE(port.Configure(timeouts, error)) << error.message();
  return port;
}

TEST(SerialPort, CarriesBytesBothWaysOverAPseudoTerminal) {
  PseudoTerminal pty;
  SerialPort port = OpenConfigured(pty.SlavePath());
  ASSERT_TRUE(pty.WriteMaster(Bytes(std::string_view("PSPD\x00\x01", 6))));
  uint8_t buffer[64];
  size_t got = 0;
  while (got < 6) {
    const size_t n = port.Read(std::span(buffer + got, sizeof buffer - got));
    ASSERT_GT(n, 0u);
    got += n;
  }
  EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), got), std::string("PSPD\x00\x01", 6));

  // Raw mode: CR, LF, NUL and 0xFF pass unchanged in both directions.
  const std::vector<uint8_t> binary = {'\r', '\n', 0, 0xFF, 0x03, 0x11, 0x13};
  ASSERT_TRUE(port.Write(binary));
  EXPECT_EQ(pty.ReadMaster(binary.size(), 2s), binary);
  ASSERT_TRUE(pty.WriteMaster(binary));
  got = 0;
  while (got < binary.size()) {
    const size_t n = port.Read(std::span(buffer + got, sizeof buffer - got));
    ASSERT_GT(n, 0u);
    got += n;
  }
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + got), binary);
}

TEST(SerialPort, ReadReturnsNothingWhenNoBytesCome) {
  PseudoTerminal pty;
  SerialPort port = OpenConfigured(pty.SlavePath(), Timeouts{20ms, 100ms});
  uint8_t buffer[16];
  EXPECT_EQ(port.Read(buffer), 0u);
}

TEST(SerialPort, IsExclusiveUntilClosed) {
  PseudoTerminal pty;
  SerialPort first;
  std::error_code error;
  ASSERT_TRUE(first.Open(pty.SlavePath(), error)) << error.message();

  SerialPort second;
  EXPECT_FALSE(second.Open(pty.SlavePath(), error));
  EXPECT_FALSE(second.IsOpen());
  EXPECT_TRUE(error);

  first.Close();
  EXPECT_TRUE(second.Open(pty.SlavePath(), error)) << error.message();
}

TEST(SerialPort, OpensOnlyWhatExists) {
  const std::string dir = testing::MakeTempDir("dev");
  const std::string missing = dir + "/rfcomm7";
  SerialPort port;
  std::error_code error;
  EXPECT_FALSE(port.Open(missing, error));
  EXPECT_EQ(error, std::errc::no_such_file_or_directory);
  EXPECT_FALSE(std::filesystem::exists(missing));  // never created
  EXPECT_FALSE(port.Open("", error));
  EXPECT_FALSE(port.Open(dir, error));  // a folder
}

TEST(SerialPort, ConfigureRefusesWhatIsNotALine) {
  const std::string file = testing::MakeTempDir("dev") + "/notaport";
  std::ofstream(file) << "x";
  SerialPort port;
  std::error_code error;
  ASSERT_TRUE(port.Open(file, error)) << error.message();
  EXPECT_FALSE(port.Configure({}, error));
  EXPECT_TRUE(error);
  port.Close();
  EXPECT_FALSE(port.IsOpen());
}

TEST(SerialPort, MovesOwnership) {
  PseudoTerminal pty;
  SerialPort a = OpenConfigured(pty.SlavePath());
  const int fd = a.NativeHandle();
  SerialPort b(std::move(a));
  EXPECT_FALSE(a.IsOpen());
  EXPECT_EQ(b.NativeHandle(), fd);
  SerialPort c;
  c = std::move(b);
  EXPECT_EQ(c.NativeHandle(), fd);
  EXPECT_FALSE(b.IsOpen());
}

TEST(SerialPort, ReadAfterTheFarEndHungUpWaitsAndReturnsNothing) {
  auto pty = std::make_unique<PseudoTerminal>();
  SerialPort port = OpenConfigured(pty->SlavePath(), Timeouts{30ms, 100ms});
  pty.reset();  // both ends of the pair gone: the line hung up
  uint8_t buffer[8];
  EXPECT_EQ(port.Read(buffer), 0u);
  EXPECT_FALSE(port.Write(Bytes("x")));
}

TEST(PortList, ListsSerialDevicesByKindAndNumber) {
  const std::string dir = testing::MakeTempDir("dev");
  for (const char* name : {"ttyS10", "ttyS2", "rfcomm1", "ttyUSB0", "ttyACM3", "rfcomm0", "tty0",
                           "ttyS", "ttySx", "null", "rfcomm01x", "ttyAMA0"}) {
    std::ofstream(dir + "/" + name);
  }
  const std::vector<std::string> expected = {dir + "/rfcomm0", dir + "/rfcomm1", dir + "/ttyUSB0",
                                             dir + "/ttyACM3", dir + "/ttyS2",   dir + "/ttyS10"};
  EXPECT_EQ(ListPorts(dir), expected);
  EXPECT_TRUE(ListPorts(dir + "/missing").empty());
}

}  // namespace
}  // namespace brevora::serial
