// The handheld document classes over a device folder: a desktop document
// written to the handheld, a handheld document read onto a desktop file,
// the block's states, bad data, and the pictures of a document.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "conduit-doc/handheld_document.h"
#include "conduit-doc/image_records.h"
#include "conduit-doc/local_document.h"
#include "conduit-doc/tests/doc_fixture.h"
#include "platform/hotsync/sync_manager.h"

namespace brevora::scriv {

using conduit::CopyStep;
namespace {

using testing::DesktopDoc;
using testing::DesktopText;
using testing::HandheldDoc;
using testing::WritePicture;
namespace stdfs = std::filesystem;

DesktopDoc Text(const std::string& text) {
  DesktopDoc d;
  d.text = text;
  return d;
}

class DocumentDb : public testing::DocTest {
 protected:
  // Writes the desktop document `name` of Business into a new handheld document, as a copy does.
  CopyStep ToHandheld(const std::string& name, const hotsync::Faults& faults = {}) {
    Connect(faults);
    CLocalDocumentEx local;
    EXPECT_EQ(local.OpenPath(DesktopPath("Business", name)), CLocalDocument::OpenResult::Opened);
    std::string problem;
    EXPECT_TRUE(local.ReadDocument(problem)) << problem;
    CHandheldDocument_V5 db;
    EXPECT_TRUE(db.OpenOrCreate(name, "Business", 1));
    CopyStep step = local.WriteToDevice(db);
    if (step == CopyStep::Done) {
      db.ClearModified();
      db.CopyHeaderFrom(local.document().header);
      if (!db.WriteAppInfo()) step = CopyStep::DeviceFailed;
    }
    db.Close();
    Disconnect();
    return step;
  }

