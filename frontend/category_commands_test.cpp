// The category commands over a real home folder, with the dialogs answered by
// the recording form factory and the window's list standing in as a vector.
#include "frontend/category_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <deque>
#include <filesystem>
#include <optional>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "frontend/category_folders.h"
#include "frontend/category_names.h"
#include "frontend/desktop_test_support.h"
#include "frontend/frontend_test_support.h"

namespace brevora::frontend {
namespace {

namespace stdfs = std::filesystem;
using services::Message;
using services::MsgButtons;
using services::MsgIcon;
using test::FakeCategoryList;
using test::ReadFile;
using test::WriteFile;

// The answers of the two dialogs, in order: a name (nothing: Cancel) for
// frmNewCategory, an option (nothing: Cancel) for frmDelete.
struct DialogScript {
  std::deque<std::optional<std::string>> names;
  std::deque<std::optional<int>> options;
  std::vector<std::string> openedWith;  // frmNewCategory's Category when shown

  void Install(test::FakeForms& forms) {
    forms->onCreate = [this](testing::RecordingForm& form) {
      form.onModal = [this](testing::RecordingForm& f) {
        bool cancel = true;
        if (f.Name() == "frmNewCategory") {
          openedWith.push_back(CStr(f.Property("Category")));
          EXPECT_TRUE(f.Property("oTabrelPC").IsObject());
          ASSERT_FALSE(names.empty());
          if (names.front()) {
            f.SetProperty("Category", *names.front());
            cancel = false;
          }
          names.pop_front();
        } else if (f.Name() == "frmDelete") {
          ASSERT_FALSE(options.empty());
          if (options.front()) {
            f.SetProperty("DeleteOption", int16_t(*options.front()));
            cancel = false;
          }
          options.pop_front();
        }
        core::Module().gDialogCancelled = cancel;
      };
    };
  }
};

class Categories : public ::testing::Test {
 protected:
  // Runs `body` on a fresh thread with the home, the application object in
  // `mode`, the dialogs and the messages set up.
  void Run(int mode, const std::function<void(TabrelPC&, FakeCategoryList&)>& body,
           bool reverse = false) {
    core::OnFreshThread([&] {
      test::FakeForms forms;
      script.Install(forms);
      Ref<TabrelPC> app = MakeRef<TabrelPC>();
      app->Session()->SetFileMode(mode);
      FakeCategoryList list(home, reverse);
      list.InitCategories();
      list.log.clear();
      body(*app, list);
      formLog = forms->Log();
    });
  }

