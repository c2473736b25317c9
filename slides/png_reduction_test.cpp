#include "slides/png_reduction.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/automation/member_table.h"
#include "platform/error/error.h"
#include "platform/fs/files.h"
#include "slides/freeimage_bitmap.h"
#include "slides/freeimage_image.h"
#include "slides/freeimage_init.h"
#include "slides/pictures_test_support.h"
#include "testing/temp_home.h"

namespace brevora::slides {
namespace {

using testing::PictureInfo;
using testing::ReadPicture;
using testing::WriteTestPicture;

class PngReduction : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_ + "/" + name; }
  // Only these names are left in the folder (no temporary files).
  void ExpectFolderHolds(std::vector<std::string> names) const {
    EXPECT_EQ(fs::ListFolder(dir_, fs::ListKind::Files), names);
  }
  std::string dir_ = brevora::testing::MakeTempDir("png");
};

TEST_F(PngReduction, ChangeColorsValueTable) {
  struct Case {
    int32_t depth, value;
  };
  for (const Case c :
       {Case{1, 8}, Case{4, 8}, Case{5, 256}, Case{8, 256}, Case{9, 16}, Case{16, 16}, Case{17, 24},
        Case{24, 24}, Case{25, 32}, Case{32, 32}, Case{48, 32}, Case{0, 8}}) {
    EXPECT_EQ(ChangeColorsValue(c.depth), c.value) << c.depth;
  }
}

// The library path on generated pictures: what the target holds afterwards.
TEST_F(PngReduction, LibraryPathReducesToTheDepthClass) {
  struct Case {
    int sourceBpp;
    int16_t depth;
    int16_t depthAfter;
    unsigned targetBpp;
    bool palette;
  };
  const Case cases[] = {
      {24, 8, 8, 8, true},  // 256-colour palette
      {24, 5, 5, 8, true},
      {32, 8, 8, 8, true},
      {32, 16, 24, 24, false},  // 16 is taken as 24
      {32, 24, 24, 24, false},
      {24, 12, 12, 24, false},  // another depth below: the picture as loaded
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.sourceBpp) + " bits to depth " + std::to_string(c.depth));
    const std::string src = Path("src.png"), dst = Path("dst.png");
    WriteTestPicture(src, 64, 48, c.sourceBpp);
    const std::vector<uint8_t> before = fs::ReadWholeFile(src);
    int16_t depth = c.depth;
    OptimizePngFileDLL(src, dst, depth);
    EXPECT_EQ(depth, c.depthAfter);
    const PictureInfo out = ReadPicture(dst);
    EXPECT_EQ(out.width, 64u);
    EXPECT_EQ(out.height, 48u);
    EXPECT_EQ(out.bpp, c.targetBpp);
    EXPECT_EQ(out.palette, c.palette);
    if (c.palette)
      EXPECT_LE(out.colours, 256u);
    else
      EXPECT_GT(out.colours, 256u);
    EXPECT_EQ(fs::ReadWholeFile(src), before) << "the source is left alone";
    ExpectFolderHolds({"dst.png", "src.png"});
    fs::RemoveFile(dst);
  }
}

TEST_F(PngReduction, LibraryPathDepthFourGivesAGreyPalette) {
  const std::string src = Path("src.png"), dst = Path("dst.png");
  WriteTestPicture(src, 80, 60, 24);
  int16_t depth = 4;
  OptimizePngFileDLL(src, dst, depth);
  const PictureInfo out = ReadPicture(dst);
  EXPECT_EQ(out.bpp, 8u);
  EXPECT_TRUE(out.palette);
  EXPECT_TRUE(out.greyPalette);
  EXPECT_EQ(out.paletteSize, 256u);
  EXPECT_EQ(depth, 4);
}

// In place: the source is the target. The picture used to be written through
// an intermediate 24-bit file at the target; now it is reduced in memory and
// the file replaced once, when the result is complete.
TEST_F(PngReduction, LibraryPathInPlace) {
  for (int16_t requested : {int16_t{8}, int16_t{3}}) {
    const std::string src = Path("slide.png");
    WriteTestPicture(src, 64, 48, 24);
    int16_t depth = requested;
    OptimizePngFileDLL(src, src, depth);
    const PictureInfo out = ReadPicture(src);
    EXPECT_EQ(out.bpp, 8u) << requested;
    EXPECT_LE(out.colours, 256u);
    EXPECT_EQ(out.greyPalette, requested <= 4);
    ExpectFolderHolds({"slide.png"});
  }
}