  // Reads the handheld document `name` as a copy to the desktop does: the
  // desktop file's bytes, or the refusal.
  CopyStep ToDesktop(const std::string& name, std::string& bytes, std::string& problem) {
    Connect();
    CHandheldDocument_V5 db;
    EXPECT_TRUE(db.Open(name, "") && db.ReadState());
    CLocalDocument local;
    CDocumentHeader header;
    db.CopyHeaderTo(header);
    local.WriteHeader(header);
    const CopyStep step = db.CopyDocument(local, problem);
    bytes = local.Bytes();
    db.Close();
    Disconnect();
    return step;
  }
};

TEST_F(DocumentDb, ADesktopDocumentReachesTheHandheld) {
  DesktopDoc d;
  d.linkPath = "/home/al/report.doc";
  d.linkMethod = 2;
  d.linkDate = 3900000000u;
  d.linkOption = 1;
  d.serverSync = 1;
  d.mode = 2;
  d.firstName = "The Report";
  d.secondName = "pw";
  d.position = 77;
  d.wordA = 5;
  d.wordB = 6;
  d.bookmarks = {{"Start", 0}, {"Sixteen chars!!!", 40}};
  d.text = "a<b\n\tsecond line";
  PutDesktop("Business", "Report", DesktopText(d));
  ASSERT_EQ(ToHandheld("Report"), CopyStep::Done);

  HandheldDoc expected;
  expected.category = 1;
  expected.serverSync = 1;
  expected.firstName = "The Report";
  expected.secondName = "pw";
  expected.wordA = 5;
  expected.wordB = 6;
  expected.linkPath = "/home/al/report.doc";
  expected.linkMethod = 2;
  expected.linkOption = 1;
  expected.linkDate = 3900000000u;
  expected.mode = 2;
  expected.position = 77;
  expected.text = "<html><head></head><body>a&lt;b<br>    second line</body></html>";
  expected.bookmarks = {{"Start", 0}, {"Sixteen chars!!!", 40}};
  expected.images = {std::string("\x02\x00", 2)};
  EXPECT_EQ(HandheldCopy("Report"), expected);
  const auto db = *HandheldDatabase("Report");
  EXPECT_EQ(db.version, 5);
  EXPECT_EQ(db.appInfo.size(), 1020u);
}

TEST_F(DocumentDb, ALongTextIsCompressedInRecordsOf3072Bytes) {
  DesktopDoc d;
  for (int i = 0; d.text.size() < 10000; ++i)
    d.text += "<p>Paragraph " + std::to_string(i) + " &amp; more.</p>\n";
  PutDesktop("Business", "Long", DesktopText(d));
  ASSERT_EQ(ToHandheld("Long"), CopyStep::Done);
  const auto copy = HandheldCopy("Long");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->text, d.text);
  const auto db = *HandheldDatabase("Long");
  std::string problem;
  const auto header =
      TextHeader::Parse(std::span(reinterpret_cast<const uint8_t*>(db.records[0].data.data()),
                                  db.records[0].data.size()),
                        static_cast<uint32_t>(db.records.size()), problem);
  ASSERT_TRUE(header);
  EXPECT_EQ(header->sizes.size(), 4u);
  for (std::size_t i = 0; i + 1 < header->sizes.size(); ++i) {
    EXPECT_LE(header->sizes[i], 3072);
    EXPECT_GT(header->sizes[i], 3072 - 349);
    EXPECT_LT(db.records[i + 1].data.size(), header->sizes[i]);  // compressed
  }
  // Each record ends outside entities and tags.
  std::size_t at = 0;
  for (uint16_t size : header->sizes) {
    const std::string record = d.text.substr(at, size);
    at += size;
    const auto open = [&](char opening, char closing) {
      const std::size_t o = record.rfind(opening);
      return o != std::string::npos &&
             (record.rfind(closing) == std::string::npos || record.rfind(closing) < o);
    };
    EXPECT_FALSE(open('<', '>')) << at;
    EXPECT_FALSE(open('&', ';')) << at;
  }
}

TEST_F(DocumentDb, AHandheldDocumentReachesTheDesktopFile) {
  HandheldDoc h;
  h.firstName = "Story";
  h.wordA = 3;
  h.wordB = 4;
  h.linkPath = "/docs/story.doc";
  h.linkMethod = 1;
  h.linkOption = 2;
  h.linkDate = 3900000000u;
  h.mode = 1;
  h.position = 10;
  h.text = "<html>Hi</html>";
  h.images = {std::string("\x02\x01", 2), std::string(36 + 40, 'i')};
  h.bookmarks = {{"Ch. 1", 256}, {"\xE9t\xE9 2", 0xFFFFFFFF}};
  PutHandheld("Story", h);
  std::string bytes, problem;
  ASSERT_EQ(ToDesktop("Story", bytes, problem), CopyStep::Done) << problem;
  EXPECT_EQ(bytes,
            "0\r\n5\r\n1\r\n1\r\n\"/docs/story.doc\"\r\n3900000000\r\n2\r\n0\r\n"
            "1\r\n2\r\n1\r\n\"Story\"\r\n\r\n10\r\n3\r\n4\r\n2\r\n"
            "\"Ch___\"\r\n256\r\n\"_t___\"\r\n-1\r\n"
            "\r\n<html>Hi</html>");

  h.compression = 1;  // stored plain
  PutHandheld("Plain", h);
  ASSERT_EQ(ToDesktop("Plain", bytes, problem), CopyStep::Done) << problem;
  EXPECT_TRUE(
      bytes.ends_with("\r\n1\r\n1\r\n\"Story\"\r\n\r\n10\r\n3\r\n4\r\n2\r\n\"Ch___\"\r\n256\r\n\"_"
                      "t___\"\r\n-1\r\n\r\n<html>Hi</html>"));
}

TEST_F(DocumentDb, BadDataIsRefusedWithWhatIsWrong) {
  HandheldDoc good;
  good.text = std::string(5000, 'x');
  struct Case {
    std::function<void(testing::TestDatabase&)> spoil;
    std::string problem;
  };
  const Case cases[] = {
      {[](auto& db) { db.records.clear(); }, "it has no document header (record 0)."},
      {[](auto& db) { db.records[0].data.pop_back(); },
       "its document header (record 0) is 19 bytes long for 2 text records."},
      {[](auto& db) { db.records.pop_back(); },
       "its document header names 2 text records, but the database holds 1 records after it."},
      {[](auto& db) {
         db.records[1].data = std::string(1, 'a') + std::string(2 * 308, '\0');
         for (std::size_t i = 1; i < db.records[1].data.size(); i += 2) {
           db.records[1].data[i] = '\x80';
           db.records[1].data[i + 1] = '\x0F';
         }
       },
       "its text record 1 does not expand to at most 3072 bytes."},
      {[](auto& db) {
         db.records[2].data =
             "\x05"
             "ab";
       },
       "its text record 2 does not expand to at most 3072 bytes."},
      {[](auto& db) {
         db.records[0].data[1] = 1;
         db.records[1].data = std::string(3073, 'p');
       },
       "its text record 1 is 3073 bytes long, more than 3072."},
  };
  for (const Case& c : cases) {
    auto db = testing::DocumentDatabase("Bad", good);
    c.spoil(db);
    PutHandheld(db);
    std::string bytes, problem;
    EXPECT_EQ(ToDesktop("Bad", bytes, problem), CopyStep::Refused) << c.problem;
    EXPECT_EQ(problem, c.problem);
  }
}

TEST_F(DocumentDb, AHandheldThatFailsWhileADocumentIsReadLogsTheClassAndTheCode) {
  HandheldDoc h;
  h.text = std::string(5000, 'x');
  h.bookmarks = {{"One", 1}};
  PutHandheld("Story", h);
  struct Case {
    std::function<std::unique_ptr<CHandheldDocument>()> make;
    std::string line;
  };
  const std::string code = std::to_string(kSyncErrCommunication);
  const Case cases[] = {
      {[] { return std::make_unique<CHandheldDocument>(4); },
       "Scrivane - Error encountered in CWorkbook_50->CopyDocument(). Error:" + code},
      {[] { return std::make_unique<CHandheldDocument_V5>(); },
       "Scrivane - Error encountered in CWorkbook_70->CopyDocument(). Error:" + code},
  };
  for (const Case& c : cases) {
    // The calls of the copy, after the database is open and its block read.
    Connect();
    auto db = c.make();
    ASSERT_TRUE(db->Open("Story", "") && db->ReadState());
    const uint64_t first = session_->calls() + 1;
    CLocalDocument whole;
    std::string problem;
    ASSERT_EQ(db->CopyDocument(whole, problem), CopyStep::Done) << problem;
    const uint64_t last = session_->calls();
    ASSERT_LE(first + 3, last);  // the header, the text records, the bookmark
    db->Close();
    Disconnect();
    // Each of them fails in turn.
    for (uint64_t call = first; call <= last; ++call) {
      ClearLog();
      hotsync::Faults faults;
      faults.failCall = call;
      Connect(faults);
      db = c.make();
      ASSERT_TRUE(db->Open("Story", "") && db->ReadState()) << call;
      CLocalDocument local;
      EXPECT_EQ(db->CopyDocument(local, problem), CopyStep::DeviceFailed) << call;
      EXPECT_EQ(LogTexts(), std::vector<std::string>{c.line}) << call;
      db->Close();
      Disconnect();
    }
  }
}

TEST_F(DocumentDb, TheBlockAndTheCategoryAsTheListingReadsThem) {
  HandheldDoc doc;
  doc.category = 3;
  doc.linkPath = "/a.doc";
  doc.text = "x";
  auto db = testing::DocumentDatabase("Doc", doc);
  const auto read = [&](const testing::TestDatabase& put) {
    PutHandheld(put);
    Connect();
    auto state = std::make_unique<CHandheldDocument>(put.version);
    const bool ok = state->Open(put.name, "") && state->ReadState();
    state->Close();
    Disconnect();
    return ok ? std::move(state) : nullptr;
  };
  auto state = read(db);
  ASSERT_TRUE(state);
  EXPECT_EQ(state->GetCategoryID(), 3);
  EXPECT_FALSE(state->IsModified());
  EXPECT_EQ(state->appInfo().linkPath(), "/a.doc");

  db.appInfo.clear();  // no block: the defaults, modified
  state = read(db);
  ASSERT_TRUE(state);
  EXPECT_TRUE(state->IsModified());
  EXPECT_EQ(state->appInfo().version(), 5);
  EXPECT_EQ(state->GetCategoryID(), 3);

  db.appInfo = std::string(400, '\0');
  db.appInfo[1] = 4;
  std::memcpy(db.appInfo.data() + 136, "/old.doc", 8);
  state = read(db);
  ASSERT_TRUE(state);
  EXPECT_TRUE(state->IsModified());
  EXPECT_EQ(state->appInfo().version(), 4);
  EXPECT_EQ(state->appInfo().linkPath(), "/old.doc");

  db.appInfo = std::string(1020, '\0');
  db.appInfo[1] = 2;
  PutHandheld(db);
  Connect();
  CHandheldDocument unknown(5);
  ASSERT_TRUE(unknown.Open("Doc", ""));
  EXPECT_FALSE(unknown.ReadState());
  EXPECT_EQ(unknown.Refusal(),
            "Unrecognized document version -- cannot synchronize with Scrivane.");
  unknown.Close();
  Disconnect();

  db.records.clear();
  db.appInfo = testing::DocumentDatabase("Doc", HandheldDoc{}).appInfo;
  state = read(db);
  ASSERT_TRUE(state);
  EXPECT_EQ(state->GetCategoryID(), 0);
}

TEST_F(DocumentDb, AReadOnlyDesktopFileIsNotEditable) {
  PutDesktop("Business", "Locked", DesktopText(Text("x")));
  stdfs::permissions(DesktopPath("Business", "Locked"), stdfs::perms::owner_write,
                     stdfs::perm_options::remove);
  ASSERT_EQ(ToHandheld("Locked"), CopyStep::Done);
  EXPECT_EQ(HandheldCopy("Locked")->editable, 0);
}

TEST_F(DocumentDb, TheCopyOfAHeaderlessFile) {
  PutDesktop("Business", "Plain.Notes", "Just text, no header.\n");
  ASSERT_EQ(ToHandheld("Plain.Notes"), CopyStep::Done);
  const auto copy = HandheldCopy("Plain.Notes");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->documentVersion, 5);
  EXPECT_EQ(copy->compression, 2);
  EXPECT_EQ(copy->firstName, "Plain");
  EXPECT_EQ(copy->text, "<html><head></head><body>Just text, no header.<br></body></html>");
}

