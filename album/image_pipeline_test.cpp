// The picture pipeline on decoded pictures (never on PNG bytes): sizes, depths
// and palettes of what a save writes, the kinds of picture a user may add, the
// preview, and the failures.
#include "album/image_pipeline.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "album/freeimage_bridge.h"
#include "album/picture_messages.h"
#include "platform/fs/files.h"
#include "slides/pictures_test_support.h"
#include "testing/caught_error.h"
#include "testing/temp_home.h"

namespace brevora::album {
namespace {

using ::brevora::testing::ErrorOf;
using slides::testing::PictureInfo;
using slides::testing::ReadPicture;
using slides::testing::WriteTestPicture;

class Pipeline : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return dir_ + name; }
  std::string Picture(const std::string& name, int width, int height, int bpp = 24) const {
    WriteTestPicture(Path(name), width, height, bpp);
    return Path(name);
  }
  // Saves a FreeImage bitmap in a format of its own.
  std::string Save(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const std::string& name) const {
    EXPECT_TRUE(FreeImage_Save(format, bitmap, Path(name).c_str(), 0)) << name;
    return Path(name);
  }
  void WriteBytes(const std::string& name, const std::string& bytes) const {
    std::ofstream out(Path(name), std::ios::binary);
    out << bytes;
  }

  PictureLibrary library_;
  std::string dir_ = brevora::testing::MakeTempDir("pipeline") + "/";
};

// A FreeImage bitmap of 2 x 2 known colours (bottom row first), 24 bits.
slides::Bitmap FourColours() {
  slides::Bitmap b(FreeImage_Allocate(2, 2, 24));
  const RGBQUAD colours[4] = {{0, 0, 255, 0}, {0, 255, 0, 0}, {255, 0, 0, 0}, {255, 255, 255, 0}};
  for (unsigned i = 0; i < 4; ++i)
    FreeImage_SetPixelColor(b.get(), i % 2, i / 2, const_cast<RGBQUAD*>(&colours[i]));
  return b;
}

// The section's pixel as blue, green, red.
std::vector<int> At(const DibSection& dib, int x, int y) {
  const uint8_t* p = dib.Row(y) + x * 3;
  return {p[0], p[1], p[2]};
}

void ExpectFourColours(const DibSection& dib, const std::string& what) {
  ASSERT_EQ(dib.Width(), 2) << what;
  ASSERT_EQ(dib.Height(), 2) << what;
  EXPECT_EQ(At(dib, 0, 0), (std::vector<int>{0, 0, 255})) << what;  // red
  EXPECT_EQ(At(dib, 1, 0), (std::vector<int>{0, 255, 0})) << what;  // green
  EXPECT_EQ(At(dib, 0, 1), (std::vector<int>{255, 0, 0})) << what;  // blue
  EXPECT_EQ(At(dib, 1, 1), (std::vector<int>{255, 255, 255})) << what;
}

// True when every pixel of a picture file is opaque: it has no alpha channel,
// or every alpha is 255.
bool Opaque(const std::string& path) {
  slides::Bitmap b = slides::LoadPicture(path);
  if (!b) return false;
  if (FreeImage_GetBPP(b.get()) != 32) return true;
  for (unsigned y = 0; y < FreeImage_GetHeight(b.get()); ++y) {
    const BYTE* line = FreeImage_GetScanLine(b.get(), static_cast<int>(y));
    for (unsigned x = 0; x < FreeImage_GetWidth(b.get()); ++x) {
      if (line[x * 4 + FI_RGBA_ALPHA] != 0xFF) return false;
    }
  }
  return true;
}

