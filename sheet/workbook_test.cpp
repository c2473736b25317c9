#include "sheet/workbook.h"
#include "sheet/workbook_internal.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/application.h"
#include "core/device_user.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/registry/registry.h"
#include "sheet/sheet_test_support.h"
#include "testing/temp_home.h"

namespace brevora::sheet {
namespace {

using testing::ErrorOf;
namespace fsys = std::filesystem;
constexpr int32_t kObj = static_cast<int32_t>(0x80040000);

TEST(WorkbookTest, NewWorkbookIsEmptyAndUnbound) {
  Ref<Dispatch> object = CreateObject("TabulynPC.Workbook");
  Ref<Workbook> wb = RefCast<Workbook>(object);
  ASSERT_TRUE(wb);
  EXPECT_EQ(wb->Sheets().Count(), 0);
  EXPECT_EQ(wb->Styles().Count(), 0);
  EXPECT_EQ(wb->Version(), 9);
  EXPECT_EQ(wb->CurrentSheet(), 0);
  EXPECT_EQ(wb->Properties(), 0);
  EXPECT_EQ(wb->FullPath(), "");
  EXPECT_EQ(wb->DefaultStyle().Raw(), 0);
  EXPECT_TRUE(wb->Application());
}

TEST(WorkbookTest, InitFromDefaults) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  EXPECT_EQ(CallByName(wb, "InitFromDefaults", CallKind::Method), Variant(true));
  ASSERT_EQ(wb->Sheets().Count(), 1);
  EXPECT_EQ(wb->Sheets().Item(1).name(), "Sheet1");
  const char* names[] = {"Text",       "Bold Text", "Number", "Money",      "Percentage",
                         "Col Header", "Date",      "Time",   "Date & Time"};
  const double words[] = {65, 72, 4026531874.0, 536875138, 4026532354.0, 76, 1026, 2050, 3074};
  ASSERT_EQ(wb->Styles().Count(), 9);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(wb->Styles().Item(i + 1).name(), names[i]);
    EXPECT_EQ(wb->Styles().Item(i + 1).Format().Raw(), words[i]);
  }
  EXPECT_EQ(wb->DefaultStyle().Raw(), 4026531874.0);
  EXPECT_EQ(wb->CurrencyCharacter(), "$");
  EXPECT_EQ(wb->CurrentSheet(), 1);
  EXPECT_TRUE(wb->IsModified());
  EXPECT_FALSE(wb->Flag(workbook_flags::kNeedsRecalc));
  EXPECT_EQ(wb->Properties(), 4118);
  const CellPlace current = wb->Sheets().Item(1).CurrentCell();
  EXPECT_EQ(current, (CellPlace{0, 0, 1, 1}));
}

TEST(WorkbookTest, FlagPropertiesClearThenAdd) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->SetProperties(4118);
  CallByName(wb, "IsPrivate", CallKind::Let, true);
  EXPECT_EQ(wb->Properties(), 4119);
  CallByName(wb, "IsPrivate", CallKind::Let, false);
  EXPECT_EQ(wb->Properties(), 4118);
  const struct {
    const char* name;
    uint32_t bit;
  } flags[] = {{"IsPrivate", 0x1},
               {"IsAutoRecalc", 0x2},
               {"ShowGridLines", 0x4},
               {"NeedsRecalc", 0x20},
               {"IsCopyFormulasToClipboard", 0x40},
               {"IsProtected", 0x200},
               {"IsTemplate", 0x400},
               {"IsOnEnterMoveDown", 0x1000},
               {"IsServerSync", 0x2000}};
  for (const auto& f : flags) {
    wb->SetProperties(0x10);
    CallByName(wb, f.name, CallKind::Let, true);
    EXPECT_EQ(wb->Properties(), 0x10 + f.bit) << f.name;
    EXPECT_EQ(CallByName(wb, f.name, CallKind::Get), Variant(true)) << f.name;
    CallByName(wb, f.name, CallKind::Let, false);
    EXPECT_EQ(wb->Properties(), 0x10) << f.name;  // bit 0x10 is never touched
  }
}

