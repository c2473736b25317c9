#include "frontend/window_settings.h"

#include "core/registry_helpers.h"
#include "frontend/web_links.h"
#include "platform/automation/convert.h"
#include "platform/text/case.h"

namespace brevora::frontend {
namespace {

constexpr const char* kBanner = "Banner";
constexpr const char* kTheme = "Theme";

std::string Setting(const char* name) { return core::GetRegistryString(kSuiteSettingsKey, name); }

}  // namespace

bool IsBannerEnabled(bool standAlone) {
  if (!standAlone) return false;
  try {
    const std::string banner = Setting(kBanner);
    if (banner.empty())
      core::SetRegistryString(kSuiteSettingsKey, kBanner, Variant(std::string("show")));
    return text::LCase(banner) != "hide";
  } catch (...) {
    return false;
  }
}

void SetBannerEnabled(bool enabled) {
  core::SetRegistryString(kSuiteSettingsKey, kBanner,
                          Variant(std::string(enabled ? "show" : "hide")));
}

int16_t GetTheme(bool standAlone) {
  if (!standAlone) return 0;
  try {
    const std::string theme = Setting(kTheme);
    if (theme.empty()) {
      core::SetRegistryString(kSuiteSettingsKey, kTheme, Variant(std::string("0")));
      return 0;
    }
    return CInt(Variant(theme));
  } catch (...) {
    return 0;
  }
}

void SetTheme(int16_t theme) { core::SetRegistryString(kSuiteSettingsKey, kTheme, Variant(theme)); }

std::string BannerGraphicAddress() {
  const std::string address = Setting("Graphic");
  return address.empty() ? kDefaultBannerGraphic : address;
}

std::string BannerLinkAddress() {
  const std::string address = Setting("Link");
  return address.empty() ? kDesktopLandingPage : address;
}

}  // namespace brevora::frontend
