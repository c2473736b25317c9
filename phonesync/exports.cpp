// The entries of libbvsync.so: the engine class, registered in process when
// the library loads and handed out through BrevoraCreateObject to hosts that
// found the library through HKEY_CLASSES_ROOT, and BrevoraRegisterServer,
// which writes those entries (ProgID "BVSync.BVSyncEngine" -> CLSID ->
// InprocServer32 = this library's path). Only these two are exported.
#include <cstdint>
#include <memory>

#include "phonesync/frm_send_to.h"
#include "phonesync/library_folder.h"
#include "phonesync/sync_engine.h"
#include "platform/automation/class_registry.h"
#include "platform/error/error.h"

namespace {

using namespace brevora;
using namespace brevora::bvsync;

const ClassRegistration engineClass(kEngineProgId, kEngineClsid, [] {
  return Ref<Dispatch>(MakeRef<BVSyncEngine>(std::make_shared<FormPicker>()));
});

}  // namespace

BREVORA_EXPORT_OBJECTS()

// 0 when the entries were written, else the number of the error that stopped it.
extern "C" __attribute__((visibility("default"))) int32_t BrevoraRegisterServer() {
  try {
    RegisterServer(kEngineProgId, kEngineClsid, LibraryFile());
    return 0;
  } catch (...) {
    const int32_t number = CurrentError().number();
    return number != 0 ? number : 5;
  }
}
