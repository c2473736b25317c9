// The desktop file base (CLocalFile, LocalFileWriter), the handheld database's
// record cursor, and the converter bridge, with the TextTest conduit's names.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "conduit-framework/converter_bridge.h"
#include "conduit-framework/local_file.h"
#include "conduit-framework/modified_line.h"
#include "conduit-framework/test_conduit/text_conduit.h"
#include "conduit-framework/tests/texttest_fixture.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/variant.h"
#include "platform/error/error.h"
#include "platform/hotsync/device.h"
#include "testing/fake_converter.h"
#include "testing/temp_home.h"

namespace brevora::texttest {

using conduit::CConverterBridge;
using conduit::CHandheldDatabase;
using conduit::CLocalFile;
using conduit::CRecordDB;
using conduit::LocalFileWriter;
using conduit::SetModifiedFlag;
namespace {

namespace stdfs = std::filesystem;
using brevora::testing::TestDatabase;

class LocalFile : public testing::TextTest {
 protected:
  std::string Put(const std::string& name, const std::string& text) {
    const std::string path = brevora::testing::TempHome() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
};

TEST_F(LocalFile, ThePathRule) {
  EXPECT_EQ(CLocalFile::PathOf("/u/TextTest/", "Business", "Plan", ".ttx"),
            "/u/TextTest/Business/Plan.ttx");
  EXPECT_EQ(CLocalFile::PathOf("/u/TextTest/", "", "Plan", ".ttx"), "/u/TextTest/Unfiled/Plan.ttx");
  EXPECT_EQ(CLocalFile::PathOf("/u/TextTest", "Unfiled", "a b", ".ttx"),
            "/u/TextTest/Unfiled/a b.ttx");
}

TEST_F(LocalFile, LinesWithEitherEndAndTheirNumbers) {
  CLocalFile file;
  ASSERT_EQ(file.OpenPath(Put("a.ttx", "1\r\n9\nthird\r\n\r\nlast")),
            CLocalFile::OpenResult::Opened);
  const auto lines = file.ReadModifiedLines();
  ASSERT_TRUE(lines);
  EXPECT_TRUE(lines->modified);
  EXPECT_EQ(lines->versionText, "9");
  std::string_view line;
  std::vector<std::pair<std::size_t, std::string>> rest;
  while (file.ReadLine(line)) rest.emplace_back(file.lineNumber(), std::string(line));
  EXPECT_EQ(rest,
            (std::vector<std::pair<std::size_t, std::string>>{{3, "third"}, {4, ""}, {5, "last"}}));
  EXPECT_TRUE(file.AtEnd());
  file.Rewind();
  ASSERT_TRUE(file.ReadLine(line));
  EXPECT_EQ(line, "1");
  EXPECT_EQ(file.lineNumber(), 1u);
}

TEST_F(LocalFile, TheModifiedLines) {
  struct Case {
    std::string text;
    std::optional<bool> modified;  // nullopt: not a modified line and a version
  };
  const Case cases[] = {
      {"1\r\n9\r\n", true},        {"0\n4\n", false},
      {"2\r\n5\r\n", false},       {"x\r\n9\r\n", std::nullopt},
      {"1\r\n\r\n", std::nullopt}, {"1", std::nullopt},
      {"", std::nullopt},          {" 1\r\n9\r\n", std::nullopt},
  };
  for (const Case& c : cases) {
    CLocalFile file;
    ASSERT_EQ(file.OpenPath(Put("m.ttx", c.text)), CLocalFile::OpenResult::Opened);
    const auto lines = file.ReadModifiedLines();
    EXPECT_EQ(lines.has_value(), c.modified.has_value()) << c.text;
    if (lines && c.modified) {
      EXPECT_EQ(lines->modified, *c.modified) << c.text;
    }
  }
}

TEST_F(LocalFile, AFileThatDoesNotOpenIsLoggedAndABigOneIsNotRead) {
  CLocalFile file;
  const std::string missing = brevora::testing::TempHome() + "/Unfiled/None.ttx";
  EXPECT_EQ(file.OpenPath(missing), CLocalFile::OpenResult::Failed);
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ(LogTexts(), std::vector<std::string>{"Could not open " + missing + "...skipping.\n"});
  EXPECT_EQ(LogActivities(), std::vector<int32_t>{kLogFileError});
  ClearLog();
  CLocalFile small(10);
  EXPECT_EQ(small.OpenPath(Put("big.ttx", std::string(11, 'x'))), CLocalFile::OpenResult::TooLarge);
  EXPECT_EQ(small.OpenPath(Put("fits.ttx", std::string(10, 'x'))), CLocalFile::OpenResult::Opened);
  EXPECT_TRUE(LogTexts().empty());
}

TEST_F(LocalFile, DeleteSaysWhyItCouldNot) {
  CLocalFile file;
  const std::string path = Put("gone.ttx", "1\r\n2\r\n");
  ASSERT_EQ(file.OpenPath(path), CLocalFile::OpenResult::Opened);
  EXPECT_TRUE(file.Delete());
  EXPECT_FALSE(file.isOpen());
  EXPECT_FALSE(stdfs::exists(path));
  EXPECT_TRUE(LogTexts().empty());
  EXPECT_FALSE(file.Delete());
  // A folder where the file should be can't be removed as a file.
  stdfs::create_directories(brevora::testing::TempHome() + "/Unfiled/Folder.ttx");
  CLocalFile folder;
  folder.Open("Folder", "", brevora::testing::TempHome(), kExtension);
  EXPECT_FALSE(folder.Delete());
  EXPECT_EQ(LogTexts(),
            (std::vector<std::string>{
                "File Not Found.",
                "Could not open " +
                    CLocalFile::PathOf(brevora::testing::TempHome(), "", "Folder", kExtension) +
                    "...skipping.\n",
                "IO Error."}));
  for (int32_t activity : LogActivities()) EXPECT_EQ(activity, kLogFileError);
}

TEST_F(LocalFile, TheWriterEndsEveryLineWithCrLf) {
  LocalFileWriter writer;
  writer.WriteLine("0");
  writer.WriteLine("");
  writer.WriteLine("a,\"b\"");
  EXPECT_EQ(writer.text(), "0\r\n\r\na,\"b\"\r\n");
}

TEST_F(LocalFile, ClearingTheModifiedFlagChangesItsByteOnly) {
  const std::string crlf = Put("crlf.ttx", "1\r\n9\r\nrest\r\n");
  EXPECT_TRUE(SetModifiedFlag(crlf, false));
  const std::string lf = Put("lf.ttx", "1\n9\n");
  EXPECT_TRUE(SetModifiedFlag(lf, false));
  auto text = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  EXPECT_EQ(text(crlf), "0\r\n9\r\nrest\r\n");
  EXPECT_EQ(text(lf), "0\n9\n");
}

// A database with the records of `texts`, the records whose text is empty marked deleted.
TestDatabase WithRecords(const std::vector<std::string>& texts) {
  TestDatabase db = testing::HandheldDatabase("Cursor", {0, false, false, ""});
  db.records.clear();
  uint32_t id = 0;
  for (const std::string& t : texts) {
    db.records.push_back({static_cast<uint8_t>(t.empty() ? 0x80 : 0x00), ++id, t});
  }
  return db;
}

TEST_F(LocalFile, TheRecordCursorPassesOverDeletedRecords) {
  PutHandheld(WithRecords({"one", "", "three"}));
  Connect();
  TextDatabase db(2);
  ASSERT_TRUE(db.OpenOrCreate("Cursor", "Unfiled", 0));
  EXPECT_FALSE(db.created());
  std::vector<std::string> read;
  CRecordDB::Record record;
  CHandheldDatabase::NextRecord next;
  while ((next = db.ReadNextRecord(record)) == CHandheldDatabase::NextRecord::Read) {
    read.emplace_back(record.data.begin(), record.data.end());
  }
  EXPECT_EQ(next, CHandheldDatabase::NextRecord::End);
  EXPECT_EQ(read, (std::vector<std::string>{"one", "three"}));
  EXPECT_EQ(db.cursor(), 3u);
  ASSERT_TRUE(db.AppendRecord({'f', 'o', 'u', 'r'}));
  db.ResetCursor();
  ASSERT_EQ(db.ReadNextRecord(record), CHandheldDatabase::NextRecord::Read);
  EXPECT_EQ(std::string(record.data.begin(), record.data.end()), "one");
  EXPECT_TRUE(db.Close());

  TextDatabase fresh(2);
  ASSERT_TRUE(fresh.OpenOrCreate("New", "Unfiled", 3));
  EXPECT_TRUE(fresh.created());
  EXPECT_EQ(fresh.ReadNextRecord(record), CHandheldDatabase::NextRecord::End);
  EXPECT_TRUE(fresh.Close());
}

TEST_F(LocalFile, AFailingReadIsNotTheEnd) {
  PutHandheld(WithRecords({"one", "two"}));
  // The session's calls: open, the block read, the first record, then the failing one.
  session_.reset();
  session_ = std::make_unique<hotsync::DeviceSession>(device_, hotsync::Faults{4, {}, {}, {}});
  TextDatabase db(2);
  ASSERT_TRUE(db.OpenOrCreate("Cursor", "Unfiled", 0));
  CRecordDB::Record record;
  ASSERT_EQ(db.ReadNextRecord(record), CHandheldDatabase::NextRecord::Read);
  EXPECT_EQ(db.ReadNextRecord(record), CHandheldDatabase::NextRecord::Failed);
}

class Bridge : public testing::TextTest {
 protected:
  CConverterBridge::Names Names() {
    return {"TabulynPC.SDK", "XLSToTBRExt_Sync", "TBRToXLSExt_Sync", "Refresh"};
  }
  std::string Put(const std::string& name, const std::string& text) {
    const std::string path = brevora::testing::TempHome() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
};

TEST_F(Bridge, CallsTheConverterWithItsThreeTextsInOrder) {
  brevora::testing::RegisterFakeConverter(brevora::testing::FakeConverterKind::Spreadsheet);
  CConverterBridge bridge(Names());
  ASSERT_TRUE(bridge.ready());
  const std::string xls = Put("Plan.xls", "xls text");
  const std::string tbr = brevora::testing::TempHome() + "/Plan.tbr";
  EXPECT_TRUE(bridge.OfficeToDesktop(xls, tbr, "1"));
  EXPECT_TRUE(bridge.DesktopToOffice(tbr, brevora::testing::TempHome() + "/Back.xls", "3"));
  EXPECT_EQ(bridge.status(), 0);
  using Call = brevora::testing::ConverterCall;
  EXPECT_EQ(brevora::testing::FakeConverterCalls(),
            (std::vector<Call>{
                {"XLSToTBRExt_Sync", xls, tbr, "1"},
                {"TBRToXLSExt_Sync", tbr, brevora::testing::TempHome() + "/Back.xls", "3"}}));
  brevora::testing::SetFakeConverterFails(true);
  EXPECT_FALSE(bridge.OfficeToDesktop(xls, tbr, "1"));
  EXPECT_EQ(bridge.status(), kWrapError);
  EXPECT_EQ(bridge.error(), "The fake converter was told to fail.");
  EXPECT_EQ(bridge.LastError(), bridge.error());
  // A method the converter does not have fails the call.
  CConverterBridge wrongNames({"TabulynPC.SDK", "Nothing", "Nothing", "Nothing"});
  EXPECT_FALSE(wrongNames.OfficeToDesktop(xls, tbr, "1"));
  EXPECT_EQ(wrongNames.status(), 438);
  UnregisterClass("TabulynPC.SDK");
}

TEST_F(Bridge, AConverterThatCantBeCreatedFailsEveryCall) {
  CConverterBridge missing(
      {"TabulynPC.Nothing", "XLSToTBRExt_Sync", "TBRToXLSExt_Sync", "Refresh"});
  EXPECT_FALSE(missing.ready());
  EXPECT_FALSE(missing.OfficeToDesktop("a", "b", "1"));
  EXPECT_FALSE(missing.DesktopToOffice("a", "b", "1"));
  EXPECT_EQ(missing.status(), 429);
  EXPECT_EQ(missing.Refresh(), 429);
  EXPECT_FALSE(missing.error().empty());
  // A library that does not load.
  RegisterServer("TabulynPC.Broken", "{00000000-0000-0000-0000-00000000B0B0}",
                 "/nonexistent/libnone.so");
  CConverterBridge broken({"TabulynPC.Broken", "XLSToTBRExt_Sync", "TBRToXLSExt_Sync", "Refresh"});
  EXPECT_FALSE(broken.ready());
  EXPECT_EQ(broken.status(), 429);
  EXPECT_TRUE(brevora::testing::FakeConverterCalls().empty());
}

// A converter of nothing but Refresh, which counts its calls and fails when told.
class RefreshOnly : public Dispatch {
 public:
  Variant Invoke(std::string_view name, CallKind kind, Args args) override {
    if (name != "Refresh" || kind != CallKind::Method) RaiseRuntimeError(438);
    if (!args.empty()) RaiseRuntimeError(450);
    ++calls;
    if (fail) RaiseError(kWrapError, "SDK.Refresh", "No window to refresh.");
    return Variant(int32_t{0});
  }
  int calls = 0;
  bool fail = false;
};

TEST_F(Bridge, RefreshCallsTheConvertersRefreshAndGivesItsStatus) {
  const auto converter = MakeRef<RefreshOnly>();
  RegisterClass("TabulynPC.RefreshOnly", "{00000000-0000-0000-0000-00000000F5F5}",
                [converter] { return Ref<Dispatch>(converter); });
  CConverterBridge bridge(
      {"TabulynPC.RefreshOnly", "XLSToTBRExt_Sync", "TBRToXLSExt_Sync", "Refresh"});
  ASSERT_TRUE(bridge.ready());
  EXPECT_EQ(bridge.Refresh(), 0);
  EXPECT_EQ(converter->calls, 1);
  converter->fail = true;
  EXPECT_EQ(bridge.Refresh(), kWrapError);
  EXPECT_EQ(bridge.error(), "No window to refresh.");
  converter->fail = false;
  EXPECT_EQ(bridge.Refresh(), 0);
  EXPECT_TRUE(bridge.error().empty());
  EXPECT_EQ(converter->calls, 3);
  UnregisterClass("TabulynPC.RefreshOnly");
}

}  // namespace
}  // namespace brevora::texttest
