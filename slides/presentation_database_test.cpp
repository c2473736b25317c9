// The presentation database through the Presentation object: writing, reading
// back with the unpacked pictures, the header update, errors and corrupt files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/database_record.h"
#include "core/handheld_database.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "slides/pictures_test_support.h"
#include "slides/presentation.h"
#include "slides/presentation_format.h"
#include "slides/presentation_internal.h"
#include "slides/presentation_writer.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::slides {
namespace {

namespace fmt = presentation_format;
using ByteVector = std::vector<uint8_t>;

ByteVector Data(const core::HandheldDatabase& db, int32_t position) {
  auto d = db.Records().Item(position)->Data();
  return ByteVector(d.begin(), d.end());
}

ByteVector Concat(ByteVector a, const ByteVector& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

ByteVector Text(std::string_view s) { return ByteVector(s.begin(), s.end()); }

using ::brevora::testing::ErrorOf;

class PresentationDb : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  ByteVector Put(const std::string& name, ByteVector bytes) const {
    fs::AtomicWrite(Path(name), bytes);
    return bytes;
  }

  // Two slides (1 and 2), each with a picture, a thumbnail, a title and two
  // further lines and a note; no large-screen pictures.
  Ref<Presentation> TwoSlideDeck() {
    Ref<Presentation> p = MakeRef<Presentation>();
    p->SetFileName("Quarterly review");
    for (int16_t n = 1; n <= 2; ++n) {
      const std::string k = std::to_string(n);
      pictures_[n] = Put("pic" + k + ".png", testing::TestPicturePng(40 + n, 30, 24));
      thumbs_[n] = Put("thumb" + k + ".png", testing::TestPicturePng(16, 12, 8));
      Ref<Slide> s = p->Slides()->Add(n, static_cast<int16_t>(6 + n), Path("pic" + k + ".png"));
      s->SetID(100 + n);
      s->AddThumbnail(Path("thumb" + k + ".png"), 0);
      s->Outlines()->Add(0, 0, 0, NONE, "Title " + k);
      s->Outlines()->Add(1, 0, 1, CIRCLEBULLET, "Line a" + k);
      s->Outlines()->Add(2, 0, 2, NUMBEREDBULLET, "Line b" + k);
      s->SetNoteText("Note " + k + "\r\nsecond");
      s->SetNoteModified(3500000000.0);
    }
    return p;
  }

  std::string dir_ = brevora::testing::MakeTempDir("deck");
  ByteVector pictures_[3];
  ByteVector thumbs_[3];
};

TEST_F(PresentationDb, GoldenTwoSlideDatabase) {
  Ref<Presentation> p = TwoSlideDeck();
  p->SetLinkedPPTFileName("C:\\Decks\\review.ppt");
  p->SetLinkedPPTSyncMethod(2);
  p->SetLinkedPPTFileModDateTime(3300000000.7);
  p->SetIsModified(true);
  p->WriteToDisk(Path("review.pdb"));
  EXPECT_EQ(p->FullPath(), Path("review.pdb"));

  core::HandheldDatabase db;
  db.ReadFile(Path("review.pdb"), true);
  EXPECT_EQ(db.Name(), "review");
  EXPECT_EQ(db.Type(), "Spdb");
  EXPECT_EQ(db.Creator(), "Sldr");
  EXPECT_EQ(db.Attributes().Value(), 8);
  EXPECT_EQ(db.Version().Value(), 1);
  EXPECT_EQ(db.SortInfoBlock(), "");
  ByteVector appInfo{0, 1, 1, 0};
  for (char c : std::string("C:\\Decks\\review.ppt")) appInfo.push_back(static_cast<uint8_t>(c));
  appInfo.resize(260, 0);
  for (int b : {0, 2, 0, 0, 0xC4, 0xB2, 0x01, 0x00, 0, 0, 0, 0})
    appInfo.push_back(static_cast<uint8_t>(b));
  EXPECT_EQ(Text(db.AppInfoBlock()), appInfo);

  const std::vector<ByteVector> expected = {
      Concat({0, 0, 0, 2}, Text(std::string("Quarterly review") + '\0')),
      {0, 1, 0, 1, 0, 7, 0, 101},
      Concat({0, 1, 0, 1, 1}, pictures_[1]),
      {0, 1, 0, 2, 0, 8, 0, 102},
      Concat({0, 1, 0, 2, 1}, pictures_[2]),
      Concat({0, 2, 0, 1, 0, 0, 0, 0, 0, 0}, Text(std::string("Title 1") + '\0')),
      Concat({0, 2, 0, 1, 1, 0, 1, 1, 0, 0}, Text(std::string("Line a1") + '\0')),
      Concat({0, 2, 0, 1, 2, 0, 2, 2, 0, 0}, Text(std::string("Line b1") + '\0')),
      Concat({0, 2, 0, 2, 0, 0, 0, 0, 0, 0}, Text(std::string("Title 2") + '\0')),
      Concat({0, 2, 0, 2, 1, 0, 1, 1, 0, 0}, Text(std::string("Line a2") + '\0')),
      Concat({0, 2, 0, 2, 2, 0, 2, 2, 0, 0}, Text(std::string("Line b2") + '\0')),
      Concat({0, 3, 0, 1, 0xD0, 0x9D, 0xC3, 0x00}, Text(std::string("Note 1\nsecond") + '\0')),
      Concat({0, 3, 0, 2, 0xD0, 0x9D, 0xC3, 0x00}, Text(std::string("Note 2\nsecond") + '\0')),
      Concat({0, 5, 0, 1, 0, 0}, thumbs_[1]),
      Concat({0, 5, 0, 2, 0, 0}, thumbs_[2]),
  };
  ASSERT_EQ(db.Records().Count(), static_cast<int32_t>(expected.size()));
  for (size_t i = 0; i < expected.size(); ++i) {
    const core::RecordRef& r = db.Records().Item(static_cast<int32_t>(i + 1));
    EXPECT_EQ(Data(db, static_cast<int32_t>(i + 1)), expected[i]) << "record " << i;
    EXPECT_EQ(r->UniqueID(), static_cast<int32_t>(i + 1));
    EXPECT_EQ(r->Attributes(), 8);
  }
}

TEST_F(PresentationDb, ReadBackWithUnpackedPictures) {
  TwoSlideDeck()->WriteToDisk(Path("review.pdb"));
  Presentation p;
  ASSERT_TRUE(p.OpenFromDisk(Path("review.pdb")));
  const std::string img = Path("reviewimg/");
  EXPECT_EQ(p.ImageDirectory(), img);
  EXPECT_EQ(p.FileName(), "Quarterly review");
  EXPECT_EQ(p.NumSlides(), 2);
  EXPECT_FALSE(p.IsModified());
  ASSERT_EQ(p.Slides()->Count(), 2);
  for (int16_t n = 1; n <= 2; ++n) {
    SCOPED_TRACE(n);
    const std::string k = std::to_string(n);
    const Ref<Slide> s = p.Slides()->Item(Variant(k + "K"));
    EXPECT_EQ(s->ID(), 100 + n);
    EXPECT_EQ(s->Compression(), 6 + n);
    EXPECT_EQ(s->FilePath(), img + "slide" + k + ".PNG");
    EXPECT_EQ(fs::ReadWholeFile(s->FilePath()), pictures_[n]);
    EXPECT_EQ(s->Thumbnail()->ImagePath(), img + "slideThumb" + k + ".PNG");
    EXPECT_EQ(s->Thumbnail()->Compression(), 6 + n) << "a thumbnail takes the slide's compression";
    EXPECT_EQ(fs::ReadWholeFile(s->Thumbnail()->ImagePath()), thumbs_[n]);
    EXPECT_EQ(testing::ReadPicture(s->FilePath()).width, 40u + n);
    EXPECT_EQ(s->NoteText(), "Note " + k + "\r\nsecond");
    EXPECT_EQ(s->NoteModified(), 3500000000.0);
    EXPECT_EQ(s->VantaSlide()->ImagePath(), "");
    ASSERT_EQ(s->Outlines()->Count(), 3);
    EXPECT_EQ(s->Outlines()->Item(Variant(1))->Text(), "Title " + k);
    const Ref<Outline> b = s->Outlines()->Item(Variant("2K"));
    EXPECT_EQ(b->Text(), "Line b" + k);
    EXPECT_EQ(b->HierLevel(), 2);
    EXPECT_EQ(b->Bullet(), NUMBEREDBULLET);
  }
  EXPECT_EQ(
      fs::ListFolder(img, fs::ListKind::Files),
      (std::vector<std::string>{"slide1.PNG", "slide2.PNG", "slideThumb1.PNG", "slideThumb2.PNG"}));

  // Written again from the unpacked pictures, the file holds the same records,
  // but for the thumbnails' compression, which they took from their slides.
  p.WriteToDisk(Path("again.pdb"));
  core::HandheldDatabase first, second;
  first.ReadFile(Path("review.pdb"), true);
  second.ReadFile(Path("again.pdb"), true);
  ASSERT_EQ(first.Records().Count(), second.Records().Count());
  for (int32_t i = 1; i <= first.Records().Count(); ++i) {
    ByteVector expected = Data(first, i);
    if (expected[1] == fmt::kThumbnailRecord) expected[5] = static_cast<uint8_t>(6 + expected[3]);
    EXPECT_EQ(Data(second, i), expected) << "record " << i;
  }

  // The image folder lives as long as the presentation is open.
  p.ClosePresentation();
  EXPECT_FALSE(fs::FolderExists(img));
  EXPECT_EQ(p.Slides()->Count(), 0);
  EXPECT_EQ(p.FullPath(), "");
}

// Large-screen pictures (type 8) used to be written and never read back, so an
// open and save dropped them. They unpack as slideVanta<n>.PNG.
TEST_F(PresentationDb, LargeScreenPicturesSurviveOpenAndSave) {
  Ref<Presentation> deck = TwoSlideDeck();
  const ByteVector big = Put("big.png", testing::TestPicturePng(400, 300, 24));
  deck->Slides()->Item(Variant("2K"))->AddVantaSlide(Path("big.png"), 3, 555);
  deck->WriteToDisk(Path("v.pdb"));
  {
    Presentation p;
    p.OpenFromDisk(Path("v.pdb"));
    const Ref<VantaImage> v = p.Slides()->Item(Variant("2K"))->VantaSlide();
    EXPECT_EQ(v->ImagePath(), Path("vimg/slideVanta2.PNG"));
    EXPECT_EQ(v->ID(), 555);
    EXPECT_EQ(v->Compression(), 3);
    EXPECT_EQ(fs::ReadWholeFile(v->ImagePath()), big);
    EXPECT_EQ(p.Slides()->Item(Variant("1K"))->VantaSlide()->ImagePath(), "");
    p.WriteToDisk(Path("v2.pdb"));
  }
  EXPECT_FALSE(fs::FolderExists(Path("vimg"))) << "cleaned when the object ended";
  core::HandheldDatabase db;
  db.ReadFile(Path("v2.pdb"), true);
  int32_t vantaRecords = 0;
  for (const core::RecordRef& r : db.Records()) {
    if (r->Data()[1] == fmt::kVantaPictureRecord) ++vantaRecords;
  }
  EXPECT_EQ(vantaRecords, static_cast<int32_t>(1 + fmt::PartCount(big.size())));
}

TEST_F(PresentationDb, PictureSizesRoundTrip) {
  for (size_t length : {size_t{0}, size_t{62000}, size_t{62001}, size_t{124000}}) {
    SCOPED_TRACE(length);
    ByteVector bytes(length);
    for (size_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(i % 253);
    Put("p.png", bytes);
    Put("t.png", {1, 2});
    {
      Presentation p;
      p.Slides()->Add(1, 0, Path("p.png"))->AddThumbnail(Path("t.png"), 0);
      p.WriteToDisk(Path("s.pdb"));
    }
    core::HandheldDatabase db;
    db.ReadFile(Path("s.pdb"), true);
    // info, picture header and parts, title, note, thumbnail
    EXPECT_EQ(db.Records().Count(), static_cast<int32_t>(5 + fmt::PartCount(length)));
    Presentation back;
    back.OpenFromDisk(Path("s.pdb"));
    EXPECT_EQ(fs::ReadWholeFile(back.Slides()->Item(Variant(1))->FilePath()), bytes);
  }
}

TEST_F(PresentationDb, TextTransforms) {
  Put("p.png", {1});
  Put("t.png", {2});
  Presentation p;
  Ref<Slide> s = p.Slides()->Add(1, 0, Path("p.png"));
  s->AddThumbnail(Path("t.png"), 0);
  s->Outlines()->Add(0, 0, 0, NONE, "Head\r\nline\vtab");
  s->SetNoteText("a\r\nb");
  p.WriteToDisk(Path("t.pdb"));
  Presentation back;
  back.OpenFromDisk(Path("t.pdb"));
  const Ref<Slide> r = back.Slides()->Item(Variant(1));
  EXPECT_EQ(r->Outlines()->Item(Variant(1))->Text(), "Headline tab");
  EXPECT_EQ(r->NoteText(), "a\r\nb");
  EXPECT_EQ(r->Outlines()->Count(), 1) << "every slide stores its title line";
}

TEST_F(PresentationDb, LinkFieldsRoundTrip) {
  Put("p.png", {1});
  Put("t.png", {2});
  Presentation p;
  p.Slides()->Add(1, 0, Path("p.png"))->AddThumbnail(Path("t.png"), 0);
  p.SetLinkedPPTFileName(std::string(255, 'L'));  // the longest name the field holds
  p.SetLinkedPPTSyncMethod(3);
  p.SetLinkedPPTSyncOption(1);
  p.SetLinkedPPTFileModDateTime(3300000000.7);
  p.WriteToDisk(Path("l.pdb"));
  Presentation back;
  back.OpenFromDisk(Path("l.pdb"));
  EXPECT_EQ(back.LinkedPPTFileName(), std::string(255, 'L'));
  EXPECT_EQ(back.LinkedPPTSyncMethod(), 3);
  EXPECT_EQ(back.LinkedPPTSyncOption(), 1);
  EXPECT_EQ(back.LinkedPPTFileModDateTime(), 3300000000.0);

  // One more character is refused by the header update too; the file stays.
  const ByteVector before = fs::ReadWholeFile(Path("l.pdb"));
  back.SetLinkedPPTFileName(std::string(256, 'L'));
  const AutomationError e = ErrorOf([&] { back.UpdateHeader(); });
  EXPECT_EQ(e.number(), 32760);
  EXPECT_EQ(e.source(), "Presentation.UpdateHeader");
  EXPECT_EQ(e.description(),
            "Could not update header.\r\nCould not write header.\r\nThe linked file name "
            "(LinkedPPTFileName) has 256 "
            "characters; at most 255 can be stored.");
  EXPECT_EQ(fs::ReadWholeFile(Path("l.pdb")), before);
}

// UpdateHeader stores a changed IsModified without touching the records.
TEST_F(PresentationDb, UpdateHeaderTouchesOnlyTheApplicationInfoBlock) {
  Ref<Presentation> deck = TwoSlideDeck();
  deck->SetIsModified(true);
  deck->WriteToDisk(Path("u.pdb"));
  core::HandheldDatabase before;
  before.ReadFile(Path("u.pdb"), true);

  Presentation p;
  p.OpenFromDisk(Path("u.pdb"));
  EXPECT_TRUE(p.IsModified());
  p.SetIsModified(false);
  p.UpdateHeader();

  core::HandheldDatabase after;
  after.ReadFile(Path("u.pdb"), true);
  EXPECT_EQ(after.Name(), before.Name());
  EXPECT_EQ(after.CreationDate(), before.CreationDate());
  EXPECT_EQ(after.Version().Value(), before.Version().Value());
  ASSERT_EQ(after.Records().Count(), before.Records().Count());
  for (int32_t i = 1; i <= before.Records().Count(); ++i) {
    EXPECT_EQ(Data(after, i), Data(before, i));
    EXPECT_EQ(after.Records().Item(i)->UniqueID(), before.Records().Item(i)->UniqueID());
  }
  std::string expected = before.AppInfoBlock();
  expected[2] = 0;
  EXPECT_EQ(after.AppInfoBlock(), expected);
  Presentation again;
  again.OpenFromDisk(Path("u.pdb"), false);
  EXPECT_FALSE(again.IsModified());
  EXPECT_EQ(again.Slides()->Count(), 0) << "header only";
}

// Bytes this process has read so far through read calls; -1 when the system
// does not say.
int64_t BytesReadSoFar() {
  std::ifstream io("/proc/self/io");
  std::string key;
  int64_t value = 0;
  while (io >> key >> value) {
    if (key == "rchar:") return value;
  }
  return -1;
}

// Opened without its slides, a presentation reads its header and nothing of
// the records behind it, and unpacks nothing.
TEST_F(PresentationDb, HeaderOnlyOpenReadsNoRecordDataAndUnpacksNothing) {
  Ref<Presentation> deck = TwoSlideDeck();
  Put("big.png", testing::TestPicturePng(300, 200, 24));
  deck->Slides()->Add(3, 0, Path("big.png"))->AddThumbnail(Path("thumb1.png"), 0);
  deck->SetIsModified(true);
  deck->WriteToDisk(Path("h.pdb"));
  deck = nullptr;
  core::HandheldDatabase db;
  db.ReadFile(Path("h.pdb"), true);
  const auto dataStart = static_cast<int64_t>(db.Records().Item(1)->DataOffset().Value());
  const auto size = static_cast<int64_t>(fs::FileSize(Path("h.pdb")));
  ASSERT_GT(size - dataStart, 2 * (dataStart + 1024)) << "the pictures make up most of the file";

  Presentation p;
  const int64_t before = BytesReadSoFar();
  ASSERT_TRUE(p.OpenFromDisk(Path("h.pdb"), false));
  const int64_t after = BytesReadSoFar();
  EXPECT_TRUE(p.IsModified());
  EXPECT_EQ(p.FileName(), "h");
  EXPECT_EQ(p.Slides()->Count(), 0);
  EXPECT_FALSE(fs::FolderExists(p.ImageDirectory()));
  if (before >= 0 && after >= 0) {
    EXPECT_LT(after - before, dataStart + 1024) << "read " << after - before << " of " << size;
  }
}

TEST_F(PresentationDb, OpenErrors) {
  TwoSlideDeck()->WriteToDisk(Path("good.pdb"));
  auto rewrite = [&](const std::string& name,
                     const std::function<void(core::HandheldDatabase&)>& change) {
    core::HandheldDatabase db;
    db.ReadFile(Path("good.pdb"), true);
    change(db);
    db.WriteFile(Path(name));
  };
  rewrite("data.pdb", [](core::HandheldDatabase& db) { db.SetType("Data"); });
  rewrite("creator.pdb", [](core::HandheldDatabase& db) { db.SetCreator("Zeri"); });
  rewrite("newer.pdb", [](core::HandheldDatabase& db) {
    std::string block = db.AppInfoBlock();
    block[1] = 2;
    db.SetAppInfoBlock(block);
  });
  rewrite("noheader.pdb", [](core::HandheldDatabase& db) { db.SetAppInfoBlock(""); });
  rewrite("method.pdb", [](core::HandheldDatabase& db) {
    std::string block = db.AppInfoBlock();
    block[261] = 9;
    db.SetAppInfoBlock(block);
  });
  struct Case {
    const char* file;
    std::string inner;
  };
  const Case cases[] = {
      {"data.pdb", "PDB Is not a Slidora presentation"},
      {"creator.pdb", "PDB Is not a Slidora presentation"},
      {"newer.pdb",
       "The presentation header is corrupt.\r\nThis Presentation is of a newer version than this "
       "module.  Please contact Orvanex, Inc."},
      {"noheader.pdb", "The presentation header is corrupt.\r\nThe header block is too short."},
      {"method.pdb", "Invalid syncMethod.  Must be between 0 and 3"},
      {"missing.pdb", "Error reading PDB File (" + Path("missing.pdb") + ")\r\nFile not found"},
  };
  for (const Case& c : cases) {
    Presentation p;
    const AutomationError e = ErrorOf([&] { p.OpenFromDisk(Path(c.file)); });
    EXPECT_EQ(e.number(), 32760) << c.file;
    EXPECT_EQ(e.source(), "Presentation.OpenFromDisk") << c.file;
    EXPECT_EQ(e.description(), "Could not open Presentation '" + Path(c.file) + "'.\r\n" + c.inner)
        << c.file;
  }
  EXPECT_FALSE(fs::FolderExists(Path("missingimg"))) << "no folder for a file that is not there";
  EXPECT_TRUE(Presentation::FileIsPresentation(Path("data.pdb"))) << "the type is not checked";
  EXPECT_FALSE(Presentation::FileIsPresentation(Path("creator.pdb")));
  EXPECT_FALSE(Presentation::FileIsPresentation(Path("missing.pdb")));

  // UpdateHeader refuses a database that is not a presentation and leaves it.
  const ByteVector dataBefore = fs::ReadWholeFile(Path("creator.pdb"));
  Presentation other;
  other.SetFullPath(Path("creator.pdb"));
  const AutomationError update = ErrorOf([&] { other.UpdateHeader(); });
  EXPECT_EQ(update.source(), "Presentation.UpdateHeader");
  EXPECT_EQ(update.description(), "Could not update header.\r\nPDB Is not a Slidora presentation");
  EXPECT_EQ(fs::ReadWholeFile(Path("creator.pdb")), dataBefore);

  // OpenFromPDB passes the 32760 on unchanged.
  Presentation p;
  EXPECT_EQ(ErrorOf([&] { p.OpenFromPDB(Path("data.pdb")); }).source(),
            "Presentation.OpenFromDisk");
}

// Opening does not empty Slides first: a slide number already present fails
// with the duplicate key, and the first slide's picture stays.
TEST_F(PresentationDb, OpenIntoAnOpenPresentationFails) {
  TwoSlideDeck()->WriteToDisk(Path("d.pdb"));
  Presentation p;
  p.OpenFromDisk(Path("d.pdb"));
  const std::string first = p.Slides()->Item(Variant(1))->FilePath();
  const AutomationError e = ErrorOf([&] { p.OpenFromDisk(Path("d.pdb")); });
  EXPECT_NE(e.description().find("This key is already associated"), std::string::npos);
  EXPECT_EQ(fs::ReadWholeFile(first), pictures_[1]);
}

// Crafted databases: records in orders the writer does not make.
TEST_F(PresentationDb, CraftedRecordOrders) {
  auto craft = [&](const std::string& name, const std::function<void(PresentationWriter&)>& add) {
    core::HandheldDatabase db;
    db.SetName("crafted");
    db.SetType("Spdb");
    db.SetCreator("Sldr");
    db.SetAppInfoBlock(BuildAppInfo(PresentationHeader{}));
    PresentationWriter w(db);
    add(w);
    db.WriteFile(Path(name));
  };
  // An outline for slide 7 before any picture creates slide 7.
  craft("outline-first.pdb", [](PresentationWriter& w) {
    w.AddOutline(7, {1, 0, 1, 0, "Point"});
    w.AddNote(9, 0, "for no slide");  // ignored
  });
  Presentation p;
  ASSERT_TRUE(p.OpenFromDisk(Path("outline-first.pdb")));
  ASSERT_EQ(p.Slides()->Count(), 1);
  const Ref<Slide> seven = p.Slides()->Item(Variant("7K"));
  EXPECT_EQ(seven->Compression(), 0);
  EXPECT_EQ(seven->FilePath(), "");
  EXPECT_EQ(seven->Outlines()->Count(), 2);
  EXPECT_EQ(p.FileName(), "crafted") << "no info record: the database name";

  craft("dup.pdb", [](PresentationWriter& w) {
    w.AddPicture(fmt::kSlidePictureRecord, 1, 0, 0, ByteVector{1});
    w.AddPicture(fmt::kSlidePictureRecord, 1, 0, 0, ByteVector{2});
  });
  craft("thumb.pdb", [](PresentationWriter& w) { w.AddThumbnail(3, 0, ByteVector{1}); });
  craft("vanta.pdb", [](PresentationWriter& w) {
    w.AddPicture(fmt::kVantaPictureRecord, 3, 0, 0, ByteVector{1});
  });
  for (const char* file : {"dup.pdb", "thumb.pdb", "vanta.pdb"}) {
    Presentation q;
    const AutomationError e = ErrorOf([&] { q.OpenFromDisk(Path(file)); });
    EXPECT_EQ(e.number(), 32760) << file;
  }
  // A failed open keeps what was read so far.
  Presentation q;
  ErrorOf([&] { q.OpenFromDisk(Path("dup.pdb")); });
  EXPECT_EQ(q.Slides()->Count(), 1);
  EXPECT_EQ(fs::ReadWholeFile(q.Slides()->Item(Variant(1))->FilePath()), ByteVector{1});
}

// Picture parts whose header record is missing belong to no slide: they are
// not unpacked, so nothing of theirs outlives the presentation (a file made for
// them would stay in the image folder beside the user's file).
TEST_F(PresentationDb, PicturePartsWithoutTheirHeaderAreNotUnpacked) {
  core::HandheldDatabase db;
  db.SetName("orphans");
  db.SetType("Spdb");
  db.SetCreator("Sldr");
  db.SetAppInfoBlock(BuildAppInfo(PresentationHeader{}));
  {
    PresentationWriter w(db);
    w.AddOutline(4, {0, 0, 0, 0, "Title"});                                // record 1
    w.AddPicture(fmt::kSlidePictureRecord, 4, 0, 0, ByteVector{1, 2, 3});  // records 2, 3
    w.AddPicture(fmt::kVantaPictureRecord, 4, 0, 0, ByteVector{4, 5});     // records 4, 5
  }
  db.Records().Remove(4);
  db.Records().Remove(2);
  db.WriteFile(Path("orphans.pdb"));

  std::string folder;
  {
    Presentation p;
    ASSERT_TRUE(p.OpenFromDisk(Path("orphans.pdb")));
    folder = p.ImageDirectory();
    ASSERT_EQ(p.Slides()->Count(), 1);
    EXPECT_EQ(p.Slides()->Item(Variant("4K"))->FilePath(), "");
    EXPECT_FALSE(std::filesystem::exists(folder + "slide4.PNG"));
    EXPECT_FALSE(std::filesystem::exists(folder + "slideVanta4.PNG"));
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
}

// Every record cut short, and random bytes flipped: an error or a result,
// never a crash (the sanitizer build checks the reads).
TEST_F(PresentationDb, CorruptRecordsAreReportedNotTrusted) {
  TwoSlideDeck()->WriteToDisk(Path("c.pdb"));
  core::HandheldDatabase good;
  good.ReadFile(Path("c.pdb"), true);
  // One record of each kind: info, picture header, picture part, outline, note, thumbnail.
  for (int32_t i : {1, 2, 3, 6, 12, 14}) {
    const ByteVector data = Data(good, i);
    for (size_t cut : {size_t{1}, size_t{3}, size_t{7}}) {
      if (cut >= data.size()) continue;
      core::HandheldDatabase db;
      db.ReadFile(Path("c.pdb"), true);
      db.Records().Item(i)->SetData(ByteVector(data.begin(), data.begin() + cut));
      db.WriteFile(Path("cut.pdb"));
      Presentation p;
      try {
        p.OpenFromDisk(Path("cut.pdb"));
      } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), 32760);
        EXPECT_EQ(e.source(), "Presentation.OpenFromDisk");
      }
    }
  }
  const ByteVector file = fs::ReadWholeFile(Path("c.pdb"));
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    ByteVector bytes = file;
    for (int flips = 0; flips < 4; ++flips) {
      bytes[random() % bytes.size()] ^= static_cast<uint8_t>(1 + random() % 255);
    }
    std::ofstream(Path("flip.pdb"), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    Presentation p;
    try {
      p.OpenFromDisk(Path("flip.pdb"));
    } catch (const AutomationError& e) {
      EXPECT_EQ(e.number(), 32760);
    }
  }
}

