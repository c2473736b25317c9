// Imports into a real home folder: the window stands in as a recorder, Excel
// as the recording fake of the converter tests; Word and PowerPoint are
// missing, as on Linux.
#include "frontend/file_import.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/on_fresh_thread.h"
#include "doc/document.h"
#include "frontend/desktop_test_support.h"
#include "frontend/frontend_test_support.h"
#include "platform/automation/class_registry.h"
#include "sheet/converter_test_support.h"
#include "sheet/workbook.h"

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
    for (const auto& e : stdfs::directory_iterator(home + category))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string home = test::MakeCustomHome();
  std::string outside = testing::MakeTempDir("outside") + "/";
  test::RecordedMessages messages;
};

// Whether the lock of `folder` (fs::FolderLock) could be taken now.
bool LockIsFree(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const bool free = fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0;
  if (fd >= 0) close(fd);
  return free;
}

Message Critical(const std::string& text, const std::string& title = "Brevora") {
  return {text, title, MsgButtons::Ok, MsgIcon::Critical};
}

// A desktop workbook (not marked modified) whose first cell holds `text`.
std::string WriteWorkbook(const std::string& path, const std::string& text) {
  core::OnFreshThread([&] {
    Ref<sheet::Workbook> workbook = MakeRef<sheet::Workbook>();
    workbook->InitFromDefaults();
    workbook->Sheets().Item(1).Cells().Add(1, 1).SetValue(text);
    workbook->SetIsModified(false);
    stdfs::create_directories(stdfs::path(path).parent_path());
    workbook->WriteToDisk(path);
  });
  return ReadFile(path);
}

// A desktop document (not marked modified) of one block `text`.
std::string WriteDocument(const std::string& path, const std::string& text) {
  core::OnFreshThread([&] {
    Ref<doc::Document> document = MakeRef<doc::Document>();
    document->InitFromDefaults();
    document->SetBlocks({text});
    document->SetIsModified(false);
    stdfs::create_directories(stdfs::path(path).parent_path());
    document->WriteToDisk(path);
  });
  return ReadFile(path);
}

// A desktop file's bytes as the import leaves them: marked modified (its
// first line is the modified flag, 1 or 0).
std::string Marked(std::string bytes) {
  EXPECT_EQ(bytes.substr(0, 1), "0") << "a desktop file not marked modified";
  if (!bytes.empty()) bytes[0] = '1';
  return bytes;
}

TEST_F(Import, CopiesWorkbooksAndDocumentsMarkedAndSwitchesTheMode) {
  stdfs::create_directories(home + "Work");
  const std::string budget = WriteWorkbook(outside + "Budget.tbr", "budget");
  const std::string letter = WriteDocument(outside + "Letter.scv", "letter");
  Run(0, [&](TabrelPC& app, FakeImportWindow& window, FileImporter& importer) {
    importer.BringFileIn("\"" + outside + "Budget.tbr\"");
    importer.BringFileIn(outside + "Letter.scv");
    EXPECT_EQ(app.Session()->FileMode(), 1);
    EXPECT_EQ(window.log, (std::vector<std::string>{"Refill(Work, Budget)", "SwitchFileMode(2)",
                                                    "Refill(Work, Letter)"}));
    EXPECT_EQ(window.status,
              (std::vector<std::string>{"Please wait while importing document...", "",
                                        "Please wait while importing document...", ""}));
  });
  EXPECT_EQ(ReadFile(home + "Work/Budget.tbr"), Marked(budget));
  EXPECT_EQ(ReadFile(home + "Work/Letter.scv"), Marked(letter));
  EXPECT_EQ(ReadFile(outside + "Budget.tbr"), budget);  // the source is untouched
  EXPECT_EQ(Entries("Work"), (std::vector<std::string>{"Budget.tbr", "Letter.scv"}));
  EXPECT_TRUE(messages->shown().empty());
}

