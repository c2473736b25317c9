#pragma once
// Test support for the framework's tests with the TextTest conduit: a device
// folder, a desktop folder, a recording HotSync log, and the two sides' files
// as plain values. In-process runs call the framework's OpenConduit; the host
// runs go through the `hotsync` program with the TextTest plug-in registered.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/hotsync/device.h"
#include "platform/hotsync/hotsync_log.h"
#include "testing/handheld_folder.h"
#include "testing/run_program.h"

namespace brevora::texttest::testing {

using brevora::testing::TestDatabase;

// A handheld text database: category ID, modified, server sync, body.
struct Handheld {
  uint8_t category = 0;
  bool modified = false;
  bool serverSync = false;
  std::string body;
  uint16_t version = 2;
  bool operator==(const Handheld&) const = default;
};

// The desktop file's text for a body.
std::string DesktopText(const std::string& body, bool modified, const std::string& link = "-");
TestDatabase HandheldDatabase(const std::string& name, const Handheld& h);
// nullopt when the database is missing or is not a text database of one record.
std::optional<Handheld> ReadHandheld(const TestDatabase& db);

// The whole state of both sides: desktop files by path under the desktop
// folder, handheld databases by name (contents only).
struct Snapshot {
  std::map<std::string, std::string> desktop;
  std::map<std::string, TestDatabase> handheld;
  bool operator==(const Snapshot&) const = default;
};
void PrintTo(const Snapshot& snapshot, std::ostream* out);

class ConduitTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes files on either side (the device session is reopened afterwards,
  // as a new HotSync would find them).
  void PutDesktop(const std::string& category, const std::string& name, const std::string& text);
  void PutHandheld(const std::string& name, const Handheld& handheld);
  void PutHandheld(const TestDatabase& db);
  std::optional<std::string> Desktop(const std::string& category, const std::string& name) const;
  std::optional<Handheld> HandheldCopy(const std::string& name) const;
  std::optional<TestDatabase> HandheldDatabase(const std::string& name) const;
  Snapshot State() const;

  // An in-process run of the conduit with a fresh device session (with faults).
  void Run(int32_t syncType, const hotsync::Faults& faults = {});
  // The texts of the log entries since the last ClearLog, and their activities.
  std::vector<std::string> LogTexts() const;
  std::vector<int32_t> LogActivities() const;
  void ClearLog() { log_->Clear(); }
  void Reconnect();

  std::string device_;
  std::string desktop_;  // ends in '/'
  std::shared_ptr<hotsync::RecordingLogSink> log_;
  std::unique_ptr<hotsync::DeviceSession> session_;
};

// One run of the `hotsync` program: its exit status, stdout and stderr.
using HostResult = brevora::testing::ProgramResult;
HostResult RunHotSync(const std::vector<std::string>& args);

// Tests through the `hotsync` program: the TextTest plug-in registered, the
// desktop folder is the conduit's folder of the user "Alice".
class HostTest : public ConduitTest {
 protected:
  void SetUp() override;
  // sync --device <device> --user Alice, and `extra`.
  HostResult Sync(const std::vector<std::string>& extra = {});
  std::string LogFile() const;
  std::string userFolder_;
};

}  // namespace brevora::texttest::testing