TEST_F(PresentationDb, WriteErrorsLeaveTheOldFile) {
  TwoSlideDeck()->WriteToDisk(Path("w.pdb"));
  const ByteVector before = fs::ReadWholeFile(Path("w.pdb"));
  Put("big.png", ByteVector(32768, 1));
  struct Case {
    const char* what;
    std::function<void(Presentation&)> spoil;
    std::string inner;
  };
  const Case cases[] = {
      {"missing picture",
       [&](Presentation& p) { p.Slides()->Item(Variant(1))->SetFilePath(Path("none.png")); },
       "File not found"},
      {"no thumbnail", [&](Presentation& p) { p.Slides()->Item(Variant(2))->AddThumbnail("", 0); },
       "File not found"},
      {"big thumbnail",
       [&](Presentation& p) { p.Slides()->Item(Variant(2))->AddThumbnail(Path("big.png"), 0); },
       "The thumbnail picture of slide 2 has 32768 bytes; it must be shorter than 32768 bytes."},
      {"compression", [&](Presentation& p) { p.Slides()->Item(Variant(1))->SetCompression(256); },
       "Overflow"},
      {"link name", [&](Presentation& p) { p.SetLinkedPPTFileName(std::string(256, 'x')); },
       "Could not write header.\r\nThe linked file name (LinkedPPTFileName) has 256 characters; at "
       "most 255 can "
       "be stored."},
  };
  for (const Case& c : cases) {
    Ref<Presentation> p = TwoSlideDeck();
    c.spoil(*p);
    const AutomationError e = ErrorOf([&] { p->WriteToDisk(Path("w.pdb")); });
    EXPECT_EQ(e.number(), 32760) << c.what;
    EXPECT_EQ(e.source(), "Presentation.WriteToDisk") << c.what;
    EXPECT_EQ(e.description(), "Could not save Presentation '" + Path("w.pdb") + "'.\r\n" + c.inner)
        << c.what;
    EXPECT_EQ(fs::ReadWholeFile(Path("w.pdb")), before) << c.what;
  }
  Presentation unnamed;
  const AutomationError e = ErrorOf([&] { unnamed.WriteToDisk(); });
  EXPECT_EQ(e.description(),
            "Could not save Presentation ''.\r\nPlease name the Presentation before saving it.");
  const AutomationError viaPdb = ErrorOf([&] { unnamed.WriteToPDB(""); });
  EXPECT_EQ(viaPdb.source(), "Presentation.WriteToDisk") << "32760 passes WriteToPDB unchanged";
  EXPECT_EQ(fs::ListFolder(dir_, fs::ListKind::Files).size(), 6u) << "no temporary files left";
}