TEST_F(Import, AnExistingTargetIsReplacedOnlyAfterYes) {
  const std::string old = WriteWorkbook(home + "Work/Budget.TBR", "old");
  const std::string mine = WriteWorkbook(outside + "Budget.tbr", "new");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    messages->Answer(MsgResult::No);
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_TRUE(window.log.empty());
    EXPECT_EQ(ReadFile(home + "Work/Budget.TBR"), old);
    messages->Answer(MsgResult::Yes);
    importer.BringFileIn(outside + "Budget.tbr");
  });
  EXPECT_EQ(Entries("Work"), std::vector<std::string>{"Budget.TBR"});
  EXPECT_EQ(ReadFile(home + "Work/Budget.TBR"), Marked(mine));
  EXPECT_EQ(messages->shown()[0],
            (Message{"This workbook already exists.  Do you want to overwrite it?", "Brevora",
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
  const std::string theirs = WriteWorkbook(home + "Home/Budget.tbr", "theirs");
  stdfs::create_directories(home + "Work");
  const std::string mine = WriteWorkbook(outside + "Budget.tbr", "mine");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    messages->Answer(MsgResult::No);
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_EQ(ReadFile(home + "Home/Budget.tbr"), theirs);
    messages->Answer(MsgResult::Yes);
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_EQ(window.log, std::vector<std::string>{"Refill(Work, Budget)"});
  });
  EXPECT_EQ(ReadFile(home + "Home/Budget.tbr"), Marked(mine));
  EXPECT_TRUE(Entries("Work").empty());
  EXPECT_EQ(
      messages->shown()[0],
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
    for (const char* name : {"notes.txt", "page.HTM", "Memo.pdb"})
      importer.BringFileIn(outside + name);
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
  WriteFile(home + "Work/Memo.scv", "2precious");
  WriteFile(outside + "Memo.pdb", "not a handheld database");
  Run(1, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    messages->Answer(MsgResult::Yes);
    importer.BringFileIn(outside + "Memo.pdb");
    EXPECT_EQ(window.log, (std::vector<std::string>{"Refill(Work, Memo)"}));
  });
  EXPECT_EQ(ReadFile(home + "Work/Memo.scv"), "2precious");
  EXPECT_EQ(Entries("Work"), (std::vector<std::string>{"Memo.scv"}));  // nothing left behind
  const std::vector<Message> shown = messages->shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1], Critical("Could not successfully add this document."));
}

// What isn't a regular file is refused before anything else happens: a FIFO
// named like a text file (which would be read for ever), a folder, a file
// that isn't there. The alarm turns a wait into a failed test.
TEST_F(Import, OnlyRegularFilesAreImported) {
  WriteFile(home + "Work/notes.scv", "2precious");
  ASSERT_EQ(mkfifo((outside + "notes.txt").c_str(), 0600), 0);
  stdfs::create_directories(outside + "Budget.tbr");
  Run(1, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    alarm(20);
    for (const char* source : {"notes.txt", "Budget.tbr", "Missing.scv", "Gone.xls"}) {
      importer.BringFileIn(outside + source);
    }
    alarm(0);
    EXPECT_TRUE(window.log.empty());
  });
  EXPECT_EQ(ReadFile(home + "Work/notes.scv"), "2precious");
  EXPECT_EQ(Entries("Work"), std::vector<std::string>{"notes.scv"});
  EXPECT_EQ(
      messages->shown(),
      (std::vector<Message>{Critical("Could not successfully add this document.\r\n\r\n'" +
                                     outside + "notes.txt' is not a file that can be imported."),
                            Critical("Could not successfully add this workbook.\r\n\r\n'" +
                                     outside + "Budget.tbr' is not a file that can be imported."),
                            Critical("Could not successfully add this document.\r\n\r\n'" +
                                     outside + "Missing.scv' was not found."),
                            Critical("Could not successfully add this workbook.\r\n\r\n'" +
                                     outside + "Gone.xls' was not found.")}));
}

// A copied desktop file must be one its own reader takes whole: junk named
// like a workbook or a document is refused, naming the file, and nothing is
// written (an existing target stays as it was).
TEST_F(Import, DesktopFilesTheirReaderRefusesAreNotCopied) {
  const std::string budget = WriteWorkbook(home + "Work/Budget.tbr", "budget");
  std::string junk;
  for (int i = 0; i < 3000; ++i) junk.push_back(static_cast<char>((i * 7919) % 251));
  const struct {
    const char* file;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"empty.tbr", "", "add this workbook.\r\n\r\n'%s' is not a Tabulyn workbook."},
      {"Budget.tbr", junk, "add this workbook.\r\n\r\n'%s' is not a Tabulyn workbook."},
      {"cut.tbr", budget.substr(0, budget.size() / 2),
       "add this workbook.\r\n\r\n'%s' is not a Tabulyn workbook."},
      {"junk.scv", junk, "add this document.\r\n\r\n'%s' is not a Scrivane document."},
      {"empty.scv", "", "add this document.\r\n\r\n'%s' is not a Scrivane document."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string source = outside + c.file;
    WriteFile(source, c.bytes);
    const size_t before = messages->shown().size();
    const bool replaces = std::string(c.file) == "Budget.tbr";
    Run(0, [&](TabrelPC&, FakeImportWindow&, FileImporter& importer) {
      if (replaces) messages->Answer(MsgResult::Yes);
      importer.BringFileIn(source);
    });
    std::string text = std::string("Could not successfully ") + c.message;
    text.replace(text.find("%s"), 2, source);
    ASSERT_EQ(messages->shown().size(), before + (replaces ? 2 : 1))
        << "the question to replace, the refusal";
    EXPECT_EQ(messages->shown().back(), Critical(text));
    EXPECT_EQ(Entries("Work"), std::vector<std::string>{"Budget.tbr"});
    EXPECT_EQ(ReadFile(home + "Work/Budget.tbr"), budget);
  }
}