TEST_F(Pipeline, SlidePictureAndThumbnailByDepth) {
  struct Case {
    int width, height, sourceBpp;
    int32_t depth;
    unsigned bpp;  // of both PNGs
    bool palette;
  };
  const Case cases[] = {
      {640, 480, 24, 8, 8, true},     // 256-colour palette
      {100, 100, 24, 8, 8, true},     // stretched to the slide size
      {640, 480, 24, 4, 8, true},     // below 8 is 8
      {640, 480, 24, 16, 24, false},  // 16 is 24
      {640, 480, 24, 24, 24, false},
      // 32 bits, every pixel opaque: FreeImage stores such a picture as a
      // 24-bit PNG (an alpha channel of 255s says nothing).
      {640, 480, 24, 32, 24, false},
      {200, 150, 8, 8, 8, true},  // a palette picture in
      {200, 150, 32, 24, 24, false},
  };
  for (const Case& c : cases) {
    const std::string what = std::to_string(c.width) + "x" + std::to_string(c.height) + " at " +
                             std::to_string(c.sourceBpp) + " to depth " + std::to_string(c.depth);
    std::vector<SlideNode> entries(1);
    entries[0].fullPath = Picture("source.png", c.width, c.height, c.sourceBpp);
    entries[0].slideNumber = 1;
    const std::string out = brevora::testing::MakeTempDir("out" + std::to_string(&c - cases)) + "/";
    const auto written = MakeAllSlideImages(out, entries, 320, 240, c.depth);
    EXPECT_EQ(written, (std::vector<std::string>{out + "image1_thumb.png", out + "image1.png"}))
        << what;
    EXPECT_EQ(entries[0].thumbnailPath, out + "image1_thumb.png");
    EXPECT_EQ(entries[0].presImagePath, out + "image1.png");

    const PictureInfo slide = ReadPicture(out + "image1.png");
    const PictureInfo thumb = ReadPicture(out + "image1_thumb.png");
    EXPECT_EQ(slide.width, 320u) << what;
    EXPECT_EQ(slide.height, 240u) << what;
    EXPECT_EQ(thumb.width, 80u) << what;
    EXPECT_EQ(thumb.height, 60u) << what;
    EXPECT_EQ(slide.bpp, c.bpp) << what;
    EXPECT_EQ(thumb.bpp, c.bpp) << what;
    EXPECT_EQ(slide.palette, c.palette) << what;
    if (c.palette) {
      EXPECT_LE(slide.paletteSize, 256u) << what;
    }
    EXPECT_TRUE(Opaque(out + "image1.png")) << what;
    EXPECT_TRUE(Opaque(out + "image1_thumb.png")) << what;
    // No temporary files left beside them.
    EXPECT_EQ(fs::ListFolder(out, fs::ListKind::Files),
              (std::vector<std::string>{"image1.png", "image1_thumb.png"}));
  }
}

// Every depth above 8 writes the resampled 24 bits; the PNG is the one an
// opaque 32-bit bitmap of the same pixels gives, as the bridge once made.
TEST_F(Pipeline, DeepDepthsWriteThePngOfTheOpaqueThirtyTwoBitPicture) {
  const std::string source = Picture("source.png", 200, 150);
  const DibSection resized = ResizeDib(DecodePicture(source), 320, 240);
  const slides::Bitmap rgba(FreeImage_ConvertTo32Bits(resized.Bitmap()));
  const auto expected = slides::EncodePng(rgba.get());
  ASSERT_TRUE(expected);
  for (const int32_t depth : {12, 16, 24, 32, 48}) {
    std::vector<SlideNode> entries(1);
    entries[0].fullPath = source;
    entries[0].slideNumber = 1;
    const std::string out = brevora::testing::MakeTempDir("deep" + std::to_string(depth)) + "/";
    MakeAllSlideImages(out, entries, 320, 240, depth);
    EXPECT_EQ(fs::ReadWholeFile(out + "image1.png"), *expected) << depth;
  }
}

TEST_F(Pipeline, SmallPictureIsStretchedNotLetterboxed) {
  // The gradient's red runs from 0 at the left to 255 at the right, its green
  // from 0 at the bottom to 255 at the top: stretched, the slide's corners
  // keep them; letterboxed, the edges would be bars of one colour.
  std::vector<SlideNode> entries(1);
  entries[0].fullPath = Picture("small.png", 100, 100);
  entries[0].slideNumber = 1;
  MakeAllSlideImages(dir_, entries, 320, 240, 24);
  slides::Bitmap slide = slides::LoadPicture(dir_ + "image1.png");
  RGBQUAD left{}, right{}, top{};
  FreeImage_GetPixelColor(slide.get(), 0, 120, &left);
  FreeImage_GetPixelColor(slide.get(), 319, 120, &right);
  FreeImage_GetPixelColor(slide.get(), 160, 239, &top);
  EXPECT_LT(left.rgbRed, 8);
  EXPECT_GT(right.rgbRed, 240);
  EXPECT_GT(top.rgbGreen, 240);
}

