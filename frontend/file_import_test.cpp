// Imports into a real home folder: the window stands in as a recorder, Excel
// as the recording fake of the converter tests; Word and PowerPoint are
// missing, as on Linux.
#include "frontend/file_import.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "core/on_fresh_thread.h"
#include "doc/document.h"
#include "frontend/desktop_test_support.h"
#include "frontend/frontend_test_support.h"
#include "platform/automation/class_registry.h"
#include "sheet/converter_test_support.h"

namespace brevora::frontend {
namespace {

namespace stdfs = std::filesystem;
using services::Message;
using services::MsgButtons;
using services::MsgIcon;
using services::MsgResult;
using test::FakeImportWindow;
using test::ReadFile;
using test::WriteFile;

class Import : public ::testing::Test {
 protected:
  void Run(int mode, const std::function<void(TabrelPC&, FakeImportWindow&, FileImporter&)>& body) {
    core::OnFreshThread([&] {
      Ref<TabrelPC> app = MakeRef<TabrelPC>();
      app->Session()->SetFileMode(mode);
      FakeImportWindow window(*app, "Work");
      FileImporter importer(*app, window);
      body(*app, window, importer);
      EXPECT_FALSE(window.busy);
      EXPECT_FALSE(window.waiting);
      EXPECT_TRUE(window.enabled);
      EXPECT_EQ(window.status.back(), "");
    });
  }
  // What the category folders hold, hidden entries included.
  std::vector<std::string> Entries(const std::string& category) {
    std::vector<std::string> names;
    for (const auto& e : stdfs::directory_iterator(home + category)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string home = test::MakeCustomHome();
  std::string outside = testing::MakeTempDir("outside") + "/";
  test::RecordedMessages messages;
};

Message Critical(const std::string& text, const std::string& title = "Brevora") {
  return {text, title, MsgButtons::Ok, MsgIcon::Critical};
}

TEST_F(Import, CopiesWorkbooksAndDocumentsMarkedAndSwitchesTheMode) {
  stdfs::create_directories(home + "Work");
  WriteFile(outside + "Budget.tbr", "2budget");
  WriteFile(outside + "Letter.scv", "2letter");
  Run(0, [&](TabrelPC& app, FakeImportWindow& window, FileImporter& importer) {
    importer.BringFileIn("\"" + outside + "Budget.tbr\"");
    importer.BringFileIn(outside + "Letter.scv");
    EXPECT_EQ(app.Session()->FileMode(), 1);
    EXPECT_EQ(window.log, (std::vector<std::string>{"Refill(Work, Budget)", "SwitchFileMode(2)",
                                                    "Refill(Work, Letter)"}));
    EXPECT_EQ(window.status, (std::vector<std::string>{"Please wait while importing document...", "",
                                                       "Please wait while importing document...", ""}));
  });
  EXPECT_EQ(ReadFile(home + "Work/Budget.tbr"), "1budget");
  EXPECT_EQ(ReadFile(home + "Work/Letter.scv"), "1letter");
  EXPECT_EQ(ReadFile(outside + "Budget.tbr"), "2budget");  // the source is untouched
  EXPECT_EQ(Entries("Work"), (std::vector<std::string>{"Budget.tbr", "Letter.scv"}));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(Import, AnExistingTargetIsReplacedOnlyAfterYes) {
  WriteFile(home + "Work/Budget.TBR", "2old");
  WriteFile(outside + "Budget.tbr", "2new");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    messages->Answer(MsgResult::No);
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_TRUE(window.log.empty());
    EXPECT_EQ(ReadFile(home + "Work/Budget.TBR"), "2old");
    messages->Answer(MsgResult::Yes);
    importer.BringFileIn(outside + "Budget.tbr");
  });
  EXPECT_EQ(Entries("Work"), std::vector<std::string>{"Budget.TBR"});
  EXPECT_EQ(ReadFile(home + "Work/Budget.TBR"), "1new");
  EXPECT_EQ(messages->shown()[0], (Message{"This workbook already exists.  Do you want to overwrite it?", "Brevora",
                                           MsgButtons::YesNo, MsgIcon::Question}));
}

TEST_F(Import, AFileImportedOntoItselfIsOnlyMarked) {
  WriteFile(home + "Work/Budget.tbr", "2keep these bytes");
  WriteFile(home + "Home/Plan.tbr", "2plan");
  Run(0, [&](TabrelPC&, FakeImportWindow&, FileImporter& importer) {
    messages->Answer(MsgResult::Yes);
    importer.BringFileIn(home + "Work/Budget.tbr");
    messages->Answer(MsgResult::Yes);  // "Plan" lies in "Home": it is replaced there, by itself
    importer.BringFileIn(home + "Home/Plan.tbr");
  });
  EXPECT_EQ(ReadFile(home + "Work/Budget.tbr"), "1keep these bytes");
  EXPECT_EQ(ReadFile(home + "Home/Plan.tbr"), "1plan");
  EXPECT_EQ(Entries("Work"), std::vector<std::string>{"Budget.tbr"});
}

TEST_F(Import, ADocumentOfTheSameNameInAnotherCategoryIsReplacedThere) {
  WriteFile(home + "Home/Budget.tbr", "2theirs");
  stdfs::create_directories(home + "Work");
  WriteFile(outside + "Budget.tbr", "2mine");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    messages->Answer(MsgResult::No);
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_EQ(ReadFile(home + "Home/Budget.tbr"), "2theirs");
    messages->Answer(MsgResult::Yes);
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_EQ(window.log, std::vector<std::string>{"Refill(Work, Budget)"});
  });
  EXPECT_EQ(ReadFile(home + "Home/Budget.tbr"), "1mine");
  EXPECT_TRUE(Entries("Work").empty());
  EXPECT_EQ(messages->shown()[0],
            (Message{"This workbook already exists in the category: 'Home'.  Do you want to overwrite?",
                     "Overwrite workbook", MsgButtons::YesNo, MsgIcon::Question}));
}

TEST_F(Import, TextHtmlAndDocumentDatabasesAreLoadedIntoDocuments) {
  stdfs::create_directories(home + "Work");
  WriteFile(outside + "notes.txt", "Plain text\r\nsecond line\r\n");
  WriteFile(outside + "page.HTM", "<html><body><p>Hello &amp; welcome</p></body></html>");
  Run(1, [&](TabrelPC& app, FakeImportWindow&, FileImporter& importer) {
    {
      Ref<doc::Document> d = MakeRef<doc::Document>();
      d->SetSession(app.Session());
      ASSERT_TRUE(d->OpenFromTextFile(outside + "notes.txt"));
      d->WriteToPDB(outside + "Memo.pdb");
    }
    for (const char* name : {"notes.txt", "page.HTM", "Memo.pdb"}) importer.BringFileIn(outside + name);
    for (const char* name : {"notes.scv", "page.scv", "Memo.scv"}) {
      Ref<doc::Document> d = MakeRef<doc::Document>();
      d->SetSession(app.Session());
      bool read = true, update = false;
      EXPECT_TRUE(d->OpenFromDisk(home + "Work/" + name, read, update)) << name;
      EXPECT_TRUE(d->IsModified()) << name;
    }
  });
  EXPECT_EQ(Entries("Work"), (std::vector<std::string>{"Memo.scv", "notes.scv", "page.scv"}));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(Import, AFailedLoadLeavesTheExistingTargetAsItWas) {
  WriteFile(home + "Work/notes.scv", "2precious");
  WriteFile(home + "Work/Budget.tbr", "2precious");
  stdfs::create_directories(outside + "notes.txt");  // can't be read as a text file
  stdfs::create_directories(outside + "Budget.tbr");
  Run(1, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    messages->Answer(MsgResult::Yes);
    importer.BringFileIn(outside + "notes.txt");
    messages->Answer(MsgResult::Yes);
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_EQ(window.log, (std::vector<std::string>{"Refill(Work, notes)", "SwitchFileMode(1)",
                                                    "Refill(Work, Budget)"}));
  });
  EXPECT_EQ(ReadFile(home + "Work/notes.scv"), "2precious");
  EXPECT_EQ(ReadFile(home + "Work/Budget.tbr"), "2precious");
  EXPECT_EQ(Entries("Work"), (std::vector<std::string>{"Budget.tbr", "notes.scv"}));  // nothing left behind
  const std::vector<Message> shown = messages->shown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[1], Critical("Could not successfully add this document."));
  EXPECT_EQ(shown[3], Critical("Could not successfully add this workbook."));
}