// The database name is the file's stem: 31 characters are stored, a longer
// stem fails the save with the database's error (two files would otherwise
// share one name on the handheld), and nothing is written.
TEST_F(PresentationDb, DatabaseNameOver31CharactersFailsTheSave) {
  const std::string fits = Path(std::string(31, 'a') + ".pdb");
  TwoSlideDeck()->WriteToDisk(fits);
  core::HandheldDatabase db;
  db.ReadFile(fits, false);
  EXPECT_EQ(db.Name(), std::string(31, 'a'));

  for (const std::string& stem :
       {std::string(32, 'b'), std::string("A presentation with a rather long name")}) {
    const std::string file = Path(stem + ".pdb");
    Ref<Presentation> p = TwoSlideDeck();
    const AutomationError e = ErrorOf([&] { p->WriteToDisk(file); });
    EXPECT_EQ(e.number(), 32760) << stem;
    EXPECT_EQ(e.source(), "Presentation.WriteToDisk") << stem;
    EXPECT_EQ(e.description(), "Could not save Presentation '" + file +
                                   "'.\r\nPDBName must be a maximum of 31 characters.");
    EXPECT_FALSE(fs::FileExists(file)) << stem;
  }
  EXPECT_EQ(fs::ListFolder(dir_, fs::ListKind::Files).size(), 5u) << "no temporary files left";
}

