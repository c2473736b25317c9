#pragma once
// The export mark of libhotsync's C calls.
#if defined(HOTSYNC_BUILDING)
#define HOTSYNC_API __attribute__((visibility("default")))
#else
#define HOTSYNC_API
#endif
