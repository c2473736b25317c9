#pragma once
// The web pages the main window's menus and banner open, and where the banner
// picture comes from. The maker's site is a placeholder domain.
namespace brevora::frontend {

inline constexpr const char* kMakerHome = "https://www.orvanex.example/";
inline constexpr const char* kSupportPage = "https://www.orvanex.example/support/";
inline constexpr const char* kUpgradePage = "https://www.orvanex.example/support/upgrade.html";
inline constexpr const char* kFreeWorkbooksPage =
    "https://www.orvanex.example/solutions/index_free_workbooks.html";
inline constexpr const char* kProductHome = "https://www.orvanex.example/brevora/";
inline constexpr const char* kDesktopLandingPage = "https://www.orvanex.example/brevora/desktop/";
inline constexpr const char* kGutenbergHome = "https://www.gutenberg.org/";
inline constexpr const char* kMemowareHome = "https://www.memoware.example/";

// The banner picture: its default address, the host it is fetched from, and
// the file it is kept in under the state folder.
inline constexpr const char* kDefaultBannerGraphic =
    "https://products.orvanex.example/banner/brevora.gif";
inline constexpr const char* kProductWebServer = "products.orvanex.example";
inline constexpr const char* kBannerCacheFolder = "cache";
inline constexpr const char* kBannerFileName = "brevora.gif";

}  // namespace brevora::frontend
