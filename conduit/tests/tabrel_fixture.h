#pragma once
// Test support for the workbook conduit: handheld workbook databases and
// desktop workbook files as plain values, on the fixture that every conduit's
// tests share (conduit-framework/tests/conduit_fixture.h): in-process runs of
// the conduit, and runs of the `hotsync` program with the plug-in libtabrel.so.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "conduit-framework/tests/conduit_fixture.h"
#include "conduit/workbook_block.h"
#include "testing/handheld_folder.h"

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

// Both sides, as plain values.
using conduit::testing::Snapshot;

// The fixture with the workbook conduit, in process.
class TabrelTest : public conduit::testing::ConduitTest {
 protected:
  TabrelTest();

  using conduit::testing::ConduitTest::PutHandheld;
  void PutHandheld(const std::string& name, const Book& book);
};

// Through the `hotsync` program: libtabrel.so registered, the desktop folder
// the conduit folder of the user "Alice".
class TabrelHostTest : public TabrelTest {
 protected:
  void SetUp() override;
};

}  // namespace brevora::tabrel::testing
