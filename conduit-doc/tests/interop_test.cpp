// The desktop document file between the conduit and the desktop program's
// Document (doc/): a file the conduit writes from a handheld document opens
// in Document with its text, names, bookmarks and link; a file Document saves
// reaches the handheld with them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "conduit-doc/handheld_document.h"
#include "conduit-doc/local_document.h"
#include "conduit-doc/tests/doc_fixture.h"
#include "doc/document.h"
#include "doc/document_block.h"
#include "doc/document_block_collection.h"
#include "platform/fs/files.h"
#include "testing/temp_home.h"

namespace brevora::scriv {

using conduit::CopyStep;
namespace {

using testing::HandheldDoc;

class Interop : public testing::DocTest {};

std::string TextOf(doc::Document& d) {
  std::string text;
  for (const Ref<doc::DocumentBlock>& block : d.DocumentBlocks()) text += block->Text();
  return text;
}

TEST_F(Interop, AFileTheConduitWritesOpensInDocument) {
  HandheldDoc h;
  h.firstName = "Story";
  h.secondName = "pw";
  h.linkPath = "/home/al/story.doc";
  h.linkMethod = 2;
  h.linkOption = 1;
  h.linkDate = 3900000000u;
  h.serverSync = 1;
  h.editable = 0;
  h.mode = 2;
  h.position = 12;
  h.wordA = 40;
  h.wordB = 50;
  std::string text = "<p>One</p>\n<p>Two &amp; three</p>";
  while (text.size() < 9000) text += "<p>More of the story, caf\xE9 and all.</p>";
  h.text = text;
  h.bookmarks = {{"Ch. 1", 5}, {"End", 20}};
  PutHandheld("Story", h);

  Connect();
  CHandheldDocument_V5 db;
  ASSERT_TRUE(db.Open("Story", "") && db.ReadState());
  CLocalDocument local;
  CDocumentHeader header;
  db.CopyHeaderTo(header);
  local.WriteHeader(header);
  std::string problem;
  ASSERT_EQ(db.CopyDocument(local, problem), CopyStep::Done) << problem;
  db.Close();
  Disconnect();
  const std::string path = brevora::testing::MakeTempDir("interop") + "/Story.scv";
  fs::AtomicWrite(path, local.Bytes());

  Ref<doc::Document> d = MakeRef<doc::Document>();
  ASSERT_TRUE(d->OpenFromDisk(path, true, false));
  EXPECT_FALSE(d->IsModified());
  EXPECT_EQ(d->DocName(), "Story");
  EXPECT_EQ(d->Password(), "pw");
  EXPECT_FALSE(d->IsEditable());
  EXPECT_TRUE(d->IsCompressed());
  EXPECT_EQ(d->SearchDocumentMode(), 2);
  EXPECT_TRUE(d->IsServerSync());
  EXPECT_EQ(d->LastReadPos(), 40);
  EXPECT_EQ(d->CursorEndPos(), 50);
  EXPECT_EQ(d->LinkedDOCFileName(), "/home/al/story.doc");
  EXPECT_EQ(d->LinkedDOCSyncMethod(), 2);
  EXPECT_EQ(d->LinkedDOCSyncOption(), 1);
  EXPECT_EQ(d->LinkedDOCFileModDateTime(), 3900000000.0);
  EXPECT_EQ(d->BookmarkCount(), 2);
  EXPECT_EQ(d->BookmarkSlot(1).name, "Ch___");
  EXPECT_EQ(d->BookmarkSlot(1).offset, 5);
  EXPECT_EQ(d->BookmarkSlot(2).name, "End");
  EXPECT_EQ(d->BookmarkSlot(2).offset, 20);
  std::string expected = text;  // Document keeps its line breaks as CR
  std::replace(expected.begin(), expected.end(), '\n', '\r');
  EXPECT_EQ(TextOf(*d), expected);
}

TEST_F(Interop, AFileDocumentSavesReachesTheHandheld) {
  Ref<doc::Document> d = MakeRef<doc::Document>();
  d->InitFromDefaults();
  d->SetDocName("Saved");
  d->SetPassword("secret");
  d->SetBookmark(1, "Start", 0);
  d->SetBookmark(2, "Later", 300);
  d->SetLinkedDOCFileName("/home/al/saved.doc");
  d->SetLinkedDOCSyncMethod(1);
  d->SetLinkedDOCFileModDateTime(3911111111.0);
  d->SetBlocks({"<p>Saved by the desktop program</p>\r<p>second line</p>"});
  const std::string folder = desktop_ + "Business/";
  std::filesystem::create_directories(folder);
  d->WriteToDisk(folder + "Saved.scv");

  Connect();
  CLocalDocumentEx local;
  ASSERT_EQ(local.OpenPath(folder + "Saved.scv"), CLocalDocument::OpenResult::Opened);
  std::string problem;
  ASSERT_TRUE(local.ReadDocument(problem)) << problem;
  CHandheldDocument_V5 db;
  ASSERT_TRUE(db.OpenOrCreate("Saved", "Business", 1));
  ASSERT_EQ(local.WriteToDevice(db), CopyStep::Done);
  db.ClearModified();
  db.CopyHeaderFrom(local.document().header);
  ASSERT_TRUE(db.WriteAppInfo() && db.Close());
  Disconnect();

  const auto copy = HandheldCopy("Saved");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->firstName, "Saved");
  EXPECT_EQ(copy->secondName, "secret");
  EXPECT_EQ(copy->linkPath, "/home/al/saved.doc");
  EXPECT_EQ(copy->linkMethod, 1);
  EXPECT_EQ(copy->linkDate, 3911111111u);
  EXPECT_EQ(copy->bookmarks, (std::vector<Bookmark>{{"Start", 0}, {"Later", 300}}));
  // Document's line break (written CR LF) is one line feed.
  EXPECT_EQ(copy->text, "<p>Saved by the desktop program</p>\n<p>second line</p>");
}

// Document -> desktop file -> handheld -> desktop file -> Document, twice: the
// text and the bookmarks come back as they were, no line break doubled, no
// empty line added.
TEST_F(Interop, RoundTripsThroughTheHandheldKeepTheText) {
  const std::string folder = desktop_ + "Business/";
  std::filesystem::create_directories(folder);
  const std::string path = folder + "Trip.scv";
  const std::string text = "<p>first</p>\r<p>second</p>\r\r<p>after an empty line</p>";
  Ref<doc::Document> d = MakeRef<doc::Document>();
  d->InitFromDefaults();
  d->SetDocName("Trip");
  d->SetBookmark(1, "Mark", 7);
  d->SetBlocks({text});
  d->WriteToDisk(path);
  for (int trip = 0; trip < 2; ++trip) {
    Connect();
    {
      CLocalDocumentEx local;
      ASSERT_EQ(local.OpenPath(path), CLocalDocument::OpenResult::Opened);
      std::string problem;
      ASSERT_TRUE(local.ReadDocument(problem)) << problem;
      CHandheldDocument_V5 db;
      db.SetName("Trip");
      db.Delete();
      ASSERT_TRUE(db.OpenOrCreate("Trip", "Business", 1));
      ASSERT_EQ(local.WriteToDevice(db), CopyStep::Done);
      db.CopyHeaderFrom(local.document().header);
      ASSERT_TRUE(db.WriteAppInfo() && db.Close());
    }
    {
      CHandheldDocument_V5 db;
      ASSERT_TRUE(db.Open("Trip", "") && db.ReadState());
      CLocalDocument local;
      CDocumentHeader header;
      db.CopyHeaderTo(header);
      local.WriteHeader(header);
      std::string problem;
      ASSERT_EQ(db.CopyDocument(local, problem), CopyStep::Done) << problem;
      db.Close();
      fs::AtomicWrite(path, local.Bytes());
    }
    Disconnect();
    Ref<doc::Document> back = MakeRef<doc::Document>();
    ASSERT_TRUE(back->OpenFromDisk(path, true, false));
    EXPECT_EQ(TextOf(*back), text) << "trip " << trip;
    EXPECT_EQ(back->BookmarkCount(), 1);
    EXPECT_EQ(back->BookmarkSlot(1).name, "Mark");
    back->WriteToDisk(path);  // the desktop program saves it again
  }
}

}  // namespace
}  // namespace brevora::scriv
