#pragma once
// What the main window draws itself: the file-mode side bar in the theme's
// colours, the etched edges of the toolbar area, the edges of the band above
// the category list, the banner strip with its picture, and the logo. Each
// routine paints with a QPainter on the surface it is given, so it can be
// checked pixel by pixel on a QImage.
//
// Positions are in pixels (the window's twips divided by 15).
// Lines are drawn as the window's Line method draws them: one pixel wide,
// axis-aligned, from the first point up to but not including the second; a
// box is the outline of the rectangle with both corners.
#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <cstdint>

class QPainter;

namespace brevora::frontend::forms {

// A colour number (0x00BBGGRR) as a QColor.
QColor ColourOf(int32_t colour);

void DrawLine(QPainter& painter, QPoint from, QPoint to, const QColor& colour);
void DrawBox(QPainter& painter, QPoint corner, QPoint opposite, const QColor& colour);

// The system colours of etched edges.
struct EdgeColours {
  QColor shadow;     // button shadow
  QColor highlight;  // button highlight
};
// The application palette's button shadow and highlight.
EdgeColours SystemEdgeColours();

// DrawOutlookBar: the side bar (`bar` its size) filled with the theme's base
// colour, a black line down the left and along the top, the light tint beside
// and below them, the dark tint down the right.
void DrawOutlookBar(QPainter& painter, QSize bar, int theme);

// DrawToolbar on the toolbar background (`picture` its size): an etched line
// along the top and one 5 pixels above the bottom (its shadow as wide as the
// form), and the three-pixel grip at the left beside the toolbar, whose top
// and height are given as the toolbar reports them.
void DrawToolbar(QPainter& painter, QSize picture, int formWidth, int toolbarTop, int toolbarHeight,
                 const EdgeColours& edges);

// DrawCategoryFrame on the form: the edges of the band between the top of the
// file list (`fileListTop`) and the top of the category list.
struct CategoryBand {
  int left = 0;         // the category list's left
  int width = 0;        // and width
  int categoryTop = 0;  // the category list's top
  int fileListTop = 0;  // the file list's top
};
void DrawCategoryFrame(QPainter& painter, const CategoryBand& band, const EdgeColours& edges);

// The banner strip: the theme's base colour, with the downloaded picture (when
// there is one) over it from the top-left corner, its grey 102, 102, 102 left
// out.
void DrawBannerStrip(QImage& strip, const QImage& picture, int theme);

// DrawTransparentBitmap on Qt images: copies the `size` pixels at the top-left
// of `source` to `at` in `destination`, leaving out `transparentColour` (a
// colour number). `destination` is made 32-bit when it is not.
void DrawTransparentBitmap(QImage& destination, const QImage& source, QPoint at, QSize size,
                           int32_t transparentColour);

// DrawLogo on the whole window, frame included (`outer` its size, `innerHeight`
// the height of its client area): the logo at 5 pixels from the right edge,
// half the frame's height from the top.
void DrawLogo(QPainter& painter, const QImage& logo, QSize outer, int innerHeight);

// The drag icons of picDragIcon, kDragIconSize square on the surface's
// top-left corner (the rest left as it is): a page with a grid of cells under
// a green heading row for the spreadsheet mode (0), a page with lines of text
// for the word-processor mode (1). Other modes have none: nothing is drawn.
inline constexpr int kDragIconSize = 32;
void DrawDragIcon(QPainter& painter, int mode);

}  // namespace brevora::frontend::forms
