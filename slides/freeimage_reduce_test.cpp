// The colour-reduction ladder: what each format makes of pictures of 8, 24 and
// 32 bits, the format each depth asks for, and that the 24-bit shortcut into
// the quantizer gives the very picture the copy used to give.
#include "slides/freeimage_reduce.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "slides/freeimage_init.h"
#include "slides/pictures_test_support.h"
#include "testing/temp_home.h"

namespace brevora::slides {
namespace {

class ColourLadder : public ::testing::Test {
 protected:
  // The test picture of `bpp` bits, decoded.
  Bitmap Picture(int bpp) const {
    const std::string path = dir_ + "/source" + std::to_string(bpp) + ".png";
    testing::WriteTestPicture(path, 48, 32, bpp);
    Bitmap b = LoadPicture(path);
    EXPECT_TRUE(b) << bpp;
    return b;
  }

  FreeImageLibrary library_;
  std::string dir_ = brevora::testing::MakeTempDir("ladder");
};

// Every byte of the pixels, row by row.
std::vector<uint8_t> PixelBytes(FIBITMAP* b) {
  std::vector<uint8_t> bytes;
  const unsigned line = FreeImage_GetLine(b);
  for (unsigned y = 0; y < FreeImage_GetHeight(b); ++y) {
    const BYTE* p = FreeImage_GetScanLine(b, static_cast<int>(y));
    bytes.insert(bytes.end(), p, p + line);
  }
  return bytes;
}

std::vector<uint8_t> PaletteBytes(FIBITMAP* b) {
  const auto* p = reinterpret_cast<const uint8_t*>(FreeImage_GetPalette(b));
  return p ? std::vector<uint8_t>(p, p + FreeImage_GetColorsUsed(b) * sizeof(RGBQUAD))
           : std::vector<uint8_t>{};
}

bool GreyPalette(FIBITMAP* b) {
  const RGBQUAD* p = FreeImage_GetPalette(b);
  if (!p) return false;
  for (unsigned i = 0; i < FreeImage_GetColorsUsed(b); ++i) {
    if (p[i].rgbRed != p[i].rgbGreen || p[i].rgbGreen != p[i].rgbBlue) return false;
  }
  return true;
}

// The distinct values of one colour byte (at `offset` in each 3-byte pixel).
size_t Levels(FIBITMAP* rgb, unsigned offset) {
  std::set<uint8_t> values;
  for (unsigned y = 0; y < FreeImage_GetHeight(rgb); ++y) {
    const BYTE* p = FreeImage_GetScanLine(rgb, static_cast<int>(y));
    for (unsigned x = 0; x < FreeImage_GetWidth(rgb); ++x) values.insert(p[x * 3 + offset]);
  }
  return values.size();
}

TEST_F(ColourLadder, EachFormatFromEachKindOfPicture) {
  struct Case {
    ColourFormat format;
    unsigned bpp;
    bool palette;
    bool grey;
  };
  const Case cases[] = {
      {ColourFormat::kGrey, 8, true, true},     {ColourFormat::kGreyPalette, 8, true, true},
      {ColourFormat::kPalette, 8, true, false}, {ColourFormat::kHighColour, 24, false, false},
      {ColourFormat::kRgb, 24, false, false},   {ColourFormat::kRgba, 32, false, false},
  };
  for (const int sourceBpp : {8, 24, 32}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::to_string(sourceBpp) + " bits to format " +
                   std::to_string(static_cast<int>(c.format)));
      const Bitmap source = Picture(sourceBpp);
      const std::vector<uint8_t> before = PixelBytes(source.get());
      const Bitmap out = ConvertColours(source.get(), c.format);
      ASSERT_TRUE(out);
      EXPECT_NE(out.get(), source.get());
      EXPECT_EQ(PixelBytes(source.get()), before) << "the picture itself is left alone";
      EXPECT_EQ(FreeImage_GetWidth(out.get()), 48u);
      EXPECT_EQ(FreeImage_GetHeight(out.get()), 32u);
      EXPECT_EQ(FreeImage_GetBPP(out.get()), c.bpp);
      EXPECT_EQ(FreeImage_GetPalette(out.get()) != nullptr, c.palette);
      // A grey source keeps its greys in every format; a colour one only in the grey ones.
      if (c.palette && sourceBpp != 8) {
        EXPECT_EQ(GreyPalette(out.get()), c.grey);
      }
      if (c.format == ColourFormat::kHighColour && sourceBpp != 8) {
        EXPECT_LE(Levels(out.get(), FI_RGBA_RED), 32u);
        EXPECT_LE(Levels(out.get(), FI_RGBA_GREEN), 64u);
        EXPECT_LE(Levels(out.get(), FI_RGBA_BLUE), 32u);
      }
    }
  }
  EXPECT_EQ(ConvertColours(nullptr, ColourFormat::kRgb), nullptr);
}

// A 24-bit picture goes into the quantizer as it is; through a 24-bit copy
// first it gives the same palette and the same pixels.
TEST_F(ColourLadder, PaletteOfATwentyFourBitPictureIsThatOfItsCopy) {
  const Bitmap source = Picture(24);
  const Bitmap copy(FreeImage_ConvertTo24Bits(source.get()));
  const Bitmap viaCopy(FreeImage_ColorQuantize(copy.get(), FIQ_NNQUANT));
  const Bitmap direct = ConvertColours(source.get(), ColourFormat::kPalette);
  ASSERT_TRUE(viaCopy);
  ASSERT_TRUE(direct);
  EXPECT_EQ(PaletteBytes(direct.get()), PaletteBytes(viaCopy.get()));
  EXPECT_EQ(PixelBytes(direct.get()), PixelBytes(viaCopy.get()));
}

TEST(ColourLadderDepths, FormatForEachDepth) {
  using F = ColourFormat;
  struct Case {
    int32_t depth;
    std::optional<F> format;
  };
  const Case cases[] = {
      {-1, std::nullopt}, {0, std::nullopt},  {1, F::kGreyPalette}, {4, F::kGreyPalette},
      {5, F::kPalette},   {8, F::kPalette},   {9, std::nullopt},    {15, std::nullopt},
      {16, F::kRgb},      {17, std::nullopt}, {23, std::nullopt},   {24, F::kRgb},
      {25, std::nullopt}, {31, std::nullopt}, {32, F::kRgba},       {33, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatForDepth(c.depth), c.format) << c.depth;
}

}  // namespace
}  // namespace brevora::slides
