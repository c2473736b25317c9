#include <gtest/gtest.h>

#include <string>

#include "core/handheld_database.h"
#include "doc/doc_db_test_support.h"
#include "doc/doc_db_writer.h"
#include "doc/document.h"
#include "doc/document_test_support.h"
#include "doc/palmdoc_db_writer.h"
#include "platform/time/dates.h"
#include "testing/temp_home.h"

namespace brevora::doc {
namespace {

using testing::Build;
using testing::Bytes;
using testing::ErrorOf;
using testing::HeaderRecord;
using testing::ToBytes;

std::string Text(Document& doc) {
  std::string text;
  for (const Ref<DocumentBlock>& block : doc.DocumentBlocks()) text += block->Text();
  return text;
}

Ref<Document> SampleDocument() {
  Ref<Document> doc = MakeRef<Document>();
  doc->InitFromDefaults();
  doc->SetDocName("Story");
  doc->SetIsEditable(false);
  doc->SetSearchDocumentMode(2);
  doc->SetBookmark(3, "  Chapter one is long", 100);
  doc->SetBookmark(7, "end", 5000);
  std::string text;
  for (int i = 0; i < 400; ++i) text += "Once upon a time, line " + std::to_string(i) + ".";
  doc->SetBlocks({text.substr(0, 2048), text.substr(2048, 2048), text.substr(4096)});
  return doc;
}

class DocumentPdbTest : public ::testing::TestWithParam<bool> {};  // PalmDOC or not

TEST_P(DocumentPdbTest, RoundTrip) {
  const bool palmDoc = GetParam();
  const std::string path = ::brevora::testing::MakeTempDir("pdb") + "/story.pdb";
  Ref<Document> doc = SampleDocument();
  const std::string text = Text(*doc);
  const double before = dates::NowVbDate();
  palmDoc ? doc->WriteToDOCPDB(path) : doc->WriteToPDB(path);

  core::HandheldDatabase db;
  db.ReadFile(path, true);
  EXPECT_EQ(db.Name(), "Story");
  EXPECT_EQ(db.Type(), palmDoc ? "TEXt" : "zIZU");
  EXPECT_GE(db.CreationDate(), before - 1.0 / 86400);

  Ref<Document> read = MakeRef<Document>();
  read->SetPassword("kept");
  read->SetLastReadPos(4);
  read->SetBookmark(20, "stale", 1);
  EXPECT_TRUE(palmDoc ? read->OpenFromDOCPDB(path) : read->OpenFromPDB(path));
  EXPECT_EQ(Text(*read), text);
  EXPECT_EQ(read->DocName(), "Once upon a time, line 0.Once u");  // from the text
  EXPECT_FALSE(read->IsEditable());
  EXPECT_TRUE(read->IsCompressed());
  EXPECT_EQ(read->SearchDocumentMode(), 2);
  // The bookmarks of slots 3 and 7 come back in slots 1 and 2; none is left over.
  EXPECT_EQ(read->BookmarkCount(), 2);
  EXPECT_EQ(read->BookmarkSlot(1), (Bookmark{"Chapter one i", 100}));
  EXPECT_EQ(read->BookmarkSlot(2), (Bookmark{"end", 5000}));
  EXPECT_EQ(read->BookmarkSlot(20), Bookmark{});
  EXPECT_EQ(read->Password(), "kept");
  EXPECT_EQ(read->LastReadPos(), 4);
  EXPECT_TRUE(read->IsModified());
  EXPECT_EQ(read->FullPath(), "");
  EXPECT_EQ(read->Version(), 5);

  // Each reader hands the other kind to the other.
  Ref<Document> other = MakeRef<Document>();
  other->SetDocName("Mine");  // a document with a name keeps it
  EXPECT_TRUE(palmDoc ? other->OpenFromPDB(path) : other->OpenFromDOCPDB(path));
  EXPECT_EQ(Text(*other), text);
  EXPECT_EQ(other->DocName(), "Mine");
  EXPECT_EQ(other->BookmarkCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Both, DocumentPdbTest, ::testing::Values(false, true));

TEST(DocumentPdbNames, DatabaseNames) {
  EXPECT_EQ(DocDatabaseWriter::DatabaseName("", "C:\\Docs\\story.pdb"), "story");
  EXPECT_EQ(DocDatabaseWriter::DatabaseName("", "/home/a/my.story.scv"), "my.story");
  EXPECT_EQ(DocDatabaseWriter::DatabaseName("", std::string(40, 'n') + ".pdb"),
            std::string(31, 'n'));
  EXPECT_EQ(DocDatabaseWriter::DatabaseName("Given", "x.pdb"), "Given");
  EXPECT_EQ(PalmDocWriter::DatabaseName("", "C:\\Docs\\story.pdb"), "C:\\Docs\\story.pdb");
  EXPECT_EQ(PalmDocWriter::DatabaseName("", "story.scv"), "story");
  EXPECT_EQ(PalmDocWriter::DatabaseName("", "C:\\Documents\\Long folder\\story.pdb"),
            "C:\\Documents\\Long folder\\story.");  // the first 31 characters
  EXPECT_EQ(PalmDocWriter::DatabaseName("Given", "x.pdb"), "Given");
}

TEST(DocumentPdbErrors, Reading) {
  const std::string dir = ::brevora::testing::MakeTempDir("pdb");
  core::HandheldDatabase other;
  Build(other, "DATA", "Zeri", {HeaderRecord(1, 1, 0, 0, 0, 2048, 0)});
  other.WriteFile(dir + "/other.pdb");
  core::HandheldDatabase shortBookmark;
  Build(shortBookmark, "TEXt", "REAd",
        {HeaderRecord(0, 1, 0, 1, 1, 4096, 0), ToBytes("x"), Bytes(10)});
  shortBookmark.WriteFile(dir + "/palm.pdb");
  core::HandheldDatabase missingRecords;
  Build(missingRecords, "zIZU", "Scrv", {HeaderRecord(1, 1, 0, 3, 2, 2048, 0), ToBytes("abc")});
  missingRecords.WriteFile(dir + "/doc.pdb");

  Ref<Document> doc = MakeRef<Document>();
  AutomationError e = ErrorOf([&] { doc->OpenFromPDB(dir + "/other.pdb"); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Document.OpenFromPDB");
  EXPECT_EQ(
      e.description(),
      "Could not open Document '" + dir +
          "/other.pdb'.\r\nUnrecognized PDB type.  Only PDB files in DOC format are supported.");
  e = ErrorOf([&] { doc->OpenFromDOCPDB(dir + "/other.pdb"); });
  EXPECT_EQ(e.source(), "Document.OpenFromDOCPDB");

  // Reached through OpenFromPDB, the PalmDOC reader's own error.
  e = ErrorOf([&] { doc->OpenFromPDB(dir + "/palm.pdb"); });
  EXPECT_EQ(e.source(), "Document.OpenFromDOCPDB");
  EXPECT_EQ(e.description().substr(0, 30), "Unable to open from DOC PDB.\r\n");

  e = ErrorOf([&] { doc->OpenFromDOCPDB(dir + "/doc.pdb"); });
  EXPECT_EQ(e.source(), "Document.OpenFromPDB");
  EXPECT_EQ(e.description().substr(0, 26), "Unable to open from PDB.\r\n");

  e = ErrorOf([&] { doc->OpenFromPDB(dir + "/missing.pdb"); });
  EXPECT_EQ(e.source(), "Document.OpenFromPDB");
  EXPECT_EQ(e.description().substr(0, 26), "Unable to open from PDB.\r\n");
}

TEST(DocumentPdbErrors, ABookmarkRecordTooShortIsDroppedByTheSuiteReader) {
  const std::string path = ::brevora::testing::MakeTempDir("pdb") + "/doc.pdb";
  core::HandheldDatabase db;
  Build(db, "zIZU", "Scrv",
        {HeaderRecord(1, 1, 0, 3, 1, 2048, 0), ToBytes("abc"), testing::BookmarkRecord("one", 1),
         Bytes(19)});
  db.WriteFile(path);
  Ref<Document> doc = MakeRef<Document>();
  EXPECT_TRUE(doc->OpenFromPDB(path));
  EXPECT_EQ(doc->BookmarkCount(), 0);
  EXPECT_EQ(doc->BookmarkSlot(1), Bookmark{});
  EXPECT_EQ(Text(*doc), "abc");
}

TEST(DocumentPdbErrors, Writing) {
  const std::string path = ::brevora::testing::MakeTempDir("pdb") + "/doc.pdb";
  Ref<Document> doc = MakeRef<Document>();
  doc->SetFullPath("bound.scv");
  AutomationError e = ErrorOf([&] { doc->WriteToPDB(path); });  // no block collection
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Document.WriteToPDB");
  EXPECT_EQ(e.description().substr(0, 37), "Could not save document 'bound.scv'.\r");
  e = ErrorOf([&] { doc->WriteToDOCPDB(path); });
  EXPECT_EQ(e.source(), "Document.WriteToDOCPDB");
  EXPECT_FALSE(fs::FileExists(path));

  // A block longer than any record (a caller may set any text) is written and
  // read back whole.
  doc->SetBlocks({std::string(70000, 'x')});
  doc->WriteToPDB(path);
  Ref<Document> read = MakeRef<Document>();
  read->OpenFromPDB(path);
  EXPECT_EQ(read->DocumentBlocks().Count(), 35);
  EXPECT_EQ(Text(*read), std::string(70000, 'x'));
}

// An empty document goes to the handheld with its one, empty, text record and
// comes back as one empty block.
TEST(DocumentPdbEmpty, EmptyDocumentThroughAFile) {
  const std::string path = ::brevora::testing::MakeTempDir("pdb") + "/empty.pdb";
  Ref<Document> doc = MakeRef<Document>();
  doc->InitFromDefaults();
  doc->SetBlocks({""});
  doc->SetBookmark(1, "top", 0);
  doc->WriteToPDB(path);

  core::HandheldDatabase db;
  db.ReadFile(path, true);
  ASSERT_EQ(db.Records().Count(), 3);
  EXPECT_EQ(db.Records().Item(2)->UniqueID(), 2);
  EXPECT_EQ(db.Records().Item(2)->DataLength(), 0);
  EXPECT_EQ(db.Records().Item(3)->UniqueID(), 3);

  Ref<Document> read = MakeRef<Document>();
  EXPECT_TRUE(read->OpenFromPDB(path));
  ASSERT_EQ(read->DocumentBlocks().Count(), 1);
  EXPECT_EQ(Text(*read), "");
  EXPECT_EQ(read->BookmarkCount(), 1);
  EXPECT_EQ(read->BookmarkSlot(1), (Bookmark{"top", 0}));
}

TEST(DocumentPdbNames, StringToBytes) {
  EXPECT_EQ(Document::StringToBytes("ab", 4), (Bytes{'a', 'b', 0, 0}));
  EXPECT_EQ(Document::StringToBytes("abcdef", 3), (Bytes{'a', 'b', 'c'}));
  EXPECT_EQ(ErrorOf([] { Document::StringToBytes("a", 0); }).number(), 9);
}

}  // namespace
}  // namespace brevora::doc
