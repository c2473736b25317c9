#include "conduit/tests/tabrel_fixture.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <regex>
#include <sstream>

#include "conduit-framework/conduit_run.h"
#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "conduit/tabrel_product.h"
#include "platform/hotsync/conduit_api.h"
#include "testing/temp_home.h"

namespace brevora::tabrel::testing {

namespace stdfs = std::filesystem;

TestDatabase WorkbookDatabase(const std::string& name, uint16_t version, const WorkbookBlock& block,
                              const std::vector<std::string>& cells) {
  TestDatabase db = brevora::testing::Database(name);
  db.type = "Data";
  db.creator = "Zeri";
  db.version = version;
  db.appInfo.assign(block.bytes().begin(), block.bytes().end());
  uint32_t id = 0;
  for (const std::string& cell : cells) db.records.push_back({0, ++id, cell + std::string(1, '\0')});
  return db;
}

TestDatabase WorkbookDatabase(const std::string& name, const Book& book) {
  WorkbookBlock block = WorkbookBlock::Defaults(book.version, book.category);
  block.SetModified(book.modified ? 1 : 0);
  return WorkbookDatabase(name, book.version, block, book.cells);
}

std::vector<std::string> CellTexts(const TestDatabase& db) {
  std::vector<std::string> texts;
  for (const auto& record : db.records) texts.push_back(record.data.substr(0, record.data.find('\0')));
  return texts;
}

std::optional<WorkbookBlock> BlockOf(const TestDatabase& db) {
  return WorkbookBlock::Parse(WorkbookBlock::LayoutOf(db.version),
                              std::span(reinterpret_cast<const uint8_t*>(db.appInfo.data()), db.appInfo.size()));
}

std::string DesktopFile(uint16_t version, const std::vector<std::string>& cells, bool modified,
                        const std::optional<Link>& link) {
  const auto db = HandheldWorkbookFor(version);
  db->block() = WorkbookBlock::Defaults(version, 0);
  const auto file = LocalWorkbookFor(version);
  if (version >= 8) {
    CWorkbookHeader_V8 h;
    db->CopyHeaderTo(h);
    if (link) {
      h.linkPath = link->path;
      h.linkMethod = link->method;
      h.linkOption = link->option;
      h.linkDate = link->date;
    }
    file->WriteHeader(h, modified);
  } else {
    CWorkbookHeader h;
    db->CopyHeaderTo(h);
    file->WriteHeader(h, modified);
  }
  std::string text = file->text();
  for (const std::string& cell : cells) text += cell + "\r\n";
  return text;
}

std::optional<std::vector<std::string>> DesktopCells(const std::string& text, uint16_t version) {
  const std::string path = brevora::testing::MakeTempDir("desktop-cells") + "/Read.tbr";
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
  const auto file = LocalWorkbookFor(version);
  if (file->OpenPath(path) != conduit::CLocalFile::OpenResult::Opened) return std::nullopt;
  bool modified = false;
  std::string problem;
  bool read;
  if (version >= 8) {
    CWorkbookHeader_V8 h;
    read = file->ReadHeader(h, modified, problem);
  } else {
    CWorkbookHeader h;
    read = file->ReadHeader(h, modified, problem);
  }
  if (!read) return std::nullopt;
  std::vector<std::string> lines;
  std::string_view line;
  while (file->ReadLine(line)) lines.emplace_back(line);
  return lines;
}

void PrintTo(const Snapshot& snapshot, std::ostream* out) {
  *out << "desktop:";
  for (const auto& [path, text] : snapshot.desktop) *out << " [" << path << "]=" << text.size() << "b";
  *out << " handheld:";
  for (const auto& [name, db] : snapshot.handheld) {
    *out << " [" << name << " v" << db.version << " " << db.records.size() << " records]";
  }
}

void TabrelTest::SetUp() {
  device_ = brevora::testing::MakeTempDir("device");
  desktop_ = brevora::testing::MakeTempDir("user") + "/Tabulyn/";
  log_ = std::make_shared<hotsync::RecordingLogSink>();
  hotsync::InstallLogSink(log_);
}

void TabrelTest::TearDown() {
  session_.reset();
  hotsync::InstallLogSink(nullptr);
}

void TabrelTest::Reconnect() {
  session_.reset();
  session_ = std::make_unique<hotsync::DeviceSession>(device_);
}

void TabrelTest::PutDesktop(const std::string& category, const std::string& name, const std::string& text) {
  stdfs::create_directories(desktop_ + category);
  std::ofstream(desktop_ + category + "/" + name + ".tbr", std::ios::binary | std::ios::trunc) << text;
}

std::optional<std::string> TabrelTest::Desktop(const std::string& category, const std::string& name) const {
  std::ifstream in(desktop_ + category + "/" + name + ".tbr", std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void TabrelTest::PutHandheld(const std::string& name, const Book& book) { PutHandheld(WorkbookDatabase(name, book)); }

void TabrelTest::PutHandheld(const TestDatabase& db) {
  session_.reset();
  brevora::testing::PutDatabase(device_, db);
}

std::optional<TestDatabase> TabrelTest::HandheldDatabase(const std::string& name) const {
  return brevora::testing::GetDatabase(device_, name);
}

Snapshot TabrelTest::State() const {
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
  for (const std::string& name : brevora::testing::DatabaseNames(device_)) s.handheld[name] = *HandheldDatabase(name);
  return s;
}

void TabrelTest::Run(int32_t syncType, const hotsync::Faults& faults) {
  session_.reset();
  session_ = std::make_unique<hotsync::DeviceSession>(device_, faults);
  CSyncProperties properties{};
  properties.syncType = syncType;
  std::strncpy(properties.localDirectory, desktop_.c_str(), sizeof properties.localDirectory - 1);
  conduit::OpenConduit(TabulynProduct(), nullptr, &properties);
  session_.reset();
}

std::vector<std::string> TabrelTest::LogTexts() const {
  std::vector<std::string> texts;
  for (const auto& e : log_->entries()) texts.push_back(e.text);
  return texts;
}

std::vector<int32_t> TabrelTest::LogActivities() const {
  std::vector<int32_t> activities;
  for (const auto& e : log_->entries()) activities.push_back(e.activity);
  return activities;
}

bool TabrelTest::Logged(const std::string& text) const {
  const auto texts = LogTexts();
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

brevora::testing::ProgramResult RunHotSync(const std::vector<std::string>& args) {
  return brevora::testing::RunProgram(HOTSYNC_PROGRAM, args);
}

void TabrelHostTest::SetUp() {
  TabrelTest::SetUp();
  userFolder_ = brevora::testing::TempHome() + "/HotSync/Alice/";
  desktop_ = userFolder_ + "Tabulyn/";
  const auto registered = RunHotSync(
      {"register", "--name", "Tabulyn", "--library", TABREL_PLUGIN, "--directory", "Tabulyn", "--creator", "Zeri"});
  ASSERT_EQ(registered.status, 0) << registered.err;
}

brevora::testing::ProgramResult TabrelHostTest::Sync(const std::vector<std::string>& extra) {
  session_.reset();
  std::vector<std::string> args = {"sync", "--device", device_, "--user", "Alice"};
  args.insert(args.end(), extra.begin(), extra.end());
  return RunHotSync(args);
}

std::string TabrelHostTest::LogFile() const {
  std::ifstream in(userFolder_ + "hotsync.log", std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> TabrelHostTest::LastRun() const {
  std::string log = std::regex_replace(LogFile(), std::regex("\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d"), "<date>");
  log = std::regex_replace(log, std::regex("(^|\\n)\\d\\d:\\d\\d:\\d\\d "), "$1");
  const std::size_t start = log.rfind("--- HotSync ");
  std::vector<std::string> lines;
  std::istringstream in(log.substr(start == std::string::npos ? 0 : start));
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool TabrelHostTest::LastRunHas(const std::string& line) const {
  const auto lines = LastRun();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace brevora::tabrel::testing