// Nothing to reduce: nothing is written. The source stays as it is, a missing
// target stays missing and an existing one keeps its bytes.
TEST_F(PngReduction, LibraryPathDepthNotBelowThePictureWritesNothing) {
  struct Case {
    int sourceBpp;
    int16_t depth;
    int16_t depthAfter;
  };
  for (const Case c :
       {Case{8, 8, 8}, Case{24, 16, 24}, Case{24, 24, 24}, Case{24, 32, 32}, Case{32, 32, 32}}) {
    SCOPED_TRACE(std::to_string(c.sourceBpp) + " bits, depth " + std::to_string(c.depth));
    const std::string src = Path("src.png"), dst = Path("dst.png");
    WriteTestPicture(src, 40, 30, c.sourceBpp);
    ASSERT_EQ(ReadPicture(src).bpp, static_cast<unsigned>(c.sourceBpp));
    const std::vector<uint8_t> before = fs::ReadWholeFile(src);

    int16_t depth = c.depth;
    OptimizePngFileDLL(src, src, depth);
    EXPECT_EQ(depth, c.depthAfter);
    EXPECT_EQ(fs::ReadWholeFile(src), before) << "in place";

    depth = c.depth;
    OptimizePngFileDLL(src, dst, depth);
    EXPECT_EQ(depth, c.depthAfter);
    EXPECT_FALSE(fs::FileExists(dst)) << "a missing target is not made";
    ExpectFolderHolds({"src.png"});

    fs::AtomicWrite(dst, std::string_view("old target"));
    depth = c.depth;
    OptimizePngFileDLL(src, dst, depth);
    EXPECT_EQ(fs::ReadWholeFile(dst),
              (std::vector<uint8_t>{'o', 'l', 'd', ' ', 't', 'a', 'r', 'g', 'e', 't'}))
        << "an existing target keeps its bytes";
    EXPECT_EQ(fs::ReadWholeFile(src), before);
    fs::RemoveFile(dst);
  }
}

TEST_F(PngReduction, NotAPictureIsCopiedToADifferentTarget) {
  const std::string src = Path("notes.txt"), dst = Path("dst.png");
  fs::AtomicWrite(src, std::string_view("not a picture"));
  fs::AtomicWrite(dst, std::string_view("old target"));
  int16_t depth = 16;
  OptimizePngFileDLL(src, dst, depth);
  EXPECT_EQ(fs::ReadWholeFile(dst), fs::ReadWholeFile(src));
  EXPECT_EQ(depth, 16) << "16 becomes 24 only once a picture was loaded";

  OptimizePngFileDLL(src, src, depth);
  EXPECT_EQ(fs::ReadWholeFile(src), std::vector<uint8_t>{fs::ReadWholeFile(dst)});
  ExpectFolderHolds({"dst.png", "notes.txt"});
}

// A TARGA header (ID field of `idLength` bytes) for a picture of 12 x 2 pixels
// in `depth` bits, then `pixels`. `mapBits` gives it a colour map of
// `mapLength` entries of that size; a `mapLength` alone describes one that is
// not there.
std::string Targa(uint8_t type, const std::string& pixels, uint8_t idLength = 0,
                  uint16_t mapLength = 0, uint8_t mapBits = 0, uint8_t depth = 24) {
  std::string file = {static_cast<char>(idLength),
                      static_cast<char>(mapBits != 0),
                      static_cast<char>(type),
                      0,
                      0,
                      static_cast<char>(mapLength & 0xFF),
                      static_cast<char>(mapLength >> 8),
                      static_cast<char>(mapBits),
                      0,
                      0,
                      0,
                      0,
                      12,
                      0,
                      2,
                      0,
                      static_cast<char>(depth),
                      0};
  return file + std::string(idLength, 'i') + std::string(mapLength * ((mapBits + 7) / 8), 'm') +
         pixels;
}

