// The record encoders and decoders of the presentation database on their own.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/database_record.h"
#include "core/handheld_database.h"
#include "platform/error/error.h"
#include "slides/presentation_format.h"
#include "slides/presentation_reader.h"
#include "slides/presentation_writer.h"
#include "testing/caught_error.h"

namespace brevora::slides {
namespace {

namespace fmt = presentation_format;
using ByteVector = std::vector<uint8_t>;

ByteVector Data(const core::HandheldDatabase& db, int32_t position) {
  auto d = db.Records().Item(position)->Data();
  return ByteVector(d.begin(), d.end());
}

ByteVector Pattern(size_t n) {
  ByteVector v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i * 31 + i / 251);
  return v;
}

using ::brevora::testing::ErrorOf;

TEST(PresentationWriter, PicturePartsSplitAt62000Bytes) {
  struct Case {
    size_t length;
    std::vector<size_t> parts;
  };
  const Case cases[] = {
      {0, {}},
      {1, {1}},
      {62000, {62000}},
      {62001, {62000, 1}},
      {124000, {62000, 62000}},
      {130000, {62000, 62000, 6000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    core::HandheldDatabase db;
    PresentationWriter w(db);
    const ByteVector png = Pattern(c.length);
    w.AddPicture(fmt::kSlidePictureRecord, 3, 9, 1234, png);
    ASSERT_EQ(db.Records().Count(), static_cast<int32_t>(c.parts.size() + 1));
    EXPECT_EQ(Data(db, 1), (ByteVector{0, 1, 0, 3, 0, 9, 0x04, 0xD2}));
    ByteVector joined;
    for (size_t p = 0; p < c.parts.size(); ++p) {
      const ByteVector part = Data(db, static_cast<int32_t>(p + 2));
      ASSERT_EQ(part.size(), c.parts[p] + 5);
      EXPECT_EQ(ByteVector(part.begin(), part.begin() + 5),
                (ByteVector{0, 1, 0, 3, static_cast<uint8_t>(p + 1)}));
      joined.insert(joined.end(), part.begin() + 5, part.end());
    }
    EXPECT_EQ(joined, png);
    int32_t id = 1;
    for (const core::RecordRef& r : db.Records()) {
      EXPECT_EQ(r->UniqueID(), id++);
      EXPECT_EQ(r->Attributes(), 8);
    }
  }
}

TEST(PresentationWriter, RecordLayouts) {
  core::HandheldDatabase db;
  PresentationWriter w(db);
  w.AddInfo(2, "Deck");
  w.AddOutline(1, {4, 5, 1, 2, "a\r\nb\vc\rd\ne"});
  w.AddNote(2, 3500000000.9, "x\r\ny\r\n");
  w.AddThumbnail(2, 3, ByteVector{9, 8, 7});
  w.AddPicture(fmt::kVantaPictureRecord, 2, 1, 77, ByteVector{5});
  EXPECT_EQ(Data(db, 1), (ByteVector{0, 0, 0, 2, 'D', 'e', 'c', 'k', 0}));
  // CR LF pairs removed, vertical tab as blank, lone CR and LF kept.
  EXPECT_EQ(Data(db, 2), (ByteVector{0, 2, 0, 1, 4, 5, 1, 2, 0, 0, 'a', 'b', ' ', 'c', '\r', 'd',
                                     '\n', 'e', 0}));
  // Every CR removed; the time's fraction dropped.
  EXPECT_EQ(Data(db, 3), (ByteVector{0, 3, 0, 2, 0xD0, 0x9D, 0xC3, 0x00, 'x', '\n', 'y', '\n', 0}));
  EXPECT_EQ(Data(db, 4), (ByteVector{0, 5, 0, 2, 0, 3, 9, 8, 7}));
  EXPECT_EQ(Data(db, 5), (ByteVector{0, 8, 0, 2, 0, 1, 0, 77}));
  EXPECT_EQ(Data(db, 6), (ByteVector{0, 8, 0, 2, 1, 5}));
}

TEST(PresentationWriter, ValuesOutsideTheirFieldsAddNothing) {
  const ByteVector png{1, 2, 3};
  struct Case {
    const char* what;
    std::function<void(PresentationWriter&)> add;
  };
  const Case cases[] = {
      {"slide 32768",
       [&](PresentationWriter& w) { w.AddPicture(fmt::kSlidePictureRecord, 32768, 0, 0, png); }},
      {"negative slide", [&](PresentationWriter& w) { w.AddOutline(-1, {}); }},
      {"id 32768",
       [&](PresentationWriter& w) { w.AddPicture(fmt::kSlidePictureRecord, 1, 0, 32768, png); }},
      {"compression 256",
       [&](PresentationWriter& w) { w.AddPicture(fmt::kSlidePictureRecord, 1, 256, 0, png); }},
      {"SeqNum 256",
       [&](PresentationWriter& w) {
         w.AddOutline(1, {256, 0, 0, 0, ""});
       }},
      {"Section 256",
       [&](PresentationWriter& w) {
         w.AddOutline(1, {0, 256, 0, 0, ""});
       }},
      {"HierLevel 256",
       [&](PresentationWriter& w) {
         w.AddOutline(1, {0, 0, 256, 0, ""});
       }},
      {"bullet -1",
       [&](PresentationWriter& w) {
         w.AddOutline(1, {0, 0, 0, -1, ""});
       }},
      {"note time -1", [&](PresentationWriter& w) { w.AddNote(1, -1, ""); }},
      {"note time 2^32", [&](PresentationWriter& w) { w.AddNote(1, 4294967296.0, ""); }},
  };
  for (const Case& c : cases) {
    core::HandheldDatabase db;
    PresentationWriter w(db);
    EXPECT_EQ(ErrorOf([&] { c.add(w); }).number(), 6) << c.what;
    EXPECT_EQ(db.Records().Count(), 0) << c.what;
  }
  core::HandheldDatabase db;
  PresentationWriter w(db);
  w.AddThumbnail(1, 0, ByteVector(32767, 1));
  const AutomationError e = ErrorOf([&] { w.AddThumbnail(2, 0, ByteVector(32768, 1)); });
  EXPECT_EQ(e.number(), 6);
  EXPECT_NE(e.description().find("32768"), std::string::npos) << e.description();
  EXPECT_EQ(db.Records().Count(), 1);
}

PresentationHeader SampleHeader() {
  PresentationHeader h;
  h.isModified = true;
  h.link.fileName = "C:\\Decks\\review.ppt";
  h.link.syncMethod = 2;
  h.link.syncOption = 1;
  h.link.modDateTime = 3300000000.7;
  h.reserved = std::string("ab\0d", 4);
  return h;
}

TEST(PresentationHeaderBlock, GoldenBytes) {
  const std::string block = BuildAppInfo(SampleHeader());
  ASSERT_EQ(block.size(), 272u);
  ByteVector expected{0, 1, 1, 0};
  const std::string name = "C:\\Decks\\review.ppt";
  expected.insert(expected.end(), name.begin(), name.end());
  expected.resize(260, 0);
  for (int b : {0, 2, 0, 1, 0xC4, 0xB2, 0x01, 0x00, int{'a'}, int{'b'}, 0, int{'d'}}) {
    expected.push_back(static_cast<uint8_t>(b));
  }
  EXPECT_EQ(ByteVector(block.begin(), block.end()), expected);

  const PresentationHeader back = ReadHeader(ByteVector(block.begin(), block.end()));
  EXPECT_TRUE(back.isModified);
  EXPECT_EQ(back.link.fileName, name);
  EXPECT_EQ(back.link.syncMethod, 2);
  EXPECT_EQ(back.link.syncOption, 1);
  EXPECT_EQ(back.link.modDateTime, 3300000000.0);
  EXPECT_EQ(back.reserved, std::string("ab\0d", 4));
}

// The field keeps a NUL after the name: up to 255 characters round-trip; a
// longer name is refused, naming the field, rather than cut to another path.
TEST(PresentationHeaderBlock, LinkNameLengths) {
  for (size_t length : {size_t{0}, size_t{1}, size_t{255}}) {
    PresentationHeader h = SampleHeader();
    h.link.fileName = std::string(length, 'n');
    const std::string block = BuildAppInfo(h);
    ASSERT_EQ(block.size(), 272u);
    const PresentationHeader back = ReadHeader(ByteVector(block.begin(), block.end()));
    EXPECT_EQ(back.link.fileName, std::string(length, 'n')) << length;
  }
  for (size_t length : {size_t{256}, size_t{257}, size_t{1000}}) {
    PresentationHeader h = SampleHeader();
    h.link.fileName = std::string(length, 'n');
    const AutomationError e = ErrorOf([&] { BuildAppInfo(h); });
    EXPECT_EQ(e.number(), 32760) << length;
    EXPECT_EQ(e.source(), "Presentation.WriteHeader") << length;
    EXPECT_EQ(e.description(),
              "Could not write header.\r\nThe linked file name (LinkedPPTFileName) has " +
                  std::to_string(length) + " characters; at most 255 can be stored.");
  }
}

TEST(PresentationHeaderBlock, ReadErrors) {
  const std::string good = BuildAppInfo(SampleHeader());
  struct Case {
    const char* what;
    ByteVector block;
    std::string cause;
  };
  ByteVector newer(good.begin(), good.end());
  newer[1] = 2;
  ByteVector noNul(good.begin(), good.end());
  std::fill(noNul.begin() + 4, noNul.begin() + 260, 'x');
  const Case cases[] = {
      {"empty", {}, "The header block is too short."},
      {"271 bytes", ByteVector(good.begin(), good.end() - 1), "The header block is too short."},
      {"version 2", newer,
       "This Presentation is of a newer version than this module.  Please contact Orvanex, Inc."},
      {"name without NUL", noNul, "The linked file name has no end."},
  };
  for (const Case& c : cases) {
    const AutomationError e = ErrorOf([&] { ReadHeader(c.block); });
    EXPECT_EQ(e.number(), 32760) << c.what;
    EXPECT_EQ(e.source(), "Presentation.ReadHeader") << c.what;
    EXPECT_EQ(e.description(), "The presentation header is corrupt.\r\n" + c.cause) << c.what;
  }
  // Version 0 and a longer block are read.
  ByteVector old(good.begin(), good.end());
  old[1] = 0;
  old.push_back(7);
  EXPECT_EQ(ReadHeader(old).link.syncMethod, 2);
}

TEST(PresentationRecords, Decoders) {
  const ByteVector outline{0, 2, 0, 7, 3, 1, 2, 1, 0, 0, 'T', 'x', 0, 'z'};
  const OutlineRecord o = ReadOutlineRecord(outline);
  EXPECT_EQ(o.slide, 7);
  EXPECT_EQ(o.line.seqNum, 3);
  EXPECT_EQ(o.line.section, 1);
  EXPECT_EQ(o.line.hierLevel, 2);
  EXPECT_EQ(o.line.bullet, 1);
  EXPECT_EQ(o.line.text, "Tx");

  const NoteRecord n = ReadNotesRecord(ByteVector{0, 3, 0, 2, 0, 0, 1, 0, 'a', '\n', 'b', 0});
  EXPECT_EQ(n.slide, 2);
  EXPECT_EQ(n.modified, 256);
  EXPECT_EQ(n.text, "a\r\nb");

  const InfoRecord info = ReadInfoRecord(ByteVector{0, 0, 0xFF, 0xFF, 'N', 'a'});
  EXPECT_EQ(info.slideCount, 65535);
  EXPECT_EQ(info.name, "Na") << "no NUL: up to the end";

  const PictureRecord header = ReadPictureRecord(ByteVector{0, 1, 0, 4, 0, 200, 0x7F, 0xFF});
  EXPECT_EQ(header.slide, 4);
  EXPECT_EQ(header.part, 0);
  EXPECT_EQ(header.compression, 200);
  EXPECT_EQ(header.id, 32767);
  const ByteVector partBytes{0, 1, 0, 4, 2, 9, 9};
  const PictureRecord part = ReadPictureRecord(partBytes);
  EXPECT_EQ(part.part, 2);
  EXPECT_EQ(ByteVector(part.bytes.begin(), part.bytes.end()), (ByteVector{9, 9}));

  const ByteVector thumbBytes{0, 5, 0, 1, 0, 0};
  const ThumbnailRecord t = ReadThumbnailRecord(thumbBytes);
  EXPECT_EQ(t.slide, 1);
  EXPECT_TRUE(t.png.empty());

  EXPECT_FALSE(RecordTypeOf(ByteVector{}).has_value());
  EXPECT_FALSE(RecordTypeOf(ByteVector{1}).has_value());
  EXPECT_EQ(RecordTypeOf(ByteVector{0, 8}), 8);
}

TEST(PresentationRecords, TooShortRecordsAreRefused) {
  struct Case {
    const char* what;
    std::function<void()> read;
  };
  const Case cases[] = {
      {"info",
       [] {
         ReadInfoRecord(ByteVector{0, 0, 0});
       }},
      {"picture part",
       [] {
         ReadPictureRecord(ByteVector{0, 1, 0, 1});
       }},
      {"picture header",
       [] {
         ReadPictureRecord(ByteVector{0, 1, 0, 1, 0, 0, 0});
       }},
      {"outline",
       [] {
         ReadOutlineRecord(ByteVector{0, 2, 0, 1, 0, 0, 0, 0, 0});
       }},
      {"note",
       [] {
         ReadNotesRecord(ByteVector{0, 3, 0, 1, 0, 0, 0});
       }},
      {"thumbnail",
       [] {
         ReadThumbnailRecord(ByteVector{0, 5, 0, 1, 0});
       }},
  };
  for (const Case& c : cases) {
    const AutomationError e = ErrorOf(c.read);
    EXPECT_EQ(e.number(), 321) << c.what;
    EXPECT_NE(e.description().find("too short"), std::string::npos) << c.what;
  }
}

TEST(PresentationPaths, ImageFolderAndDatabaseName) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
  };
  const Case cases[] = {
      {"/data/Sales.pdb", "/data/Salesimg/", "Sales"},
      {"C:\\Data\\Sales.pdb", "C:\\Data\\Salesimg/", "Sales"},
      // The extension is cut inside the file name only: a dotted folder used to
      // give a folder outside the presentation's own (/d/aimg/).
      {"/d/a.b/deck", "/d/a.b/deckimg/", "deck"},
      {"D:\\a.b\\deck", "D:\\a.b\\deckimg/", "deck"},
      {"/x/y.z.pdb", "/x/y.zimg/", "y.z"},
      {"deck", "deckimg/", "deck"},
      {"", "img/", ""},
      // A stem over 31 characters is kept whole (the database refuses it).
      {"/p/a-very-long-presentation-name-indeed.pdb", "/p/a-very-long-presentation-name-indeedimg/",
       "a-very-long-presentation-name-indeed"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ImageFolderOf(c.path), c.folder) << c.path;
    EXPECT_EQ(DatabaseNameOf(c.path), c.name) << c.path;
  }
}

}  // namespace
}  // namespace brevora::slides