TEST_F(Import, NamesAreCheckedAgainstTheModesMaximum) {
  stdfs::create_directories(home + "Work");
  const std::string name30(30, 'w'), name31(31, 'd'), name32(32, 'd');
  for (const std::string& n : {name30 + ".tbr", name31 + ".tbr", name31 + ".txt", name32 + ".txt"}) {
    WriteFile(outside + n, "2x");
  }
  WriteFile(outside + ".hidden.tbr", "2x");
  WriteFile(outside + "a:b.tbr", "2x");
  Run(0, [&](TabrelPC&, FakeImportWindow&, FileImporter& importer) {
    for (const std::string& n : {name30 + ".tbr", name31 + ".tbr", name31 + ".txt", name32 + ".txt",
                                 std::string(".hidden.tbr"), std::string("a:b.tbr")}) {
      importer.BringFileIn(outside + n);
    }
  });
  EXPECT_EQ(Entries("Work"), (std::vector<std::string>{name31 + ".scv", name30 + ".tbr"}));
  EXPECT_EQ(messages->shown(),
            (std::vector<Message>{
                {"Only 30 characters per document name are allowed.  Please rename this document.", "", MsgButtons::Ok},
                {"Only 31 characters per document name are allowed.  Please rename this document.", "", MsgButtons::Ok},
                {"A document name can't begin with a full stop.", "", MsgButtons::Ok},
                {"A document name can't contain any of the characters / \\ : * ? \" < > |.", "", MsgButtons::Ok}}));
}

