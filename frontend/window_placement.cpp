#include "frontend/window_placement.h"

#include <algorithm>

namespace brevora::frontend {
namespace {

// Visual Basic's CLng(Val(text)) for a stored setting: the leading whole
// number, 0 when there is none or it is far out of any screen's range.
int64_t WholeNumber(const std::string& text) {
  std::size_t i = text.find_first_not_of(' ');
  if (i == std::string::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > 100'000'000) return 0;
  }
  return negative ? -value : value;
}

bool Overlaps(const TwipRect& a, const TwipRect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

}  // namespace

TwipRect RestoredPlacement(const StoredPlacement& stored, const TwipRect& current,
                           const std::vector<TwipRect>& screens) {
  auto valueOr = [](const std::string& text, int64_t fallback) {
    const int64_t v = WholeNumber(text);
    return v == 0 ? fallback : v;
  };
  TwipRect r;
  r.top = valueOr(stored.top, current.top);
  r.left = valueOr(stored.left, current.left);
  r.width = std::max(valueOr(stored.width.empty() ? "9300" : stored.width, current.width),
                     kMinimumWidthTwips);
  r.height = std::max(valueOr(stored.height, current.height), kMinimumHeightTwips);
  if (screens.empty()) return r;
  // The title bar must be reachable: the window's top strip on some screen.
  const TwipRect titleStrip{r.left, r.top, r.width, 30 * kTwipsPerPixel};
  const bool onScreen = std::any_of(screens.begin(), screens.end(), [&](const TwipRect& s) {
    return Overlaps(titleStrip, s) && r.top >= s.top;
  });
  if (onScreen) return r;
  const TwipRect& screen = screens.front();
  r.width = std::min(r.width, screen.width);
  r.height = std::min(r.height, screen.height);
  r.left = screen.left + (screen.width - r.width) / 2;
  r.top = screen.top + (screen.height - r.height) / 2;
  return r;
}

}  // namespace brevora::frontend
