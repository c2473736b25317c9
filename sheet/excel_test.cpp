// The Excel pieces of the spreadsheet converter: the add-in's file name by
// version and the search for the add-in, against a recording fake Excel.
#include "sheet/excel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/on_fresh_thread.h"
#include "platform/registry/registry.h"
#include "sheet/converter_test_support.h"
#include "sheet/sheet_test_support.h"
#include "testing/temp_home.h"

namespace brevora::sheet::excel {
namespace {

using ::brevora::testing::MakeTempDir;
using ::brevora::testing::ScopedRunning;
using testing::ErrorOf;
using testing::FakeExcel;
namespace fsys = std::filesystem;

constexpr const char* kCommandKey = "Excel.AddIn\\shell\\open\\command";

// `xl` as a running application the test attached to (never quit).
ExcelObject Attach(FakeExcel& xl, int16_t version) {
  const ScopedRunning running("BrevoraTest.Excel", xl.app);
  return ExcelObject{office::AcquireOfficeApplication("BrevoraTest.Excel", false), xl.app, version};
}

TEST(ExcelTest, AddInNameByMajorVersion) {
  const struct {
    const char* version;  // Excel's Version text
    const char* addIn;
  } cases[] = {{"5.0", "tabrel5.xla"},  {"7.0", "tabrel7.xla"}, {"6.0", "tabrel8.xla"},
               {"8.0", "tabrel8.xla"},  {"9.0", "tabrel8.xla"}, {"8.0e", "tabrel8.xla"},
               {"16.0", "tabrel8.xla"}, {" 7", "tabrel7.xla"}};
  for (const auto& c : cases) {
    FakeExcel xl(c.version);
    EXPECT_EQ(AddInName(ExcelVersion(*xl.app)), c.addIn) << c.version;
  }
  EXPECT_EQ(MacroName(7, "SetSession"), "tabrel7.xla!SetSession");

  FakeExcel xl("70000");
  const AutomationError e = ErrorOf([&] { ExcelVersion(*xl.app); });
  EXPECT_EQ(e.number(), kWrapError);
  EXPECT_EQ(e.source(), "SDK.GetExcelVersion");
  EXPECT_EQ(e.description(), "Cannot get Excel version.\r\nOverflow");
}

// Where the add-in is found, in order: Excel's AddIns list, Excel's startup
// folder, then the XLSTART folder beside the Excel of the registry's command.
TEST(ExcelTest, AddInSearchOrder) {
  core::OnFreshThread([] {
    const std::string office = MakeTempDir("Program Files") + "/Office";
    const std::string xlstart = office + "/XLSTART";
    fsys::create_directories(xlstart);
    testing::WriteText(xlstart + "/tabrel8.xla", "");
    testing::WriteText(xlstart + "/tabrel7.xla", "");
    const std::string startup = MakeTempDir("Startup");
    testing::WriteText(startup + "/readme.txt", "");
    testing::WriteText(startup + "/TabRel8.XLA", "");
    registry::SetValue(registry::Hive::ClassesRoot, kCommandKey, "",
                       registry::Value::String("\"" + office + "\\EXCEL.EXE\" /e \"%1\""));

    struct Case {
      const char* what;
      const char* version;
      bool listed;
      bool startupFolder;
      std::string opened;
    };
    const Case cases[] = {
        {"listed first", "9.0", true, true, ""},
        {"then the startup folder", "9.0", false, true, startup + "\\TabRel8.XLA"},
        {"then the registry", "9.0", false, false, office + "\\XLSTART\\tabrel8.xla"},
        {"the registry by version", "7.0", false, false, office + "\\XLSTART\\tabrel7.xla"},
    };
    for (const Case& c : cases) {
      FakeExcel xl(c.version, false);
      xl.app->addIns->List(MakeTempDir("Library") + "/analys32.xll");
      if (c.listed) xl.app->addIns->List(xl.addInPath);
      if (c.startupFolder) xl.app->startupPath = startup;
      const ExcelObject use = Attach(xl, ExcelVersion(*xl.app));
      OpenAddIn(use);
      const std::string opened = c.listed ? xl.addInPath : c.opened;
      EXPECT_EQ(xl.script->Select({"Documents.Open"}),
                std::vector<std::string>{"Documents.Open(" + opened + ")"})
          << c.what;
      EXPECT_EQ(xl.script->Called("App.StartupPath"), !c.listed) << c.what;
    }
  });
}

TEST(ExcelTest, AddInMissingOrCommandUnusable) {
  core::OnFreshThread([] {
    const std::string office = MakeTempDir("Office");
    const struct {
      const char* what;
      std::string command;
      std::string source;
      std::string description;
    } cases[] = {
        {"no command", "", "SDK.OpenAddIN", "The Tabulyn add-in is not installed."},
        {"no add-in beside Excel", office + "\\excel.exe", "SDK.OpenAddIN",
         "The Tabulyn add-in is not installed."},
        {"a command without Excel", office + "\\calc.exe", "SDK.OpenAddIn",
         "Could not open TABREL add-in\r\nInvalid procedure call or argument"},
    };
    for (const auto& c : cases) {
      registry::SetValue(registry::Hive::ClassesRoot, kCommandKey, "",
                         registry::Value::String(c.command));
      FakeExcel xl("9.0", false);
      const ExcelObject use = Attach(xl, 9);
      const AutomationError e = ErrorOf([&] { OpenAddIn(use); });
      EXPECT_EQ(e.number(), kWrapError) << c.what;
      EXPECT_EQ(e.source(), c.source) << c.what;
      EXPECT_TRUE(e.description().starts_with(c.description)) << e.description();
      EXPECT_FALSE(xl.script->Called("Documents.Open")) << c.what;
    }
  });
}

}  // namespace
}  // namespace brevora::sheet::excel