TEST_F(Import, UnknownTypesAndABlankCategoryImportNothing) {
  stdfs::create_directories(home + "Work");
  WriteFile(outside + "picture.png", "x");
  WriteFile(outside + "Budget.tbr", "2x");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    importer.BringFileIn(outside + "picture.png");
    window.category = "";
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_TRUE(window.log.empty());
  });
  EXPECT_TRUE(Entries("Work").empty());
  EXPECT_EQ(messages->shown(),
            (std::vector<Message>{Critical("Unknown file type.  Please make sure file type is either .XLS, .TBR., "
                                           ".DOC, .TXT, .SCV, .PPT, or .PDB."),
                                  {"Category is blank", "", MsgButtons::Ok}}));
}

TEST_F(Import, SpreadsheetsAreConvertedLinkedOrCopiedThroughExcel) {
  stdfs::create_directories(home + "Work");
  WriteFile(outside + "Sales.xls", "xls");
  WriteFile(home + "Work/Sales.tbr", "2old");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    sheet::testing::FakeExcel xl;
    testing::ScopedClass excel(sheet::testing::kExcel, xl.app, xl.script);
    std::vector<std::string> links;
    xl.Macro("XLSToTBRExt", [&](Args a) {
      EXPECT_TRUE(window.waiting);
      EXPECT_FALSE(window.enabled);
      links.push_back(CStr(a[2]));
      WriteFile(CStr(a[1]), "2converted " + std::to_string(links.size()));
      return Variant();
    });
    for (MsgResult link : {MsgResult::Yes, MsgResult::No, MsgResult::Cancel}) {
      messages->Answer(MsgResult::Yes);  // replace the existing workbook
      messages->Answer(link);
      importer.BringFileIn(outside + "Sales.xls");
    }
    EXPECT_EQ(links, (std::vector<std::string>{outside + "Sales.xls", ""}));
    EXPECT_EQ(window.log, (std::vector<std::string>{"ShowWait(Please wait.  Converting spreadsheet..., False)",
                                                    "Refill(Work, Sales)",
                                                    "ShowWait(Please wait.  Converting spreadsheet..., False)",
                                                    "Refill(Work, Sales)", "Refill(Work, Sales)"}));
  });
  EXPECT_EQ(ReadFile(home + "Work/Sales.tbr"), "2converted 2");
  EXPECT_EQ(messages->shown()[1],
            (Message{"Do you want to link to this spreadsheet '" + outside +
                         "Sales.xls'?\r\n\r\nClick 'No' to make a copy for Tabulyn?",
                     "Brevora", MsgButtons::YesNoCancel, MsgIcon::Question}));
}

TEST_F(Import, AConversionThatFailsIsShownUnderTabulynAndChangesNothing) {
  WriteFile(home + "Work/Letter.scv", "2old");
  WriteFile(outside + "Letter.doc", "doc");
  WriteFile(outside + "Talk.ppt", "ppt");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    messages->Answer(MsgResult::Yes);  // replace
    messages->Answer(MsgResult::No);   // a copy
    importer.BringFileIn(outside + "Letter.doc");  // no Word here
    window.options = std::nullopt;
    importer.BringFileIn(outside + "Talk.ppt");  // options cancelled
    window.options = true;
    importer.BringFileIn(outside + "Talk.ppt");  // no PowerPoint here
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"SwitchFileMode(2)", "ShowWait(Please wait.  Converting document..., False)",
                                        "SwitchFileMode(3)", "Options(" + outside + "Talk.ppt)",
                                        "Options(" + outside + "Talk.ppt)",
                                        "ShowWait(Please wait.  Converting presentation..., True)"}));
  });
  EXPECT_EQ(ReadFile(home + "Work/Letter.scv"), "2old");
  EXPECT_EQ(Entries("Work"), std::vector<std::string>{"Letter.scv"});
  const std::vector<Message> shown = messages->shown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[2].title, " Tabulyn");
  EXPECT_EQ(shown[2].icon, MsgIcon::Critical);
  EXPECT_EQ(shown[3].title, " Tabulyn");
}

TEST_F(Import, PresentationDatabasesAreCopiedUnderTheTargetsName) {
  stdfs::create_directories(home + "Work");
  Run(0, [&](TabrelPC& app, FakeImportWindow&, FileImporter& importer) {
    test::WritePresentation(app, outside + "Review.pdb", "Review");
    importer.BringFileIn(outside + "Review.pdb");
    EXPECT_EQ(app.Session()->FileMode(), 2);
    Ref<Dispatch> db = CreateObject("TabulynPC.ExtPDB");
    CallByName(db, "create", CallKind::Method);
    CallByName(db, "openPDB", CallKind::Method, home + "Work/Review.pdb");
    EXPECT_EQ(CStr(CallByName(db, "getName", CallKind::Method)), "Review");
  });
  EXPECT_EQ(Entries("Work"), std::vector<std::string>{"Review.pdb"});
  EXPECT_TRUE(messages->shown().empty());
}

}  // namespace
}  // namespace brevora::frontend
