#include "conduit-framework/tests/conduit_fixture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "conduit-framework/conduit_run.h"
#include "platform/hotsync/conduit_api.h"
#include "platform/hotsync/device_identity.h"
#include "platform/hotsync/host/host_commands.h"
#include "testing/temp_home.h"

namespace brevora::conduit::testing {

namespace stdfs = std::filesystem;

namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Contains(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A creator code as its four characters.
std::string CodeText(uint32_t code) {
  return {static_cast<char>(code >> 24), static_cast<char>(code >> 16),
          static_cast<char>(code >> 8), static_cast<char>(code)};
}

}  // namespace

void PrintTo(const Snapshot& snapshot, std::ostream* out) {
  *out << "desktop:";
  for (const auto& [path, text] : snapshot.desktop)
    *out << " [" << path << "]=" << text.size() << "b";
  *out << " handheld:";
  for (const auto& [name, db] : snapshot.handheld) {
    *out << " [" << name << " v" << db.version << " " << db.records.size() << " records]";
  }
}

std::string Untimed(std::string log) {
  log = std::regex_replace(log, std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"), "<date>");
  return std::regex_replace(log, std::regex("(^|\\n)\\d\\d:\\d\\d:\\d\\d "), "$1");
}

brevora::testing::ProgramResult RunHotSync(const std::vector<std::string>& args) {
  return brevora::testing::RunProgram(HOTSYNC_PROGRAM, args);
}

void ConduitTest::SetUp() {
  device_ = brevora::testing::MakeTempDir("device");
  userFolder_ = brevora::testing::MakeTempDir("user") + "/";
  desktop_ = userFolder_ + product_.name + "/";
  log_ = std::make_shared<hotsync::RecordingLogSink>();
  hotsync::InstallLogSink(log_);
}

void ConduitTest::TearDown() {
  session_.reset();
  hotsync::InstallLogSink(nullptr);
}

std::string ConduitTest::DesktopPath(const std::string& category, const std::string& name) const {
  return desktop_ + category + "/" + name + product_.extension;
}

void ConduitTest::PutDesktop(const std::string& category, const std::string& name,
                             const std::string& text) {
  stdfs::create_directories(desktop_ + category);
  std::ofstream(DesktopPath(category, name), std::ios::binary | std::ios::trunc) << text;
}

std::optional<std::string> ConduitTest::Desktop(const std::string& category,
                                                const std::string& name) const {
  std::ifstream in(DesktopPath(category, name), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void ConduitTest::PutHandheld(const TestDatabase& db) {
  session_.reset();
  brevora::testing::PutDatabase(device_, db);
}

std::optional<TestDatabase> ConduitTest::HandheldDatabase(const std::string& name) const {
  return brevora::testing::GetDatabase(device_, name);
}

std::map<std::string, std::string> ConduitTest::DesktopFiles() const {
  std::map<std::string, std::string> files;
  if (!stdfs::exists(desktop_)) return files;
  for (const auto& entry : stdfs::recursive_directory_iterator(desktop_)) {
    const std::string relative = stdfs::relative(entry.path(), desktop_).string();
    files[entry.is_directory() ? relative + "/" : relative] =
        entry.is_directory() ? "" : FileText(entry.path());
  }
  return files;
}

std::map<std::string, TestDatabase> ConduitTest::HandheldDatabases() const {
  std::map<std::string, TestDatabase> dbs;
  for (const std::string& name : brevora::testing::DatabaseNames(device_))
    dbs[name] = *HandheldDatabase(name);
  return dbs;
}

Snapshot ConduitTest::State() const { return {DesktopFiles(), HandheldDatabases()}; }

void ConduitTest::Connect(const hotsync::Faults& faults) {
  session_.reset();
  session_ = std::make_unique<hotsync::DeviceSession>(device_, faults);
}

void ConduitTest::Run(int32_t syncType, const hotsync::Faults& faults) {
  Connect(faults);
  CSyncProperties properties{};
  properties.syncType = syncType;
  std::strncpy(properties.localDirectory, desktop_.c_str(), sizeof properties.localDirectory - 1);
  OpenConduit(product_, nullptr, &properties);
  session_.reset();
}

std::vector<std::string> ConduitTest::LogTexts() const {
  std::vector<std::string> texts;
  for (const auto& e : log_->entries()) texts.push_back(e.text);
  return texts;
}

std::vector<int32_t> ConduitTest::LogActivities() const {
  std::vector<int32_t> activities;
  for (const auto& e : log_->entries()) activities.push_back(e.activity);
  return activities;
}

bool ConduitTest::Logged(const std::string& text) const { return Contains(LogTexts(), text); }

void ConduitTest::UseHost(const std::string& plugin) {
  userFolder_ = brevora::testing::TempHome() + "/HotSync/Alice/";
  desktop_ = userFolder_ + product_.name + "/";
  const auto registered =
      RunHotSync({"register", "--name", product_.name, "--library", plugin, "--directory",
                  product_.name, "--creator", CodeText(product_.creator)});
  ASSERT_EQ(registered.status, 0) << registered.err;
}

brevora::testing::ProgramResult ConduitTest::Sync(const std::vector<std::string>& extra) {
  session_.reset();
  std::vector<std::string> args = {"sync", "--device", device_, "--user", "Alice"};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunHotSync(args);
}

std::string ConduitTest::LogFile() const { return FileText(userFolder_ + "hotsync.log"); }

std::vector<std::string> ConduitTest::LastRun() const {
  const std::string log = Untimed(LogFile());
  const std::size_t start = log.rfind("--- HotSync ");
  std::vector<std::string> lines;
  std::istringstream in(log.substr(start == std::string::npos ? 0 : start));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool ConduitTest::LastRunHas(const std::string& line) const { return Contains(LastRun(), line); }

void ConduitTest::SetOnce(int32_t type) {
  hotsync::host::SyncAction action = hotsync::host::ReadSyncAction(kAlice, product_.name);
  action.once = type;
  hotsync::host::WriteSyncAction(kAlice, product_.name, action);
}

void ConduitTest::FromAnotherDesktop() {
  auto identity = *hotsync::ReadIdentity(device_);
  identity.desktop = "00000000000000ff";
  hotsync::WriteIdentity(device_, identity);
}

}  // namespace brevora::conduit::testing
