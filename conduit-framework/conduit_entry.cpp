#include "conduit-framework/conduit_entry.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "conduit-framework/product.h"
#include "platform/hotsync/action_dialog.h"

namespace brevora::conduit {
namespace {

constexpr uint32_t kInfoVersion = 1;
constexpr uint32_t kCfgRecordSize = sizeof(CfgConduitRecord);

// Runs the action dialog preselected for `syncType`; on OK sets the chosen
// type and the preference.
bool RunActionDialog(const Product& product, int32_t syncType, int32_t& chosenType,
                     int32_t& preference) {
  char title[80];
  GetConduitName(product, title, sizeof title);
  int32_t choice = ChoiceOfSyncType(syncType);
  int32_t makeDefault = 0;
  if (HotSyncActionDialog(title, &choice, &makeDefault) != kActionDialogOk) return false;
  chosenType = SyncTypeOfChoice(choice);
  preference = makeDefault ? kPreferencePermanent : kPreferenceTemporary;
  return true;
}

}  // namespace

int32_t ChoiceOfSyncType(int32_t syncType) {
  switch (syncType) {
    case kSyncTypeHandheldOverwrites:
      return 2;
    case kSyncTypeDesktopOverwrites:
      return 1;
    default:
      return syncType > 3 ? 3 : 0;
  }
}

int32_t SyncTypeOfChoice(int32_t choice) {
  switch (choice) {
    case 1:
      return kSyncTypeDesktopOverwrites;
    case 2:
      return kSyncTypeHandheldOverwrites;
    case 3:
      return kSyncTypeDoNothing;
    default:
      return kSyncTypeSynchronize;
  }
}

int32_t GetConduitName(const Product& product, char* buffer, uint16_t length) {
  if (buffer == nullptr || length == 0) return 0;
  std::memset(buffer, 0, length);
  const std::string& name = product.name;
  std::memcpy(buffer, name.data(), std::min<std::size_t>(name.size(), length - 1u));
  return 0;
}

uint32_t GetConduitVersion() { return kConduitVersion; }

int32_t ConfigureConduit(const Product& product, CSyncPreference* preference) {
  if (preference == nullptr) return -1;
  preference->preference = 0;
  int32_t type = 0;
  int32_t chosenPreference = 0;
  if (!RunActionDialog(product, preference->syncType, type, chosenPreference)) return -1;
  preference->syncType = type;
  preference->preference = chosenPreference;
  return 0;
}

int32_t GetConduitInfo(const Product& product, int32_t kind, const void* input, void* output,
                       uint32_t* size) {
  if (output == nullptr) return kConduitInfoNullOutput;
  if (size == nullptr) return kConduitInfoNullSize;
  switch (kind) {
    case kConduitInfoName: {
      if (input == nullptr) return kConduitInfoNullInput;
      ConduitInfoRequest request;
      std::memcpy(&request, input, sizeof request);
      if (request.version != kInfoVersion || request.size != sizeof(ConduitInfoRequest)) {
        return kConduitInfoBadInput;
      }
      if (*size == 0) return kConduitInfoNoName;
      const std::string& name = product.name;
      const std::size_t length = std::min<std::size_t>(name.size(), *size - 1u);
      std::memcpy(output, name.data(), length);
      static_cast<char*>(output)[length] = '\0';
      return 0;
    }
    case kConduitInfoFrameworkVersion:
    case kConduitInfoDefaultAction: {
      if (*size != sizeof(uint32_t)) return kConduitInfoBadSize;
      const uint32_t value = kind == kConduitInfoFrameworkVersion ? kFrameworkVersion : 0;
      std::memcpy(output, &value, sizeof value);
      return 0;
    }
    default:
      return kConduitInfoBadKind;
  }
}

int32_t CfgConduit(const Product& product, int32_t kind, void* record, uint32_t* size) {
  if (record == nullptr) return kConduitInfoNullInput;
  if (size == nullptr) return kCfgNullSize;
  if (*size != kCfgRecordSize) return kCfgBadSize;
  if (kind != 0) return kCfgBadKind;
  auto* cfg = static_cast<CfgConduitRecord*>(record);
  if (cfg->version != kInfoVersion) return kCfgBadVersion;

  ConduitInfoRequest request{};
  request.version = kInfoVersion;
  request.size = sizeof request;
  request.creator = cfg->creator;
  request.userId = cfg->userId;
  std::memcpy(request.userName, cfg->userName, sizeof request.userName - 1);
  char name[256];
  uint32_t nameSize = sizeof name;
  if (const int32_t rc = GetConduitInfo(product, kConduitInfoName, &request, name, &nameSize);
      rc != 0)
    return rc;

  int32_t type = 0;
  int32_t preference = 0;
  if (!RunActionDialog(product, cfg->syncType, type, preference)) return -1;
  cfg->newSyncType = type;
  cfg->preference = preference;
  return 0;
}

}  // namespace brevora::conduit
