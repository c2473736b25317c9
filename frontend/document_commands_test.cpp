// Deleting, renaming and moving the documents of the file list over a real
// home folder, the list standing in as a vector.
#include "frontend/document_commands.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/on_fresh_thread.h"
#include "frontend/desktop_test_support.h"
#include "frontend/frontend_test_support.h"

namespace brevora::frontend {
namespace {

namespace stdfs = std::filesystem;
using services::Message;
using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;
using test::FakeDocumentList;
using test::ReadFile;
using test::WriteFile;

class Documents : public ::testing::Test {
 protected:
  void Run(int mode, const std::function<void(TabrelPC&)>& body) {
    core::OnFreshThread([&] {
      Ref<TabrelPC> app = MakeRef<TabrelPC>();
      app->Session()->SetFileMode(mode);
      body(*app);
    });
  }
  std::vector<std::string> Files(const std::string& category) {
    return fs::ListFolder(home + category, fs::ListKind::Files);
  }

  std::string home = test::MakeCustomHome();
  test::RecordedMessages messages;
};

Message Info(const std::string& text) {
  return {text, "Brevora", MsgButtons::Ok, MsgIcon::Information};
}
Message Critical(const std::string& text) {
  return {text, "Brevora", MsgButtons::Ok, MsgIcon::Critical};
}

TEST_F(Documents, DeleteAsksThenSelectsTheRowThatTakesTheDeletedOnesPlace) {
  for (const char* name : {"A.tbr", "B.TBR", "C.tbr"}) WriteFile(home + "Work/" + name, "2");
  WriteFile(home + "Work/B.xls", "linked original");
  Run(0, [&](TabrelPC& app) {
    FakeDocumentList list({"A", "B", "C"});
    list.selected = {1};
    messages->Answer(MsgResult::No);
    DeleteSelectedFiles(app, "Work", list);
    EXPECT_EQ(list.rows.size(), 3u);
    messages->Answer(MsgResult::Yes);
    DeleteSelectedFiles(app, "Work", list);  // "B" is "B.TBR"
    EXPECT_EQ(list.rows, (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(list.clicked, std::vector<std::string>{"C"});
    messages->Answer(MsgResult::Yes);
    DeleteSelectedFiles(app, "Work", list);  // the last row: the new last one
    EXPECT_EQ(list.clicked, (std::vector<std::string>{"C", "A"}));
    messages->Answer(MsgResult::Yes);
    DeleteSelectedFiles(app, "Work", list);  // the only row: nothing left to select
    EXPECT_TRUE(list.rows.empty());
    EXPECT_EQ(list.clicked.size(), 2u);
    DeleteSelectedFiles(app, "Work", list);  // nothing selected: no question
  });
  EXPECT_EQ(Files("Work"), std::vector<std::string>{"B.xls"});
  ASSERT_EQ(messages->shown().size(), 4u);
  EXPECT_EQ(messages->shown()[0], (Message{"Permanently delete 'B'?\r\n\r\nNOTE: If this file is "
                                           "linked, the original will not be deleted.",
                                           "Brevora", MsgButtons::YesNo, MsgIcon::Question}));
}

TEST_F(Documents, AFailedDeleteKeepsTheRow) {
  Run(0, [&](TabrelPC& app) {
    stdfs::create_directory(home + "Work");
    FakeDocumentList list({"Gone"});
    list.selected = {0};
    messages->Answer(MsgResult::Yes);
    DeleteCommand(app, "Work", list);
    messages->Answer(MsgResult::Yes);
    DeleteKey(app, "Work", list);
    EXPECT_EQ(list.rows, std::vector<std::string>{"Gone"});
  });
  const std::vector<Message> shown = messages->shown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[1], Critical("File not found"));
  EXPECT_EQ(shown[3], Critical("Could not delete workbook."));
}

TEST_F(Documents, RenameInPlace) {
  WriteFile(home + "Work/Budget.tbr", "2b");
  WriteFile(home + "Work/Plan.tbr", "2p");
  WriteFile(home + "Other/Secret.tbr", "2s");
  const struct {
    std::string from, typed;
    bool accepted;
    std::string label;
    std::vector<Message> shown;
  } cases[] = {
      {"Budget", "   ", false, "", {}},
      {"Budget",
       std::string(31, 'x'),
       false,
       "",
       {Info("Only 30 characters per document name are allowed.  Please rename this document.")}},
      {"Budget",
       "../Other/Secret",
       false,
       "",
       {Info("A document name can't contain any of the characters / \\ : * ? \" < > |.")}},
      {"Budget", "..", false, "", {Info("A document name can't begin with a full stop.")}},
      {"Budget", ".TBR", false, "", {}},  // no name before the extension
      {"Budget",
       "plan",
       false,
       "",
       {Critical("Could not rename this workbook.\r\nFile already exists")}},
      {"Budget", "Costs", true, "Costs", {}},
      {"Costs", "Summary.TBR", true, "Summary", {}},  // the extension typed: given once
      {"Summary", "SUMMARY", true, "SUMMARY", {}},    // only the case changes
      {"Missing",
       "Other",
       false,
       "",
       {Critical("Could not rename this workbook.\r\nFile not found")}},
  };
  Run(0, [&](TabrelPC& app) {
    for (const auto& c : cases) {
      const std::size_t before = messages->shown().size();
      const LabelEdit edit = RenameDocument(app, "Work", c.from, c.typed);
      EXPECT_EQ(edit.accepted, c.accepted) << c.typed;
      if (c.accepted) {
        EXPECT_EQ(edit.label, c.label) << c.typed;
      }
      const std::vector<Message> all = messages->shown();
      EXPECT_EQ(std::vector<Message>(all.begin() + static_cast<long>(before), all.end()), c.shown)
          << c.typed;
    }
  });
  EXPECT_EQ(Files("Work"), (std::vector<std::string>{"Plan.tbr", "SUMMARY.tbr"}));
  EXPECT_EQ(ReadFile(home + "Work/SUMMARY.tbr"), "1b");  // marked modified
  EXPECT_EQ(ReadFile(home + "Work/Plan.tbr"), "2p");
  EXPECT_EQ(ReadFile(home + "Other/Secret.tbr"), "2s");
}

TEST_F(Documents, TheWorkbookLimitIsThirtyTheOthersThirtyOne) {
  WriteFile(home + "Work/Note.scv", "2n");
  Run(1, [&](TabrelPC& app) {
    EXPECT_TRUE(RenameDocument(app, "Work", "Note", std::string(31, 'd')).accepted);
  });
  EXPECT_EQ(Files("Work"), std::vector<std::string>{std::string(31, 'd') + ".scv"});
}

TEST_F(Documents, MovesNeverReplaceAndSkipARefusedDocument) {
  WriteFile(home + "Work/A.tbr", "2a");
  WriteFile(home + "Work/B.tbr", "2b");
  WriteFile(home + "Work/C.tbr", "2c");
  WriteFile(home + "Work/D.tbr", "2d");
  chmod((home + "Work/C.tbr").c_str(), 0444);
  WriteFile(home + "Home/a.TBR", "2theirs");
  Run(0, [&](TabrelPC& app) {
    FakeDocumentList list({"A", "B", "C", "D"});
    list.selected = {1, 2, 3};
    MoveDocuments(app, "Work", "Home", list);  // D moves, C is refused, B moves
    EXPECT_EQ(list.rows, (std::vector<std::string>{"A", "C"}));
    list.selected = {0};
    MoveDocuments(app, "Work", "Home", list);  // "A" clashes with "a.TBR"
    EXPECT_EQ(list.rows, (std::vector<std::string>{"A", "C"}));
    MoveDocuments(app, "Work", "work", list);  // its own category: nothing
  });
  EXPECT_EQ(Files("Work"), (std::vector<std::string>{"A.tbr", "C.tbr"}));
  EXPECT_EQ(Files("Home"), (std::vector<std::string>{"a.TBR", "B.tbr", "D.tbr"}));
  EXPECT_EQ(ReadFile(home + "Home/B.tbr"), "1b");
  EXPECT_EQ(ReadFile(home + "Home/a.TBR"), "2theirs");
  EXPECT_EQ(ReadFile(home + "Work/A.tbr"), "2a");
  EXPECT_EQ(
      messages->shown(),
      (std::vector<Message>{Info("Could not move workbook."),
                            Critical("Files could not be copied.\r\n\r\nFile already exists")}));
}

}  // namespace
}  // namespace brevora::frontend
