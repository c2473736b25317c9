#pragma once
// The main window's suite settings: string values under HKEY_CURRENT_USER
// "Software\Orvanex\Brevora". "Banner" ("hide" in any case hides the banner
// strip), "Theme" (the colour theme's number), "Graphic" (address of the
// banner picture) and "Link" (the page a click on the banner opens). Only the
// stand-alone window shows a banner or a theme; the Open and Save dialogs read
// neither.
#include <cstdint>
#include <string>

namespace brevora::frontend {

inline constexpr const char* kSuiteSettingsKey = "Software\\Orvanex\\Brevora";

// False outside the stand-alone window. In it true unless "Banner" is "hide";
// a missing or empty "Banner" is written as "show". A registry failure answers
// false.
bool IsBannerEnabled(bool standAlone);
// Writes "show" or "hide" to "Banner".
void SetBannerEnabled(bool enabled);

// 0 outside the stand-alone window. In it the number in "Theme"; a missing or
// empty value is written as "0". A registry failure or a text that is not a
// 16-bit number answers 0.
int16_t GetTheme(bool standAlone);
// Writes the theme's decimal text to "Theme".
void SetTheme(int16_t theme);

// The banner picture's address: "Graphic", else kDefaultBannerGraphic.
std::string BannerGraphicAddress();
// The page the banner opens: "Link", else kDesktopLandingPage.
std::string BannerLinkAddress();

}  // namespace brevora::frontend
