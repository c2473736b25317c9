// The connectivity module's one exported entry: hosts that load libtabrelpc.so
// through the class registry (HKEY_CLASSES_ROOT InprocServer32) ask it for the
// classes the module registers in process.
#include "platform/automation/class_registry.h"

BREVORA_EXPORT_OBJECTS()
