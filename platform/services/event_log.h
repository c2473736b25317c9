#pragma once
// The application event log: one line per entry in <StateDir>/eventlog.txt,
// "YYYY-MM-DD HH:MM:SS [pid] text" in local time and UTF-8; the further lines of
// a multi-line text follow as lines starting with a tab. Writing never raises: the
// log is where failures are reported, so a log that can't be written says so on
// stderr instead. Tests install a RecordingEventLog.
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::services {

inline constexpr const char* kEventLogFileName = "eventlog.txt";

class EventLog {
 public:
  virtual ~EventLog() = default;
  virtual void Write(std::string_view text) = 0;  // code page
};

class FileEventLog : public EventLog {
 public:
  void Write(std::string_view text) override;
};

class RecordingEventLog : public EventLog {
 public:
  void Write(std::string_view text) override;
  std::vector<std::string> entries() const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> entries_;
};

std::shared_ptr<EventLog> CurrentEventLog();
// Installs `log` for the process (nullptr: the default); returns the previous one.
std::shared_ptr<EventLog> InstallEventLog(std::shared_ptr<EventLog> log);
void WriteToEventLog(std::string_view text);

}  // namespace brevora::services