// Saving to another path stores the path; the file opened first stays.
TEST_F(PresentationDb, SavingElsewhereDoesNotRenameTheOpenFile) {
  TwoSlideDeck()->WriteToDisk(Path("one.pdb"));
  Presentation p;
  p.OpenFromDisk(Path("one.pdb"));
  p.WriteToDisk(Path("two.pdb"));
  EXPECT_TRUE(fs::FileExists(Path("one.pdb")));
  EXPECT_TRUE(fs::FileExists(Path("two.pdb")));
  EXPECT_EQ(p.FullPath(), Path("two.pdb"));
  // Closing cleans the folder the pictures were unpacked into.
  p.ClosePresentation();
  EXPECT_FALSE(fs::FolderExists(Path("oneimg")));
}

// Unpacking never writes through a link planted in the image folder.
TEST_F(PresentationDb, UnpackingReplacesLinksInsteadOfFollowingThem) {
  TwoSlideDeck()->WriteToDisk(Path("s.pdb"));
  Put("victim.txt", Text("keep me"));
  fs::MakeFolder(Path("simg"));
  std::filesystem::create_symlink(Path("victim.txt"), Path("simg/slide1.PNG"));
  std::filesystem::create_symlink(Path("victim.txt"), Path("simg/slideThumb2.PNG"));
  Presentation p;
  p.OpenFromDisk(Path("s.pdb"));
  EXPECT_EQ(fs::ReadWholeFile(Path("victim.txt")), Text("keep me"));
  EXPECT_EQ(fs::ReadWholeFile(Path("simg/slide1.PNG")), pictures_[1]);
  EXPECT_EQ(fs::ReadWholeFile(Path("simg/slideThumb2.PNG")), thumbs_[2]);
}