TEST(WorkbookTest, CurrentSheetIsChecked) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->Sheets().Add("Plan");
  AutomationError e = ErrorOf([&] { wb->SetCurrentSheet(3); });
  EXPECT_EQ(e.number(), kObj + 261);
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(e.description(), "This sheet number doesn't exist.");
  wb->SetCurrentSheet(0);  // accepted as it is
  WorkbookHeader h;
  WorkbookInternal::HeaderFromObjects(*wb, h);
  EXPECT_EQ(h.CurrentSheet, 1);  // repaired when the header is filled
  EXPECT_EQ(wb->CurrentSheet(), 1);

  CallByName(wb, "Sheets", CallKind::Set, Variant::Nothing());
  e = ErrorOf([&] { wb->SetCurrentSheet(1); });
  EXPECT_EQ(e.number(), kObj + 263);
  EXPECT_EQ(e.description(), "Create the sheets collection before setting any sheet properties.");

  // A workbook without any sheet cannot be written: the repair itself fails.
  wb->SetSheets(MakeRef<SheetCollection>());
  e = ErrorOf([&] { WorkbookInternal::HeaderFromObjects(*wb, h); });
  EXPECT_EQ(e.description(), "This sheet number doesn't exist.");
}

TEST(WorkbookTest, HeaderFromObjectsFillsStyleSlots) {
  for (int count : {3, 15}) {
    Ref<Workbook> wb = MakeRef<Workbook>();
    wb->InitFromDefaults();
    wb->SetStyles(MakeRef<NamedStyleCollection>());
    for (int i = 0; i < count; ++i)
      wb->Styles().Add("S" + std::to_string(i)).Format().SetRaw(100 + i);
    WorkbookHeader h;
    DefaultHeader(h);  // slots 0 to 8 hold the defaults before
    WorkbookInternal::HeaderFromObjects(*wb, h);
    for (int k = 0; k < count; ++k) {
      EXPECT_EQ(h.Styles[k].Name, "S" + std::to_string(k));
      EXPECT_EQ(h.Styles[k].Format, 100 + k);
    }
    for (int k = count; k < 15; ++k) {
      EXPECT_EQ(h.Styles[k].Name, "") << k;
      EXPECT_EQ(h.Styles[k].Format, 0) << k;
    }
    EXPECT_EQ(h.Styles[15].Name, "Edit Styles...");
    EXPECT_EQ(h.Styles[15].Format, 0);
  }
}

TEST(WorkbookTest, HeaderToObjectsSkipsStylesThatCannotBeAdded) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  WorkbookHeader h;
  DefaultHeader(h);
  h.Styles[9] = {5, "Text"};                  // a duplicate
  h.Styles[10] = {6, "Far too long a name"};  // over 15 characters
  h.Styles[11] = {7, "Own"};
  WorkbookInternal::HeaderToObjects(*wb, h);
  ASSERT_EQ(wb->Styles().Count(), 10);
  EXPECT_EQ(wb->Styles().Item(10).name(), "Own");
  EXPECT_EQ(wb->Styles().Item("text").Format().Raw(), 65);
}

TEST(WorkbookTest, FirstOverflowColumn) {
  Sheet sheet;
  EXPECT_EQ(WorkbookInternal::FirstOverflowColumn(sheet), 0);
  for (int c = 1; c <= 8; ++c) sheet.SetColumnWidths(c, 20);
  EXPECT_EQ(WorkbookInternal::FirstOverflowColumn(sheet), 8);  // 160 > 156
  Sheet wide;
  wide.SetColumnWidths(0, 500);  // index 0 is not counted
  wide.SetColumnWidths(40, 157);
  EXPECT_EQ(WorkbookInternal::FirstOverflowColumn(wide), 40);
}

