#pragma once
// The conduit's entry points besides OpenConduit (conduit_run.h): its name and
// version, its information, and its action dialog (ConfigureConduit and the
// newer CfgConduit), each for the product the plug-in carries. exports.cpp
// gives them to the host under their C names.
#include <cstdint>

#include "platform/hotsync/conduit_api.h"

namespace brevora::conduit {

struct Product;

inline constexpr uint32_t kConduitVersion = 0x200;
inline constexpr uint32_t kFrameworkVersion = 1280;

// Clears `length` bytes and copies the name, at most length - 1 characters; a
// length of 0 (or no buffer) writes nothing. Returns 0.
int32_t GetConduitName(const Product& product, char* buffer, uint16_t length);
uint32_t GetConduitVersion();
// The action dialog for `preference`; 0 on OK, -1 on Cancel (or no record).
int32_t ConfigureConduit(const Product& product, CSyncPreference* preference);
int32_t GetConduitInfo(const Product& product, int32_t kind, const void* input, void* output,
                       uint32_t* size);
int32_t CfgConduit(const Product& product, int32_t kind, void* record, uint32_t* size);

// The dialog's choice for a sync type, and the type of a choice.
int32_t ChoiceOfSyncType(int32_t syncType);
int32_t SyncTypeOfChoice(int32_t choice);

}  // namespace brevora::conduit
