#pragma once
// The Palm user-data calls: the HotSync users of this desktop, as the Palm
// Desktop's user-data library hands them out. Users are addressed by index
// 0..count-1 and by id. The users live in the HotSync root folder (the
// registry's HKEY_CURRENT_USER "<Pilot Desktop root>\Core" value "Path", the
// root being "Software\U.S. Robotics\Pilot Desktop" or else
// "Software\Palm Computing\Pilot Desktop"), listed in its file "users.txt"
// (see user_list.h), which the HotSync host shares.
//
// Buffer conventions: the caller passes a buffer and its capacity by
// reference. On success the text (code page, one byte per character) is
// copied to the start of the buffer, a NUL follows it when there is room, the
// rest of the buffer is left as it was, *length is set to the text's length
// and that length (> 0) is returned. An empty text or an unknown id returns 0;
// a text longer than the capacity returns 0 with *length set to the length it
// needs (so the caller may ask again with a larger buffer); the buffer is then
// untouched. A null pointer or a capacity <= 0 returns -1. The calls never
// raise; a registry or file failure reads as no users.
#include <stdint.h>

#include "platform/hotsync/hotsync_api.h"

#ifdef __cplusplus
extern "C" {
#endif

// The number of users (0 when no root or no readable list; at most 32767).
HOTSYNC_API int16_t UmGetUserCount(void);
// Writes the id of the user at `index` to *id; returns 0, or -1 when the index
// is out of range or id is null (then *id is untouched).
HOTSYNC_API int32_t UmGetUserID(int16_t index, int32_t* id);
// The name of user `id` into buffer (capacity *length).
HOTSYNC_API int16_t UmGetUserName(int32_t id, char* buffer, int16_t* length);
// The HotSync root folder into buffer (capacity *length).
HOTSYNC_API int16_t UmGetRootDirectory(char* buffer, int16_t* length);
// The user's own folder, relative to the root, into buffer (capacity *length).
HOTSYNC_API int16_t UmGetUserDirectory(int32_t id, char* buffer, int16_t* length);

#ifdef __cplusplus
}  // extern "C"
#endif
