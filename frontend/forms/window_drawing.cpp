#include "frontend/forms/window_drawing.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <algorithm>

#include "core/transparent_bitmap.h"
#include "frontend/window_theme.h"

namespace brevora::frontend::forms {
namespace {

constexpr int32_t kBannerTransparent = RgbColour(102, 102, 102);

int Step(int from, int to) { return from < to ? 1 : from > to ? -1 : 0; }

// The rectangle with both points as corners, both included.
QRect Spanning(QPoint a, QPoint b) {
  return QRect(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
               QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));
}

}  // namespace

QColor ColourOf(int32_t colour) {
  const Rgb c = LongToRGB(colour);
  return QColor(c.red, c.green, c.blue);
}

void DrawLine(QPainter& painter, QPoint from, QPoint to, const QColor& colour) {
  if (from == to) return;
  // Axis-aligned only: the pixels from `from` towards `to`, `to` left out.
  QPoint last = to;
  if (from.x() == to.x()) {
    last.ry() -= Step(from.y(), to.y());
  } else if (from.y() == to.y()) {
    last.rx() -= Step(from.x(), to.x());
  } else {
    return;
  }
  painter.fillRect(Spanning(from, last), colour);
}

void DrawBox(QPainter& painter, QPoint corner, QPoint opposite, const QColor& colour) {
  const QRect box = Spanning(corner, opposite);
  painter.fillRect(QRect(box.left(), box.top(), box.width(), 1), colour);
  painter.fillRect(QRect(box.left(), box.bottom(), box.width(), 1), colour);
  painter.fillRect(QRect(box.left(), box.top(), 1, box.height()), colour);
  painter.fillRect(QRect(box.right(), box.top(), 1, box.height()), colour);
}

EdgeColours SystemEdgeColours() {
  const QPalette palette = QApplication::palette();
  return {palette.color(QPalette::Active, QPalette::Dark),
          palette.color(QPalette::Active, QPalette::Light)};
}

void DrawOutlookBar(QPainter& painter, QSize bar, int theme) {
  const int w = bar.width();
  const int h = bar.height();
  const QColor black = ColourOf(kBlack);
  const SideBarTints tints = ThemeTints(theme);
  const QColor light = ColourOf(tints.light);
  const QColor dark = ColourOf(tints.dark);
  painter.fillRect(QRect(QPoint(0, 0), bar), ColourOf(ThemeBaseColour(theme)));
  DrawLine(painter, {0, 0}, {0, h}, black);
  DrawBox(painter, {1, 0}, {2, h}, light);
  DrawLine(painter, {0, 0}, {w, 0}, black);
  DrawLine(painter, {0, 1}, {w, 1}, light);
  DrawBox(painter, {w - 2, 0}, {w - 1, h}, dark);
  DrawBox(painter, {w, 0}, {w, h}, black);
}

void DrawToolbar(QPainter& painter, QSize picture, int formWidth, int toolbarTop, int toolbarHeight,
                 const EdgeColours& edges) {
  const int w = picture.width();
  DrawLine(painter, {0, 0}, {w, 0}, edges.shadow);
  DrawLine(painter, {0, 1}, {w, 1}, edges.highlight);
  const int y = picture.height() - 5;
  DrawLine(painter, {0, y + 1}, {w, y + 1}, edges.highlight);
  DrawLine(painter, {0, y}, {formWidth, y}, edges.shadow);
  const int t = toolbarTop + 3;
  const int h = toolbarHeight;
  DrawLine(painter, {1, t}, {1, h}, edges.highlight);
  DrawLine(painter, {2, t}, {2, h}, edges.highlight);
  DrawLine(painter, {3, t}, {3, h}, edges.shadow);
  DrawLine(painter, {1, h}, {3, h}, edges.shadow);
}

