#pragma once
// The HotSync run of a conduit (OpenConduit) and its parts that depend on no
// product format: the run mode, the prevail setting, the user folder, and the
// refresh of the desktop window at the end.
//
// A run is fresh per call: its main database object, its errors flag and its
// state live on its own stack. Once it has its user folder, a run removes the
// temporary desktop files that killed runs left in the category folders
// (RemoveAbandonedDesktopWrites, local_file.h). OpenConduit always returns 0; what happened is
// told in the HotSync log, ending with the product's name and activity 20 (all
// synchronized) or 22 (something failed or was left alone).
#include <cstdint>
#include <optional>
#include <string>

#include "conduit-framework/sync_state.h"
#include "platform/hotsync/conduit_api.h"

namespace brevora::conduit {

struct Product;

// One HotSync of `product`'s files.
int32_t OpenConduit(const Product& product, void* window, CSyncProperties* properties);

// The mode of sync type `syncType` (logs its line); sets `slow` for type 1.
SyncMode GetSyncMode(const Product& product, int32_t syncType, bool newDesktop, bool& slow);
// 0: the desktop wins a conflict; 1: the handheld wins (also without a
// setting under the product's registry key).
int32_t GetSyncPrevail(const Product& product);
// The conduit's desktop folder: the product's "HomePath" when "UseHomePath" is
// set (and the path can be read), else the folder of the sync properties.
// Creates it when missing (then the desktop is new); a folder without category
// folders other than "examples" (and the product's own folders) is new too. nullopt, logged, when
// the path is missing, not terminated within its field or longer than 255 characters.
std::optional<std::string> GetUserFolder(const Product& product, const CSyncProperties& properties,
                                         bool& newDesktop);
// Presses "Refresh" on every open desktop window ("ThunderRT5Form" titled
// "Brevora Desktop"), without waiting.
void RefreshDesktopWindows();

}  // namespace brevora::conduit
