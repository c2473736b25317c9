// Fuzzes the presentation options dialog's texts (its Qt-free logic): the
// bytes are lines, the resolution text, the large-screen resolution text and
// the two depth texts, and a fifth line that ticks the large-screen box when
// it is not empty. ParseResolution of each resolution text raises only 13
// (no number), 6 (too big) or the object error 1869 (no "x"), the last
// exactly when the text holds no "x" or "X"; decimal sides are read as
// themselves, and the text of what was read reads back the same. OK on the
// dialog stores the choice and saves it, or shows "Slidora Error" with the
// error's text and changes nothing after the error; a new options object
// reads back what was saved (a negative number as its default), and the
// dialog opened again selects valid entries.
#include <cctype>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/file_input.h"
#include "platform/services/message_box.h"
#include "slides/dialog/option_texts.h"
#include "slides/dialog/slidr_options_form_logic.h"
#include "slides/slidr_options.h"

namespace brevora::fuzz {
namespace {

using slides::SlidrOptions;
using namespace slides::dialog;

struct Size {
  int16_t width = 0, height = 0;
};

// The size a side of plain decimal digits (with blanks around) is, when it is one.
std::optional<int32_t> Decimal(std::string_view side) {
  while (!side.empty() && (side.front() == ' ' || side.front() == '\t')) side.remove_prefix(1);
  while (!side.empty() && (side.back() == ' ' || side.back() == '\t')) side.remove_suffix(1);
  if (side.empty() || side.size() > 9) return std::nullopt;
  int32_t value = 0;
  for (const char c : side) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

// ParseResolution with its checks; nullopt when it refused the text.
std::optional<Size> Parsed(std::string_view text) {
  Size size;
  try {
    ParseResolution(text, size.width, size.height);
  } catch (const AutomationError& e) {
    const bool noX = text.find_first_of("xX") == std::string_view::npos;
    Check((e.number() == kObjectError + 1869) == noX, "the error of a text without an x");
    Check(e.number() == 13 || e.number() == 6 || e.number() == kObjectError + 1869,
          "error " + std::to_string(e.number()) + ": " + e.description());
    return std::nullopt;
  } catch (...) {
    Fail("an unexpected exception");
  }
  const std::size_t x = text.find_first_of("xX");
  const auto w = Decimal(text.substr(0, x));
  const auto h = Decimal(text.substr(x + 1));
  Check(!w || *w == size.width, "a decimal width read otherwise");
  Check(!h || *h == size.height, "a decimal height read otherwise");
  Size again;
  ParseResolution(ResolutionText(size.width, size.height), again.width, again.height);
  Check(again.width == size.width && again.height == size.height,
        "the text of a size reads otherwise");
  return size;
}

std::string Lines(std::initializer_list<std::string_view> lines) {
  std::string text;
  for (std::string_view line : lines) (text += line) += '\n';
  return text;
}

void CheckSelected(const ComboState& combo) {
  Check(combo.selected >= 0 && combo.selected < static_cast<int>(combo.items.size()),
        "a list without a selection");
}

}  // namespace

std::vector<Seed> Seeds(const std::string&) {
  return {
      {"lists.txt", Lines({"436x320", "1024x768", "Hi Color (16 bit)", "256 Color (8 bit)", "1"})},
      {"typed.txt", Lines({" 640 X 480 ", "800x600", "Greyscale (4 bit)", "", ""})},
      {"odd.txt", Lines({"-5x0", "1e3x&H10", "24", "hi color (16 bit)", "yes"})},
      {"bad.txt", Lines({"800*600", "99999x1", "", "", ""})},
  };
}

}  // namespace brevora::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  brevora::fuzz::MakeWorkFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace brevora;
  using namespace brevora::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> fields;
  for (std::size_t start = 0; fields.size() < 5;) {
    const std::size_t end = std::min(input.find('\n', start), input.size());
    fields.emplace_back(start <= input.size() ? input.substr(start, end - start)
                                              : std::string_view());
    start = end + 1;
  }
  const SlidrOptionsChoice choice{fields[0], fields[2], !fields[4].empty(), fields[1], fields[3]};
  const auto slide = Parsed(choice.resolution);
  const auto vanta = Parsed(choice.vantaRes);

  const auto box = std::make_shared<services::RecordingMessageBox>();
  const auto previous = services::InstallMessageBox(box);
  SlidrOptionsFormLogic dialog;
  bool ok = false;
  Must("the dialog", [&] {
    dialog.Load();
    const auto values = [](const SlidrOptions& o) {
      return std::vector<int32_t>{o.SlideWidth(), o.SlideHeight(), o.SlideDepth(), o.UseVanta(),
                                  o.VantaWidth(), o.VantaHeight(), o.VantaDepth()};
    };
    const std::vector<int32_t> before = values(*dialog.Options());
    ok = dialog.OkClicked(choice);
    const SlidrOptions& o = *dialog.Options();
    if (!slide || !vanta) {
      Check(!ok, "a text that does not read was taken");
      Check(values(o) == before, "options set after the error");
      return;
    }
    Check(ok, "a choice that reads was not saved");
    Check(o.SlideWidth() == slide->width && o.SlideHeight() == slide->height &&
              o.VantaWidth() == vanta->width && o.VantaHeight() == vanta->height &&
              o.SlideDepth() == TextToDepth(choice.bitDepth) &&
              o.VantaDepth() == TextToDepth(choice.vantaDepth) && o.UseVanta() == choice.vantaSlide,
          "the options are not the choice");
    const SlidrOptions read;
    const auto back = [](int32_t saved, int32_t fallback) { return saved < 0 ? fallback : saved; };
    Check(read.SlideWidth() == back(slide->width, SlidrOptions::DEFAULT_SLIDE_WIDTH) &&
              read.SlideHeight() == back(slide->height, SlidrOptions::DEFAULT_SLIDE_HEIGHT) &&
              read.VantaWidth() == back(vanta->width, SlidrOptions::DEFAULT_VANTA_WIDTH) &&
              read.VantaHeight() == back(vanta->height, SlidrOptions::DEFAULT_VANTA_HEIGHT) &&
              read.SlideDepth() == o.SlideDepth() && read.UseVanta() == o.UseVanta(),
          "the saved options read back otherwise");
    SlidrOptionsFormLogic again;
    const SlidrOptionsControls controls = again.Load();
    for (const ComboState* combo :
         {&controls.resolution, &controls.bitDepth, &controls.vantaRes, &controls.vantaDepth}) {
      CheckSelected(*combo);
    }
    Check(controls.vantaTicked == choice.vantaSlide, "the large-screen box");
  });
  services::InstallMessageBox(previous);
  const auto shown = box->shown();
  if (ok) {
    Check(shown.empty(), "a message after a choice was saved");
  } else {
    Check(shown.size() == 1 && shown[0].title == "Slidora Error" &&
              shown[0].text.starts_with("Slidora options: "),
          "not the dialog's error message");
  }
  return 0;
}
