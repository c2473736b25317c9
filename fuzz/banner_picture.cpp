// Fuzzes the banner picture of the main window where a downloaded file
// reaches Qt: the bytes after the first as the downloaded picture, read as
// the window reads it when its download completes (a QImage of the file, on
// the offscreen platform: no display), then drawn as the window paints its
// banner strip (DrawBannerStrip, the strip at the window's first size) in the
// theme the first byte picks, as a signed number. Checks: the strip keeps its
// size; where the picture covers it and is not its transparent grey it shows
// the picture's pixel, everywhere else the theme's colour; a file Qt does not
// read leaves the strip the theme's colour alone.
#include <sys/stat.h>
#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "frontend/forms/window_drawing.h"
#include "frontend/web_links.h"
#include "frontend/window_theme.h"
#include "fuzz/file_input.h"
#include "fuzz/pictures.h"
#include "platform/fs/paths.h"
#include "slides/freeimage_init.h"

namespace brevora::fuzz {
namespace {

constexpr int kStripWidth = 748;  // the banner of a window of 760 pixels
constexpr int kStripHeight = 60;
constexpr uint32_t kTransparent = 0x666666;  // grey 102, 102, 102

// Qt on the offscreen platform, its runtime folder inside `folder`.
void StartQt(const std::string& folder) {
  static int argc = 1;
  static char name[] = "banner_picture";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  const std::string runtime = folder + "/runtime";
  mkdir(runtime.c_str(), 0700);
  setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
  static QGuiApplication application(argc, argv);
  // A picture whose header asks for more than 16 MB is refused, as Qt refuses
  // one of over 128 MB: a larger one costs its decode and no new path.
  QImageReader::setAllocationLimit(16);
}

// The checks of a drawn strip. They run per pixel and are not the code under
// test, so they get no coverage instrumentation: it would cost several times
// the drawing, and a new value in a check is no new path.
__attribute__((no_sanitize("coverage"))) void CheckStrip(const QImage& strip, const QImage& picture,
                                                         int theme) {
  Check(strip.width() == kStripWidth && strip.height() == kStripHeight,
        "the strip changed its size");
  const QImage pixels = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
  const int width = pixels.isNull() ? 0 : std::min(pixels.width(), kStripWidth);
  const int height = pixels.isNull() ? 0 : std::min(pixels.height(), kStripHeight);
  const QRgb base = frontend::forms::ColourOf(frontend::ThemeBaseColour(theme)).rgb() & 0xFFFFFF;
  for (int y = 0; y < kStripHeight; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(strip.constScanLine(y));
    const auto* source =
        y < height ? reinterpret_cast<const QRgb*>(pixels.constScanLine(y)) : nullptr;
    for (int x = 0; x < kStripWidth; ++x) {
      QRgb expected = base;
      if (source != nullptr && x < width) {
        const QRgb p = source[x] & 0xFFFFFF;
        if (p != kTransparent) expected = p;
      }
      Check((line[x] & 0xFFFFFF) == expected,
            "a pixel of the strip is neither the picture's nor the theme's");
    }
  }
}

std::string Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) Fail(std::string("cannot write a ") + format + " seed");
  return std::string(1, '\x01') +
         std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

std::vector<Seed> Seeds(const std::string& scratch) {
  StartQt(scratch);
  QImage banner(120, 30, QImage::Format_RGB32);
  for (int y = 0; y < banner.height(); ++y) {
    for (int x = 0; x < banner.width(); ++x) {
      const bool grey = (x / 10 + y / 10) % 2 == 0;
      banner.setPixel(x, y, grey ? 0xFF000000u | kTransparent : qRgb(x * 2, y * 8, 200));
    }
  }
  const QImage wide = banner.scaled(900, 70);
  const QImage palette = banner.convertToFormat(QImage::Format_Indexed8);
  const QImage alpha = banner.convertToFormat(QImage::Format_ARGB32);
  std::vector<Seed> seeds = {
      {"banner.png", Encoded(banner, "PNG")},  {"banner.jpg", Encoded(banner, "JPG")},
      {"banner.bmp", Encoded(palette, "BMP")}, {"banner.ppm", Encoded(banner, "PPM")},
      {"banner.xpm", Encoded(palette, "XPM")}, {"banner.ico", Encoded(alpha.scaled(32, 32), "ICO")},
      {"wide.png", Encoded(wide, "PNG")},
  };
  // The banner is a GIF, which Qt reads but does not write: FreeImage's, and
  // its other formats, which Qt reads partly.
  slides::FreeImageLibrary library;
  for (Seed& s : PictureSeeds()) seeds.push_back({"fi_" + s.name, '\x03' + s.bytes});
  return seeds;
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  brevora::fuzz::StartQt(brevora::fuzz::WorkFolder());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  if (size < 1) return 0;
  const int theme = static_cast<int8_t>(data[0]);
  const std::string path = WriteInput(frontend::kBannerFileName, data + 1, size - 1);
  const QImage picture(QString::fromStdString(fs::NativePath(path)));
  QImage strip(kStripWidth, kStripHeight, QImage::Format_RGB32);
  frontend::forms::DrawBannerStrip(strip, picture, theme);
  CheckStrip(strip, picture, theme);
  return 0;
}
