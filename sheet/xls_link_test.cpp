// The workbook's link to an .xls file and its .xls conversions, through the
// real converter and a recording fake Excel.
#include "sheet/xls_link.h"
#include "office/link_sync.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/on_fresh_thread.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "sheet/cell_line.h"
#include "sheet/converter_test_support.h"
#include "sheet/sheet_test_support.h"
#include "sheet/workbook.h"
#include "testing/temp_home.h"

namespace brevora::sheet {
namespace {

using ::brevora::testing::MakeTempDir;
using ::brevora::testing::ScopedClass;
using testing::ErrorOf;
using testing::FakeExcel;
using testing::kExcel;
using testing::ReadText;
using testing::WriteText;
namespace fsys = std::filesystem;
using LineList = std::vector<std::string>;

constexpr double kXlsDate = 45000.5;  // the linked file's modification time

// The temporary files left in the system temporary folder.
std::vector<std::string> TempFiles() {
  std::vector<std::string> files;
  for (const auto& e : fsys::directory_iterator(::brevora::testing::TempHome() + "/tmp")) {
    if (e.is_regular_file()) files.push_back(e.path().filename().string());
  }
  return files;
}

// A workbook with the cell "value" at row 1, column 1 of Sheet1.
Ref<Workbook> Sample(const std::string& value) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->Sheets().Item(1).Cells().Add(1, 1).SetValue(value);
  return wb;
}

std::string ValueOf(Workbook& wb) { return wb.Sheets().Item(1).Cells().ItemDirect(1, 1).Value(); }

// A fake Excel whose add-in converts: .xls -> a workbook whose cell says
// "from xls", .tbr -> an .xls file stamped with `pushedDate`.
struct ConvertingExcel : FakeExcel {
  ConvertingExcel() : excel(kExcel, app, script) {
    Macro("XLSToTBRExt", [](Args a) {
      Sample("from xls")->WriteToDisk(CStr(a[1]));
      return Variant();
    });
    Macro("TBRToXLSExt", [this](Args a) {
      WriteText(fs::NativePath(CStr(a[1])), "xls");
      fs::SetFileDateTime(CStr(a[1]), pushedDate);
      return Variant();
    });
  }
  size_t Runs(const std::string& macro) const {
    return script->Select({"App.Run(tabrel8.xla!" + macro}).size();
  }