TEST_F(Pipeline, EveryKindOfPictureBecomesTwentyFourBits) {
  slides::Bitmap rgb = FourColours();
  struct Kind {
    const char* name;
    slides::Bitmap bitmap;
    FREE_IMAGE_FORMAT format;
  };
  slides::Bitmap rgba(FreeImage_ConvertTo32Bits(rgb.get()));
  // Fully transparent pixels keep their colours: alpha is dropped.
  for (unsigned y = 0; y < 2; ++y) {
    BYTE* line = FreeImage_GetScanLine(rgba.get(), static_cast<int>(y));
    for (unsigned x = 0; x < 2; ++x) line[x * 4 + FI_RGBA_ALPHA] = 0;
  }
  slides::Bitmap rgb16(FreeImage_ConvertToType(rgb.get(), FIT_RGB16));
  slides::Bitmap rgba16(FreeImage_ConvertToType(rgba.get(), FIT_RGBA16));
  slides::Bitmap palette(FreeImage_ColorQuantizeEx(rgb.get(), FIQ_WUQUANT, 4));
  slides::Bitmap x565(FreeImage_ConvertTo16Bits565(rgb.get()));
  Kind kinds[] = {
      {"rgb.png", std::move(rgb), FIF_PNG},         {"rgba.png", std::move(rgba), FIF_PNG},
      {"rgb16.png", std::move(rgb16), FIF_PNG},     {"rgba16.png", std::move(rgba16), FIF_PNG},
      {"palette.bmp", std::move(palette), FIF_BMP}, {"x565.bmp", std::move(x565), FIF_BMP},
  };
  for (Kind& k : kinds) {
    ASSERT_TRUE(k.bitmap) << k.name;
    const std::string path = Save(k.bitmap.get(), k.format, k.name);
    ExpectFourColours(DecodePicture(path), k.name);
  }
  // One channel of 16 bits: a grey picture.
  slides::Bitmap grey(FreeImage_AllocateT(FIT_UINT16, 2, 1));
  auto* bits = reinterpret_cast<uint16_t*>(FreeImage_GetScanLine(grey.get(), 0));
  bits[0] = 0;
  bits[1] = 65535;
  const DibSection g = DecodePicture(Save(grey.get(), FIF_PNG, "grey16.png"));
  EXPECT_EQ(At(g, 0, 0), (std::vector<int>{0, 0, 0}));
  EXPECT_EQ(At(g, 1, 0), (std::vector<int>{255, 255, 255}));
}

TEST_F(Pipeline, BridgeNeverRaisesAndKeepsItsMessages) {
  DibSection dib;
  EXPECT_FALSE(BitmapToDib(nullptr, dib));
  EXPECT_EQ(PictureMessage(), "[FreeImage_BMP_From_DIB] No DIB specified to convert");

  // A picture loaded without its pixels.
  const std::string png = Picture("header.png", 4, 4);
  slides::Bitmap header(FreeImage_Load(FIF_PNG, png.c_str(), FIF_LOAD_NOPIXELS));
  ASSERT_TRUE(header);
  EXPECT_FALSE(BitmapToDib(header.get(), dib));
  EXPECT_EQ(PictureMessage(), "[FreeImage_BMP_From_DIB] The DIB holds no pixels");
  EXPECT_TRUE(dib.Empty());

  // A bitmap that is only lent is left as it was.
  slides::Bitmap lent = FourColours();
  ASSERT_TRUE(BitmapToDib(lent.get(), dib));
  EXPECT_EQ(PictureMessage(), "") << "a bridge call empties the message when it starts";
  EXPECT_NE(dib.Bits(), FreeImage_GetBits(lent.get()));
  ExpectFourColours(dib, "lent");
}