// FreeImage's TARGA reader writes past its bitmap for run-length packets that
// cross a scan line or data that ends early: such files are no pictures. A
// packet per line, and an uncompressed file, load.
TEST_F(PngReduction, RunLengthTargaFilesFreeImageWouldMisreadAreNoPictures) {
  FreeImageLibrary library;
  const std::string run = "\x8B\x10\x20\x30";  // 12 pixels of one colour
  struct Case {
    const char* name;
    std::string bytes;
    bool loads;
  };
  const Case cases[] = {
      {"lines.tga", Targa(10, run + run), true},
      {"raw.tga", Targa(2, std::string(12 * 2 * 3, '\x40')), true},
      {"crossing.tga", Targa(10, "\x97\x10\x20\x30"), false},
      {"short.tga", Targa(10, run), false},
      {"cut.tga", Targa(10, run + "\x8B\x10"), false},
      {"long_id.tga", Targa(10, "", 200) + run + run, true},
      {"id_past_end.tga", Targa(10, run + run, 200).substr(0, 40), false},
      {"map_without_map.tga", Targa(10, run + run, 0, 16), false},
      {"palette.tga", Targa(9, "\x8B\x01\x8B\x02", 0, 4, 24, 8), true},
      {"palette_15_bits.tga", Targa(9, "\x8B\x01\x8B\x02", 0, 4, 15, 8), false},
      {"true_colour_with_map.tga", Targa(10, run + run, 0, 4, 24), false},
  };
  for (const Case& c : cases) {
    fs::AtomicWrite(Path(c.name), c.bytes);
    const Bitmap picture = LoadPicture(Path(c.name));
    EXPECT_EQ(static_cast<bool>(picture), c.loads) << c.name;
    EXPECT_EQ(TargaFreeImageMisreads(Path(c.name)), !c.loads) << c.name;
    if (picture) {
      EXPECT_EQ(FreeImage_GetWidth(picture.get()), 12u) << c.name;
      EXPECT_EQ(FreeImage_GetHeight(picture.get()), 2u) << c.name;
    }
  }
}

// A 16-bit colour picture kept as loaded (a depth with no format of its own):
// PNG holds no 16-bit colour, so the file has its colours in 24 bits. It used
// to be written as 24-bit rows of the 16-bit bytes, read past the picture's
// end, which no decoder could open.
TEST_F(PngReduction, SixteenBitColourKeptAsLoadedIsWrittenInTwentyFourBits) {
  FreeImageLibrary library;
  WriteTestPicture(Path("rgb.png"), 64, 48, 24);
  const Bitmap rgb = LoadPicture(Path("rgb.png"));
  const Bitmap x565(FreeImage_ConvertTo16Bits565(rgb.get()));
  const std::string src = Path("src.bmp"), dst = Path("dst.png");
  ASSERT_TRUE(FreeImage_Save(FIF_BMP, x565.get(), src.c_str(), 0));
  const Bitmap loaded = LoadPicture(src);
  ASSERT_EQ(FreeImage_GetBPP(loaded.get()), 16u);
  const Bitmap expected(FreeImage_ConvertTo24Bits(loaded.get()));

  int16_t depth = 12;
  OptimizePngFileDLL(src, dst, depth);
  const Bitmap written = LoadPicture(dst);
  ASSERT_TRUE(written);
  ASSERT_EQ(FreeImage_GetBPP(written.get()), 24u);
  ASSERT_EQ(FreeImage_GetWidth(written.get()), 64u);
  ASSERT_EQ(FreeImage_GetHeight(written.get()), 48u);
  for (int y = 0; y < 48; ++y) {
    const BYTE* a = FreeImage_GetScanLine(written.get(), y);
    const BYTE* b = FreeImage_GetScanLine(expected.get(), y);
    EXPECT_TRUE(std::equal(a, a + 64 * 3, b)) << "row " << y;
  }
}

// A missing source used to delete the target before the copy failed.
TEST_F(PngReduction, MissingSourceLeavesTheTarget) {
  const std::string dst = Path("dst.png");
  WriteTestPicture(dst, 10, 10, 24);
  const std::vector<uint8_t> before = fs::ReadWholeFile(dst);
  int16_t depth = 8;
  try {
    OptimizePngFileDLL(Path("missing.png"), dst, depth);
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 53);
  }
  EXPECT_EQ(fs::ReadWholeFile(dst), before);
  ExpectFolderHolds({"dst.png"});
}