  ScopedClass excel;
  double pushedDate = kXlsDate + 1;
};

// The sync method is not consulted: with the update switches on, a newer .xls
// is pulled on opening and the workbook pushed on saving, whatever the method.
TEST(XlsLinkTest, TheSyncMethodIsNotConsulted) {
  const std::string dir = MakeTempDir("link");
  for (int16_t method = 0; method <= 3; ++method) {
    core::OnFreshThread([&] {
      ConvertingExcel xl;
      const std::string tbr = dir + "/Budget.tbr";
      const std::string xls = dir + "/Budget.xls";
      WriteText(xls, "xls");
      fs::SetFileDateTime(xls, kXlsDate);
      Ref<Workbook> wb = Sample("desktop");
      wb->SetLinkedXLSFileName(xls);
      wb->SetLinkedXLSSyncMethod(method);
      wb->SetLinkedXLSFileModDateTime(office::DaysToSeconds(kXlsDate) - 10);
      wb->WriteToDisk(tbr);
      wb->OpenFromDisk(tbr, true, true);
      EXPECT_EQ(xl.Runs("XLSToTBRExt"), 1u) << method;
      EXPECT_EQ(ValueOf(*wb), "from xls") << method;
      Sample("desktop")->WriteToDisk(tbr);
      wb->OpenFromDisk(tbr);
      wb->SetLinkedXLSFileName(xls);
      wb->SetLinkedXLSSyncMethod(method);
      wb->WriteToDisk({}, true);
      EXPECT_EQ(xl.Runs("TBRToXLSExt"), 1u) << method;
      EXPECT_EQ(wb->LinkedXLSSyncMethod(), method) << "the method stays as stored";
      // Without the switches nothing is converted, whatever the method.
      wb->OpenFromDisk(tbr, true, false);
      wb->WriteToDisk({}, false);
      EXPECT_EQ(xl.Runs("XLSToTBRExt") + xl.Runs("TBRToXLSExt"), 2u) << method;
    });
  }
}

TEST(XlsLinkTest, OneSecondNewerConverts) {
  const std::string dir = MakeTempDir("link");
  const struct {
    double newer;  // seconds the .xls is newer than the stored time
    bool converts;
  } cases[] = {{0.5, false}, {0.999, false}, {1, true}, {30, true}, {-5, false}};
  for (const auto& c : cases) {
    core::OnFreshThread([&] {
      ConvertingExcel xl;
      const std::string tbr = dir + "/Budget.tbr";
      const std::string xls = dir + "/Budget.xls";
      WriteText(xls, "xls");
      fs::SetFileDateTime(xls, kXlsDate);
      Ref<Workbook> wb = Sample("desktop");
      wb->SetLinkedXLSFileName(xls);
      wb->SetLinkedXLSFileModDateTime(office::DaysToSeconds(fs::FileDateTime(xls)) - c.newer);
      wb->WriteToDisk(tbr);
      EXPECT_TRUE(wb->OpenFromDisk(tbr, true, true));
      EXPECT_EQ(ValueOf(*wb), c.converts ? "from xls" : "desktop") << c.newer;
      if (c.converts) {
        EXPECT_EQ(
            xl.script->Select({"App.Run(tabrel8.xla!XLSToTBRExt"}),
            (LineList{"App.Run(tabrel8.xla!XLSToTBRExt, " + xls + ", " + tbr + ", " + xls + ")"}));
        EXPECT_EQ(wb->FullPath(), tbr);
      } else {
        EXPECT_FALSE(xl.script->Called("CreateObject")) << c.newer;
      }
    });
  }
}

TEST(XlsLinkTest, APushRenewsTheLinkTimeInTheFile) {
  const std::string dir = MakeTempDir("link");
  core::OnFreshThread([&] {
    ConvertingExcel xl;
    const std::string tbr = dir + "/Budget.tbr";
    const std::string xls = dir + "/Budget.xls";  // not there yet: the push makes it
    Ref<Workbook> wb = Sample("desktop");
    wb->SetLinkedXLSFileName(xls);
    wb->WriteToDisk(tbr, true);
    EXPECT_EQ(
        xl.script->Select({"App.Run(tabrel8.xla!TBRToXLSExt"}),
        (LineList{"App.Run(tabrel8.xla!TBRToXLSExt, " + tbr + ", " + xls + ", " + xls + ")"}));
    const double renewed = office::DaysToSeconds(kXlsDate + 1);
    EXPECT_EQ(wb->LinkedXLSFileModDateTime(), renewed);
    const LineList lines = testing::Lines(ReadText(tbr));
    ASSERT_GT(lines.size(), 6u);
    EXPECT_EQ(lines[5], FormatNumber(renewed));
    EXPECT_EQ(lines.back(), "1\t1\t1\t\tdesktop\t0\t0");  // the cells kept

    // So the next open does not take the .xls it has just written for newer.
    Ref<Workbook> again = MakeRef<Workbook>();
    again->OpenFromDisk(tbr, true, true);
    EXPECT_EQ(xl.Runs("XLSToTBRExt"), 0u);
    EXPECT_EQ(ValueOf(*again), "desktop");
    EXPECT_TRUE(TempFiles().empty());
  });
}

TEST(XlsLinkTest, MissingLinkedFileAndFailures) {
  const std::string dir = MakeTempDir("link");
  const std::string tbr = dir + "/Budget.tbr";
  const std::string xls = dir + "/Budget.xls";
  core::OnFreshThread([&] {
    // Opening: a missing .xls leaves the desktop file as it is, without Excel.
    Ref<Workbook> wb = Sample("desktop");
    wb->SetLinkedXLSFileName(xls);
    wb->WriteToDisk(tbr);
    EXPECT_TRUE(wb->OpenFromDisk(tbr, true, true));
    EXPECT_EQ(ValueOf(*wb), "desktop");

    // Saving on a machine without Excel: the file is saved, the push fails.
    AutomationError e = ErrorOf([&] { wb->WriteToDisk({}, true); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "Workbook.WriteToDisk");
    EXPECT_EQ(e.description(), "Could not save workbook '" + tbr +
                                   "'.\r\nError getting excel object.\r\n" +
                                   "ActiveX component can't create object");

    // An add-in that does not write the .xls: the link time cannot be taken.
    FakeExcel xl;
    ScopedClass excel(kExcel, xl.app, xl.script);
    xl.Macro("TBRToXLSExt", [](Args) { return Variant(); });
    e = ErrorOf([&] { wb->WriteToDisk({}, true); });
    EXPECT_EQ(e.description(), "Could not save workbook '" + tbr + "'.\r\nCould not update link '" +
                                   xls + "'.\r\nFile not found");
    EXPECT_EQ(xl.app->quitCount, 1);
  });
}

TEST(XlsLinkTest, XlsConversionsKeepTheBindingAndLeaveNoTemporaryFile) {
  const std::string dir = MakeTempDir("xls");
  const std::string tbr = dir + "/Budget.tbr";
  core::OnFreshThread([&] {
    ConvertingExcel xl;
    Ref<Workbook> wb = Sample("desktop");
    wb->WriteToDisk(tbr);

    // In from .xls: the workbook holds the converted cells and stays bound.
    EXPECT_EQ(CallByName(wb, "OpenFromXLS", CallKind::Method, dir + "/in.xls"), Variant(true));
    EXPECT_EQ(ValueOf(*wb), "from xls");
    EXPECT_EQ(wb->FullPath(), tbr);
    EXPECT_TRUE(TempFiles().empty());

    // Out to .xls from a workbook opened without its cells: the temporary file
    // gets the cells, the workbook keeps its file and can still be saved.
    wb->OpenFromDisk(tbr, false);
    std::string pushed;
    xl.Macro("TBRToXLSExt", [&](Args a) {
      pushed = ReadText(fs::NativePath(CStr(a[0])));
      return Variant();
    });
    EXPECT_TRUE(wb->WriteToXLS(dir + "/out.xls"));
    EXPECT_TRUE(pushed.ends_with("1\t1\t1\t\tdesktop\t0\t0\r\n"));
    EXPECT_EQ(wb->FullPath(), tbr);
    EXPECT_TRUE(TempFiles().empty());
    wb->WriteToDisk();
    EXPECT_EQ(ReadText(tbr), pushed);

    // Failures: the add-in's error, the binding and contents untouched.
    xl.script->FailOn("App.Run(tabrel8.xla!", AutomationError(1004, "Excel", "Boom."));
    for (bool in : {true, false}) {
      const AutomationError e = ErrorOf(
          [&] { in ? wb->OpenFromXLS(dir + "/in.xls") : wb->WriteToXLS(dir + "/out.xls"); });
      EXPECT_EQ(e.number(), kWrapError) << in;
      EXPECT_EQ(e.source(), "tabrelpc") << in;
      EXPECT_EQ(e.description(), "Error setting session.\r\nBoom.") << in;
      EXPECT_EQ(wb->FullPath(), tbr) << in;
      EXPECT_TRUE(TempFiles().empty()) << in;
    }
    EXPECT_TRUE(wb->IsHeaderOnly());
    wb->WriteToDisk();
    EXPECT_EQ(ReadText(tbr), pushed);
  });
}

}  // namespace
}  // namespace brevora::sheet