TEST(WorkbookTest, LinkSettings) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->SetLinkedXLSFileName("C:\\Data\\Budget.xls");
  wb->SetLinkedXLSSyncMethod(2);
  wb->SetLinkedXLSSyncOption(3);
  wb->SetLinkedXLSFileModDateTime(3.2e9);
  EXPECT_TRUE(wb->HasLinkedXLSFile());
  EXPECT_EQ(wb->SyncMethodText(), "XLS to Palm");
  const AutomationError e =
      ErrorOf([&] { CallByName(wb, "LinkedXLSSyncMethod", CallKind::Let, 4); });
  EXPECT_EQ(e.number(), kWrapError);
  EXPECT_EQ(e.source(), "Tabulyn - Workbook");
  EXPECT_EQ(e.description(), "Invalid syncMethod.  Must be between 0 and 3");
  EXPECT_EQ(wb->LinkedXLSSyncMethod(), 2);
  EXPECT_EQ(ErrorOf([&] { wb->SetLinkedXLSSyncOption(-1); }).description(),
            "Invalid syncOption.  Must be between 0 and 3");
  wb->SetLinkedXLSFileName("");
  EXPECT_EQ(wb->LinkedXLSSyncMethod(), 0);
  EXPECT_EQ(wb->LinkedXLSSyncOption(), 0);
  EXPECT_EQ(wb->LinkedXLSFileModDateTime(), 0);
  wb->SetLinkedXLSFileName("   ");
  EXPECT_FALSE(wb->HasLinkedXLSFile());
  EXPECT_EQ(wb->SyncMethodFromText("palm to xls"), 0);
  EXPECT_EQ(wb->SyncMethodFromText("Palm to XLS"), 1);
  EXPECT_EQ(wb->SyncMethodFromText("Do Nothing"), 3);
}

TEST(WorkbookTest, FullPathMovesTheBoundFileNeverOverAnother) {
  const std::string dir = ::brevora::testing::MakeTempDir("move");
  const std::string a = dir + "/a.tbr", b = dir + "/b.tbr", c = dir + "/c.tbr";
  Ref<Workbook> wb = MakeRef<Workbook>();
  wb->InitFromDefaults();
  wb->WriteToDisk(a);
  testing::WriteText(c, "other");
  CallByName(wb, "FullPath", CallKind::Let, b);
  EXPECT_EQ(wb->FullPath(), b);
  EXPECT_FALSE(fsys::exists(a));
  EXPECT_TRUE(fsys::exists(b));
  const AutomationError e = ErrorOf([&] { wb->SetFullPath(c); });
  EXPECT_EQ(e.number(), kWrapError);
  EXPECT_EQ(e.source(), "SDK.Fullpath");
  EXPECT_EQ(
      e.description().substr(0, e.description().find("\r\n")),
      "Could not rename workbook Brevora Desktop.  Please close and reopen  Brevora Desktop.");
  EXPECT_EQ(wb->FullPath(), b);
  EXPECT_EQ(testing::ReadText(c), "other");
  wb->SetFullPath(b);  // its own path: nothing to move
  wb->CloseWorkbook();
  EXPECT_EQ(wb->FullPath(), "");
  EXPECT_TRUE(fsys::exists(b));
}

TEST(WorkbookTest, GetTempFileMakesAnEmptyFileInTheTemporaryFolder) {
  Ref<Workbook> wb = MakeRef<Workbook>();
  const std::string path = WorkbookInternal::GetTempFile(*wb);
  EXPECT_TRUE(fsys::is_regular_file(path));
  EXPECT_EQ(fsys::file_size(path), 0u);
  EXPECT_EQ(fsys::path(path).filename().string().rfind("tbr", 0), 0u);
  fsys::remove(path);
}

// ---- The user's file store ----

constexpr const char* kSettingsKey = "Software\\Orvanex\\Tabulyn";

void AddUser(core::Session& session, int32_t id, const std::string& name, const std::string& path) {
  Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
  user->SetUID(id);
  user->SetUserName(name);
  user->SetPath(path);
  session.GetUserManager()->GetUsers()->Add(user);
}