TEST_F(Pipeline, TwentyFourBitPicturesAreTakenOverNotCopied) {
  // 3 pixels a row: 9 bytes and 3 of padding, which hold rubbish here.
  slides::Bitmap rgb(FreeImage_Allocate(3, 2, 24));
  for (int y = 0; y < 2; ++y) {
    BYTE* line = FreeImage_GetScanLine(rgb.get(), y);
    for (int i = 0; i < 12; ++i) line[i] = static_cast<BYTE>(i < 9 ? 10 * y + i : 0xEE);
  }
  const BYTE* bits = FreeImage_GetBits(rgb.get());
  DibSection dib;
  ASSERT_TRUE(BitmapToDib(std::move(rgb), dib));
  EXPECT_EQ(dib.Bits(), bits);
  EXPECT_EQ(rgb, nullptr);
  EXPECT_EQ(At(dib, 2, 1), (std::vector<int>{16, 17, 18}));
  for (int y = 0; y < 2; ++y) {
    for (int i = 9; i < 12; ++i) EXPECT_EQ(dib.Row(y)[i], 0) << y << " " << i;
  }
  // Any other picture is converted, and released.
  slides::Bitmap rgba(FreeImage_ConvertTo32Bits(FourColours().get()));
  ASSERT_TRUE(BitmapToDib(std::move(rgba), dib));
  ExpectFourColours(dib, "32 bits");
}

// The section is a FreeImage bitmap: what the resampler writes, FreeImage's
// reduction and encoder read where it lies, and the bitmap can be handed on.
TEST_F(Pipeline, SectionIsTheBitmapFreeImageWorksOn) {
  DibSection dib;
  ASSERT_TRUE(BitmapToDib(FourColours(), dib));
  const DibSection resized = ResizeDib(dib, 5, 3);
  FIBITMAP* bitmap = resized.Bitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(FreeImage_GetBits(bitmap), resized.Bits());
  EXPECT_EQ(FreeImage_GetBPP(bitmap), 24u);
  EXPECT_EQ(FreeImage_GetWidth(bitmap), 5u);
  EXPECT_EQ(FreeImage_GetHeight(bitmap), 3u);
  EXPECT_EQ(FreeImage_GetPitch(bitmap), resized.BytesPerScanLine());

  DibSection given = ResizeDib(dib, 5, 3);
  const uint8_t* bits = given.Bits();
  const slides::Bitmap taken = given.Release();
  EXPECT_EQ(FreeImage_GetBits(taken.get()), bits);
  EXPECT_TRUE(given.Empty());
  EXPECT_EQ(given.Bitmap(), nullptr);
}

TEST_F(Pipeline, BadFilesRaise32751) {
  WriteBytes("notes.txt", "Holiday notes\n");
  // A PNG signature and header chunk, then nothing: recognised, not loadable.
  const std::vector<uint8_t> png = slides::testing::TestPicturePng(64, 64, 24);
  WriteBytes("damaged.png", std::string(png.begin(), png.begin() + 40));
  // A run-length TARGA whose one packet crosses a scan line, which FreeImage
  // would decode past its bitmap.
  WriteBytes("crossing.tga",
             std::string("\0\0\x0A\0\0\0\0\0\0\0\0\0\x0C\0\x02\0\x18\0\x97\x10\x20\x30", 22));
  struct Case {
    const char* name;
    bool supported;
    const char* description;
  };
  const Case cases[] = {
      {"notes.txt", false, "loadDIBFromPath: Attempted to load invalid image file"},
      {"missing.png", false, "loadDIBFromPath: Attempted to load invalid image file"},
      {"damaged.png", true, "loadDIBFromPath: Error in loading DIB"},
      {"crossing.tga", true, "loadDIBFromPath: Error in loading DIB"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsSupportedImageFile(Path(c.name)), c.supported) << c.name;
    const auto e = ErrorOf([&] { DecodePicture(Path(c.name)); });
    ASSERT_NE(e.number(), 0) << c.name;
    EXPECT_EQ(e.number(), 32751);
    EXPECT_EQ(e.source(), "Albumet");
    EXPECT_EQ(e.description(), c.description);
    // The preview of such a file stays empty.
    EXPECT_FALSE(PreviewPicture(Path(c.name), 400, 300).has_value()) << c.name;
  }
  // FreeImage's own words on the damaged file are kept for the user.
  ClearPictureMessage();
  EXPECT_THROW(DecodePicture(Path("damaged.png")), AutomationError);
  EXPECT_NE(PictureMessage(), "");
}

