// The six entry points a conduit plug-in exports, with C linkage, to the
// HotSync host. Compiled into each plug-in (brevora_conduit_plugin), in that
// conduit's namespace; everything else in a plug-in stays hidden.
#include "conduit/framework/conduit_entry.h"
#include "conduit/framework/conduit_run.h"

#define CONDUIT_EXPORT extern "C" __attribute__((visibility("default")))

CONDUIT_EXPORT int32_t OpenConduit(void* window, CSyncProperties* properties) {
  return brevora::CONDUIT_NAMESPACE::OpenConduit(window, properties);
}

CONDUIT_EXPORT int32_t GetConduitName(char* buffer, uint16_t length) {
  return brevora::CONDUIT_NAMESPACE::GetConduitName(buffer, length);
}

CONDUIT_EXPORT uint32_t GetConduitVersion(void) { return brevora::CONDUIT_NAMESPACE::GetConduitVersion(); }

CONDUIT_EXPORT int32_t ConfigureConduit(CSyncPreference* preference) {
  return brevora::CONDUIT_NAMESPACE::ConfigureConduit(preference);
}

CONDUIT_EXPORT int32_t GetConduitInfo(int32_t kind, const void* input, void* output, uint32_t* size) {
  return brevora::CONDUIT_NAMESPACE::GetConduitInfo(kind, input, output, size);
}

CONDUIT_EXPORT int32_t CfgConduit(int32_t kind, void* record, uint32_t* size) {
  return brevora::CONDUIT_NAMESPACE::CfgConduit(kind, record, size);
}
