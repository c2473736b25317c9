#pragma once
// Test support for the workbook conduit: a device folder and a desktop folder
// (the user's "Tabulyn" folder), a recording HotSync log, handheld workbook
// databases and desktop workbook files as plain values, in-process runs of
// the conduit, and runs of the `hotsync` program with the plug-in libtabrel.so.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "conduit/workbook_block.h"
#include "platform/hotsync/device.h"
#include "platform/hotsync/hotsync_log.h"
#include "testing/handheld_folder.h"
#include "testing/run_program.h"

namespace brevora::tabrel::testing {

using brevora::testing::TestDatabase;

// A handheld workbook: the default block of its version in its category,
// marked modified or not, and its cell records (texts without their NUL).
struct Book {
  uint16_t version = 9;
  uint8_t category = 0;
  bool modified = false;
  std::vector<std::string> cells;
};
TestDatabase WorkbookDatabase(const std::string& name, const Book& book);
TestDatabase WorkbookDatabase(const std::string& name, uint16_t version, const WorkbookBlock& block,
                              const std::vector<std::string>& cells);
// The texts of a database's records, each up to its NUL.
std::vector<std::string> CellTexts(const TestDatabase& db);
// Its block, read with the layout of its version.
std::optional<WorkbookBlock> BlockOf(const TestDatabase& db);

// The desktop file of a new workbook of `version` (the header of a new
// handheld workbook of that version), followed by `cells`.
struct Link {
  std::string path;
  uint16_t method = 0;
  uint16_t option = 0;
  uint32_t date = 0;  // seconds since 1899-12-30
};
std::string DesktopFile(uint16_t version, const std::vector<std::string>& cells, bool modified,
                        const std::optional<Link>& link = std::nullopt);
// The cell lines of a desktop file's text (after its header); nullopt when
// its header can't be read as `version`.
std::optional<std::vector<std::string>> DesktopCells(const std::string& text, uint16_t version);

// Both sides: desktop files by path under the desktop folder, handheld
// databases by name.
struct Snapshot {
  std::map<std::string, std::string> desktop;
  std::map<std::string, TestDatabase> handheld;
  bool operator==(const Snapshot&) const = default;
};
void PrintTo(const Snapshot& snapshot, std::ostream* out);

class TabrelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  void PutDesktop(const std::string& category, const std::string& name, const std::string& text);
  std::optional<std::string> Desktop(const std::string& category, const std::string& name) const;
  void PutHandheld(const std::string& name, const Book& book);
  void PutHandheld(const TestDatabase& db);
  std::optional<TestDatabase> HandheldDatabase(const std::string& name) const;
  Snapshot State() const;

  // An in-process run of the conduit with a fresh device session.
  void Run(int32_t syncType, const hotsync::Faults& faults = {});
  std::vector<std::string> LogTexts() const;
  std::vector<int32_t> LogActivities() const;
  bool Logged(const std::string& text) const;
  void ClearLog() { log_->Clear(); }
  void Reconnect();

  std::string device_;
  std::string desktop_;  // ends in '/'
  std::shared_ptr<hotsync::RecordingLogSink> log_;
  std::unique_ptr<hotsync::DeviceSession> session_;
};

// Through the `hotsync` program: libtabrel.so registered, the desktop folder
// the conduit folder of the user "Alice".
class TabrelHostTest : public TabrelTest {
 protected:
  void SetUp() override;
  // sync --device <device> --user Alice, and `extra`.
  brevora::testing::ProgramResult Sync(const std::vector<std::string>& extra = {});
  std::string LogFile() const;
  // The lines of the last run in the log file, without times.
  std::vector<std::string> LastRun() const;
  bool LastRunHas(const std::string& line) const;
  std::string userFolder_;
};

brevora::testing::ProgramResult RunHotSync(const std::vector<std::string>& args);

}  // namespace brevora::tabrel::testing
