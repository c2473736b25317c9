// The window's drawing routines, pixel by pixel on small images.
#include "frontend/forms/window_drawing.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <functional>

namespace brevora::frontend::forms {
namespace {

const QColor kBackground(0, 200, 200);
const QColor kBlackQ(0, 0, 0);
const QColor kWhiteQ(255, 255, 255);
const EdgeColours kEdges{QColor(128, 128, 128), QColor(240, 240, 240)};

// An image of `size` with the background colour, painted by `paint`.
QImage Painted(QSize size, const std::function<void(QPainter&)>& paint) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(kBackground);
  QPainter painter(&image);
  paint(painter);
  painter.end();
  return image;
}

// The image as rows of one letter per pixel, by a legend of colours.
std::vector<std::string> Rows(const QImage& image,
                              const std::vector<std::pair<char, QColor>>& legend) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
      char letter = '?';
      for (const auto& [name, colour] : legend) {
        if (image.pixelColor(x, y) == colour) letter = name;
      }
      row += letter;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(DrawLine, LeavesOutTheEndPointInEitherDirection) {
  const QImage image = Painted({6, 3}, [](QPainter& p) {
    DrawLine(p, {0, 0}, {4, 0}, kBlackQ);
    DrawLine(p, {5, 2}, {1, 2}, kBlackQ);
    DrawLine(p, {5, 0}, {5, 0}, kBlackQ);  // a point: nothing
    DrawBox(p, {3, 1}, {2, 1}, kWhiteQ);
  });
  EXPECT_EQ(Rows(image, {{'.', kBackground}, {'#', kBlackQ}, {'w', kWhiteQ}}),
            (std::vector<std::string>{"####..", "..ww..", "..####"}));
}

TEST(DrawOutlookBar, Theme0HasItsBaseColourBlackEdgesAndTheEvenRoundedTints) {
  const QColor base(99, 0, 82), light(148, 0, 123), dark(50, 0, 41);
  const QImage bar = Painted({10, 5}, [](QPainter& p) { DrawOutlookBar(p, {10, 5}, 0); });
  EXPECT_EQ(Rows(bar, {{'.', base}, {'#', kBlackQ}, {'L', light}, {'D', dark}}),
            (std::vector<std::string>{"########DD",  //
                                      "LLLLLLLLDD",  //
                                      "#LL.....DD",  //
                                      "#LL.....DD",  //
                                      "#LL.....DD"}));
}

TEST(DrawOutlookBar, TintsFollowTheTheme) {
  struct Case {
    int theme;
    QColor base, light, dark;
  };
  const Case cases[] = {{2, {189, 150, 107}, {255, 225, 160}, {94, 75, 54}},
                        {6, {102, 102, 102}, {255, 255, 255}, {0, 0, 0}},
                        {9, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}}};
  for (const Case& k : cases) {
    const QImage bar = Painted({10, 5}, [&](QPainter& p) { DrawOutlookBar(p, {10, 5}, k.theme); });
    EXPECT_EQ(bar.pixelColor(5, 3), k.base) << k.theme;
    EXPECT_EQ(bar.pixelColor(1, 3), k.light) << k.theme;
    EXPECT_EQ(bar.pixelColor(5, 1), k.light) << k.theme;
    EXPECT_EQ(bar.pixelColor(9, 3), k.dark) << k.theme;
  }
}

TEST(DrawToolbar, EtchedLinesAtTopAndBottomAndTheGrip) {
  // Toolbar at 2 pixels from the top, 9 high: the grip runs from row 5 to row 8.
  const QImage toolbar = Painted({12, 12}, [](QPainter& p) {
    DrawToolbar(p, {12, 12}, 30, 2, 9, kEdges);
  });
  EXPECT_EQ(Rows(toolbar, {{'.', kBackground}, {'s', kEdges.shadow}, {'h', kEdges.highlight}}),
            (std::vector<std::string>{
                "ssssssssssss",  //
                "hhhhhhhhhhhh",  //
                "............",  //
                "............",  //
                "............",  //
                ".hhs........",  //
                ".hhs........",  //
                "shhsssssssss",  // the bottom line's shadow, 5 pixels above the bottom
                "hhhshhhhhhhh",  //
                ".ss.........",  //
                "............",  //
                "............"}));
}

