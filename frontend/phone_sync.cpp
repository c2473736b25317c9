#include "frontend/phone_sync.h"

#include "platform/automation/call_by_name.h"
#include "platform/automation/class_registry.h"
#include "platform/automation/convert.h"
#include "platform/error/error.h"
#include "platform/services/message_box.h"

namespace brevora::frontend {

const MemberTable<SyncProgressSink>& SyncProgressSink::Members() {
  static const MemberTable<SyncProgressSink> table{
      {"Update", CallKind::Method,
       [](SyncProgressSink& sink, Args a) { sink.Update(CStr(a[0]), CInt(a[1])); }, 2}};
  return table;
}

std::string SyncProgressText(const std::string& message, int16_t percentage) {
  return message + "  " + std::to_string(percentage) + "% complete.";
}

void SynchronizePhone(const std::string& user, const Ref<SyncProgressSink>& progress) {
  try {
    const Ref<Dispatch> engine = CreateObjectFromClsid(kPhoneSyncEngineClsid);
    CallByName(engine, "Synchronize", CallKind::Method, user, int32_t{0}, Ref<Dispatch>(progress));
  } catch (...) {
    services::ShowMessage(
        {"Error synchronizing for Nokia device.  \r\n" + CurrentError().description(), "",
         services::MsgButtons::Ok});
  }
}

}  // namespace brevora::frontend
