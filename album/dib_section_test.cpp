// The resampler against values worked out by hand: single-precision scales
// and weights, halves rounded to the even neighbour, the last destination
// pixel sampling short of the source's last one, and pictures one pixel wide
// or high (their edge pixel stands in for the missing neighbour, so no read
// leaves the picture; under ASan a read past its last row leaves FreeImage's
// allocation, which ends within a few bytes of it).
#include "album/dib_section.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace brevora::album {
namespace {

using Pixel = std::array<uint8_t, 3>;          // blue, green, red
using Rows = std::vector<std::vector<Pixel>>;  // rows[0] is the bottom row

DibSection Make(const Rows& rows) {
  DibSection dib;
  EXPECT_TRUE(dib.Create(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size())));
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) {
      for (size_t c = 0; c < 3; ++c) dib.Row(static_cast<int32_t>(y))[x * 3 + c] = rows[y][x][c];
    }
  }
  return dib;
}

// Grey rows: each value in all three bytes.
DibSection Grey(const std::vector<std::vector<int>>& rows) {
  Rows pixels;
  for (const auto& row : rows) {
    pixels.emplace_back();
    for (int v : row) pixels.back().push_back({uint8_t(v), uint8_t(v), uint8_t(v)});
  }
  return Make(pixels);
}

Rows PixelsOf(const DibSection& dib) {
  Rows rows(static_cast<size_t>(dib.Height()));
  for (int32_t y = 0; y < dib.Height(); ++y) {
    for (int32_t x = 0; x < dib.Width(); ++x) {
      const uint8_t* p = dib.Row(y) + x * 3;
      rows[static_cast<size_t>(y)].push_back({p[0], p[1], p[2]});
    }
  }
  return rows;
}

std::vector<std::vector<int>> GreysOf(const DibSection& dib) {
  std::vector<std::vector<int>> rows;
  for (const auto& row : PixelsOf(dib)) {
    rows.emplace_back();
    for (const Pixel& p : row) {
      EXPECT_TRUE(p[0] == p[1] && p[1] == p[2]);
      rows.back().push_back(p[0]);
    }
  }
  return rows;
}

// Every byte past the pixels of each row is zero.
void ExpectZeroPadding(const DibSection& dib) {
  for (int32_t y = 0; y < dib.Height(); ++y) {
    for (uint32_t i = static_cast<uint32_t>(dib.Width()) * 3; i < dib.BytesPerScanLine(); ++i) {
      EXPECT_EQ(dib.Row(y)[i], 0) << "row " << y << " byte " << i;
    }
  }
}

TEST(DibSection, RowsArePaddedToFourBytes) {
  const std::pair<int32_t, uint32_t> cases[] = {{1, 4}, {2, 8}, {3, 12}, {4, 12}, {5, 16}, {7, 24}};
  for (const auto& [width, bytes] : cases) {
    EXPECT_EQ(DibSection::BytesPerScanLineFor(width), bytes) << width;
    DibSection dib;
    ASSERT_TRUE(dib.Create(width, 3));
    EXPECT_EQ(dib.BytesPerScanLine(), bytes);
    EXPECT_EQ(dib.ImageSize(), bytes * 3);
    ExpectZeroPadding(dib);
  }
}

TEST(DibSection, CreateRefusesSizesItCannotHold) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 1},  {1, 0},          {-1, 5},
                                               {5, -1}, {1000000000, 1}, {100000, 100000}};
  for (const auto& [width, height] : cases) {
    DibSection dib;
    EXPECT_FALSE(dib.Create(width, height)) << width << " x " << height;
    EXPECT_TRUE(dib.Empty());
    EXPECT_FALSE(dib.Resample(1, 1).has_value());
  }
  DibSection one;
  ASSERT_TRUE(one.Create(1, 1));
  EXPECT_FALSE(one.Resample(0, 5).has_value());
  EXPECT_FALSE(one.Resample(5, -2).has_value());
}

TEST(DibSection, MovedFromIsEmpty) {
  DibSection a = Grey({{1, 2}, {3, 4}});
  const uint8_t* bits = a.Bits();
  DibSection b(std::move(a));
  EXPECT_TRUE(a.Empty());
  EXPECT_EQ(a.Width(), 0);
  EXPECT_EQ(b.Bits(), bits);
  DibSection c;
  c = std::move(b);
  EXPECT_TRUE(b.Empty());
  EXPECT_EQ(GreysOf(c), (std::vector<std::vector<int>>{{1, 2}, {3, 4}}));
}

TEST(DibSection, SameSizeCopiesEveryByte) {
  const DibSection source = Make({{{1, 2, 3}, {4, 5, 6}}, {{7, 8, 9}, {250, 251, 252}}});
  const auto copy = source.Resample(2, 2);
  ASSERT_TRUE(copy);
  EXPECT_EQ(PixelsOf(*copy), PixelsOf(source));
  ExpectZeroPadding(*copy);
}

