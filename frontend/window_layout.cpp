#include "frontend/window_layout.h"

#include <algorithm>
#include <charconv>

#include "frontend/window_placement.h"

namespace brevora::frontend {
namespace {

std::optional<int> TagNumber(std::string_view tag) {
  while (!tag.empty() && tag.front() == ' ') tag.remove_prefix(1);
  while (!tag.empty() && tag.back() == ' ') tag.remove_suffix(1);
  int number = 0;
  const auto [end, error] = std::from_chars(tag.data(), tag.data() + tag.size(), number);
  if (error != std::errc() || end != tag.data() + tag.size() || tag.empty()) return std::nullopt;
  return number;
}

}  // namespace

ControlRect Anchor(std::string_view tag, ControlRect c, int32_t dH, int32_t dW) {
  switch (TagNumber(tag).value_or(0)) {
    case 1:
      c.left += dW;
      break;
    case 2:
      c.top += dH;
      c.left += dW;
      break;
    case 3:
      c.width += dW;
      break;
    case 4:
      c.height += dH;
      c.width += dW;
      break;
    case 5:
      c.top += dH;
      break;
    case 6:
      c.height += dH;
      break;
    case 7:
      c.top += dH;
      c.width += dW;
      break;
    default:
      break;
  }
  return c;
}

WindowLayout::Step WindowLayout::Resize(WindowSize current) {
  Step step;
  // The smallest window: smaller sizes are set back to it.
  constexpr auto kMinWidth = static_cast<int32_t>(kMinimumWidthTwips);
  constexpr auto kMinHeight = static_cast<int32_t>(kMinimumHeightTwips);
  if (current.height < kMinHeight || current.width < kMinWidth) {
    step.enlargeTo =
        WindowSize{std::max(current.width, kMinWidth), std::max(current.height, kMinHeight)};
    return step;
  }
  if (previous_.height == 0) previous_.height = current.height;
  if (previous_.width == 0) previous_.width = current.width;
  step.dH = current.height - previous_.height;
  step.dW = current.width - previous_.width;
  previous_ = current;
  return step;
}

}  // namespace brevora::frontend
