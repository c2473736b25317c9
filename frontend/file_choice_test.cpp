// OK in the Open and Save dialogs: typed names, the paths they stand for and
// the overwrite questions; the preselection of a file given to a dialog.
#include "frontend/file_choice.h"

#include <gtest/gtest.h>

#include "frontend/frontend_test_support.h"
#include "platform/fs/files.h"
#include "testing/temp_home.h"

namespace brevora::frontend {
namespace {

using services::MsgResult;

TEST(NameProblem, RefusesWhatCantBeADocumentNameInItsFolder) {
  for (const std::string& good : std::vector<std::string>{"Budget", "Budget 2026", "Budget.tbr",
                                                          "a.b", " .. ", std::string(30, 'x')}) {
    EXPECT_FALSE(NameProblem(good, 0, 30)) << good;
  }
  EXPECT_FALSE(NameProblem(std::string(30, 'x') + ".TBR", 0, 30));  // the extension is not counted
  for (const char* bad : {"../x", "a/b", "a\\b", "c:x", "a*", "a?", "a\"b", "<a>", "a|b",
                          "tab\tname", "\x7F", ".", "..", "...x", ".tbr", "   "}) {
    EXPECT_TRUE(NameProblem(bad, 0, 30)) << bad;
  }
  EXPECT_EQ(*NameProblem(std::string(31, 'x'), 0, 30),
            "Only 30 characters per document name are allowed.  Please rename this document.");
  EXPECT_FALSE(NameProblem(std::string(31, 'x'), 1, 31));
}

class Confirm : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* category : {"Unfiled", "Business", "private"})
      fs::MakeFolder(home_ + category);
  }
  void Touch(const std::string& relative) {
    fs::AtomicWrite(home_ + relative, std::string_view("2"));
  }

  std::string home_ = testing::MakeTempDir("home") + "\\";
  test::RecordedMessages messages_;
};

TEST_F(Confirm, SaveOfANewNameAsksNothing) {
  EXPECT_EQ(ConfirmSave(home_, "Unfiled", "Budget", 0), home_ + "Unfiled/Budget.tbr");
  EXPECT_EQ(ConfirmSave(home_, "Unfiled", "Budget.TBR", 0),
            home_ + "Unfiled/Budget.tbr");  // extension once
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(Confirm, SaveOverAFileInAnotherCategory) {
  Touch("Business/Budget.tbr");
  messages_->Answer(MsgResult::No);
  EXPECT_FALSE(ConfirmSave(home_, "Unfiled", "Budget", 0));
  messages_->Answer(MsgResult::Yes);
  EXPECT_EQ(ConfirmSave(home_, "Unfiled", "Budget", 0), home_ + "Business/Budget.tbr");
  ASSERT_EQ(messages_->shown().size(), 2u);
  EXPECT_EQ(
      messages_->shown()[0],
      (services::Message{
          "This workbook already exists in the category: 'Business'.  Do you want to overwrite?",
          "Overwrite workbook", services::MsgButtons::YesNo, services::MsgIcon::Question}));
}

TEST_F(Confirm, SaveOverAFileInTheSameCategoryUnderItsOwnName) {
  Touch("private/Memo.scv");
  messages_->Answer(MsgResult::Yes);
  EXPECT_EQ(ConfirmSave(home_, "private", "memo", 1), home_ + "private/Memo.scv");
  ASSERT_EQ(messages_->shown().size(), 1u);
  EXPECT_EQ(messages_->shown()[0],
            (services::Message{
                "Workbook 'memo' exists in category 'private'.  Click Yes to overwrite.",
                "Overwrite Workbook", services::MsgButtons::YesNo, services::MsgIcon::Question}));
  messages_->Answer(MsgResult::No);
  EXPECT_FALSE(ConfirmSave(home_, "private", "Memo", 1));
}

TEST_F(Confirm, AFolderDifferingInCaseOnlyCountsAsTheCurrentCategory) {
  fs::MakeFolder(home_ + "PRIVATE");
  Touch("PRIVATE/Memo.scv");
  EXPECT_EQ(ConfirmSave(home_, "private", "Memo", 1), home_ + "private/Memo.scv");
  EXPECT_TRUE(messages_->shown().empty());
}

TEST_F(Confirm, DuplicateSearchSkipsFoldersAndTheCurrentCategory) {
  fs::MakeFolder(home_ + "Business/Deck.pdb");  // a folder is no document
  Touch("Unfiled/Deck.pdb");
  EXPECT_FALSE(DupInAnotherDir("Deck.pdb", "unfiled", home_));
  EXPECT_EQ(DupInAnotherDir("deck.PDB", "private", home_),
            (DuplicateDocument{home_ + "Unfiled/Deck.pdb", "Unfiled"}));
  const AutomationError e = test::ErrorOf([&] { DupInAnotherDir("x.tbr", "", home_ + "gone"); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "DupInAnotherDir");
  EXPECT_EQ(e.description().rfind("Error when looking for duplicate workbook.  \r\n", 0), 0u);
}

TEST_F(Confirm, OpenReturnsThePathWhetherItExistsOrNot) {
  EXPECT_EQ(OpenPath(home_, "Business", "Nowhere", 2), home_ + "Business/Nowhere.pdb");
}

TEST(Preselection, OfAFileOfACategoryFolder) {
  const std::string home = "/data/anna/tabrel\\";
  EXPECT_EQ(PreselectionOf("/data/anna/tabrel/Business/Budget.tbr", home, 0),
            (Preselection{"Business", "Budget"}));
  EXPECT_EQ(PreselectionOf("/data/anna/tabrel\\Business\\Budget.TBR", home, 0),
            (Preselection{"Business", "Budget"}));
  for (const char* other :
       {"", "Budget.tbr", "/data/anna/tabrel/Budget.tbr", "/data/anna/tabrel/a/b/c.tbr",
        "/data/bob/tabrel/Business/Budget.tbr", "/data/anna/tabrelx/Business/Budget.tbr",
        "/data/anna/tabrel/../x/Budget.tbr"}) {
    EXPECT_FALSE(PreselectionOf(other, home, 0)) << other;
  }
}

}  // namespace
}  // namespace brevora::frontend