TEST(DibSection, EnlargesTwoByTwoToThreeByThree) {
  // Scales (2 - 1) / 3 = 0.33333334f; weights 0.66666663f / 0.33333334f for the
  // middle and 0.33333331f / 0.66666669f for the last pixel, so the last pixel
  // lands at two thirds of the way, short of the source's corner (255).
  //   row 1:  left = round(0.66666663 * 0  + 0.33333334 * 30)  = 10
  //           right = round(0.66666663 * 90 + 0.33333334 * 255) = 145
  //           middle = round(0.66666663 * 10 + 0.33333334 * 145) = 55
  //   row 2:  left 20, right 200; middle 80, last round(0.33333331 * 20 + 0.66666669 * 200) = 140
  const DibSection source = Grey({{0, 90}, {30, 255}});
  const auto out = source.Resample(3, 3);
  ASSERT_TRUE(out);
  EXPECT_EQ(GreysOf(*out),
            (std::vector<std::vector<int>>{{0, 30, 60}, {10, 55, 100}, {20, 80, 140}}));
}

TEST(DibSection, HalvesRoundToTheEvenNeighbour) {
  // Across: 2 x 2 to 2 x 1 keeps the width, so it is resampled: xScale 0.5, the
  // second pixel is the mean of the bottom row's two: 1.5 -> 2, 2.5 -> 2, 0.5 -> 0.
  {
    const DibSection source = Make({{{1, 2, 0}, {2, 3, 1}}, {{99, 99, 99}, {99, 99, 99}}});
    const auto out = source.Resample(1, 2);
    ASSERT_TRUE(out);
    EXPECT_EQ(PixelsOf(*out), (Rows{{{1, 2, 0}, {2, 2, 0}}}));
  }
  // Down: 2 x 2 to 3 x 2: yScale 0.5, the second row is the rounded mean of
  // the two rows in the first step (left and right): 1.5 -> 2, 2.5 -> 2, 5.5 -> 6.
  {
    const DibSection source = Make({{{1, 2, 5}, {0, 0, 0}}, {{2, 3, 6}, {0, 0, 0}}});
    const auto out = source.Resample(2, 3);
    ASSERT_TRUE(out);
    EXPECT_EQ(PixelsOf(*out)[1][0], (Pixel{2, 2, 6}));
  }
}

TEST(DibSection, ShrinkingSamplesShortOfTheLastRowAndColumn) {
  // 3 x 5 to 2 x 2: xScale (3 - 1) / 2 = 1, yScale (5 - 1) / 2 = 2: whole source
  // pixels (0, 0), (1, 0), (0, 2), (1, 2); column 2 and rows 3 and 4 unused.
  const DibSection source =
      Grey({{0, 1, 2}, {10, 11, 12}, {20, 21, 22}, {30, 31, 32}, {40, 41, 42}});
  const auto out = source.Resample(2, 2);
  ASSERT_TRUE(out);
  EXPECT_EQ(GreysOf(*out), (std::vector<std::vector<int>>{{0, 1}, {20, 21}}));
}

TEST(DibSection, OnePixelWideOrHighUsesTheEdgePixel) {
  // 1 x 4 to 3 x 2: xScale 0, yScale 1.5: row 1 blends rows 1 and 2 (11, 14:
  // 12.5 -> 12); the missing right neighbour is the same column.
  {
    const DibSection source = Grey({{10}, {11}, {14}, {200}});
    const auto out = source.Resample(2, 3);
    ASSERT_TRUE(out);
    EXPECT_EQ(GreysOf(*out), (std::vector<std::vector<int>>{{10, 10, 10}, {12, 12, 12}}));
  }
  // 4 x 1 to 2 x 3: yScale 0, xScale 1.5: the second pixel blends 13 and 16
  // (14.5 -> 14); the missing row above is the same row.
  {
    const DibSection source = Grey({{10, 13, 16, 200}});
    const auto out = source.Resample(3, 2);
    ASSERT_TRUE(out);
    EXPECT_EQ(GreysOf(*out), (std::vector<std::vector<int>>{{10, 14}, {10, 14}, {10, 14}}));
  }
  // 1 x 1 to anything: that pixel everywhere.
  {
    const DibSection source = Make({{{7, 8, 9}}});
    const auto out = source.Resample(2, 3);
    ASSERT_TRUE(out);
    EXPECT_EQ(PixelsOf(*out),
              (Rows{{{7, 8, 9}, {7, 8, 9}, {7, 8, 9}}, {{7, 8, 9}, {7, 8, 9}, {7, 8, 9}}}));
  }
}

TEST(DibSection, ResultHasExactlyTheSizeAsked) {
  const DibSection source =
      Grey({{0, 50, 100, 150, 200}, {10, 60, 110, 160, 210}, {20, 70, 120, 170, 220}});
  const std::pair<int32_t, int32_t> sizes[] = {{7, 2}, {1, 1}, {5, 9}, {13, 3}, {2, 5}};
  for (const auto& [width, height] : sizes) {
    const auto out = source.Resample(height, width);
    ASSERT_TRUE(out) << width << " x " << height;
    EXPECT_EQ(out->Width(), width);
    EXPECT_EQ(out->Height(), height);
    EXPECT_EQ(out->BytesPerScanLine(), DibSection::BytesPerScanLineFor(width));
    ExpectZeroPadding(*out);
  }
}

}  // namespace
}  // namespace brevora::album
