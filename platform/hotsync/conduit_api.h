#pragma once
// What the HotSync host and a conduit plug-in pass each other: the records of
// the conduit entry points and the entry points' types. A conduit exports, by
// these names and with C linkage, OpenConduit, GetConduitName,
// GetConduitVersion, ConfigureConduit, GetConduitInfo and CfgConduit; the host
// finds them with dlsym. Texts are code page, NUL-terminated within their field.
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

enum { kConduitPathSize = 256, kConduitUserNameSize = 64 };

// What OpenConduit is given for one HotSync.
typedef struct CSyncProperties {
  int32_t syncType;                       // kSyncType*
  char localDirectory[kConduitPathSize];  // the conduit's desktop folder, ending in a separator
} CSyncProperties;

// Sync types.
enum {
  kSyncTypeSynchronize = 0,
  kSyncTypeSlow = 1,  // synchronize with an alternate desktop
  kSyncTypeHandheldOverwrites = 2,
  kSyncTypeDesktopOverwrites = 3,
  kSyncTypeInstall = 4,
  kSyncTypeDoNothing = 6,
};

// What ConfigureConduit is given, and changes on OK.
typedef struct CSyncPreference {
  char path[kConduitPathSize];          // the conduit's desktop folder
  char registryPath[kConduitPathSize];  // the conduit's key, under HKEY_CURRENT_USER
  uint32_t keyHandle;                   // unused here: 0
  int32_t preference;                   // 0 in; 1 permanent, 2 for the next HotSync only
  int32_t syncType;                     // the current type in, the chosen one out
} CSyncPreference;

// Preferences.
enum { kPreferencePermanent = 1, kPreferenceTemporary = 2 };

// The input record of GetConduitInfo kind kConduitInfoName.
typedef struct ConduitInfoRequest {
  uint32_t version;  // 1
  uint32_t size;     // sizeof(ConduitInfoRequest): 80
  uint32_t creator;
  uint32_t userId;
  char userName[kConduitUserNameSize];
} ConduitInfoRequest;

// GetConduitInfo kinds and results.
enum {
  kConduitInfoName = 0,
  kConduitInfoFrameworkVersion = 1,
  kConduitInfoDefaultAction = 2,
  kConduitInfoBadKind = 4208,
  kConduitInfoNullOutput = 4209,
  kConduitInfoBadSize = 4211,
  kConduitInfoNullInput = 4212,
  kConduitInfoBadInput = 4213,
  kConduitInfoNoName = 4214,
  kConduitInfoNullSize = 4215,
};

// The record of CfgConduit kind 0 (352 bytes).
typedef struct CfgConduitRecord {
  uint32_t version;  // 1
  uint32_t size;
  uint32_t creator;
  uint32_t userId;
  char userName[kConduitUserNameSize];
  uint8_t reserved[260];
  int32_t syncType;     // the current type: preselects the dialog
  int32_t newSyncType;  // the chosen type, set on OK
  int32_t preference;   // kPreference*, set on OK
} CfgConduitRecord;

// CfgConduit results.
enum {
  kCfgNullSize = 4216,
  kCfgBadKind = 4217,
  kCfgBadSize = 4218,
  kCfgBadVersion = 4219,
};

typedef int32_t (*OpenConduitFn)(void* window, CSyncProperties* properties);
typedef int32_t (*GetConduitNameFn)(char* buffer, uint16_t length);
typedef uint32_t (*GetConduitVersionFn)(void);
typedef int32_t (*ConfigureConduitFn)(CSyncPreference* preference);
typedef int32_t (*GetConduitInfoFn)(int32_t kind, const void* input, void* output, uint32_t* size);
typedef int32_t (*CfgConduitFn)(int32_t kind, void* record, uint32_t* size);

#ifdef __cplusplus
}  // extern "C"

static_assert(offsetof(CSyncProperties, syncType) == 0);
static_assert(offsetof(CSyncProperties, localDirectory) == 4);
static_assert(offsetof(CSyncPreference, registryPath) == 256);
static_assert(offsetof(CSyncPreference, keyHandle) == 512);
static_assert(offsetof(CSyncPreference, preference) == 516);
static_assert(offsetof(CSyncPreference, syncType) == 520);
static_assert(sizeof(ConduitInfoRequest) == 80);
static_assert(offsetof(CfgConduitRecord, creator) == 8);
static_assert(offsetof(CfgConduitRecord, userId) == 12);
static_assert(offsetof(CfgConduitRecord, userName) == 16);
static_assert(offsetof(CfgConduitRecord, syncType) == 340);
static_assert(offsetof(CfgConduitRecord, newSyncType) == 344);
static_assert(offsetof(CfgConduitRecord, preference) == 348);
static_assert(sizeof(CfgConduitRecord) == 352);
#endif
