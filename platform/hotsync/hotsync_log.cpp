#include "platform/hotsync/hotsync_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/hotsync/device_file_io.h"
#include "platform/hotsync/sync_manager.h"
#include "platform/hotsync/unique_fd.h"
#include "platform/text/codepage.h"

namespace brevora::hotsync {
namespace {

constexpr std::string_view kHeadingStart = "--- HotSync ";
// A log file larger than this is not trimmed by reading it: it is started anew.
constexpr uint64_t kMaxLogSize = 64 * 1024 * 1024;

struct LogState {
  std::mutex mutex;
  std::shared_ptr<LogSink> sink;
  std::string runPath;  // native path of the open run's file, "" when none
  bool runFailed = false;
};

LogState& State() {
  static LogState state;
  return state;
}

std::string Clock(std::time_t time, bool withDate) {
  std::tm tm{};
  localtime_r(&time, &tm);
  char text[80];
  if (withDate) {
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", tm.tm_year + 1900,
                  tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec);
  } else {
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
  }
  return text;
}

void AppendToFile(const std::string& native, const std::string& lines) {
  const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
  ssize_t n = -1;
  if (fd >= 0) {
    n = write(fd, lines.data(), lines.size());  // one write: entries never interleave
    close(fd);
  }
  if (n != static_cast<ssize_t>(lines.size())) {
    std::fprintf(stderr, "hotsync: can't write the HotSync log %s: %s", native.c_str(),
                 lines.c_str());
  }
}

// The runs of `text` that a new run keeps: the last kKeptRuns - 1, whole,
// ending in a line end (a log cut short in its last line, by a full disk, still
// has the new run's heading begin a line).
std::string KeptRuns(std::string_view text) {
  std::vector<std::size_t> starts;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text.substr(at).starts_with(kHeadingStart)) starts.push_back(at);
    const std::size_t lf = text.find('\n', at);
    if (lf == std::string_view::npos) break;
    at = lf + 1;
  }
  if (starts.empty()) return {};
  const std::size_t first =
      starts.size() < kKeptRuns ? starts[0] : starts[starts.size() - (kKeptRuns - 1)];
  std::string kept(text.substr(first));
  if (kept.back() != '\n') kept.push_back('\n');
  return kept;
}

}  // namespace

void RecordingLogSink::Add(const LogEntry& entry) {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.push_back(entry);
}

std::vector<LogEntry> RecordingLogSink::entries() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return entries_;
}

void RecordingLogSink::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  entries_.clear();
}

std::shared_ptr<LogSink> InstallLogSink(std::shared_ptr<LogSink> sink) {
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  std::swap(state.sink, sink);
  return sink;
}

std::string ActivityWord(int32_t activity) {
  switch (activity) {
    case kLogText:
      return "Info";
    case kLogConduitDone:
      return "OK";
    case kLogFileError:
      return "FileError";
    case kLogConduitFailed:
      return "Failed";
    default:
      return "Activity" + std::to_string(activity);
  }
}

std::string FormatLogLines(const LogEntry& entry, std::time_t time) {
  std::string text = text::CpToUtf8(entry.text);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  std::string lines = Clock(time, false) + ' ' + ActivityWord(entry.activity) + ' ';
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      lines += "\n\t";
    } else {
      lines.push_back(c);
    }
  }
  lines.push_back('\n');
  return lines;
}

LogRun::LogRun(const std::string& userFolder, const std::string& heading)
    : path_(fs::JoinPath(userFolder, kLogFileName)) {
  LogState& state = State();
  {
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.runPath.empty()) RaiseError(5, "LogRun", "A HotSync log run is open already.");
  }
  std::string kept;
  if (fs::FileExists(path_) && fs::FileSize(path_) <= kMaxLogSize) {
    const std::vector<uint8_t> bytes = fs::ReadWholeFile(path_);
    kept = KeptRuns(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  kept += std::string(kHeadingStart) + text::CpToUtf8(heading) + ' ' +
          Clock(std::time(nullptr), true) + " ---\n";
  // Through a temporary file, not flushed to the disk: a log may lose its
  // last run in a crash, but is never torn.
  const std::string native = fs::NativePath(path_);
  const std::size_t slash = native.rfind('/');
  const std::string folder = slash == std::string::npos ? "."
                             : slash == 0               ? "/"
                                                        : native.substr(0, slash);
  const UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!dir) RaiseError(76, "LogRun", "The HotSync log's folder " + folder + " can't be opened.");
  const int32_t rc = WriteWholeFile(
      dir.get(), native.substr(slash + 1), true,
      [&](const auto& sink) {
        sink(std::span(reinterpret_cast<const uint8_t*>(kept.data()), kept.size()));
      },
      false);
  if (rc != kSyncOk) RaiseError(75, "LogRun", "The HotSync log " + native + " can't be written.");
  std::lock_guard<std::mutex> lock(state.mutex);
  state.runPath = fs::NativePath(path_);
  state.runFailed = false;
}

LogRun::~LogRun() {
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  state.runPath.clear();
}

bool LogRun::anyFailure() const {
  LogState& state = State();
  std::lock_guard<std::mutex> lock(state.mutex);
  return state.runFailed;
}

}  // namespace brevora::hotsync

extern "C" int32_t LogAddEntry(const char* text, int32_t activity, int32_t timestamp) {
  using namespace brevora::hotsync;
  try {
    const LogEntry entry{text ? std::string(text) : std::string(), activity, timestamp != 0};
    LogState& state = State();
    std::shared_ptr<LogSink> sink;
    std::string path;
    {
      std::lock_guard<std::mutex> lock(state.mutex);
      sink = state.sink;
      path = state.runPath;
      if (!path.empty() && activity == kLogConduitFailed) state.runFailed = true;
    }
    if (!path.empty()) AppendToFile(path, FormatLogLines(entry, std::time(nullptr)));
    if (sink) sink->Add(entry);
  } catch (...) {
    // The log is where failures go; it has nowhere to report its own.
  }
  return 0;
}