TEST_F(PresentationDb, CreateImagesUnpacksAgain) {
  TwoSlideDeck()->WriteToDisk(Path("ci.pdb"));
  Presentation p;
  p.OpenFromDisk(Path("ci.pdb"));
  const std::string picture = p.Slides()->Item(Variant(2))->FilePath();
  fs::RemoveFile(picture);
  fs::RemoveFile(p.Slides()->Item(Variant(1))->Thumbnail()->ImagePath());
  p.CreateImages();
  EXPECT_EQ(fs::ReadWholeFile(picture), pictures_[2]);
  EXPECT_EQ(fs::ReadWholeFile(p.Slides()->Item(Variant(1))->Thumbnail()->ImagePath()), thumbs_[1]);
  EXPECT_EQ(p.Slides()->Count(), 2);
}

// The link step is reached through PresentationLinkStep: on opening, a
// conversion into FullPath makes the open read the converted file; after
// writing, the renewed time becomes the property's value.
class RecordingLink : public PresentationLinkStep {
 public:
  RecordingLink(std::vector<std::string>& calls, std::string convertedFrom)
      : calls_(calls), convertedFrom_(std::move(convertedFrom)) {}
  bool SyncLinkedFile(Presentation& p, PresentationLinkInfo& link, bool onOpen) override {
    calls_.push_back((onOpen ? "open " : "write ") + link.fileName);
    if (onOpen) {
      fs::CopyFile(convertedFrom_, p.FullPath(), true);
      return true;
    }
    link.modDateTime = 4000000000.0;
    return false;
  }

