#include "office/office_addin.h"

#include <gtest/gtest.h>

#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "testing/fake_office.h"

namespace brevora::office {
namespace {

using brevora::testing::FakeOfficeApp;
using brevora::testing::OfficeScript;

constexpr const char* kCommandKey = "Word.AddIn\\shell\\open\\command";

class OfficeAddInTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root = fs::TempDir() + "office";
    fs::MakeFolder(root + "/startup");
    fs::MakeFolder(root + "/Office/Startup");
    app->startupPath = root + "/startup";
  }

  OfficeAddInSearch WordSearch() {
    return {.prefix = "SCRIV",
            .folderProperty = "StartupPath",
            .commandKey = kCommandKey,
            .programName = "\\winword.exe",
            .subFolder = "\\Startup",
            .fileName = [this] {
              ++fileNameAsked;
              return std::string("scriv8.dot");
            }};
  }

  static void Touch(const std::string& path) { fs::AtomicWrite(path, std::string_view("x")); }
  static void SetCommand(const std::string& command) {
    registry::SetValue(registry::Hive::ClassesRoot, kCommandKey, "",
                       registry::Value::String(command));
  }

  std::string root;
  int fileNameAsked = 0;
  std::shared_ptr<OfficeScript> script = std::make_shared<OfficeScript>();
  Ref<FakeOfficeApp> app = MakeRef<FakeOfficeApp>(script, "Word");
};

TEST_F(OfficeAddInTest, AListedAddInWinsByItsNameInCapitals) {
  app->addIns->List(root + "/other/Normal.dot");
  app->addIns->List(root + "/other/scriv8.dot");
  Touch(root + "/startup/scriv7.dot");
  const OfficeAddIn found = FindOfficeAddIn(*app, WordSearch());
  EXPECT_EQ(found.place, OfficeAddInPlace::Listed);
  EXPECT_EQ(CStr(CallByName(found.entry, "FullName", CallKind::Get)), root + "/other/scriv8.dot");
  EXPECT_FALSE(script->Called("Word.StartupPath"));  // nothing more is looked at
  EXPECT_EQ(fileNameAsked, 0);
}

TEST_F(OfficeAddInTest, ThenTheStartupFolderWithoutRegardToCase) {
  app->addIns->List(root + "/other/Normal.dot");
  Touch(root + "/startup/Normal.dot");
  Touch(root + "/startup/SCRIV8.DOT");
  Touch(root + "/Office/Startup/scriv8.dot");
  SetCommand("\"" + root + "/Office\\WINWORD.EXE\" /n");
  const OfficeAddIn found = FindOfficeAddIn(*app, WordSearch());
  EXPECT_EQ(found.place, OfficeAddInPlace::Folder);
  EXPECT_EQ(found.path, root + "/startup\\SCRIV8.DOT");
  EXPECT_TRUE(fs::FileExists(found.path));
  EXPECT_EQ(fileNameAsked, 0);
}

TEST_F(OfficeAddInTest, ThenTheProgramFolderFromTheRegistry) {
  Touch(root + "/Office/Startup/scriv8.dot");
  SetCommand("\"" + root + "/Office\\WINWORD.EXE\" /n");
  const OfficeAddIn found = FindOfficeAddIn(*app, WordSearch());
  EXPECT_EQ(found.place, OfficeAddInPlace::Registry);
  EXPECT_EQ(found.path, root + "/Office\\Startup\\scriv8.dot");
  EXPECT_EQ(fileNameAsked, 1);
  EXPECT_EQ(script->calls,
            (std::vector<std::string>{"Word.AddIns", "AddIns.Count", "Word.StartupPath"}));
}

TEST_F(OfficeAddInTest, NothingFound) {
  // No command: the add-in name is not even asked for.
  EXPECT_EQ(FindOfficeAddIn(*app, WordSearch()).place, OfficeAddInPlace::NotFound);
  EXPECT_EQ(fileNameAsked, 0);
  // A command whose folder holds no add-in file.
  SetCommand(root + "/Office\\winword.exe");
  EXPECT_EQ(FindOfficeAddIn(*app, WordSearch()).place, OfficeAddInPlace::NotFound);
  EXPECT_EQ(fileNameAsked, 1);
  // An empty or missing add-in folder is not searched.
  app->startupPath = "";
  EXPECT_EQ(FindAddInInFolder("", "SCRIV"), "");
  EXPECT_EQ(FindAddInInFolder(root + "/missing", "SCRIV"), "");
}

TEST_F(OfficeAddInTest, ACommandWithoutTheProgramNameRaises5) {
  SetCommand("\"" + root + "/Office\\word.bin\"");
  try {
    FindOfficeAddIn(*app, WordSearch());
    FAIL();
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 5);
  }
}

}  // namespace
}  // namespace brevora::office
