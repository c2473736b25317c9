#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "doc/document.h"
#include "doc/document_internal.h"
#include "doc/document_link.h"
#include "doc/document_test_support.h"
#include "platform/fs/files.h"
#include "testing/temp_home.h"

namespace brevora::doc {
namespace {

using testing::ErrorOf;
using testing::ReadFile;
using testing::WriteFile;

std::string Dir() { return ::brevora::testing::MakeTempDir("docs"); }

std::string Text(Document& doc) {
  std::string text;
  for (const Ref<DocumentBlock>& block : doc.DocumentBlocks()) text += block->Text();
  return text;
}

// The header of a small file: no link, editable, compressed; `name` as DocName.
std::string HeaderLines(const std::string& name, const std::string& version = "5") {
  return "0\r\n" + version + "\r\n1\r\n0\r\n\"\"\r\n0\r\n0\r\n0\r\n1\r\n2\r\n0\r\n\"" + name +
         "\"\r\n\"\"\r\n0\r\n0\r\n0\r\n0\r\n\r\n";
}

TEST(DocumentDiskTest, SaveAndOpen) {
  const std::string path = Dir() + "/memo.scv";
  {
    Ref<Document> doc = MakeRef<Document>();
    doc->InitFromDefaults();
    doc->SetDocName("Memo");
    doc->SetPassword("secret");
    doc->SetLinkedDOCFileName("memo.doc");
    doc->SetLinkedDOCSyncMethod(1);
    doc->SetLinkedDOCFileModDateTime(3912345678.5);
    doc->SetSearchDocumentMode(1);
    doc->SetLastReadPos(3);
    doc->SetCursorEndPos(9);
    doc->SetBookmark(3, "only", 12);  // a lone bookmark in slot 3
    doc->SetBlocks({"line one\nline two", std::string(2048, 'x')});
    doc->WriteToDisk(path);
  }
  Ref<Document> doc = MakeRef<Document>();
  EXPECT_TRUE(doc->OpenFromDisk(path, true));
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->DocName(), "Memo");
  EXPECT_EQ(doc->Password(), "secret");
  EXPECT_EQ(doc->LinkedDOCFileName(), "memo.doc");
  EXPECT_EQ(doc->LinkedDOCSyncMethod(), 1);
  EXPECT_EQ(doc->LinkedDOCFileModDateTime(), 3912345678.5);
  EXPECT_EQ(doc->SearchDocumentMode(), 1);
  EXPECT_EQ(doc->LastReadPos(), 3);
  EXPECT_EQ(doc->CursorEndPos(), 9);
  EXPECT_EQ(doc->BookmarkCount(), 1);
  EXPECT_EQ(doc->BookmarkSlot(1), (Bookmark{"only", 12}));
  EXPECT_EQ(Text(*doc), "line one\rline two" + std::string(2048, 'x'));
  EXPECT_EQ(doc->FullPath(), path);
  EXPECT_EQ(doc->Version(), 5);

