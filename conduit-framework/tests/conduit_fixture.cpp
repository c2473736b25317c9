#include "conduit-framework/tests/conduit_fixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

#include "conduit-framework/conduit_run.h"
#include "conduit-framework/test_conduit/text_conduit.h"
#include "platform/hotsync/conduit_api.h"
#include "testing/temp_home.h"

namespace brevora::texttest::testing {

namespace stdfs = std::filesystem;

std::string DesktopText(const std::string& body, bool modified, const std::string& link) {
  return std::string(modified ? "1" : "0") + "\n2\n" + link + "\n" + body;
}

TestDatabase HandheldDatabase(const std::string& name, const Handheld& h) {
  TestDatabase db = brevora::testing::Database(name, {{static_cast<uint8_t>(h.category), 1, "-\n" + h.body}});
  db.type = "Text";
  db.creator = "TxtT";
  db.version = h.version;
  db.appInfo = std::string{static_cast<char>(h.category), static_cast<char>(h.modified ? 1 : 0),
                           static_cast<char>(h.serverSync ? 1 : 0), 0};
  return db;
}

std::optional<Handheld> ReadHandheld(const TestDatabase& db) {
  if (db.type != "Text" || db.creator != "TxtT" || db.appInfo.size() != 4 || db.records.size() != 1) {
    return std::nullopt;
  }
  const std::string& data = db.records[0].data;
  const std::size_t lf = data.find('\n');
  if (lf == std::string::npos) return std::nullopt;
  Handheld h;
  h.category = static_cast<uint8_t>(db.appInfo[0]);
  h.modified = db.appInfo[1] != 0;
  h.serverSync = db.appInfo[2] != 0;
  h.body = data.substr(lf + 1);
  h.version = db.version;
  return h;
}

void PrintTo(const Snapshot& snapshot, std::ostream* out) {
  *out << "desktop:";
  for (const auto& [path, text] : snapshot.desktop) *out << " [" << path << "]=" << text.size() << "b";
  *out << " handheld:";
  for (const auto& [name, db] : snapshot.handheld) {
    *out << " [" << name << "]";
    if (const auto h = ReadHandheld(db)) *out << "cat" << int(h->category) << (h->modified ? "*" : "") << "=" << h->body;
  }
}

void ConduitTest::SetUp() {
  device_ = brevora::testing::MakeTempDir("device");
  desktop_ = brevora::testing::MakeTempDir("user") + "/TextTest/";
  log_ = std::make_shared<hotsync::RecordingLogSink>();
  hotsync::InstallLogSink(log_);
}

void ConduitTest::TearDown() {
  session_.reset();
  hotsync::InstallLogSink(nullptr);
}

void ConduitTest::Reconnect() {
  session_.reset();
  session_ = std::make_unique<hotsync::DeviceSession>(device_);
}

void ConduitTest::PutDesktop(const std::string& category, const std::string& name, const std::string& text) {
  stdfs::create_directories(desktop_ + category);
  std::ofstream(desktop_ + category + "/" + name + ".ttx", std::ios::binary) << text;
}

void ConduitTest::PutHandheld(const std::string& name, const Handheld& handheld) {
  PutHandheld(testing::HandheldDatabase(name, handheld));
}

void ConduitTest::PutHandheld(const TestDatabase& db) {
  session_.reset();
  brevora::testing::PutDatabase(device_, db);
}

std::optional<std::string> ConduitTest::Desktop(const std::string& category, const std::string& name) const {
  std::ifstream in(desktop_ + category + "/" + name + ".ttx", std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<TestDatabase> ConduitTest::HandheldDatabase(const std::string& name) const {
  return brevora::testing::GetDatabase(device_, name);
}

std::optional<Handheld> ConduitTest::HandheldCopy(const std::string& name) const {
  const auto db = HandheldDatabase(name);
  if (!db) return std::nullopt;
  return ReadHandheld(*db);
}

Snapshot ConduitTest::State() const {
  Snapshot s;
  if (stdfs::exists(desktop_)) {
    for (const auto& entry : stdfs::recursive_directory_iterator(desktop_)) {
      const std::string relative = stdfs::relative(entry.path(), desktop_).string();
      if (entry.is_directory()) {
        s.desktop[relative + "/"] = "";
      } else {
        std::ifstream in(entry.path(), std::ios::binary);
        s.desktop[relative] = std::string(std::istreambuf_iterator<char>(in), {});
      }
    }
  }
  for (const std::string& name : brevora::testing::DatabaseNames(device_)) {
    s.handheld[name] = *HandheldDatabase(name);
  }
  return s;
}

void ConduitTest::Run(int32_t syncType, const hotsync::Faults& faults) {
  session_.reset();
  session_ = std::make_unique<hotsync::DeviceSession>(device_, faults);
  CSyncProperties properties{};
  properties.syncType = syncType;
  std::strncpy(properties.localDirectory, desktop_.c_str(), sizeof properties.localDirectory - 1);
  conduit::OpenConduit(TextTestProduct(), nullptr, &properties);
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

namespace {

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

HostResult RunHotSync(const std::vector<std::string>& args) {
  return brevora::testing::RunProgram(HOTSYNC_PROGRAM, args);
}

void HostTest::SetUp() {
  ConduitTest::SetUp();
  userFolder_ = brevora::testing::TempHome() + "/HotSync/Alice/";
  desktop_ = userFolder_ + "TextTest/";
  const HostResult registered = RunHotSync(
      {"register", "--name", "TextTest", "--library", TEXTTEST_PLUGIN, "--directory", "TextTest", "--creator", "TxtT"});
  ASSERT_EQ(registered.status, 0) << registered.err;
}

HostResult HostTest::Sync(const std::vector<std::string>& extra) {
  session_.reset();
  std::vector<std::string> args = {"sync", "--device", device_, "--user", "Alice"};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunHotSync(args);
}

std::string HostTest::LogFile() const { return FileText(userFolder_ + "hotsync.log"); }

}  // namespace brevora::texttest::testing
