#include "testing/screenshot.h"

#include <QPixmap>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "testing/temp_home.h"

namespace brevora::testing {

std::string SaveScreenshot(QWidget& widget, const std::string& name) {
  const std::filesystem::path file =
      std::filesystem::path(MakeTempDir("screenshots")) / (name + ".png");
  if (!widget.grab().save(QString::fromStdString(file.string()), "PNG")) {
    throw std::runtime_error("could not save the screenshot " + file.string());
  }
  if (const char* keep = std::getenv("BREVORA_TEST_SCREENSHOTS"); keep && *keep) {
    std::filesystem::create_directories(keep);
    std::filesystem::copy_file(file, std::filesystem::path(keep) / file.filename(),
                               std::filesystem::copy_options::overwrite_existing);
  }
  return file.string();
}

}  // namespace brevora::testing