  // Saved again unchanged, the file is the same byte for byte.
  const std::string before = ReadFile(path);
  doc->WriteToDisk();
  EXPECT_EQ(ReadFile(path), before);
}

TEST(DocumentDiskTest, ASingleLetter) {
  const std::string path = Dir() + "/x.scv";
  Ref<Document> doc = MakeRef<Document>();
  doc->SetBlocks({"x"});
  doc->WriteToDisk(path);
  const std::string file = ReadFile(path);
  EXPECT_EQ(file.substr(file.size() - 5), "\r\n\r\nx");
}

TEST(DocumentDiskTest, OpenWithoutAName) {
  Ref<Document> doc = MakeRef<Document>();
  doc->SetFullPath("/nowhere/else.scv");
  const AutomationError e = ErrorOf([&] { doc->OpenFromDisk(); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Document.OpenFromDisk");
  EXPECT_EQ(e.description().substr(0, 28), "Could not open Document ''.\r");
}

TEST(DocumentDiskTest, TheBoundPathItselfCanBeTheArgument) {
  const std::string path = Dir() + "/itself.scv";
  Ref<Document> doc = MakeRef<Document>();
  doc->SetBlocks({"kept"});
  doc->WriteToDisk(path);
  EXPECT_TRUE(doc->OpenFromDisk(doc->FullPath(), true));
  EXPECT_EQ(doc->FullPath(), path);
  EXPECT_EQ(Text(*doc), "kept");
}

TEST(DocumentDiskTest, ErrorMessagesReadFromTheOutsideIn) {
  const std::string dir = Dir();
  WriteFile(dir + "/new.scv", HeaderLines("x", "6"));
  WriteFile(dir + "/bad.scv", "1\r\n5\r\n1\r\nseven\r\n");
  Ref<Document> doc = MakeRef<Document>();
  const std::string opening =
      "Could not open Document '" + dir +
      "/new.scv'.\r\nPossible corruption in document.  Please send this document to "
      "support@orvanex.com for evaluation.\r\nError reported was:\r\n";
  AutomationError e = ErrorOf([&] { doc->OpenFromDisk(dir + "/new.scv", true); });
  EXPECT_EQ(
      e.description(),
      opening +
          "This Document is of a newer version than this module.  Please contact Orvanex, Inc.");
  e = ErrorOf([&] { doc->OpenFromDisk(dir + "/bad.scv", true); });
  EXPECT_EQ(e.source(), "Document.OpenFromDisk");
  EXPECT_NE(e.description().find(
                "\r\nThis Document is corrupt or is not a Scrivane file.  \r\nType mismatch"),
            std::string::npos);

  Ref<Document> unnamed = MakeRef<Document>();
  e = ErrorOf([&] { unnamed->WriteToDisk(); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Document.WriteToDisk");
  EXPECT_EQ(e.description(),
            "Could not save Document ''.\r\nPlease name the Document before saving it.");
}

TEST(DocumentDiskTest, AFailedSaveLeavesTheFileAsItWas) {
  const std::string path = Dir() + "/keep.scv";
  Ref<Document> doc = MakeRef<Document>();
  doc->SetBlocks({"old"});
  doc->WriteToDisk(path);
  const std::string before = ReadFile(path);
  doc->SetBlocks({"new"});
  doc->SetLinkedDOCFileModDateTime(INFINITY);  // cannot be written
  const AutomationError e = ErrorOf([&] { doc->WriteToDisk(); });
  EXPECT_EQ(e.source(), "Document.WriteToDisk");
  EXPECT_NE(e.description().find("Could not write header."), std::string::npos);
  EXPECT_EQ(ReadFile(path), before);
}

TEST(DocumentDiskTest, HeaderOnlySaveKeepsTheText) {
  const std::string dir = Dir();
  WriteFile(dir + "/a.scv", HeaderLines("A") + "first\r\nsecond\rthird");
  Ref<Document> doc = MakeRef<Document>();
  EXPECT_TRUE(doc->OpenFromDisk(dir + "/a.scv", false));
  EXPECT_FALSE(doc->HasDocumentBlocks());
  doc->SetDocName("Renamed");
  doc->WriteToDisk();
  EXPECT_EQ(ReadFile(dir + "/a.scv"), HeaderLines("Renamed") + "first\r\nsecond\r\nthird\r\n");

  // Saved under another name, it takes the text of the file it was read from.
  doc->WriteToDisk(dir + "/b.scv");
  EXPECT_EQ(ReadFile(dir + "/b.scv"), HeaderLines("Renamed") + "first\r\nsecond\r\nthird\r\n");
  Ref<Document> full = MakeRef<Document>();
  full->OpenFromDisk(dir + "/b.scv", true);
  EXPECT_EQ(Text(*full), "first\rsecond\rthird\r");

  // A header rewrite that fails leaves the file as it was.
  const std::string before = ReadFile(dir + "/b.scv");
  doc->SetLinkedDOCFileModDateTime(NAN);
  const AutomationError e = ErrorOf([&] { doc->WriteToDisk(); });
  EXPECT_NE(e.description().find("Could not write header."), std::string::npos);
  EXPECT_EQ(ReadFile(dir + "/b.scv"), before);
}

TEST(DocumentDiskTest, TheFirstLineNamesAnUnnamedDocument) {
  const std::string dir = Dir();
  WriteFile(dir + "/unnamed.scv", HeaderLines("") + "\r\n  <b>Title</b> line\r\nbody");
  WriteFile(dir + "/named.scv", HeaderLines("Given") + "Title\r\nbody");
  Ref<Document> doc = MakeRef<Document>();
  doc->OpenFromDisk(dir + "/unnamed.scv", true);
  EXPECT_EQ(doc->DocName(), "Title line");
  Ref<Document> named = MakeRef<Document>();
  named->OpenFromDisk(dir + "/named.scv", true);
  EXPECT_EQ(named->DocName(), "Given");
}

TEST(DocumentDiskTest, InitFromSCVTakesOnlyTheHeader) {
  const std::string path = Dir() + "/template.scv";
  WriteFile(path, HeaderLines("Template") + "template text");
  Ref<Document> doc = MakeRef<Document>();
  EXPECT_TRUE(doc->InitFromSCV(path));
  EXPECT_EQ(doc->DocName(), "Template");
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(doc->FullPath(), "");
  EXPECT_FALSE(doc->HasDocumentBlocks());
  const AutomationError e = ErrorOf([&] { doc->InitFromSCV(path + ".missing"); });
  EXPECT_EQ(e.source(), "Document.OpenRead");  // a 32760 from below passes unchanged
}

// A link step that records its calls; in the reading direction it replaces
// the desktop file by a converted one.
class FakeLinkStep : public DocumentLinkStep {
 public:
  bool CheckLinkUpdate(Document& document, DocumentHeader& header, bool readDirection) override {
    calls.push_back(readDirection ? "read " + header.LinkedDOCFileName
                                  : "write " + document.FullPath());
    if (readDirection && !converted.empty()) {
      WriteFile(document.FullPath(), converted);
      return true;
    }
    return false;
  }
  std::vector<std::string> calls;
  std::string converted;
};

TEST(DocumentDiskTest, TheLinkStep) {
  const std::string path = Dir() + "/linked.scv";
  auto step = std::make_shared<FakeLinkStep>();
  Ref<Document> doc = MakeRef<Document>();
  DocumentInternal::SetLinkStep(*doc, step);
  doc->SetLinkedDOCFileName("linked.doc");
  doc->SetBlocks({"old text"});
  doc->WriteToDisk(path);  // no link switch: no call
  EXPECT_TRUE(step->calls.empty());
  doc->WriteToDisk(path, true);
  EXPECT_EQ(step->calls, (std::vector<std::string>{"write " + path}));

  step->converted = HeaderLines("Converted") + "new text";
  doc->OpenFromDisk(path, true, false);
  EXPECT_EQ(step->calls.size(), 1u);
  doc->OpenFromDisk(path, true, true);
  EXPECT_EQ(step->calls.back(), "read linked.doc");
  EXPECT_EQ(doc->DocName(), "Converted");  // the converted file was read again
  EXPECT_EQ(Text(*doc), "new text");
}

}  // namespace
}  // namespace brevora::doc
