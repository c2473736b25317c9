// The six entry points a conduit plug-in exports, with C linkage, to the
// HotSync host, each for the plug-in's product (plugin.h). Compiled into each
// plug-in (brevora_conduit_plugin); everything else in a plug-in stays hidden.
#include "conduit-framework/conduit_entry.h"
#include "conduit-framework/conduit_run.h"
#include "conduit-framework/plugin.h"

#define CONDUIT_EXPORT extern "C" __attribute__((visibility("default")))

namespace conduit = brevora::conduit;

CONDUIT_EXPORT int32_t OpenConduit(void* window, CSyncProperties* properties) {
  return conduit::OpenConduit(conduit::PluginProduct(), window, properties);
}

CONDUIT_EXPORT int32_t GetConduitName(char* buffer, uint16_t length) {
  return conduit::GetConduitName(conduit::PluginProduct(), buffer, length);
}

CONDUIT_EXPORT uint32_t GetConduitVersion(void) { return conduit::GetConduitVersion(); }

CONDUIT_EXPORT int32_t ConfigureConduit(CSyncPreference* preference) {
  return conduit::ConfigureConduit(conduit::PluginProduct(), preference);
}

CONDUIT_EXPORT int32_t GetConduitInfo(int32_t kind, const void* input, void* output,
                                      uint32_t* size) {
  return conduit::GetConduitInfo(conduit::PluginProduct(), kind, input, output, size);
}

CONDUIT_EXPORT int32_t CfgConduit(int32_t kind, void* record, uint32_t* size) {
  return conduit::CfgConduit(conduit::PluginProduct(), kind, record, size);
}
