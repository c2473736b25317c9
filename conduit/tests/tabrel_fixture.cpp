#include "conduit/tests/tabrel_fixture.h"

#include <fstream>

#include "conduit/handheld_workbook.h"
#include "conduit/local_workbook.h"
#include "conduit/tabrel_product.h"
#include "testing/temp_home.h"

namespace brevora::tabrel::testing {

TestDatabase WorkbookDatabase(const std::string& name, uint16_t version, const WorkbookBlock& block,
                              const std::vector<std::string>& cells) {
  TestDatabase db = brevora::testing::Database(name);
  db.type = "Data";
  db.creator = "Zeri";
  db.version = version;
  db.appInfo.assign(block.bytes().begin(), block.bytes().end());
  uint32_t id = 0;
  for (const std::string& cell : cells)
    db.records.push_back({0, ++id, cell + std::string(1, '\0')});
  return db;
}

TestDatabase WorkbookDatabase(const std::string& name, const Book& book) {
  WorkbookBlock block = WorkbookBlock::Defaults(book.version, book.category);
  block.SetModified(book.modified ? 1 : 0);
  return WorkbookDatabase(name, book.version, block, book.cells);
}

std::vector<std::string> CellTexts(const TestDatabase& db) {
  std::vector<std::string> texts;
  for (const auto& record : db.records)
    texts.push_back(record.data.substr(0, record.data.find('\0')));
  return texts;
}

std::optional<WorkbookBlock> BlockOf(const TestDatabase& db) {
  return WorkbookBlock::Parse(
      WorkbookBlock::LayoutOf(db.version),
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

TabrelTest::TabrelTest() : conduit::testing::ConduitTest(TabulynProduct()) {}

void TabrelTest::PutHandheld(const std::string& name, const Book& book) {
  PutHandheld(WorkbookDatabase(name, book));
}

void TabrelHostTest::SetUp() {
  TabrelTest::SetUp();
  UseHost(TABREL_PLUGIN);
}

}  // namespace brevora::tabrel::testing