 private:
  std::vector<std::string>& calls_;
  std::string convertedFrom_;
};

TEST_F(PresentationDb, LinkStepThroughItsInterface) {
  Ref<Presentation> deck = TwoSlideDeck();
  deck->SetFileName("Converted");
  deck->WriteToDisk(Path("converted.pdb"));
  Put("p.png", {1});
  Put("t.png", {2});
  Presentation stored;
  stored.Slides()->Add(5, 0, Path("p.png"))->AddThumbnail(Path("t.png"), 0);
  stored.SetLinkedPPTFileName("C:\\deck.ppt");
  stored.WriteToDisk(Path("linked.pdb"));

  std::vector<std::string> calls;
  Presentation p;
  PresentationInternal::SetLinkStep(p,
                                    std::make_unique<RecordingLink>(calls, Path("converted.pdb")));
  p.OpenFromDisk(Path("linked.pdb"));  // no update from the link by default
  EXPECT_TRUE(calls.empty());
  p.ClosePresentation();
  p.OpenFromDisk(Path("linked.pdb"), true, true);
  EXPECT_EQ(calls, std::vector<std::string>{"open C:\\deck.ppt"});
  EXPECT_EQ(p.FileName(), "Converted") << "the converted file was read";
  EXPECT_EQ(p.Slides()->Count(), 2);
  EXPECT_EQ(p.LinkedPPTFileName(), "") << "the link record of the converted file";

  p.SetLinkedPPTFileName("C:\\other.ppt");
  p.WriteToDisk(Path("out.pdb"), true);
  EXPECT_EQ(calls.back(), "write C:\\other.ppt");
  EXPECT_EQ(p.LinkedPPTFileModDateTime(), 4000000000.0);
  p.SetLinkedPPTFileName("");
  p.WriteToDisk(Path("out.pdb"), true);
  EXPECT_EQ(calls.size(), 2u) << "no link, no step";
}

// deleteFolder removes only pictures inside the presentation's own image
// folder: a client's original pictures elsewhere used to be deleted on close.
TEST_F(PresentationDb, ClosingKeepsPicturesOutsideTheImageFolder) {
  {
    Ref<Presentation> p = TwoSlideDeck();
    p->WriteToDisk(Path("own.pdb"));
    fs::MakeFolder(p->ImageDirectory());
    p->ClosePresentation();
    EXPECT_FALSE(fs::FolderExists(Path("ownimg")));
    Ref<Presentation> q = TwoSlideDeck();
    q->SetFullPath(Path("own.pdb"));
  }  // destroyed without closing
  for (const char* name : {"pic1.png", "pic2.png", "thumb1.png", "thumb2.png"}) {
    EXPECT_TRUE(fs::FileExists(Path(name))) << name;
  }
  // An unnamed presentation has no image folder of its own: nothing is touched.
  Ref<Presentation> unnamed = TwoSlideDeck();
  unnamed->DeleteFolder();
  EXPECT_TRUE(fs::FileExists(Path("pic1.png")));
}

}  // namespace
}  // namespace brevora::slides