TEST(DrawCategoryFrame, EdgesOfTheBandAboveTheCategoryList) {
  const CategoryBand band{2, 8, 9, 1};  // list at x 2..9, its top at 9; the file list's top at 1
  const QImage form = Painted({12, 10}, [&](QPainter& p) { DrawCategoryFrame(p, band, kEdges); });
  EXPECT_EQ(Rows(form, {{'.', kBackground}, {'s', kEdges.shadow}, {'#', kBlackQ}, {'w', kWhiteQ}}),
            (std::vector<std::string>{"............",     //
                                      "............",     //
                                      "..ssssssss..",     // T + 1
                                      "..s#######..",     // T + 2
                                      "..swwwwwww..",     // T + 3
                                      "..sw.....w..",     //
                                      "..sw.....w..",     //
                                      "..sw.....w..",     //
                                      "..sw.....w..",     //
                                      "............"}));  // the category list's top: not drawn
}

TEST(DrawBannerStrip, TheThemeColourWithThePictureOverItAndItsGreyLeftOut) {
  QImage picture(3, 2, QImage::Format_RGB32);
  picture.fill(QColor(102, 102, 102));
  picture.setPixelColor(0, 0, QColor(255, 0, 0));
  picture.setPixelColor(2, 1, QColor(255, 255, 255));
  for (const auto& [theme, base] :
       {std::pair{0, QColor(99, 0, 82)}, std::pair{2, QColor(189, 150, 107)}}) {
    QImage strip(5, 2, QImage::Format_RGB32);
    DrawBannerStrip(strip, picture, theme);
    EXPECT_EQ(Rows(strip, {{'.', base}, {'r', QColor(255, 0, 0)}, {'w', kWhiteQ}}),
              (std::vector<std::string>{"r....", "..w.."}))
        << theme;
    QImage plain(4, 1, QImage::Format_RGB32);
    DrawBannerStrip(plain, QImage(), theme);
    EXPECT_EQ(Rows(plain, {{'.', base}}), (std::vector<std::string>{"...."}));
  }
}

TEST(DrawTransparentBitmap, WorksOnAnyImageFormat) {
  QImage picture(2, 2, QImage::Format_Indexed8);
  picture.setColorTable({qRgb(102, 102, 102), qRgb(0, 0, 255)});
  picture.fill(0);
  picture.setPixel(1, 1, 1);
  QImage target(3, 3, QImage::Format_RGB888);
  target.fill(kBackground);
  DrawTransparentBitmap(target, picture, {1, 1}, {2, 2}, 0x666666);
  EXPECT_EQ(Rows(target, {{'.', kBackground}, {'b', QColor(0, 0, 255)}}),
            (std::vector<std::string>{"...", "...", "..b"}));
}

TEST(DrawLogo, FiveFromTheRightInTheMiddleOfTheFrame) {
  QImage logo(3, 2, QImage::Format_RGB32);
  logo.fill(kWhiteQ);
  // A window 20 wide, 16 high outside, 10 inside: a frame of 6, so 3 from the top.
  const QImage window = Painted({20, 16}, [&](QPainter& p) { DrawLogo(p, logo, {20, 16}, 10); });
  QRect painted;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 20; ++x) {
      if (window.pixelColor(x, y) == kWhiteQ) painted |= QRect(x, y, 1, 1);
    }
  }
  EXPECT_EQ(painted, QRect(12, 3, 3, 2));
}

// The drag icons: a page with its corner folded, cells under a green heading
// for workbooks, lines of text for documents; none for presentations.
TEST(DrawDragIcon, APageOfCellsOrOfTextByFileMode) {
  const QColor outline(64, 64, 64), fold(192, 192, 192), heading(34, 139, 34), grid(128, 128, 128),
      text(0, 0, 160);
  const struct {
    int mode;
    QPoint at;
    QColor colour;
  } cases[] = {
      {0, {0, 0}, kBackground},  {0, {26, 1}, kBackground}, {0, {5, 15}, outline},
      {0, {21, 5}, fold},        {0, {6, 20}, kWhiteQ},     {0, {10, 10}, heading},
      {0, {10, 13}, grid},       {0, {13, 20}, grid},       {0, {10, 15}, kWhiteQ},
      {1, {26, 1}, kBackground}, {1, {21, 5}, fold},        {1, {10, 10}, text},
      {1, {10, 12}, kWhiteQ},    {1, {20, 25}, kWhiteQ},    {1, {12, 25}, text},
      {1, {13, 20}, text},
  };
  for (const auto& c : cases) {
    const QImage icon =
        Painted({kDragIconSize, kDragIconSize}, [&](QPainter& p) { DrawDragIcon(p, c.mode); });
    EXPECT_EQ(icon.pixelColor(c.at), c.colour)
        << "mode " << c.mode << " at " << c.at.x() << "," << c.at.y();
  }
  const QImage none =
      Painted({kDragIconSize, kDragIconSize}, [](QPainter& p) { DrawDragIcon(p, 2); });
  EXPECT_EQ(none, Painted({kDragIconSize, kDragIconSize}, [](QPainter&) {}));
}

}  // namespace
}  // namespace brevora::frontend::forms