// A picture that FreeImage recognises but cannot read: it reports why, and
// the start-up routine's handler keeps that text for the caller.
TEST_F(PngReduction, BrokenPictureLeavesFreeImagesMessage) {
  std::vector<uint8_t> png = testing::TestPicturePng(32, 32, 24);
  png.resize(60);  // the signature and the start of the header survive
  fs::AtomicWrite(Path("broken.png"), png);
  int16_t depth = 8;
  OptimizePngFileDLL(Path("broken.png"), Path("copy.png"), depth);
  EXPECT_EQ(fs::ReadWholeFile(Path("copy.png")), png) << "not loaded: copied unchanged";
  EXPECT_FALSE(LastFreeImageMessage().empty());
}

// ---- The image-class path ----

// A recording stand-in for "FreeImage.Image".
class FakeImage : public Dispatchable<FakeImage> {
 public:
  static const MemberTable<FakeImage>& Members() {
    static const MemberTable<FakeImage> table{
        {"Open", CallKind::Method,
         [](FakeImage& f, Args a) { return f.Call("Open " + CStr(a[0])); }, 1},
        {"ChangeColors", CallKind::Method,
         [](FakeImage& f, Args a) { return f.Call("ChangeColors " + CStr(a[0])); }, 1},
        {"Save", CallKind::Method,
         [](FakeImage& f, Args a) { return f.Call("Save " + CStr(a[0])); }, 1}};
    return table;
  }
  Variant Call(const std::string& what) {
    calls.push_back(what);
    return Variant(
        int16_t{what.rfind(failOn, 0) == 0 && !failOn.empty() ? int16_t{0} : int16_t{-1}});
  }
  static inline std::vector<std::string> calls;
  static inline std::string failOn;  // calls beginning with this text fail
};

class ImageClassPath : public PngReduction {
 protected:
  void SetUp() override {
    FakeImage::calls.clear();
    FakeImage::failOn.clear();
    RegisterClass("FreeImage.Image", FreeImageImage::kClsid,
                  [] { return Ref<Dispatch>(MakeRef<FakeImage>()); });
  }
  void TearDown() override {
    RegisterClass("FreeImage.Image", FreeImageImage::kClsid,
                  [] { return Ref<Dispatch>(MakeRef<FreeImageImage>()); });
  }
};

TEST_F(ImageClassPath, CallsForEachDepth) {
  struct Case {
    int16_t depth;
    int16_t depthAfter;
    const char* value;
  };
  for (const Case c : {Case{2, 2, "8"}, Case{6, 6, "256"}, Case{12, 12, "16"}, Case{16, 24, "24"},
                       Case{20, 20, "24"}, Case{32, 32, "32"}, Case{40, 40, "32"}}) {
    FakeImage::calls.clear();
    int16_t depth = c.depth;
    OptimizePngFile("in.png", "out.png", depth);
    EXPECT_EQ(depth, c.depthAfter);
    EXPECT_EQ(FakeImage::calls,
              (std::vector<std::string>{"Open in.png", "ChangeColors 24",
                                        std::string("ChangeColors ") + c.value, "Save out.png"}))
        << c.depth;
  }
}

TEST_F(ImageClassPath, FailuresCopyTheSourceToADifferentTarget) {
  struct Case {
    const char* failOn;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"Open", {"Open SRC"}},
      {"ChangeColors 24", {"Open SRC", "ChangeColors 24"}},
      {"ChangeColors 256", {"Open SRC", "ChangeColors 24", "ChangeColors 256"}},
  };
  const std::string src = Path("src.png"), dst = Path("dst.png");
  fs::AtomicWrite(src, std::string_view("source bytes"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failOn);
    FakeImage::calls.clear();
    FakeImage::failOn = c.failOn;
    fs::AtomicWrite(dst, std::string_view("old"));
    int16_t depth = 8;
    OptimizePngFile(src, dst, depth);
    std::vector<std::string> expected;
    for (std::string call : c.calls) {
      if (call == "Open SRC") call = "Open " + src;
      expected.push_back(call);
    }
    EXPECT_EQ(FakeImage::calls, expected);
    EXPECT_EQ(fs::ReadWholeFile(dst), fs::ReadWholeFile(src));

    // Source and target the same: it stays as it is.
    FakeImage::calls.clear();
    OptimizePngFile(src, src, depth);
    EXPECT_EQ(fs::ReadWholeFile(src), std::vector<uint8_t>(fs::ReadWholeFile(dst)));
  }
}