TEST_F(Pipeline, ResizeRefusesSizesBelowOne) {
  DibSection dib;
  ASSERT_TRUE(dib.Create(4, 4));
  for (const auto& [width, height] : {std::pair{0, 10}, std::pair{10, 0}, std::pair{-5, 5}}) {
    const auto e = ErrorOf([&] { ResizeDib(dib, width, height); });
    ASSERT_NE(e.number(), 0);
    EXPECT_EQ(e.number(), 32751);
    EXPECT_EQ(e.description(), "resizeDIB: Unable to create dest DIB Section");
  }
}

TEST_F(Pipeline, FailedPngSaveRaisesNamingTheFileAndStops) {
  std::vector<SlideNode> entries(2);
  entries[0].fullPath = Picture("a.png", 50, 40);
  entries[0].slideNumber = 1;
  entries[1].fullPath = Picture("b.png", 50, 40);
  entries[1].slideNumber = 2;
  const std::string missing = dir_ + "no such folder/";
  const auto e = ErrorOf([&] { MakeAllSlideImages(missing, entries, 320, 240, 8); });
  ASSERT_NE(e.number(), 0);
  EXPECT_EQ(e.number(), 32751);
  EXPECT_NE(e.description().find("Unable to save the picture '" + missing + "image1_thumb.png'."),
            std::string::npos)
      << e.description();
  EXPECT_EQ(entries[0].thumbnailPath, "");
  EXPECT_EQ(entries[1].thumbnailPath, "");
}

TEST_F(Pipeline, OptimizeDibColorsTable) {
  struct Case {
    int sourceBpp;
    int32_t depth;
    int32_t depthAfter;
    unsigned bpp;
  };
  const Case cases[] = {
      {32, 8, 8, 8},    {32, 1, 8, 8},    {32, 16, 24, 24}, {32, 24, 24, 24},
      {32, 32, 32, 32}, {32, 12, 12, 32}, {24, 32, 32, 24}, {8, 4, 4, 8},
  };
  for (const Case& c : cases) {
    slides::Bitmap rgb = FourColours();
    slides::Bitmap source(c.sourceBpp == 32  ? FreeImage_ConvertTo32Bits(rgb.get())
                          : c.sourceBpp == 8 ? FreeImage_ConvertTo8Bits(rgb.get())
                                             : FreeImage_Clone(rgb.get()));
    int32_t depth = c.depth;
    slides::Bitmap out = OptimizeDibColors(std::move(source), depth);
    ASSERT_TRUE(out) << c.sourceBpp << " to " << c.depth;
    EXPECT_EQ(FreeImage_GetBPP(out.get()), c.bpp) << c.sourceBpp << " to " << c.depth;
    EXPECT_EQ(depth, c.depthAfter) << c.sourceBpp << " to " << c.depth;
  }
}

TEST_F(Pipeline, PreviewDrawsSmallPicturesAsTheyAreAndShrinksLargeOnes) {
  const std::string small = Picture("small.png", 120, 90);
  const auto own = PreviewPicture(small, 400, 300);
  ASSERT_TRUE(own);
  EXPECT_EQ(own->Width(), 120);
  EXPECT_EQ(own->Height(), 90);
  const DibSection decoded = DecodePicture(small);
  EXPECT_EQ(std::vector<uint8_t>(own->Bits(), own->Bits() + own->ImageSize()),
            std::vector<uint8_t>(decoded.Bits(), decoded.Bits() + decoded.ImageSize()));

  // Wider than the box only: resampled to exactly the box (aspect not kept).
  const auto wide = PreviewPicture(Picture("wide.png", 800, 100), 400, 300);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->Width(), 400);
  EXPECT_EQ(wide->Height(), 300);
  // No box to draw in: nothing.
  EXPECT_FALSE(PreviewPicture(small, 0, 0).has_value());
}

}  // namespace
}  // namespace brevora::album
