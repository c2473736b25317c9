// Truncated and flipped files: every open either succeeds or raises the
// documented error; none reads out of bounds (the sanitizer build checks that).
#include <gtest/gtest.h>

#include <string>

#include "core/database_record.h"
#include "core/handheld_database.h"
#include "sheet/sheet_test_support.h"
#include "sheet/workbook.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::sheet {
namespace {

std::string SampleWorkbook(const std::string& dir, Ref<Workbook>& wb) {
  wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->Sheets().Add("Plan");
  wb->SetLinkedXLSFileName("C:\\a.xls");
  for (int i = 1; i <= 5; ++i) {
    Cell& c = wb->Sheets().Item(1 + i % 2).Cells().Add(i, i + 1);
    c.SetFormula(i % 2 ? "=A1+1" : "");
    c.SetValue("v" + std::to_string(i));
    c.SetFormatRaw(65 * i);
  }
  return dir;
}

// Opens `text` as a workbook file: success or the open's own wrapped error.
void ExpectCleanOpen(const std::string& path, const std::string& text, const std::string& what) {
  testing::WriteText(path, text);
  Ref<Workbook> wb = MakeRef<Workbook>();
  const AutomationError e = ::brevora::testing::ErrorOf([&] { wb->OpenFromDisk(path); });
  if (e.number() == 0) return;
  EXPECT_EQ(e.number(), kWrapError) << what;
  EXPECT_EQ(e.source(), "Workbook.OpenFromDisk") << what;
  EXPECT_EQ(wb->FullPath(), "") << what;
}

TEST(WorkbookCorruptionTest, TruncatedAndFlippedTbrFiles) {
  const std::string dir = ::brevora::testing::MakeTempDir("corrupt");
  Ref<Workbook> wb;
  SampleWorkbook(dir, wb);
  const std::string good = dir + "/Good.tbr";
  wb->WriteToDisk(good);
  const std::string text = testing::ReadText(good);
  const std::string path = dir + "/Bad.tbr";
  // Every cut in the first lines and the cell section, every 13th elsewhere.
  const size_t cells = text.find("\"Plan\"\r\n") + 8;
  for (size_t n = 0; n < text.size(); n += (n < 200 || n >= cells) ? 1 : 13) {
    ExpectCleanOpen(path, text.substr(0, n), "cut at " + std::to_string(n));
  }
  const char flips[] = {'"', ',', '\n', '\t', 'x', '-'};
  for (size_t i = 0; i < text.size(); i += (i < 200 || i >= cells) ? 1 : 29) {
    for (char f : flips) {
      std::string bad = text;
      bad[i] = f;
      ExpectCleanOpen(path, bad, "flip at " + std::to_string(i));
    }
  }
}

TEST(WorkbookCorruptionTest, TruncatedAndFlippedApplicationInfo) {
  const std::string dir = ::brevora::testing::MakeTempDir("corrupt");
  Ref<Workbook> wb;
  SampleWorkbook(dir, wb);
  const std::string good = dir + "/Good.pdb";
  wb->WriteToPDB(good);
  core::HandheldDatabase db;
  db.ReadFile(good, true);
  const std::string block = db.AppInfoBlock();
  const std::string path = dir + "/Bad.pdb";
  auto open = [&](std::string newBlock, const std::string& what) {
    db.SetAppInfoBlock(std::move(newBlock));
    db.WriteFile(path);
    Ref<Workbook> back = MakeRef<Workbook>();
    try {
      back->OpenFromPDB(path);
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), kWrapError) << what;
    }
  };
  for (size_t n = 0; n < block.size(); n += 37) {
    const std::string what = "block cut at " + std::to_string(n);
    db.SetAppInfoBlock(block.substr(0, n));
    db.WriteFile(path);
    Ref<Workbook> back = MakeRef<Workbook>();
    const AutomationError e = testing::ErrorOf([&] { back->OpenFromPDB(path); });
    EXPECT_EQ(e.description(),
              "Unable to open from PDB.\r\nError loading App Info String\r\nSubscript out of range")
        << what;
  }
  for (size_t i = 0; i < block.size(); i += 23) {
    for (char f : {'\x80', '\xFF'}) {
      std::string bad = block;
      bad[i] = f;
      open(bad, "flip at " + std::to_string(i));
    }
  }
  // Cell records that do not describe a cell of the workbook.
  for (const char* data : {"", "9\t1\t1", "1\t0\t1", "1\t1\t255",
                           "1\t1\t1\t"
                           "0123456789012345678901234567890123456789"
                           "012345678901234567890123456789012345678901234567890",
                           "\t\t\t\t\t\t\t\t"}) {
    core::HandheldDatabase one;
    one.ReadFile(good, true);
    core::RecordRef r = MakeRef<core::DatabaseRecord>();
    r->SetUniqueID(99);
    r->SetDataText(data);
    one.Records().Add(r, "K99");
    one.WriteFile(path);
    Ref<Workbook> back = MakeRef<Workbook>();
    const AutomationError e = testing::ErrorOf([&] { back->OpenFromPDB(path); });
    EXPECT_EQ(e.number(), kWrapError) << data;
    EXPECT_EQ(e.source(), "Document.OpenFromPDB") << data;
  }
}

}  // namespace
}  // namespace brevora::sheet
