#pragma once
// The HotSync log: what conduits tell the user about a HotSync. LogAddEntry
// appends an entry to the log run that the host has open (a LogRun on the
// user's "hotsync.log") and hands it to the installed sink (tests record
// entries there); with neither, the entry goes nowhere. It never fails.
//
// The file, UTF-8 text with LF line ends, holds the last kKeptRuns runs. A run
// starts with its heading line, "--- HotSync <heading> <YYYY-MM-DD HH:MM:SS> ---";
// each entry is one line, "HH:MM:SS <activity word> <text>", where the word is
// "Info" (activity -1), "OK" (20, conduit finished), "FileError" (21), "Failed"
// (22, conduit failed) or "Activity<n>" for any other number. Line breaks inside
// a text continue it on lines that begin with a tab; a line break at its end is
// dropped. Every line carries its time, so an entry's time-stamp flag, kept for
// the sink, changes nothing in the file.
#include <stdint.h>

#include "platform/hotsync/hotsync_api.h"

#ifdef __cplusplus
extern "C" {
#endif

enum { kLogText = -1, kLogConduitDone = 20, kLogFileError = 21, kLogConduitFailed = 22 };

// Appends `text` (code page) with its activity; `timestamp` non-zero asks for the
// time to be shown with it. Returns 0.
HOTSYNC_API int32_t LogAddEntry(const char* text, int32_t activity, int32_t timestamp);

#ifdef __cplusplus
}  // extern "C"

#include <ctime>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace brevora::hotsync {

inline constexpr const char* kLogFileName = "hotsync.log";
inline constexpr std::size_t kKeptRuns = 20;

struct LogEntry {
  std::string text;  // code page
  int32_t activity = kLogText;
  bool timestamp = false;
  bool operator==(const LogEntry&) const = default;
};

class LogSink {
 public:
  virtual ~LogSink() = default;
  virtual void Add(const LogEntry& entry) = 0;
};

class RecordingLogSink : public LogSink {
 public:
  void Add(const LogEntry& entry) override;
  std::vector<LogEntry> entries() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<LogEntry> entries_;
};

// Installs `sink` for the process (nullptr: none); returns the previous one.
std::shared_ptr<LogSink> InstallLogSink(std::shared_ptr<LogSink> sink);

std::string ActivityWord(int32_t activity);
// The file's lines of one entry at `time` (local), each ending in LF.
std::string FormatLogLines(const LogEntry& entry, std::time_t time);

// One run of a user's log file: construction trims the file to the runs before
// this one that it keeps and writes this run's heading (through a temporary
// file + rename); while it lives, entries are appended to it. One at a time per
// process. Raises the file error when the folder can't be written; a log that
// breaks later only loses entries (reported on stderr).
class LogRun {
 public:
  LogRun(const std::string& userFolder, const std::string& heading);
  ~LogRun();
  LogRun(const LogRun&) = delete;
  LogRun& operator=(const LogRun&) = delete;

  const std::string& path() const { return path_; }  // system path
  // Whether an entry of this run carried activity 22 (a conduit failed).
  bool anyFailure() const;

 private:
  std::string path_;
};

}  // namespace brevora::hotsync
#endif