  std::string home = test::MakeCustomHome();
  DialogScript script;
  test::RecordedMessages messages;
  std::vector<std::string> formLog;
};

Message Info(const std::string& text) {
  return {text, "Brevora", MsgButtons::Ok, MsgIcon::Information};
}
Message Critical(const std::string& text) {
  return {text, "Brevora", MsgButtons::Ok, MsgIcon::Critical};
}

TEST_F(Categories, AddStopsAtSixteenRowsAndSelectsTheNewRowByItsExactName) {
  for (int i = 0; i < 14; ++i) stdfs::create_directory(home + "Cat" + std::to_string(i));
  stdfs::create_directory(home + "Workbooks");
  script.names = {"Work", "Extra"};
  // Listed in reverse order, "Workbooks" comes before "Work": a prefix search would pick it.
  Run(
      0,
      [&](TabrelPC& app, FakeCategoryList& list) {
        ASSERT_EQ(list.Count(), 15);
        ManageCategory(app, list, CategoryAction::Add);
        EXPECT_TRUE(stdfs::is_directory(home + "Work"));
        ASSERT_EQ(list.Count(), 16);
        EXPECT_EQ(SelectedCategory(list), "Work");
        EXPECT_EQ(list.log.back(), "txtWorkbook_Change");
        EXPECT_EQ(list.log[list.log.size() - 2], "InitWorkbooks(Work, False)");
        ManageCategory(app, list, CategoryAction::Add);  // 16 rows: refused before the dialog
      },
      /*reverse=*/true);
  EXPECT_FALSE(stdfs::exists(home + "Extra"));
  EXPECT_EQ(script.names.size(), 1u);
  EXPECT_EQ(script.openedWith, std::vector<std::string>{""});
  EXPECT_EQ(messages->shown(), std::vector<Message>{Info("You can have a maximum of 15.")});
}

TEST_F(Categories, NamesAreCheckedOnCommitAndNeverReplaceAFolder) {
  stdfs::create_directory(home + "Unfiled");
  stdfs::create_directory(home + "Work");
  const struct {
    std::string typed;
    std::string message;
  } cases[] = {
      {"../x", "A category name can't contain any of the characters / \\ : * ? \" < > |."},
      {"..", "A category name can't begin with a full stop."},
      {"a\tb", "A category name can't contain control characters."},
      {"WORK", "This category already exists."},
      {"Work", "This category already exists."},
      {"   ", "Please type a category name."},
      {std::string(16, 'x'),
       "Only 15 characters per category name are allowed.  Please rename this category."},
  };
  for (const auto& c : cases) script.names.push_back(c.typed);
  Run(0, [&](TabrelPC& app, FakeCategoryList& list) {
    for (const auto& c : cases) {
      ManageCategory(app, list, CategoryAction::Add);
      ASSERT_FALSE(messages->shown().empty());
      EXPECT_EQ(messages->shown().back(), Critical(c.message)) << c.typed;
    }
  });
  EXPECT_EQ(messages->shown().size(), std::size(cases));
  EXPECT_EQ(fs::ListFolder(home, fs::ListKind::Folders),
            (std::vector<std::string>{"Unfiled", "Work"}));
  EXPECT_FALSE(stdfs::exists(stdfs::path(home).parent_path().parent_path() / "x"));
}

TEST_F(Categories, CheckCategoryNameLetsACaseOnlyRenamePass) {
  stdfs::create_directory(home + "Work");
  stdfs::create_directory(home + "Home");
  EXPECT_EQ(CheckCategoryName(home, "work", "Work"), "");
  EXPECT_EQ(CheckCategoryName(home, "Work", "Work"), "This category already exists.");
  EXPECT_EQ(CheckCategoryName(home, "HOME", "Work"), "This category already exists.");
  EXPECT_EQ(CheckCategoryName(home, "Travel", "Work"), "");
  EXPECT_EQ(CheckCategoryName(home, "Travel", ""), "");
}

TEST_F(Categories, RenameMarksEveryDocumentAndKeepsTheRow) {
  stdfs::create_directory(home + "Unfiled");
  WriteFile(home + "Work/Budget.tbr", "2rest");
  WriteFile(home + "Work/Plan.TBR", "2rest");
  WriteFile(home + "Work/notes.txt", "2rest");
  script.names = {"Office"};
  Run(0, [&](TabrelPC& app, FakeCategoryList& list) {
    list.Select(1);
    ManageCategory(app, list, CategoryAction::Rename);
    EXPECT_EQ(list.rows, (std::vector<std::string>{"Unfiled", "Office"}));
    EXPECT_EQ(SelectedCategory(list), "Office");
  });
  EXPECT_EQ(script.openedWith, std::vector<std::string>{"Work"});
  EXPECT_FALSE(stdfs::exists(home + "Work"));
  EXPECT_EQ(ReadFile(home + "Office/Budget.tbr"), "1rest");
  EXPECT_EQ(ReadFile(home + "Office/Plan.TBR"), "1rest");
  EXPECT_EQ(ReadFile(home + "Office/notes.txt"), "2rest");  // not a workbook
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(Categories, RenameMarksPresentationsInTheirHeaderAndReportsARefusedFile) {
  stdfs::create_directories(home + "Talks");
  Run(2, [&](TabrelPC& app, FakeCategoryList& list) {
    test::WritePresentation(app, home + "Talks/Review.pdb", "Review");
    WriteFile(home + "Talks/Locked.pdb", "x");
    chmod((home + "Talks/Locked.pdb").c_str(), 0444);
    list.InitCategories();
    list.Select(0);
    script.names = {"talks"};  // only the case changes
    ManageCategory(app, list, CategoryAction::Rename);
    EXPECT_EQ(list.rows, std::vector<std::string>{"talks"});
    EXPECT_TRUE(test::PresentationIsModified(app, home + "talks/Review.pdb"));
  });
  EXPECT_EQ(messages->shown(),
            std::vector<Message>{
                Critical("Cannot properly rename category.  Set HotSync Action for Tabulyn to "
                         "'Desktop overwrites device' before your next sync.")});
}

TEST_F(Categories, RenameAndDeleteRefuseUnfiledAndAMissingSelection) {
  WriteFile(home + "Unfiled/Budget.tbr", "2");
  Run(0, [&](TabrelPC& app, FakeCategoryList& list) {
    for (CategoryAction action : {CategoryAction::Rename, CategoryAction::Delete}) {
      list.selected = 0;  // "Unfiled"
      ManageCategory(app, list, action);
      list.selected = -1;  // nothing: the path would be the home folder itself
      ManageCategory(app, list, action);
    }
  });
  EXPECT_TRUE(stdfs::exists(home + "Unfiled/Budget.tbr"));
  EXPECT_TRUE(formLog.empty());  // no dialog was even made
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(Categories, DeleteCopiesToANewUnfiledThenRemovesTheCategory) {
  WriteFile(home + "Work/Budget.tbr", "2a");
  WriteFile(home + "Work/Plan.tbr", "2b");
  script.options = {0};
  Run(0, [&](TabrelPC& app, FakeCategoryList& list) {
    list.Select(0);
    ManageCategory(app, list, CategoryAction::Delete);
    EXPECT_EQ(list.rows, std::vector<std::string>{"Unfiled"});
    EXPECT_EQ(list.log, (std::vector<std::string>{"Select(Work)", "InitCategories", "Refresh",
                                                  "txtWorkbook_Change"}));
  });
  EXPECT_FALSE(stdfs::exists(home + "Work"));
  EXPECT_EQ(ReadFile(home + "Unfiled/Budget.tbr"), "1a");
  EXPECT_EQ(ReadFile(home + "Unfiled/Plan.tbr"), "1b");
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(Categories, DeleteWithOptionOneAndAnEmptyCategory) {
  WriteFile(home + "Work/Budget.tbr", "2a");
  stdfs::create_directory(home + "Empty");
  stdfs::create_directory(home + "Unfiled");
  script.options = {1, 1};
  Run(0, [&](TabrelPC& app, FakeCategoryList& list) {
    ASSERT_EQ(list.rows, (std::vector<std::string>{"Empty", "Unfiled", "Work"}));
    list.Select(2);
    ManageCategory(app, list, CategoryAction::Delete);
    EXPECT_EQ(SelectedCategory(list), "Unfiled");  // the last row
    list.Select(0);
    ManageCategory(app, list, CategoryAction::Delete);
    EXPECT_EQ(list.rows, std::vector<std::string>{"Unfiled"});
  });
  EXPECT_FALSE(stdfs::exists(home + "Work"));
  EXPECT_FALSE(stdfs::exists(home + "Empty"));
  EXPECT_TRUE(stdfs::is_empty(home + "Unfiled"));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(Categories, ANameClashInUnfiledCancelsTheDeleteBeforeAnythingIsDeleted) {
  WriteFile(home + "Work/Budget.tbr", "2mine");
  WriteFile(home + "Work/Plan.tbr", "2plan");
  WriteFile(home + "Unfiled/BUDGET.tbr", "2theirs");
  script.options = {0};
  Run(0, [&](TabrelPC& app, FakeCategoryList& list) {
    list.Select(1);
    ManageCategory(app, list, CategoryAction::Delete);
    EXPECT_EQ(list.rows.size(), 2u);
  });
  EXPECT_EQ(ReadFile(home + "Work/Budget.tbr"), "2mine");
  EXPECT_EQ(ReadFile(home + "Work/Plan.tbr"), "2plan");
  EXPECT_EQ(ReadFile(home + "Unfiled/BUDGET.tbr"), "2theirs");
  EXPECT_FALSE(stdfs::exists(home + "Unfiled/Plan.tbr"));
  const std::vector<Message> shown = messages->shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text.rfind("Cannot copy: " + home + "Work/Budget.tbr", 0), 0u)
      << shown[0].text;
  EXPECT_EQ(shown[1], Critical("Files could not be moved.  Delete Canceled."));
}

TEST_F(Categories, ARefusedMarkCancelsTheDeleteAfterCopyingTheOthers) {
  WriteFile(home + "Work/Budget.tbr", "2a");
  WriteFile(home + "Work/Locked.tbr", "2b");
  chmod((home + "Work/Locked.tbr").c_str(), 0444);
  stdfs::create_directory(home + "Unfiled");
  script.options = {0};
  Run(0, [&](TabrelPC& app, FakeCategoryList& list) {
    list.Select(1);
    ManageCategory(app, list, CategoryAction::Delete);
  });
  EXPECT_EQ(ReadFile(home + "Work/Locked.tbr"), "2b");  // nothing lost
  EXPECT_EQ(ReadFile(home + "Unfiled/Budget.tbr"), "1a");
  EXPECT_EQ(messages->shown(),
            (std::vector<Message>{Critical("Cannot copy: " + home + "Work/Locked.tbr"),
                                  Critical("Files could not be moved.  Delete Canceled.")}));
}

TEST_F(Categories, ACategoryHoldingOtherFilesIsNotDeleted) {
  WriteFile(home + "Work/Budget.tbr", "2a");
  WriteFile(home + "Work/.hidden", "x");
  stdfs::create_directory(home + "Unfiled");
  script.options = {1, std::nullopt};
  Run(0, [&](TabrelPC& app, FakeCategoryList& list) {
    list.Select(1);
    ManageCategory(app, list, CategoryAction::Delete);
    ManageCategory(app, list, CategoryAction::Delete);  // cancelled: nothing happens
    EXPECT_EQ(list.rows.size(), 2u);
  });
  EXPECT_FALSE(stdfs::exists(home + "Work/Budget.tbr"));  // the mode's documents go first
  EXPECT_TRUE(stdfs::exists(home + "Work/.hidden"));
  EXPECT_EQ(messages->shown(),
            (std::vector<Message>{
                {"The current category is not empty.  Check to be sure that there are no other "
                 "files in the directory:\r\n\r\n'" +
                     home +
                     "Work'.\r\n\r\nThis category can "
                     "not be deleted.",
                 "Brevora", MsgButtons::Ok, MsgIcon::Exclamation}}));
}

TEST(DupInAnotherDir, LooksThroughTheOtherCategoriesInOrder) {
  const std::string root = test::MakeCustomHome();
  WriteFile(root + "Alpha/Other.tbr", "");
  WriteFile(root + "Beta/BUDGET.tbr", "");
  WriteFile(root + "Gamma/Budget.tbr", "");
  WriteFile(root + "Work/Budget.tbr", "");
  stdfs::create_directories(root + "Delta/Budget.tbr");  // a folder is no document
  const std::optional<DuplicateDocument> beta = DuplicateDocument{root + "Beta/BUDGET.tbr", "Beta"};
  const std::optional<DuplicateDocument> gamma =
      DuplicateDocument{root + "Gamma/Budget.tbr", "Gamma"};
  EXPECT_EQ(DupInAnotherDir("Budget.tbr", "work", root), beta);
  EXPECT_EQ(DupInAnotherDir("Budget.tbr", "Beta", root), gamma);
  EXPECT_EQ(DupInAnotherDir("Missing.tbr", "Work", root), std::nullopt);
  const AutomationError e =
      test::ErrorOf([&] { DupInAnotherDir("Budget.tbr", "Work", root + "gone"); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "DupInAnotherDir");
  EXPECT_EQ(e.description().rfind("Error when looking for duplicate workbook.  \r\n", 0), 0u);
}

// What a batch of imports checks names against: the category folders as they
// were read once, and the names it was told of since.
TEST(CategoryNames, MatchesWithoutCaseTheNamesReadOnceAndThoseAdded) {
  const std::string root = test::MakeCustomHome();
  WriteFile(root + "Work/budget.tbr", "");
  WriteFile(root + "Work/Budget.TBR", "");
  WriteFile(root + "Work/Plan.tbr", "");
  WriteFile(root + "Alpha/Other.tbr", "");
  CategoryNames names(root);
  const struct {
    const char* category;
    const char* name;
    std::optional<std::string> found;
  } cases[] = {
      {"Work", "budget.tbr", "budget.tbr"},  // an exact match first
      {"Work", "BUDGET.tbr", "Budget.TBR"},  // else the first in byte order
      {"Work", "plan.TBR", "Plan.tbr"},     {"Work", "Missing.tbr", std::nullopt},
      {"Gone", "Plan.tbr", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(names.Find(c.category, c.name), c.found) << c.category << "/" << c.name;
  EXPECT_EQ(names.FindElsewhere("other.tbr", "Work"),
            (DuplicateDocument{root + "Alpha/Other.tbr", "Alpha"}));

  // Made after the folders were read: known once added.
  WriteFile(root + "Work/Late.tbr", "");
  WriteFile(root + "Alpha/New.tbr", "");
  EXPECT_EQ(names.Find("Work", "late.tbr"), std::nullopt);
  EXPECT_EQ(names.FindElsewhere("NEW.tbr", "Work"), std::nullopt);
  names.Add("Work", "Late.tbr");
  names.Add("Alpha", "New.tbr");
  EXPECT_EQ(names.Find("Work", "LATE.tbr"), "Late.tbr");
  EXPECT_EQ(names.FindElsewhere("NEW.tbr", "Work"),
            (DuplicateDocument{root + "Alpha/New.tbr", "Alpha"}));
}

}  // namespace
}  // namespace brevora::frontend
