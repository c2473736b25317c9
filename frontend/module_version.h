#pragma once
// The connectivity module's version resource: its product name, version and
// legal texts, as the about box shows them and DoAbout's default macro version
// gives them.
namespace brevora::frontend::module_version {

inline constexpr const char* kProductName = "Brevora Desktop";
inline constexpr int kMajor = 7;
inline constexpr int kMinor = 1;
inline constexpr int kRevision = 0;
inline constexpr const char* kLegalCopyright = "Copyright \xA9 Orvanex.  All rights reserved.";
inline constexpr const char* kLegalTrademarks =
    "Brevora, Tabulyn, Scrivane and Slidora are trademarks of Orvanex.";

}  // namespace brevora::frontend::module_version
