#include "doc/sdk_document.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/module_state.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_manager.h"
#include "doc/document.h"
#include "doc/document_test_support.h"
#include "doc/word_application.h"
#include "doc/word_test_support.h"
#include "office/desktop_windows.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"

namespace brevora::doc {
namespace {

using brevora::testing::FakeServerPool;
using brevora::testing::ScopedClass;
using brevora::testing::ScopedRunning;
using core::OnFreshThread;
using testing::ErrorOf;
using testing::FakeWord;
using testing::Lines;
using testing::Values;

constexpr const char* kCrLf = "\r\n";

// A user of the thread's user manager.
void AddUser(core::Session& session, int32_t id, std::string name) {
  Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
  user->SetUID(id);
  user->SetUserName(std::move(name));
  session.GetUserManager()->GetUsers()->Add(user);
}

// A desktop document file with one line of text.
std::string WriteScv(const std::string& path, const std::string& text) {
  Ref<Document> document = MakeRef<Document>();
  document->SetBlocks({text});
  document->WriteToDisk(path);
  return path;
}

std::string TextOf(Document& document) {
  std::string text;
  for (std::string_view block : document.DocumentBlocks().Texts()) text += block;
  return text;
}

// ---- The course of a conversion through Word -------------------------------------------

TEST(SdkDocumentTest, AWordWeStartAndItsCourseEndWithQuit) {
  OnFreshThread([] {
    FakeWord word;
    word.Macro("DOCToSCVExt", [](Values&) {});
    ScopedClass registered(kWordProgId, word.app, word.script);
    MakeRef<SDK_Document>()->DOCToSCVExtSync("in.doc", "out.scv", "in.doc");
    EXPECT_EQ(word.Course(),
              (Lines{"CreateObject(Word.Application)", "Word.Visible=False", "Word.Run(Initialize)",
                     "Documents.Open(" + word.TempDocumentPath() + ")", "Word.Run(SetSession)",
                     "Word.Run(DOCToSCVExt)", "Word.Run(GetSession)",
                     "Document(ScrivSession.doc).Close(False)", "Word.Quit()"}));
    EXPECT_EQ(word.app->quitCount, 1);
    EXPECT_TRUE(word.app->documents->items.empty());
  });
}

TEST(SdkDocumentTest, ARunningWordIsUsedLeftRunningAndItsDocumentActivatedAgain) {
  OnFreshThread([] {
    FakeWord word;
    word.Macro("SCVToDOCExt", [](Values&) {});
    word.app->documents->OpenDocument("/home/anna/Letter.doc");
    ScopedRunning running(kWordProgId, word.app);
    MakeRef<SDK_Document>()->SCVToDOCExtSync("in.scv", "out.doc", "7");
    EXPECT_FALSE(word.script->Called("CreateObject"));
    EXPECT_FALSE(word.script->Called("Word.Visible"));
    EXPECT_FALSE(word.script->Called("Word.Quit"));
    EXPECT_TRUE(word.script->Called("Document(Letter.doc).Activate()"));
    EXPECT_EQ(word.app->documents->active->Name(), "Letter.doc");
  });
}

TEST(SdkDocumentTest, TheSessionValuesTravelThroughTheDocumentVariables) {
  OnFreshThread([] {
    Ref<core::Session> session = core::GlobalSession();
    AddUser(*session, 42, "Anna");
    AddUser(*session, 43, "Bert");
    session->SetUserName("Anna");
    session->SetFileMode(1);
    session->SetErrorMessage("left over");
    FakeWord word;
    Values seen;
    word.Macro("DOCToSCVExt", [&](Values& v) {
      seen = v;
      v["FILEMODE"] = "2";
      v["USERID"] = "43";
      v["USERNAME"] = "";
      v["PARAM1"] = "changed";
    });
    ScopedClass registered(kWordProgId, word.app, word.script);
    Ref<SDK_Document> sdk = MakeRef<SDK_Document>();
    sdk->SetSession(session);
    sdk->DOCToSCVExtSync("a.doc", "b.scv", std::string("link\0rest", 9));
    EXPECT_EQ(seen, (Values{{"SERVERMODE", "0"},
                            {"FRIENDLYNAME", ""},
                            {"FILEMODE", "1"},
                            {"USERID", "42"},
                            {"USERNAME", "Anna"},
                            {"PARAM1", "a.doc"},
                            {"PARAM2", "b.scv"},
                            {"PARAM3", "link"},    // cut at the NUL
                            {"ERRORMESSAGE", ""},  // emptied before the macros
                            {"ERRORNUMBER", "0"}}));
    EXPECT_EQ(session->FileMode(), 2);
    EXPECT_EQ(session->UserName(), "Bert");
    EXPECT_EQ(session->Parameter1(), Variant("changed"));
    EXPECT_EQ(session->Parameter3(), Variant("link"));
    EXPECT_EQ(word.script->Select({"Variables.Add("}).size(), 10u);  // a new document has none

    // A temporary document that keeps its variables has them set, not added again.
    word.app->documents->OpenDocument(word.TempDocumentPath())->variables->Set("SERVERMODE", "1");
    word.script->Clear();
    sdk->DOCToSCVExtSync("a.doc", "b.scv", "");
    EXPECT_TRUE(word.script->Called("Variable(SERVERMODE).Value=0"));
    EXPECT_EQ(word.script->Select({"Variables.Add("}).size(), 9u);
  });
}

TEST(SdkDocumentTest, AnAddInErrorIsWrappedAndWordStillQuit) {
  OnFreshThread([] {
    FakeWord word;
    word.Macro("DOCToSCVExt", [](Values& v) {
      v["ERRORNUMBER"] = "1004";
      v["ERRORMESSAGE"] = "The document is locked.";
    });
    ScopedClass registered(kWordProgId, word.app, word.script);
    const AutomationError e =
        ErrorOf([] { MakeRef<SDK_Document>()->DOCToSCVExt("a.doc", "b.scv"); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "SDK_Document.RunWordMacro");
    EXPECT_EQ(e.description(), std::string("Could not run word macro 'DOCToSCVExt'.") + kCrLf +
                                   "The document is locked.");
    EXPECT_EQ(word.Course().back(), "Word.Quit()");
    EXPECT_TRUE(word.script->Called("Document(ScrivSession.doc).Close(False)"));

    // 32760 from the add-in passes unchanged; so does a message without a number.
    for (const char* number : {"32760", "0"}) {
      word.Macro("DOCToSCVExt", [number](Values& v) {
        v["ERRORNUMBER"] = number;
        v["ERRORMESSAGE"] = "No room.";
      });
      const AutomationError passed =
          ErrorOf([] { MakeRef<SDK_Document>()->DOCToSCVExt("a.doc", "b.scv"); });
      EXPECT_EQ(passed.number(), kWrapError);
      EXPECT_EQ(passed.source(), "Brevora");
      EXPECT_EQ(passed.description(), "No room.");
    }
    EXPECT_EQ(word.app->quitCount, 3);
  });
}

TEST(SdkDocumentTest, AFailingMacroStillClosesTheTemporaryDocumentAndQuits) {
  OnFreshThread([] {
    FakeWord word;
    word.script->FailOn("Word.Run(SCVToDOCExt)", AutomationError(4198, "Word", "Command failed"));
    word.Macro("SCVToDOCExt", [](Values&) {});
    ScopedClass registered(kWordProgId, word.app, word.script);
    const AutomationError e =
        ErrorOf([] { MakeRef<SDK_Document>()->SCVToDOCExt("a.scv", "b.doc"); });
    EXPECT_EQ(e.source(), "SDK_Document.RunWordMacro");
    EXPECT_EQ(e.description(),
              std::string("Could not run word macro 'SCVToDOCExt'.") + kCrLf + "Command failed");
    EXPECT_EQ(
        word.Course(),
        (Lines{"CreateObject(Word.Application)", "Word.Visible=False", "Word.Run(Initialize)",
               "Documents.Open(" + word.TempDocumentPath() + ")", "Word.Run(SetSession)",
               "Word.Run(SCVToDOCExt)", "Document(ScrivSession.doc).Close(False)", "Word.Quit()"}));
  });
}

TEST(SdkDocumentTest, AVariableTheAddInDroppedIsNamedWithTheVariablesLeft) {
  OnFreshThread([] {
    FakeWord word;
    word.Macro("DOCToSCVExt", [](Values& v) { v.clear(); });
    word.app->SetMacro("GetSession", [](brevora::testing::FakeOfficeApp& app, Args) {
      auto& items = app.documents->active->variables->items;
      items.resize(2);  // only SERVERMODE and FRIENDLYNAME are left
      return Variant();
    });
    ScopedClass registered(kWordProgId, word.app, word.script);
    const AutomationError e =
        ErrorOf([] { MakeRef<SDK_Document>()->DOCToSCVExt("a.doc", "b.scv"); });
    EXPECT_EQ(e.source(), "SDK_Document.GetDocumentSessionValues");
    EXPECT_EQ(e.description(), std::string("Unable to get session value: FILEMODE") + kCrLf +
                                   "Variable Count=2" + kCrLf + "SERVERMODE = 0" + kCrLf +
                                   "FRIENDLYNAME = " + kCrLf + "Object has been deleted.");
    EXPECT_EQ(word.app->quitCount, 1);
    EXPECT_TRUE(word.app->documents->items.empty());
  });
}

// ---- Getting Word ----------------------------------------------------------------------------

TEST(SdkDocumentTest, WithoutWordTheConversionReportsItsError) {
  OnFreshThread([] {
    const AutomationError e =
        ErrorOf([] { MakeRef<SDK_Document>()->DOCToSCVExtSync("a.doc", "b.scv", "1"); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "SDK_Document.GetWordObject");
    EXPECT_EQ(e.description(), std::string("Could not get word object.") + kCrLf +
                                   "ActiveX component can't create object");
  });
}

TEST(SdkDocumentTest, AWordOlderThan8IsRefusedAndQuit) {
  OnFreshThread([] {
    FakeWord word("7.0");
    ScopedClass registered(kWordProgId, word.app, word.script);
    const AutomationError e =
        ErrorOf([] { MakeRef<SDK_Document>()->DOCToSCVExt("a.doc", "b.scv"); });
    EXPECT_EQ(e.source(), "SDK_DOCUMENT.GetWordObject");
    EXPECT_EQ(e.description(), "This API requires Word 8 or newer.");
    EXPECT_EQ(word.app->quitCount, 1);
  });
}

TEST(SdkDocumentTest, TheAddInNameFollowsWordsVersion) {
  const struct {
    const char* version;
    const char* name;
  } cases[] = {{"5.0", "scriv5.dot"}, {"7.0", "scriv7.dot"},  {"8.0", "scriv8.dot"},
               {"9.0", "scriv8.dot"}, {"6.0a", "scriv8.dot"}, {"11.0", "scriv8.dot"}};
  for (const auto& c : cases) {
    FakeWord word(c.version);
    EXPECT_EQ(AddInName(*word.app), c.name) << c.version;
  }
  FakeWord word("9.0");
  word.script->FailOn("Word.Version",
                      AutomationError(462, "", "The remote server machine does not exist"));
  const AutomationError e = ErrorOf([&] { AddInName(*word.app); });
  EXPECT_EQ(e.source(), "SDK_Document.GetWordVersion");
  EXPECT_EQ(e.description(), std::string("Could not get word version.") + kCrLf +
                                 "The remote server machine does not exist");
}

TEST(SdkDocumentTest, AnAddInFromTheStartupFolderIsOpenedAndNoneIsReportedAsItIs) {
  OnFreshThread([] {
    FakeWord word;
    word.app->addIns->items.clear();
    fs::AtomicWrite(word.addInFolder + "/Scriv8.dot", std::string_view("template"));
    OpenAddIn(*word.app);
    EXPECT_EQ(word.script->Select({"Documents.Open"}),
              (Lines{"Documents.Open(" + word.addInFolder + "\\Scriv8.dot)"}));

    fs::RemoveFile(word.addInFolder + "/Scriv8.dot");
    ScopedClass registered(kWordProgId, word.app, word.script);
    const AutomationError e =
        ErrorOf([] { MakeRef<SDK_Document>()->DOCToSCVExt("a.doc", "b.scv"); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "SDK_Document");
    EXPECT_EQ(e.description(),
              "The Scrivane add-in is not installed.  Please install the Scrivane add-in using "
              "Word / Tools | "
              "Add-Ins to load SCRIV(5)(7)(8).DOT prior to using this function.");
    EXPECT_EQ(word.app->quitCount, 1);
  });
}

// ---- Server mode
// ---------------------------------------------------------------------------------

TEST(SdkDocumentTest, InServerModeWordComesFromThePoolAndGoesBackOnEveryPath) {
  OnFreshThread([] {
    FakeWord word;
    // The add-in turns server mode off: the entry still goes back to the pool.
    word.Macro("DOCToSCVExt", [](Values& v) { v["SERVERMODE"] = "0"; });
    Ref<FakeServerPool> pool = MakeRef<FakeServerPool>(word.script);
    pool->Lend(kWordProgId, word.app);
    core::SetServerPool(pool);
    core::GlobalSession()->SetIsServerMode(true);
    Ref<SDK_Document> sdk = MakeRef<SDK_Document>();
    sdk->DOCToSCVExtSync("a.doc", "b.scv", "1");
    EXPECT_FALSE(core::GlobalSession()->IsServerMode());
    EXPECT_EQ(word.Course(),
              (Lines{"Pool.GetServer(Word.Application)", "Entry.ServerObject",
                     "Word.Run(Initialize)", "Documents.Open(" + word.TempDocumentPath() + ")",
                     "Word.Run(SetSession)", "Word.Run(DOCToSCVExt)", "Word.Run(GetSession)",
                     "Document(ScrivSession.doc).Close(False)", "Entry.ReleaseServer()"}));

    word.script->Clear();
    core::GlobalSession()->SetIsServerMode(true);
    word.Macro("DOCToSCVExt", [](Values& v) { v["ERRORNUMBER"] = "5"; });
    EXPECT_EQ(ErrorOf([&] { sdk->DOCToSCVExtSync("a.doc", "b.scv", "1"); }).source(),
              "SDK_Document.RunWordMacro");
    EXPECT_EQ(word.Course().back(), "Entry.ReleaseServer()");
    EXPECT_EQ(word.app->quitCount, 0);  // a pool's Word is never quit

    core::SetServerPool(nullptr);
    const AutomationError e = ErrorOf([&] { sdk->DOCToSCVExtSync("a.doc", "b.scv", "1"); });
    EXPECT_EQ(e.source(), "SDK_Document.DOCToSCVExt_Sync");
    EXPECT_EQ(e.description(), std::string("Error converting from DOC to SCV.") + kCrLf +
                                   "Object variable or With block variable not set");
  });
}

// ---- Through the class registry, as the conduit calls it
// -------------------------------------------

TEST(SdkDocumentTest, TheConduitCallsByProgIdWithThreeStrings) {
  OnFreshThread([] {
    FakeWord word;
    Values seen;
    word.Macro("SCVToDOCExt", [&](Values& v) { seen = v; });
    ScopedClass registered(kWordProgId, word.app, word.script);
    Ref<Dispatch> converter = CreateObject("TabulynPC.SDK_Document");
    Variant args[] = {Variant("/sync/Letter.scv"), Variant("/docs/Letter.doc"), Variant("12")};
    converter->Invoke("SCVToDOCExt_Sync", CallKind::Method, args);
    EXPECT_EQ(seen["PARAM1"], "/sync/Letter.scv");
    EXPECT_EQ(seen["PARAM2"], "/docs/Letter.doc");
    EXPECT_EQ(seen["PARAM3"], "12");
    EXPECT_EQ(CallByName(converter, "Refresh", CallKind::Method), Variant(int32_t{0}));

    // The Session hands one out too, bound to itself.
    Ref<core::Session> session = core::GlobalSession();
    Ref<Dispatch> fromSession = session->GetSDKDocument();
    EXPECT_EQ(CallByName(fromSession, "Session", CallKind::Get), Variant(session));
  });
}

// ---- Refresh
// -----------------------------------------------------------------------------------------

class Window : public Dispatchable<Window> {
 public:
  static const MemberTable<Window>& Members() {
    static const MemberTable<Window> table{{"Refresh1", CallKind::Method, [](Window& w, Args) {
                                              ++w.refreshed;
                                              if (w.fail) RaiseError(7, "", "Out of memory");
                                            }}};
    return table;
  }
  int refreshed = 0;
  bool fail = false;
};

TEST(SdkDocumentTest, RefreshReloadsEveryDesktopWindow) {
  OnFreshThread([] {
    Ref<Window> a = MakeRef<Window>();
    Ref<Window> b = MakeRef<Window>();
    office::RegisterDesktopWindow(a);
    office::RegisterDesktopWindow(b);
    Ref<SDK_Document> sdk = MakeRef<SDK_Document>();
    EXPECT_EQ(sdk->Refresh(), 0);
    EXPECT_EQ(a->refreshed + b->refreshed, 2);
    b->fail = true;
    const AutomationError e = ErrorOf([&] { sdk->Refresh(); });
    EXPECT_EQ(e.source(), "SDK_Document.Refresh");
    EXPECT_EQ(e.description(),
              std::string("Could not refresh Brevora Desktop.  Please close and reopen Brevora "
                          "Desktop.") +
                  kCrLf + "Out of memory");
    office::UnregisterDesktopWindow(a);
    office::UnregisterDesktopWindow(b);
  });
}

// ---- The user store
// ------------------------------------------------------------------------------------

// A custom home folder for the Session's settings key.
std::string UseHome() {
  const std::string home = fs::TempDir() + "home";
  fs::MakeFolder(home + "/Business");
  registry::SetValue(registry::Hive::CurrentUser, core::Session::kRegistryKey, "HomePath",
                     registry::Value::String(home));
  registry::SetValue(registry::Hive::CurrentUser, core::Session::kRegistryKey, "UseHomePath",
                     registry::Value::DWord(1));
  return home;
}

TEST(SdkDocumentTest, RemoveFromUserDeletesTheDocumentOnlyAndRefreshes) {
  OnFreshThread([] {
    const std::string home = UseHome();
    fs::AtomicWrite(home + "/Business/Plan.scv", std::string_view("x"));
    fs::AtomicWrite(home + "/Business/Plan.tbr", std::string_view("x"));
    fs::AtomicWrite(home + "/Plan.scv", std::string_view("x"));
    Ref<Window> window = MakeRef<Window>();
    office::RegisterDesktopWindow(window);
    core::GlobalSession()->SetFileMode(0);  // workbooks: still the document goes
    Ref<SDK_Document> sdk = MakeRef<SDK_Document>();
    sdk->RemoveFromUser("", "Business", "Plan");
    EXPECT_FALSE(fs::FileExists(home + "/Business/Plan.scv"));
    EXPECT_TRUE(fs::FileExists(home + "/Business/Plan.tbr"));
    EXPECT_EQ(core::GlobalSession()->FileMode(), 1);
    EXPECT_EQ(window->refreshed, 1);
    sdk->RemoveFromUser("", "Business", "Gone");  // no file: no error, still refreshed
    EXPECT_EQ(window->refreshed, 2);

    for (const auto& [category, name] : {std::pair{"..", "Plan"}, std::pair{"Business", "../Plan"},
                                         std::pair{"", "Plan"}, std::pair{"Business", ".."}}) {
      const AutomationError e = ErrorOf(
          [&, category = category, name = name] { sdk->RemoveFromUser("", category, name); });
      EXPECT_EQ(e.source(), "SDK_Document.RemoveFromUser") << category << " " << name;
      EXPECT_EQ(e.description(),
                std::string("Could not remove from user.") + kCrLf + "Bad file name or number");
    }
    EXPECT_TRUE(fs::FileExists(home + "/Plan.scv"));
    office::UnregisterDesktopWindow(window);
  });
}

// A stored name in another case is the same document, as on Windows: it is
// found and removed under the name it has (the search used to find it and the
// removal then failed with 53).
TEST(SdkDocumentTest, RemoveFromUserRemovesADocumentStoredInAnotherCase) {
  OnFreshThread([] {
    const std::string home = UseHome();
    fs::AtomicWrite(home + "/Business/PLAN.SCV", std::string_view("x"));
    Ref<SDK_Document> sdk = MakeRef<SDK_Document>();
    sdk->RemoveFromUser("", "Business", "Plan");
    EXPECT_FALSE(fs::FileExists(home + "/Business/PLAN.SCV"));
  });
}

TEST(SdkDocumentTest, InProcessConversionsBetweenDesktopFilesAndDatabases) {
  OnFreshThread([] {
    const std::string home = UseHome();
    const std::string dir = fs::TempDir();
    WriteScv(home + "/Business/Plan.scv", "The plan.");
    Ref<SDK_Document> sdk = MakeRef<SDK_Document>();
    sdk->SCVToPDB("", "Business", "Plan", dir + "plan.pdb");
    sdk->PDBToSCVExt(dir + "plan.pdb", dir + "copy.scv");
    sdk->SCVToPDBExt(dir + "copy.scv", dir + "copy.pdb");
    sdk->PDBToSCV(dir + "copy.pdb", "", "Business", "Copy");
    Ref<Document> back = MakeRef<Document>();
    back->OpenFromDisk(home + "/Business/Copy.scv", true);
    EXPECT_EQ(TextOf(*back), "The plan.");

    // A failure already numbered 32760 (the database's) passes unchanged.
    const AutomationError e =
        ErrorOf([&] { sdk->PDBToSCVExt(dir + "missing.pdb", dir + "x.scv"); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "Document.OpenFromPDB");
    EXPECT_FALSE(fs::FileExists(dir + "x.scv"));
  });
}

// ---- Handheld databases and .doc files, through Word
// -------------------------------------------------------

TEST(SdkDocumentTest, ALongDocNameGoesToTheDatabaseThroughAShortCopy) {
  OnFreshThread([] {
    const std::string dir = fs::TempDir();
    const std::string name(40, 'L');
    const std::string doc = dir + name + ".doc";
    WriteScv(doc, "From Word.");  // the fake add-in's .doc files hold desktop file text
    FakeWord word;
    std::string converted;
    word.Macro("DOCToSCVExt", [&](Values& v) {
      converted = v["PARAM1"];
      EXPECT_TRUE(fs::FileExists(v["PARAM1"]));
      testing::CopyAs(v["PARAM1"], v["PARAM2"]);
    });
    ScopedClass registered(kWordProgId, word.app, word.script);
    MakeRef<SDK_Document>()->DOCToPDB(doc, dir + "out.pdb");
    EXPECT_EQ(fs::FileNamePart(converted), name.substr(0, 31) + ".doc");
    EXPECT_FALSE(fs::FileExists(converted));  // the work folder is gone
    EXPECT_FALSE(std::filesystem::exists(fs::NativePath(fs::FolderPart(converted))));
    Ref<Document> back = MakeRef<Document>();
    ASSERT_TRUE(back->OpenFromPDB(dir + "out.pdb"));
    EXPECT_EQ(TextOf(*back), "From Word.");
  });
}

TEST(SdkDocumentTest, PDBToDOCReplacesTheDocOnlyWithACompleteResult) {
  OnFreshThread([] {
    const std::string dir = fs::TempDir();
    Ref<Document> source = MakeRef<Document>();
    source->SetBlocks({"Handheld text."});
    source->WriteToPDB(dir + "in.pdb");
    const std::string doc = dir + std::string(35, 'D') + ".doc";
    fs::AtomicWrite(doc, std::string_view("the old document"));
    FakeWord word;
    std::string target;
    word.Macro("SCVToDOCExt", [&](Values& v) {
      target = v["PARAM2"];
      testing::CopyAs(v["PARAM1"], v["PARAM2"]);
    });
    ScopedClass registered(kWordProgId, word.app, word.script);
    Ref<SDK_Document> sdk = MakeRef<SDK_Document>();
    sdk->PDBToDOC(dir + "in.pdb", doc);
    EXPECT_EQ(fs::FileNamePart(target), std::string(31, 'D') + ".doc");
    EXPECT_FALSE(fs::FileExists(target));
    Ref<Document> back = MakeRef<Document>();
    back->OpenFromDisk(doc, true);
    EXPECT_EQ(TextOf(*back), "Handheld text.");

    // The add-in fails: the .doc there stays as it was.
    fs::AtomicWrite(doc, std::string_view("the old document"));
    word.Macro("SCVToDOCExt", [](Values& v) { v["ERRORNUMBER"] = "1004"; });
    const AutomationError e = ErrorOf([&] { sdk->PDBToDOC(dir + "in.pdb", doc); });
    EXPECT_EQ(e.number(), kWrapError);
    EXPECT_EQ(e.source(), "SDK_Document.RunWordMacro");  // 32760: passed on unchanged
    EXPECT_EQ(testing::ReadFile(doc), "the old document");

    // A target name of ordinary length is written by the add-in itself.
    const std::string shortDoc = dir + "Short.doc";
    word.Macro("SCVToDOCExt", [&](Values& v) { testing::CopyAs(v["PARAM1"], v["PARAM2"]); });
    sdk->PDBToDOC(dir + "in.pdb", shortDoc);
    EXPECT_TRUE(fs::FileExists(shortDoc));
    EXPECT_EQ(fs::FileNamePart(word.values["PARAM1"]), "Short.scv");
  });
}

// ---- Word for the user
// ----------------------------------------------------------------------------------------

TEST(SdkDocumentTest, OpeningForTheUserLeavesWordRunningAndVisibleUnlessItFails) {
  OnFreshThread([] {
    FakeWord word;
    Values seen;
    word.Macro("OpenDocument", [&](Values& v) { seen = v; });
    ScopedClass registered(kWordProgId, word.app, word.script);
    Ref<SDK_Document> sdk = MakeRef<SDK_Document>();
    sdk->OpenDocument("Anna", "Business", "Plan");
    EXPECT_EQ(seen["PARAM2"], "Business");
    EXPECT_EQ(seen["PARAM3"], "Plan");
    EXPECT_TRUE(word.app->visible);
    EXPECT_EQ(word.app->quitCount, 0);
    sdk->OpenDOCDocument("/docs/Letter.doc");
    EXPECT_TRUE(word.script->Called("Documents.Open(/docs/Letter.doc)"));
    EXPECT_EQ(word.app->quitCount, 0);

    word.script->FailOn("Word.Run(OpenDocument)", AutomationError(5, "Word", "No such document."));
    const AutomationError e = ErrorOf([&] { sdk->OpenDocument("Anna", "Business", "Gone"); });
    EXPECT_EQ(e.source(), "SDK_Document.RunWordMacro");
    EXPECT_EQ(word.app->quitCount, 1);  // started for nothing: quit
  });
}

}  // namespace
}  // namespace brevora::doc