// A picture that could not be saved is an error, not a silent success: the
// target keeps what it held, and the caller must learn that it is not reduced.
TEST_F(ImageClassPath, FailedSaveRaises32760AndLeavesTheTarget) {
  const std::string src = Path("src.png"), dst = Path("dst.png");
  fs::AtomicWrite(src, std::string_view("source bytes"));
  fs::AtomicWrite(dst, std::string_view("old"));
  FakeImage::failOn = "Save";
  int16_t depth = 8;
  try {
    OptimizePngFile(src, dst, depth);
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "Presentation.optimizePngFile");
  }
  EXPECT_EQ(FakeImage::calls, (std::vector<std::string>{"Open " + src, "ChangeColors 24",
                                                        "ChangeColors 256", "Save " + dst}));
  const std::vector<uint8_t> old = fs::ReadWholeFile(dst);
  EXPECT_EQ(std::string(old.begin(), old.end()), "old");
}

TEST_F(ImageClassPath, ClassThatCannotBeCreatedRaises32760) {
  UnregisterClass("FreeImage.Image");
  int16_t depth = 8;
  try {
    OptimizePngFile(Path("a.png"), Path("b.png"), depth);
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "Presentation.optimizePngFile");
    EXPECT_NE(e.description().find("ActiveX component can't create object"), std::string::npos);
  }
}

// The real class over FreeImage.
TEST_F(PngReduction, ImageClassPathWithTheRealClass) {
  const std::string src = Path("src.png"), dst = Path("dst.png");
  WriteTestPicture(src, 64, 48, 32);
  int16_t depth = 16;
  OptimizePngFile(src, dst, depth);
  EXPECT_EQ(depth, 24);
  PictureInfo out = ReadPicture(dst);
  EXPECT_EQ(out.bpp, 24u);

  depth = 8;
  OptimizePngFile(src, dst, depth);
  out = ReadPicture(dst);
  EXPECT_EQ(out.bpp, 8u);
  EXPECT_LE(out.colours, 256u);

  depth = 2;
  OptimizePngFile(src, src, depth);
  out = ReadPicture(src);
  EXPECT_EQ(out.bpp, 8u);
  EXPECT_TRUE(out.greyPalette);
  EXPECT_EQ(out.width, 64u);
  ExpectFolderHolds({"dst.png", "src.png"});

  // A target the picture cannot be written to is reported.
  depth = 8;
  try {
    OptimizePngFile(src, Path("no/such/folder/out.png"), depth);
    FAIL() << "no error";
  } catch (const AutomationError& e) {
    EXPECT_EQ(e.number(), 32760);
    EXPECT_EQ(e.source(), "Presentation.optimizePngFile");
  }
}

TEST_F(PngReduction, FreeImageImageMembers) {
  const std::string src = Path("src.png");
  WriteTestPicture(src, 16, 16, 24);
  FreeImageImage image;
  EXPECT_EQ(image.ChangeColors(24), 0) << "no picture yet";
  EXPECT_EQ(image.Save(Path("none.png")), 0);
  EXPECT_EQ(image.Open(Path("missing.png")), 0);
  ASSERT_NE(image.Open(src), 0);
  EXPECT_EQ(image.BitsPerPixel(), 24u);
  EXPECT_EQ(image.ChangeColors(7), 0) << "an unknown value";
  EXPECT_NE(image.ChangeColors(32), 0);
  EXPECT_EQ(image.BitsPerPixel(), 32u);
  EXPECT_NE(image.ChangeColors(16), 0);
  EXPECT_EQ(image.BitsPerPixel(), 24u);
  EXPECT_NE(image.Save(Path("out.png")), 0);
  EXPECT_EQ(ReadPicture(Path("out.png")).bpp, 24u);
  EXPECT_EQ(image.Save(Path("no/such/folder/out.png")), 0);
}

}  // namespace
}  // namespace brevora::slides