// The bitmap file image of a picture of one colour.
std::string Picture(uint32_t width, uint32_t height, uint16_t pixel) {
  std::vector<uint8_t> rows(BitmapStride(width) * height, 0);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      rows[y * BitmapStride(width) + 2 * x] = static_cast<uint8_t>(pixel);
      rows[y * BitmapStride(width) + 2 * x + 1] = static_cast<uint8_t>(pixel >> 8);
    }
  }
  const auto bitmap = BitmapFileImage(width, height, rows);
  return std::string(bitmap.begin(), bitmap.end());
}

TEST_F(DocumentDb, PicturesMadeByTheTestAreHalvedAndStored) {
  const std::string images = desktop_ + "scriv_temp/";
  WritePicture(images + "red.png", 100, 60, 255, 0, 0);
  WritePicture(images + "sub/blue.bmp", 7, 1, 0, 0, 255);
  WritePicture(images + "grey.jpg", 64, 32, 128, 128, 128);
  WritePicture(images + "dot.png", 1, 1, 0, 255, 0);
  std::ofstream(images + "broken.png") << "not a picture";
  WritePicture(userFolder_ + "outside.png", 4, 4, 0, 0, 0);
  DesktopDoc d;
  d.text =
      "<p><img src=\"red.png\"><img src=\"missing.png\"><img src=\"broken.png\">"
      "<img src=\"../outside.png\"><img src=\"" +
      userFolder_ +
      "outside.png\">"
      "<img src=\"sub\\blue.bmp\"><img src=\"grey.jpg\"><img src=\"dot.png\"></p>";
  d.bookmarks = {{"After", 3}};
  PutDesktop("Business", "Pictures", DesktopText(d));
  ASSERT_EQ(ToHandheld("Pictures"), CopyStep::Done);

  const auto copy = HandheldCopy("Pictures");
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->bookmarks, (std::vector<Bookmark>{{"After", 3}}));
  ASSERT_EQ(copy->images.size(), 5u);
  EXPECT_EQ(copy->images[0], std::string("\x02\x04", 2));
  const auto chunk = [](const std::string& name, const std::string& bitmap) {
    std::string record(36, '\0');
    record[0] = 3;
    record.replace(1, name.size(), name);
    record[35] = 1;
    return record + bitmap;
  };
  EXPECT_EQ(copy->images[1], chunk("red.png", Picture(50, 30, 0xF800)));
  EXPECT_EQ(copy->images[2], chunk("blue.bmp", Picture(3, 1, 0x001F)));
  const std::string& grey = copy->images[3];
  ASSERT_EQ(grey.size(), 36u + 66u + 64u * 16u);
  EXPECT_EQ(grey.substr(0, 36), chunk("grey.jpg", "").substr(0, 36));
  EXPECT_EQ(grey.substr(36 + 18, 8), std::string("\x20\0\0\0\x10\0\0\0", 8));  // 32 x 16
  EXPECT_EQ(copy->images[4], chunk("dot.png", Picture(1, 1, 0x07E0)));
}

