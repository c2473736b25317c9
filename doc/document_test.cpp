#include "doc/document.h"
#include "doc/document_internal.h"

#include <gtest/gtest.h>

#include <string>

#include "core/application.h"
#include "core/device_user.h"
#include "core/on_fresh_thread.h"
#include "core/session.h"
#include "core/user_collection.h"
#include "core/user_manager.h"
#include "doc/document_test_support.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/fs/files.h"
#include "platform/fs/paths.h"
#include "platform/registry/registry.h"
#include "testing/temp_home.h"

namespace brevora::doc {
namespace {

using core::OnFreshThread;
using testing::ErrorOf;
using testing::ReadFile;
using testing::WriteFile;

constexpr int32_t kFieldTooLong = static_cast<int32_t>(0x80040113u);

TEST(DocumentTest, Positions) {
  Ref<Document> doc = MakeRef<Document>();
  doc->SetLastReadPos(10);
  EXPECT_EQ(doc->CursorStartPos(), 10);
  doc->SetCursorStartPos(20);
  EXPECT_EQ(doc->LastReadPos(), 20);
  doc->SetCursorEndPos(5);
  EXPECT_EQ(doc->CursorEndPos(), 20);
  doc->SetCursorEndPos(30);
  EXPECT_EQ(doc->CursorEndPos(), 30);
}

TEST(DocumentTest, NameAndPasswordHold31Characters) {
  Ref<Document> doc = MakeRef<Document>();
  doc->SetDocName(std::string(31, 'n'));
  EXPECT_EQ(doc->DocName(), std::string(31, 'n'));
  AutomationError e = ErrorOf([&] { doc->SetDocName(std::string(32, 'm')); });
  EXPECT_EQ(e.number(), kFieldTooLong);
  EXPECT_EQ(e.source(), "tabrelpc");
  EXPECT_EQ(doc->DocName(), std::string(31, 'n'));
  e = ErrorOf([&] { doc->SetPassword(std::string(32, 'p')); });
  EXPECT_EQ(e.number(), kFieldTooLong);
  EXPECT_EQ(e.description(), "Password field can hold 31.");
  EXPECT_EQ(doc->Password(), "");
}

TEST(DocumentTest, Flags) {
  Ref<Document> doc = MakeRef<Document>();
  doc->SetIsCompressed(true);
  EXPECT_EQ(DocumentInternal::Header(*doc).compression, 2);
  doc->SetIsCompressed(false);
  EXPECT_EQ(DocumentInternal::Header(*doc).compression, 1);
  EXPECT_FALSE(doc->IsCompressed());
  doc->SetIsEditable(true);
  EXPECT_EQ(DocumentInternal::Header(*doc).editable, 1);
  doc->SetSearchDocumentMode(2);
  doc->SetSearchDocumentMode(3);  // ignored
  EXPECT_EQ(doc->SearchDocumentMode(), 2);
  doc->SetIsServerSync(true);
  EXPECT_EQ(DocumentInternal::Header(*doc).serverSync, 1);
  EXPECT_EQ(doc->Version(), 5);
  EXPECT_FALSE(doc->IsModified());
}

TEST(DocumentTest, Bookmarks) {
  Ref<Document> doc = MakeRef<Document>();
  EXPECT_TRUE(doc->SetBookmark(25, "last", 99));
  EXPECT_EQ(doc->BookmarkCount(), 1);  // slot 25 is stored, so it counts
  EXPECT_TRUE(doc->SetBookmark(0, "zero", 1));
  EXPECT_EQ(doc->BookmarkCount(), 1);  // slot 0 is never stored
  EXPECT_TRUE(doc->SetBookmark(3, "three", 3));
  EXPECT_EQ(doc->BookmarkCount(), 2);
  EXPECT_FALSE(doc->SetBookmark(26, "x", 0));
  EXPECT_EQ(ErrorOf([&] { doc->SetBookmark(-1, "x", 0); }).number(), 9);
  EXPECT_TRUE(doc->ClearBookmark(25));
  EXPECT_EQ(doc->BookmarkCount(), 1);
  EXPECT_FALSE(doc->ClearBookmark(26));
  EXPECT_EQ(ErrorOf([&] { doc->ClearBookmark(-2); }).number(), 9);
  EXPECT_EQ(doc->BookmarkSlot(3), (Bookmark{"three", 3}));
}

TEST(DocumentTest, LinkSettings) {
  Ref<Document> doc = MakeRef<Document>();
  doc->SetLinkedDOCSyncMethod(2);
  doc->SetLinkedDOCFileName("  ");
  EXPECT_FALSE(doc->HasLinkedDOCFile());
  doc->SetLinkedDOCFileName("a.doc");
  doc->SetLinkedDOCSyncMethod(3);
  doc->SetLinkedDOCSyncOption(1);
  doc->SetLinkedDOCFileModDateTime(12.0);
  EXPECT_TRUE(doc->HasLinkedDOCFile());
  EXPECT_EQ(doc->SyncMethodText(), "Do Nothing");
  const AutomationError e = ErrorOf([&] { doc->SetLinkedDOCSyncMethod(4); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Tabulyn - Document");
  EXPECT_EQ(e.description(), "Invalid syncMethod.  Must be between 0 and 3");
  EXPECT_EQ(doc->LinkedDOCSyncMethod(), 3);
  EXPECT_EQ(ErrorOf([&] { doc->SetLinkedDOCSyncOption(-1); }).description(),
            "Invalid syncOption.  Must be between 0 and 3");
  doc->SetLinkedDOCFileName("");
  EXPECT_EQ(doc->LinkedDOCSyncMethod(), 0);
  EXPECT_EQ(doc->LinkedDOCSyncOption(), 0);
  EXPECT_EQ(doc->LinkedDOCFileModDateTime(), 0);
  EXPECT_EQ(Document::SyncMethodFromText("DOC to Palm"), 2);
  EXPECT_EQ(Document::SyncMethodFromText("do nothing"), 0);
}

TEST(DocumentTest, InitFromDefaults) {
  Ref<Document> doc = MakeRef<Document>();
  doc->SetLinkedDOCFileName("x.doc");
  doc->SetDocName("kept");
  doc->SetIsServerSync(true);
  EXPECT_TRUE(doc->InitFromDefaults());
  EXPECT_TRUE(doc->IsCompressed());
  EXPECT_TRUE(doc->IsEditable());
  EXPECT_TRUE(doc->IsModified());
  EXPECT_FALSE(doc->IsServerSync());
  EXPECT_EQ(doc->LinkedDOCFileName(), "");
  EXPECT_EQ(doc->DocName(), "kept");
}

TEST(DocumentTest, FullPathRenamesTheBoundFileButNeverOverAnother) {
  const std::string dir = ::brevora::testing::MakeTempDir("docs");
  Ref<Document> doc = MakeRef<Document>();
  doc->SetFullPath(dir + "/a.scv");  // no file yet: only stored
  EXPECT_EQ(doc->FullPath(), dir + "/a.scv");
  WriteFile(dir + "/a.scv", "A");
  doc->SetFullPath(dir + "/b.scv");
  EXPECT_FALSE(fs::FileExists(dir + "/a.scv"));
  EXPECT_EQ(ReadFile(dir + "/b.scv"), "A");

  WriteFile(dir + "/c.scv", "C");
  const AutomationError e = ErrorOf([&] { doc->SetFullPath(dir + "/c.scv"); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Document.SetFullPath");
  EXPECT_EQ(e.description(), "Could not rename document.\r\nFile already exists");
  EXPECT_EQ(doc->FullPath(), dir + "/b.scv");
  EXPECT_EQ(ReadFile(dir + "/b.scv"), "A");
  EXPECT_EQ(ReadFile(dir + "/c.scv"), "C");

  doc->SetFullPath(dir + "/b.scv");  // the same path: nothing to rename
  doc->CloseDocument();
  EXPECT_EQ(doc->FullPath(), "");
}

TEST(DocumentTest, TemporaryFiles) {
  Ref<Document> doc = MakeRef<Document>();
  const std::string path = DocumentInternal::GetTempFile(*doc);
  fs::TempFileGuard guard(path);
  EXPECT_TRUE(fs::FileExists(path));
  EXPECT_EQ(fs::FileNamePart(path).substr(0, 3), "SCV");
  fs::TempFileGuard second(DocumentInternal::GetTempFile(*doc));
  EXPECT_NE(second.path(), path);
}

TEST(DocumentTest, LateBound) {
  Ref<Dispatch> doc = CreateObject("TabulynPC.Document");
  ASSERT_TRUE(RefCast<Document>(doc));
  CallByName(doc, "DocName", CallKind::Let, "Memo");
  EXPECT_EQ(CallByName(doc, "DocName", CallKind::Get), Variant("Memo"));
  EXPECT_EQ(CallByName(doc, "SetBookmark", CallKind::Method, int16_t{2}, "b", 7), Variant(true));
  CallByName(doc, "LinkedDOCFileModDateTime", CallKind::Let, 3600.5);
  EXPECT_EQ(CallByName(doc, "LinkedDOCFileModDateTime", CallKind::Get), Variant::Date(3600.5));

  Variant text[] = {Variant("a\tb")};
  EXPECT_EQ(doc->Invoke("AddEscapeCodes", CallKind::Method, text), Variant("a    b"));
  EXPECT_EQ(text[0], Variant("a    b"));  // by reference

  Variant blocks = CallByName(doc, "DocumentBlocks", CallKind::Get);
  EXPECT_EQ(CallByName(ObjectOf(blocks), "Count", CallKind::Get), Variant(0));
  EXPECT_EQ(CallByName(ObjectOf(blocks), "BlockFactor", CallKind::Get), Variant(2048));
  Variant block = CallByName(ObjectOf(blocks), "Add", CallKind::Method, "0", "first");
  CallByName(ObjectOf(block), "Text", CallKind::Let, "Hello");
  CallByName(ObjectOf(blocks), "Add", CallKind::Method, "1");
  EXPECT_EQ(CallByName(ObjectOf(CallByName(ObjectOf(blocks), "Item", CallKind::Get, "first")),
                       "Text", CallKind::Get),
            Variant("Hello"));
  EXPECT_EQ(CallByName(ObjectOf(CallByName(ObjectOf(blocks), "Item", CallKind::Get, 2)), "Key",
                       CallKind::Get),
            Variant("1"));
  EXPECT_EQ(ErrorOf([&] { CallByName(ObjectOf(blocks), "Item", CallKind::Get, 3); }).number(), 9);
  CallByName(ObjectOf(blocks), "Remove", CallKind::Method, 1);
  EXPECT_EQ(CallByName(ObjectOf(blocks), "Count", CallKind::Get), Variant(1));
  CallByName(doc, "EraseText", CallKind::Method);
  EXPECT_FALSE(RefCast<Document>(doc)->HasDocumentBlocks());

  EXPECT_TRUE(RefCast<DocumentBlock>(CreateObject("TabulynPC.DocumentBlock")));
  // Reached late-bound too; without Word the converter's error comes back.
  const AutomationError noWord =
      ErrorOf([&] { CallByName(doc, "OpenFromDOC", CallKind::Method, "x.doc"); });
  EXPECT_EQ(noWord.number(), kWrapError);
  EXPECT_EQ(noWord.source(), "SDK_Document.GetWordObject");
}

TEST(DocumentTest, TheSessionHandsOutDocuments) {
  OnFreshThread([] {
    Ref<core::Session> session = MakeRef<core::Session>();
    Ref<Document> doc = RefCast<Document>(session->GetDocument());
    ASSERT_TRUE(doc);
    EXPECT_EQ(doc->Session(), session);
    EXPECT_EQ(doc->App()->Session(), session);
    EXPECT_EQ(ErrorOf([&] { doc->SetSession(nullptr); }).number(), 91);
  });
}

// A user "Anna" whose folder exists, current on the thread's Session.
void AddUser(core::Session& session, const std::string& folder) {
  Ref<core::DeviceUser> user = MakeRef<core::DeviceUser>();
  user->SetUID(4);
  user->SetUserName("Anna");
  user->SetPath(folder);
  session.GetUserManager()->GetUsers()->Add(user);
}

TEST(DocumentTest, UserFiles) {
  OnFreshThread([] {
    const std::string home = ::brevora::testing::MakeTempDir("anna");
    Ref<Document> doc = MakeRef<Document>();
    AddUser(*doc->App()->Session(), home);
    doc->SetDocName("Memo");
    doc->DocumentBlocks().Add("0").SetText("Text");
    doc->WriteToUser("Anna", "Unfiled", "Memo");
    const std::string path = home + "\\scriv\\Unfiled\\Memo.scv";
    EXPECT_EQ(doc->FullPath(), path);
    EXPECT_TRUE(fs::FileExists(path));
    EXPECT_EQ(doc->App()->Session()->FileMode(), 1);

    // Opening another user file binds to it; the file bound before keeps its name.
    doc->WriteToUser("Anna", "Work", "Other");
    Ref<Document> other = MakeRef<Document>();
    other->SetFullPath(path);
    EXPECT_TRUE(other->OpenFromUser("Anna", "Work", "Other"));
    EXPECT_TRUE(fs::FileExists(path));
    EXPECT_EQ(other->FullPath(), home + "\\scriv\\Work\\Other.scv");
    EXPECT_EQ(other->DocumentBlocks().Item(1).Text(), "Text");
  });
}

TEST(DocumentTest, UserFileErrorsAreReported) {
  OnFreshThread([] {
    const std::string home = ::brevora::testing::MakeTempDir("anna");
    Ref<Document> doc = MakeRef<Document>();
    AddUser(*doc->App()->Session(), home);
    doc->DocumentBlocks();
    for (const auto& [category, name] : {std::pair<std::string, std::string>{"..", "x"},
                                         {"Unfiled", "../x"},
                                         {"Unfiled", ""},
                                         {"a/b", "x"}}) {
      const AutomationError e = ErrorOf(
          [&, &category = category, &name = name] { doc->WriteToUser("Anna", category, name); });
      EXPECT_EQ(e.number(), 32760) << category << "/" << name;
      EXPECT_EQ(e.source(), "Document.UserFilePath");
    }
    AutomationError e = ErrorOf([&] { doc->WriteToUser("Nobody", "Unfiled", "x"); });
    EXPECT_EQ(e.source(), "Document.UserFilePath");
    EXPECT_NE(e.description().find("There is no handheld user named 'Nobody'."), std::string::npos);

    // A custom home folder that does not exist: the error, and nothing written.
    registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "HomePath",
                       registry::Value::String(home + "/missing\\"));
    registry::SetValue(registry::Hive::CurrentUser, "Software\\Orvanex\\Tabulyn", "UseHomePath",
                       registry::Value::DWord(1));
    e = ErrorOf([&] { doc->WriteToUser("Anna", "Unfiled", "x"); });
    EXPECT_EQ(e.source(), "TabrelPC.HomeDirectory");
    EXPECT_FALSE(fs::FolderExists(home + "/scriv/Unfiled"));
    EXPECT_EQ(doc->FullPath(), "");
  });
}

}  // namespace
}  // namespace brevora::doc