TEST(WorkbookUserStoreTest, WriteToUserMovesTheWorkbookIntoTheStore) {
  const std::string anna = ::brevora::testing::MakeTempDir("Anna");
  const std::string elsewhere = ::brevora::testing::MakeTempDir("elsewhere") + "/Budget.tbr";
  core::OnFreshThread([&] {
    Ref<Workbook> wb = MakeRef<Workbook>();
    AddUser(*wb->Application()->Session(), 7, "Anna", anna);
    wb->InitFromDefaults();
    wb->WriteToDisk(elsewhere);
    CallByName(wb, "WriteToUser", CallKind::Method, "Anna", "Unfiled", "Budget");
    const std::string expected = anna + "\\tabrel\\Unfiled\\Budget.tbr";
    EXPECT_EQ(wb->FullPath(), expected);
    EXPECT_FALSE(fsys::exists(elsewhere));
    EXPECT_TRUE(fsys::exists(anna + "/tabrel/Unfiled/Budget.tbr"));

    Ref<Workbook> other = MakeRef<Workbook>();
    other->InitFromDefaults();
    other->WriteToDisk(elsewhere);
    EXPECT_TRUE(other->OpenFromUser("anna", "Unfiled", "Budget.tbr"));
    EXPECT_EQ(other->FullPath(), expected);
    EXPECT_TRUE(fsys::exists(elsewhere));  // the file bound before stays where it was
  });
}

TEST(WorkbookUserStoreTest, PathErrorsAreReportedNotWorkedAround) {
  const std::string anna = ::brevora::testing::MakeTempDir("Anna");
  core::OnFreshThread([&] {
    Ref<Workbook> wb = MakeRef<Workbook>();
    AddUser(*wb->Application()->Session(), 7, "Anna", anna);
    wb->InitFromDefaults();
    const struct {
      const char* user;
      const char* category;
      const char* name;
      const char* message;
    } cases[] = {
        {"Nobody", "Unfiled", "Budget", "There is no handheld user named 'Nobody'."},
        {"Anna", "..", "Budget", "category name '..'"},
        {"Anna", "Unfiled", "../Budget", "workbook name '../Budget'"},
        {"Anna", "Un\\filed", "Budget", "category name"},
        {"Anna", "Unfiled", "Bud/get", "workbook name"},
        {"Anna", "Unfiled", "Bud\x01get", "workbook name"},
        {"Anna", "", "Budget", "category name ''"},
        {"Anna", "Unfiled", "", "workbook name ''"},
    };
    for (const auto& c : cases) {
      const AutomationError e = ErrorOf([&] { wb->WriteToUser(c.user, c.category, c.name); });
      EXPECT_EQ(e.number(), kWrapError) << c.name;
      EXPECT_EQ(e.source(), "tabrelpc");
      EXPECT_NE(e.description().find(c.message), std::string::npos) << e.description();
      EXPECT_EQ(wb->FullPath(), "");
    }
    EXPECT_FALSE(fsys::exists(anna + "/tabrel/Unfiled"));

    // A custom home folder that is missing is an error, not a save elsewhere.
    registry::SetValue(registry::Hive::CurrentUser, kSettingsKey, "HomePath",
                       registry::Value::String(anna + "/missing\\"));
    registry::SetValue(registry::Hive::CurrentUser, kSettingsKey, "UseHomePath",
                       registry::Value::DWord(1));
    const AutomationError e = ErrorOf([&] { wb->WriteToUser("Anna", "Unfiled", "Budget"); });
    EXPECT_NE(e.description().find("Brevora is not configured properly."), std::string::npos);
    EXPECT_EQ(wb->FullPath(), "");
  });
}

TEST(WorkbookTest, LateBoundSessionSetTakesTheApplicationOfThatSession) {
  core::OnFreshThread([] {
    Ref<Workbook> wb = MakeRef<Workbook>();
    Ref<core::Session> session = MakeRef<core::Session>();
    CallByName(wb, "Session", CallKind::Set, session);
    EXPECT_EQ(wb->Session(), session);
    EXPECT_EQ(wb->Application()->Session(), session);
    EXPECT_EQ(
        ErrorOf([&] { CallByName(wb, "Session", CallKind::Set, Variant::Nothing()); }).number(),
        91);
  });
}

}  // namespace
}  // namespace brevora::sheet