TEST_F(DocumentDb, PicturesAfterThe255thAreLeftOut) {
  // The list record counts the pictures in one byte.
  WritePicture(desktop_ + "scriv_temp/dot.png", 1, 1, 0, 255, 0);
  std::string text = "<p>";
  for (int i = 0; i < 257; ++i) text += "<img src=\"dot.png\">";
  PutDesktop("Business", "Dots", DesktopText(Text(text + "</p>")));
  ASSERT_EQ(ToHandheld("Dots"), CopyStep::Done);
  const auto copy = HandheldCopy("Dots");
  ASSERT_TRUE(copy);
  ASSERT_EQ(copy->images.size(), 1u + 255u);
  EXPECT_EQ(copy->images[0], std::string("\x02\xFF", 2));
  EXPECT_EQ(copy->images[255], copy->images[1]);
  EXPECT_EQ(copy->text, text + "</p>");
}

TEST_F(DocumentDb, AListRecordOfNoPicturesWithoutImgTags) {
  PutDesktop("Business", "Words", DesktopText(Text("<p>no pictures</p>")));
  ASSERT_EQ(ToHandheld("Words"), CopyStep::Done);
  EXPECT_EQ(HandheldCopy("Words")->images, std::vector<std::string>{std::string("\x02\x00", 2)});
}

TEST_F(DocumentDb, AFullHandheldAtAnImageRecordFailsTheDocument) {
  WritePicture(desktop_ + "scriv_temp/red.png", 100, 60, 255, 0, 0);
  PutDesktop("Business", "Pictures", DesktopText(Text("<p><img src=\"red.png\"></p>")));
  // The database (78), its block (1020), record 0 (18), the text (< 100) and
  // the image list (2) fit; the picture's record (3102 bytes) does not.
  hotsync::Faults full;
  full.deviceFullAfter = 78 + 1020 + 18 + 100 + 2 + 1020;
  EXPECT_EQ(ToHandheld("Pictures", full), CopyStep::DeviceFailed);
}

}  // namespace
}  // namespace brevora::scriv
