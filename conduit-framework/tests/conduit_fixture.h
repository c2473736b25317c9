#pragma once
// Test support that every conduit's tests build on: a device folder, the
// conduit's desktop folder, a recording HotSync log, both sides' files as
// plain values, in-process runs of the conduit's Product, and runs of the
// `hotsync` program with the conduit's plug-in registered for the user
// "Alice". A conduit's fixture derives from ConduitTest with its Product and
// adds its own formats.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "conduit-framework/product.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/hotsync_log.h"
#include "testing/handheld_folder.h"
#include "testing/run_program.h"

namespace brevora::conduit::testing {

using brevora::testing::TestDatabase;

// Both sides: the desktop files by path under the conduit's folder (a folder
// as its path and '/', with no text), the handheld databases by name.
struct Snapshot {
  std::map<std::string, std::string> desktop;
  std::map<std::string, TestDatabase> handheld;
  bool operator==(const Snapshot&) const = default;
};
void PrintTo(const Snapshot& snapshot, std::ostream* out);

// A log file's text with its dates as "<date>" and the times that begin its
// lines left out.
std::string Untimed(std::string log);

// One run of the `hotsync` program.
brevora::testing::ProgramResult RunHotSync(const std::vector<std::string>& args);

class ConduitTest : public ::testing::Test {
 protected:
  // The category IDs of a new handheld's categories; the first user of a
  // fresh desktop.
  static constexpr uint8_t kUnfiled = 0;
  static constexpr uint8_t kBusiness = 1;
  static constexpr uint8_t kPersonal = 2;
  static constexpr int32_t kAlice = 1;

  explicit ConduitTest(const Product& product) : product_(product) {}
  void SetUp() override;
  void TearDown() override;

  // Files on either side (a handheld written while a device session is open
  // closes it, as a new HotSync would find the handheld).
  std::string DesktopPath(const std::string& category, const std::string& name) const;
  void PutDesktop(const std::string& category, const std::string& name, const std::string& text);
  std::optional<std::string> Desktop(const std::string& category, const std::string& name) const;
  void PutHandheld(const TestDatabase& db);
  std::optional<TestDatabase> HandheldDatabase(const std::string& name) const;
  std::map<std::string, std::string> DesktopFiles() const;
  std::map<std::string, TestDatabase> HandheldDatabases() const;
  Snapshot State() const;

  // A device session for calls made by the test itself.
  void Connect(const hotsync::Faults& faults = {});
  void Disconnect() { session_.reset(); }
  // An in-process run of the conduit with a fresh device session.
  void Run(int32_t syncType, const hotsync::Faults& faults = {});
  // The log entries since the last ClearLog: their texts and activities.
  std::vector<std::string> LogTexts() const;
  std::vector<int32_t> LogActivities() const;
  bool Logged(const std::string& text) const;
  void ClearLog() { log_->Clear(); }

  // Through the `hotsync` program: registers the conduit's plug-in `plugin`;
  // the desktop folder becomes the conduit's folder of the user "Alice".
  void UseHost(const std::string& plugin);
  // sync --device <device> --user Alice, and `extra`.
  brevora::testing::ProgramResult Sync(const std::vector<std::string>& extra = {});
  std::string LogFile() const;
  // The lines of the last run in the log file, untimed.
  std::vector<std::string> LastRun() const;
  bool LastRunHas(const std::string& line) const;
  // The sync type of Alice's next HotSync of the conduit alone.
  void SetOnce(int32_t type);
  // The handheld last synchronized with another desktop.
  void FromAnotherDesktop();

  const Product& product_;
  std::string device_;
  std::string userFolder_;  // ends in '/'
  std::string desktop_;     // the conduit's folder, userFolder_ + its name + '/'
  std::shared_ptr<hotsync::RecordingLogSink> log_;
  std::unique_ptr<hotsync::DeviceSession> session_;
};

}  // namespace brevora::conduit::testing
