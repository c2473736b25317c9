#pragma once
// Registry and folder fixtures for the user tests: a Palm Desktop install with
// its HotSync users folder under the test's home, the phone suite's devices,
// and the RivorOdurov settings keys, seeded from REGEDIT4 text.
#include <memory>
#include <string>

#include "platform/fs/files.h"
#include "platform/hotsync/user_list.h"
#include "platform/registry/registry.h"
#include "platform/services/event_log.h"
#include "testing/temp_home.h"

namespace brevora::core::test {

inline constexpr const char* kUsRoboticsKey = "Software\\U.S. Robotics\\Pilot Desktop";
inline constexpr const char* kPalmComputingKey = "Software\\Palm Computing\\Pilot Desktop";

// Palm Desktop under `rootKey` whose "Core"\"Path" is `folder` (created unless
// `create` is false). Returns `folder`.
inline std::string SeedPalmDesktop(const std::string& folder, const char* rootKey = kUsRoboticsKey,
                                   bool create = true) {
  registry::ImportRegedit(std::string("REGEDIT4\n\n[HKEY_CURRENT_USER\\") + rootKey +
                          "]\n\"Version\"=dword:00000004\n\n[HKEY_CURRENT_USER\\" + rootKey +
                          "\\Core]\n");
  registry::SetValue(registry::Hive::CurrentUser, std::string(rootKey) + "\\Core", "Path",
                     registry::Value::String(folder));
  if (create) fs::MakeFolder(folder);
  return folder;
}

// The default HotSync folder of a test: <home>/Palm.
inline std::string PalmFolder() { return testing::TempHome() + "/Palm"; }

inline void AddPalmUser(int32_t id, const std::string& name, const std::string& directory) {
  hotsync::AddUser({id, name, directory});
}

// The phone suite with two devices (stored in this order).
inline constexpr const char* kNokiaSuite =
    "REGEDIT4\n\n"
    "[HKEY_CURRENT_USER\\Software\\Nokia]\n\n"
    "[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia3650]\n\n"
    "[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia3650\\EPOCDevices]\n\n"
    "[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia3650\\EPOCDevices\\Nokia 3650 Anna]\n"
    "\"DataPath\"=\"/phones/anna\"\n"
    "\"UID\"=\"1234567890\"\n\n"
    "[HKEY_CURRENT_USER\\Software\\Nokia\\PCSuiteForNokia3650\\EPOCDevices\\Ben's phone]\n"
    "\"DataPath\"=\"/phones/ben\"\n"
    "\"UID\"=\"0x10005E33\"\n";

inline constexpr const char* kRivorOdurovUserKey =
    "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vaderudo Diduzuzodoru\\RivorOdurov\\Settings]\n";
inline constexpr const char* kRivorOdurovDefaultKey =
    "REGEDIT4\n\n[HKEY_USERS\\.DEFAULT\\Software\\ZazerWare\\RivorOdurov\\Settings]\n";

// Installs a recording event log for the life of the object.
class RecordedEventLog {
 public:
  RecordedEventLog() : log_(std::make_shared<services::RecordingEventLog>()) {
    previous_ = services::InstallEventLog(log_);
  }
  ~RecordedEventLog() { services::InstallEventLog(previous_); }
  RecordedEventLog(const RecordedEventLog&) = delete;
  RecordedEventLog& operator=(const RecordedEventLog&) = delete;
  std::vector<std::string> entries() const { return log_->entries(); }

 private:
  std::shared_ptr<services::RecordingEventLog> log_;
  std::shared_ptr<services::EventLog> previous_;
};

}  // namespace brevora::core::test
