#pragma once
// Test support for windows: SaveScreenshot renders a widget (QWidget::grab) to
// a PNG file in the test case's temporary folder and returns its path. When the
// environment names a folder in BREVORA_TEST_SCREENSHOTS, a copy goes there as
// well, so a developer can look at what a test showed after the case's own
// folder is gone.
#include <string>

class QWidget;

namespace brevora::testing {

std::string SaveScreenshot(QWidget& widget, const std::string& name);

}  // namespace brevora::testing