void DrawCategoryFrame(QPainter& painter, const CategoryBand& band, const EdgeColours& edges) {
  const int l = band.left;
  const int r = band.left + band.width;
  const int t = band.fileListTop;
  const int c = band.categoryTop;
  const QColor white = ColourOf(kWhite);
  DrawLine(painter, {l, t + 1}, {r, t + 1}, edges.shadow);
  DrawLine(painter, {r - 1, t + 3}, {r - 1, c}, white);
  DrawLine(painter, {l, t + 2}, {r, t + 2}, ColourOf(kBlack));
  DrawLine(painter, {l, t + 3}, {r, t + 3}, white);
  DrawLine(painter, {l, t + 2}, {l, c}, edges.shadow);
  DrawLine(painter, {l + 1, t + 3}, {l + 1, c}, white);
}

void DrawBannerStrip(QImage& strip, const QImage& picture, int theme) {
  strip.fill(ColourOf(ThemeBaseColour(theme)));
  if (!picture.isNull())
    DrawTransparentBitmap(strip, picture, {0, 0}, picture.size(), kBannerTransparent);
}

void DrawTransparentBitmap(QImage& destination, const QImage& source, QPoint at, QSize size,
                           int32_t transparentColour) {
  if (destination.format() != QImage::Format_RGB32 &&
      destination.format() != QImage::Format_ARGB32) {
    destination = destination.convertToFormat(QImage::Format_ARGB32);
  }
  const QImage from = source.convertToFormat(QImage::Format_RGB32);
  if (destination.isNull() || from.isNull()) return;
  core::PixelSurface to{reinterpret_cast<uint32_t*>(destination.bits()), destination.width(),
                        destination.height(), destination.bytesPerLine() / 4};
  core::ConstPixelSurface pixels{reinterpret_cast<const uint32_t*>(from.constBits()), from.width(),
                                 from.height(), from.bytesPerLine() / 4};
  core::DrawTransparentBitmap(to, pixels, at.x(), at.y(), size.width(), size.height(),
                              transparentColour);
}

void DrawLogo(QPainter& painter, const QImage& logo, QSize outer, int innerHeight) {
  const int x = outer.width() - 5 - logo.width();
  const int y = (outer.height() - innerHeight) / 2;
  painter.drawImage(QPoint(x, y), logo);
}

void DrawDragIcon(QPainter& painter, int mode) {
  if (mode != 0 && mode != 1) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(QColor(64, 64, 64), 0));
  // The page, its top-right corner folded down.
  constexpr int kLeft = 5, kTop = 1, kRight = 26, kBottom = 30, kFold = 6;
  const QPoint page[] = {{kLeft, kTop},
                         {kRight - kFold, kTop},
                         {kRight, kTop + kFold},
                         {kRight, kBottom},
                         {kLeft, kBottom}};
  painter.setBrush(Qt::white);
  painter.drawPolygon(page, 5);
  const QPoint fold[] = {
      {kRight - kFold, kTop}, {kRight - kFold, kTop + kFold}, {kRight, kTop + kFold}};
  painter.setBrush(QColor(192, 192, 192));
  painter.drawPolygon(fold, 3);
  painter.restore();
  if (mode == 0) {
    const QColor grid(128, 128, 128);
    painter.fillRect(QRect(QPoint(kLeft + 3, 9), QPoint(kRight - 3, 12)), QColor(34, 139, 34));
    for (int y = 9; y <= 25; y += 4) DrawLine(painter, {kLeft + 3, y}, {kRight - 2, y}, grid);
    for (const int x : {kLeft + 3, 13, 19, kRight - 3}) DrawLine(painter, {x, 9}, {x, 26}, grid);
  } else {
    const QColor text(0, 0, 160);
    const int ends[] = {22, 20, 22, 21, 22, 16};
    int y = 10;
    for (const int end : ends) {
      painter.fillRect(QRect(QPoint(kLeft + 4, y), QPoint(end, y + 1)), text);
      y += 3;
    }
  }
}

}  // namespace brevora::frontend::forms