// An import killed midway leaves its scratch folder; the next import into the
// same user's folder removes it, and nothing else hidden there.
TEST_F(Import, TheNextImportRemovesWhatAKilledOneLeft) {
  stdfs::create_directories(home + "Work/.import-k1ll3d.scratch/Budget");
  WriteFile(home + "Home/.import-abcdef.scratch/Plan.tbr", "half");
  WriteFile(home + "Home/.mine", "kept");
  stdfs::create_directories(home + "Home/.import-abcdef");
  const std::string letter = WriteWorkbook(outside + "Letter.tbr", "letter");
  Run(0, [&](TabrelPC&, FakeImportWindow&, FileImporter& importer) {
    importer.BringFileIn(outside + "Letter.tbr");
  });
  EXPECT_EQ(Entries("Work"), std::vector<std::string>{"Letter.tbr"});
  EXPECT_EQ(Entries("Home"), (std::vector<std::string>{".import-abcdef", ".mine"}));
  EXPECT_TRUE(messages->shown().empty());
}

// Files imported in one go (a drop) share one scratch folder in their
// category, emptied after each import, whatever it came to, and removed when
// the batch ends; leftovers of killed imports are removed by its first import.
TEST_F(Import, ABatchSharesOneScratchFolderAndRemovesItAtItsEnd) {
  stdfs::create_directories(home + "Work/.import-k1ll3d.scratch/Budget");
  WriteFile(outside + "junk/Budget.tbr", "not a workbook");
  const std::string budget = WriteWorkbook(outside + "Budget.tbr", "budget");
  const std::string letter = WriteWorkbook(outside + "Letter.tbr", "letter");
  const auto scratch = [&] {
    std::vector<std::string> folders;
    for (const std::string& name : Entries("Work")) {
      if (name.front() == '.') folders.push_back(name);
    }
    return folders;
  };
  Run(0, [&](TabrelPC&, FakeImportWindow&, FileImporter& importer) {
    const FileImporter::Batch batch(importer);
    importer.BringFileIn(
        outside + "junk/Budget.tbr");  // refused: its copy stays in the scratch folder no longer
    const std::vector<std::string> shared = scratch();
    ASSERT_EQ(shared.size(), 1u);
    EXPECT_NE(shared[0], ".import-k1ll3d.scratch");
    EXPECT_TRUE(stdfs::is_empty(home + "Work/" + shared[0]));
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_EQ(scratch(), shared);
    EXPECT_TRUE(stdfs::is_empty(home + "Work/" + shared[0]));

    // An import elsewhere (another process's, say) took it for a killed one's
    // and removed it: the next import makes another.
    stdfs::remove_all(home + "Work/" + shared[0]);
    importer.BringFileIn(outside + "Letter.tbr");
    EXPECT_EQ(scratch().size(), 1u);
  });
  EXPECT_EQ(Entries("Work"), (std::vector<std::string>{"Budget.tbr", "Letter.tbr"}));
  EXPECT_EQ(ReadFile(home + "Work/Budget.tbr"), Marked(budget));
  EXPECT_EQ(ReadFile(home + "Work/Letter.tbr"), Marked(letter));
  ASSERT_EQ(messages->shown().size(), 1u);
  EXPECT_EQ(messages->shown()[0],
            Critical("Could not successfully add this workbook.\r\n\r\n'" + outside +
                     "junk/Budget.tbr' is not a Tabulyn workbook."));
}

