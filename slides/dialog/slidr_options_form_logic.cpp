#include "slides/dialog/slidr_options_form_logic.h"

#include <iterator>

#include "platform/error/error.h"
#include "platform/services/message_box.h"
#include "slides/dialog/option_texts.h"

namespace brevora::slides::dialog {
namespace {

template <size_t N>
ComboState Filled(const char* const (&items)[N]) {
  return ComboState{std::vector<std::string>(std::begin(items), std::end(items)), -1};
}

void Select(ComboState& combo, const std::string& text, const std::string& fallback) {
  combo.selected = SelectComboText(combo.items, combo.selected, text, fallback);
}

}  // namespace

SlidrOptionsControls SlidrOptionsFormLogic::Load() {
  options_ = MakeRef<SlidrOptions>();
  SlidrOptionsControls controls = InitControls();
  cancelled_ = false;
  return controls;
}

SlidrOptionsControls SlidrOptionsFormLogic::InitControls() {
  if (!options_) options_ = MakeRef<SlidrOptions>();
  const SlidrOptions& o = *options_;
  SlidrOptionsControls c;
  c.linkedTicked = false;
  fileLinked_ = false;
  c.linkFile = linkFile_;

  c.resolution = Filled(kResolutionItems);
  c.bitDepth = Filled(kDepthItems);
  c.vantaRes = Filled(kVantaResolutionItems);
  c.vantaDepth = Filled(kDepthItems);

  Select(c.resolution, ResolutionText(o.SlideWidth(), o.SlideHeight()),
         ResolutionText(SlidrOptions::DEFAULT_SLIDE_WIDTH, SlidrOptions::DEFAULT_SLIDE_HEIGHT));
  Select(c.vantaRes, ResolutionText(o.VantaWidth(), o.VantaHeight()),
         ResolutionText(SlidrOptions::DEFAULT_VANTA_WIDTH, SlidrOptions::DEFAULT_VANTA_HEIGHT));
  Select(c.bitDepth, DepthToText(o.SlideDepth()), DepthToText(SlidrOptions::DEFAULT_SLIDE_DEPTH));
  Select(c.vantaDepth, DepthToText(o.VantaDepth()), DepthToText(SlidrOptions::DEFAULT_VANTA_DEPTH));

  c.vantaTicked = o.UseVanta();
  c.vantaControlsEnabled = o.UseVanta();
  c.showLinking = showLinking_;
  c.advancedShown = false;
  return c;
}

bool SlidrOptionsFormLogic::OkClicked(const SlidrOptionsChoice& choice) {
  try {
    if (!options_) options_ = MakeRef<SlidrOptions>();
    int16_t width = 0, height = 0, vantaWidth = 0, vantaHeight = 0;
    ParseResolution(choice.resolution, width, height);
    ParseResolution(choice.vantaRes, vantaWidth, vantaHeight);
    const int32_t depth = TextToDepth(choice.bitDepth);
    const int32_t vantaDepth = TextToDepth(choice.vantaDepth);
    SlidrOptions& o = *options_;
    o.SetSlideWidth(width);
    o.SetSlideHeight(height);
    o.SetSlideDepth(depth);
    o.SetUseVanta(choice.vantaSlide);
    o.SetVantaWidth(vantaWidth);
    o.SetVantaHeight(vantaHeight);
    o.SetVantaDepth(vantaDepth);
    o.Save();
    return true;
  } catch (...) {
    const AutomationError error = CurrentError();
    services::ShowMessage({"Slidora options: " + error.description(), "Slidora Error",
                           services::MsgButtons::Ok, services::MsgIcon::None});
    return false;
  }
}

}  // namespace brevora::slides::dialog
