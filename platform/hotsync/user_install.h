#pragma once
// The Palm user-data calls about a user's installation on this desktop. A user
// is installed when the HotSync user list (user_list.h) holds its id; the list
// itself is the HotSync host's, so installing a user that is not listed has no
// user to install and fails. Both calls read the list as it is now, keep no
// state and never raise.
#include <stdint.h>

#include "platform/hotsync/user_data.h"

#ifdef __cplusplus
extern "C" {
#endif

// 1 when `id` is a listed user; 0 otherwise (also when there is no list).
HOTSYNC_API int32_t UmIsUserInstalled(int32_t id);
// Marks user `id` installed when `flag` is not 0: 0 for a listed user, -1 for
// an id that is not listed. A flag of 0 (uninstall) is not offered: -1.
HOTSYNC_API int32_t UmSetUserInstall(int32_t id, int32_t flag);

#ifdef __cplusplus
}  // extern "C"
#endif