// A batch holds the user's mode folder from its first import to its end, so
// that the names it read there once stay true for every name it checks; its
// own imports count, in its category and in the others.
TEST_F(Import, ABatchHoldsTheModeFolderAndChecksNamesAgainstItsOwnImports) {
  stdfs::create_directories(home + "Work");
  stdfs::create_directories(home + "Home");
  WriteWorkbook(outside + "a/Budget.tbr", "first");
  const std::string second = WriteWorkbook(outside + "b/BUDGET.tbr", "second");
  WriteWorkbook(outside + "c/budget.tbr", "third");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    {
      const FileImporter::Batch batch(importer);
      EXPECT_TRUE(LockIsFree(home));
      importer.BringFileIn(outside + "a/Budget.tbr");
      EXPECT_FALSE(LockIsFree(home));
      messages->Answer(MsgResult::Yes);
      importer.BringFileIn(outside + "b/BUDGET.tbr");  // the name the batch made: replaced
      window.category = "Home";
      messages->Answer(MsgResult::No);
      importer.BringFileIn(outside + "c/budget.tbr");  // held by another category: asked
      EXPECT_FALSE(LockIsFree(home));
    }
    EXPECT_TRUE(LockIsFree(home));
  });
  EXPECT_EQ(Entries("Work"), std::vector<std::string>{"Budget.tbr"});
  EXPECT_EQ(ReadFile(home + "Work/Budget.tbr"), Marked(second));
  EXPECT_TRUE(Entries("Home").empty());
  EXPECT_EQ(messages->shown(),
            (std::vector<Message>{
                {"This workbook already exists.  Do you want to overwrite it?", "Brevora",
                 MsgButtons::YesNo, MsgIcon::Question},
                {"This workbook already exists in the category: 'Work'.  Do you want to overwrite?",
                 "Overwrite workbook", MsgButtons::YesNo, MsgIcon::Question}}));
}

TEST_F(Import, NamesAreCheckedAgainstTheModesMaximum) {
  stdfs::create_directories(home + "Work");
  const std::string name30(30, 'w'), name31(31, 'd'), name32(32, 'd');
  for (const std::string& n :
       {name30 + ".tbr", name31 + ".tbr", std::string(".hidden.tbr"), std::string("a:b.tbr")}) {
    WriteWorkbook(outside + n, "x");
  }
  for (const std::string& n : {name31 + ".txt", name32 + ".txt"}) WriteFile(outside + n, "2x");
  Run(0, [&](TabrelPC&, FakeImportWindow&, FileImporter& importer) {
    for (const std::string& n : {name30 + ".tbr", name31 + ".tbr", name31 + ".txt", name32 + ".txt",
                                 std::string(".hidden.tbr"), std::string("a:b.tbr")}) {
      importer.BringFileIn(outside + n);
    }
  });
  EXPECT_EQ(Entries("Work"), (std::vector<std::string>{name31 + ".scv", name30 + ".tbr"}));
  EXPECT_EQ(messages->shown(),
            (std::vector<Message>{
                {"Only 30 characters per document name are allowed.  Please rename this document.",
                 "", MsgButtons::Ok},
                {"Only 31 characters per document name are allowed.  Please rename this document.",
                 "", MsgButtons::Ok},
                {"A document name can't begin with a full stop.", "", MsgButtons::Ok},
                {"A document name can't contain any of the characters / \\ : * ? \" < > |.", "",
                 MsgButtons::Ok}}));
}

TEST_F(Import, UnknownTypesAndABlankCategoryImportNothing) {
  stdfs::create_directories(home + "Work");
  WriteFile(outside + "picture.png", "x");
  WriteWorkbook(outside + "Budget.tbr", "x");
  Run(0, [&](TabrelPC&, FakeImportWindow& window, FileImporter& importer) {
    importer.BringFileIn(outside + "picture.png");
    window.category = "";
    importer.BringFileIn(outside + "Budget.tbr");
    EXPECT_TRUE(window.log.empty());
  });
  EXPECT_TRUE(Entries("Work").empty());
  EXPECT_EQ(messages->shown(),
            (std::vector<Message>{
                Critical("Unknown file type.  Please make sure file type is either .XLS, .TBR., "
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
    EXPECT_EQ(window.log,
              (std::vector<std::string>{"ShowWait(Please wait.  Converting spreadsheet..., False)",
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
    messages->Answer(MsgResult::Yes);              // replace
    messages->Answer(MsgResult::No);               // a copy
    importer.BringFileIn(outside + "Letter.doc");  // no Word here
    window.options = std::nullopt;
    importer.BringFileIn(outside + "Talk.ppt");  // options cancelled
    window.options = true;
    importer.BringFileIn(outside + "Talk.ppt");  // no PowerPoint here
    EXPECT_EQ(window.log,
              (std::vector<std::string>{
                  "SwitchFileMode(2)", "ShowWait(Please wait.  Converting document..., False)",
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
