#include "platform/services/event_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/fs/paths.h"
#include "platform/services/service_slot.h"
#include "platform/text/codepage.h"

namespace brevora::services {
namespace {

ServiceSlot<EventLog, FileEventLog>& Slot() {
  static ServiceSlot<EventLog, FileEventLog> slot;
  return slot;
}

// The entry as the lines it takes in the file, each further line after a tab.
std::string FormatEntry(std::string_view text) {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  char stamp[64];
  std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d [%d] ", tm.tm_year + 1900,
                tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                static_cast<int>(getpid()));
  std::string line = stamp;
  const std::string utf8 = text::CpToUtf8(text);
  for (size_t i = 0; i < utf8.size(); ++i) {
    const char c = utf8[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
      line += "\n\t";
    } else {
      line.push_back(c);
    }
  }
  line.push_back('\n');
  return line;
}

}  // namespace

void FileEventLog::Write(std::string_view text) {
  const std::string entry = FormatEntry(text);
  try {
    const std::string path = fs::NativePath(fs::JoinPath(fs::StateDir(), kEventLogFileName));
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd >= 0) {
      // One write per entry, so entries of several processes don't interleave.
      const ssize_t n = write(fd, entry.data(), entry.size());
      close(fd);
      if (n == static_cast<ssize_t>(entry.size())) return;
    }
  } catch (...) {
    // No state folder: fall through to stderr.
  }
  std::fprintf(stderr, "event log: %s", entry.c_str());
}

void RecordingEventLog::Write(std::string_view text) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.emplace_back(text);
}

std::vector<std::string> RecordingEventLog::entries() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_;
}

std::shared_ptr<EventLog> CurrentEventLog() { return Slot().Get(); }

std::shared_ptr<EventLog> InstallEventLog(std::shared_ptr<EventLog> log) {
  return Slot().Install(std::move(log));
}

void WriteToEventLog(std::string_view text) { CurrentEventLog()->Write(text); }

}  // namespace brevora::services
