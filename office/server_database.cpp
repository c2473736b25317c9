#include "office/server_database.h"

#include "core/module_error.h"
#include "platform/automation/call_by_name.h"
#include "platform/automation/convert.h"
#include "platform/time/dates.h"
#include "support/tabrelc.h"

namespace brevora::office {

namespace {

bool IsTrue(const Variant& result) {
  if (result.IsNull() || result.IsEmpty()) return false;
  try {
    return CBool(result);
  } catch (const AutomationError&) {
    return false;
  }
}

}  // namespace

void AddServerRecord(Dispatch& database) {
  if (!IsTrue(CallByName(database, "AddNewRecord", CallKind::Method))) {
    core::RaiseModuleError(kCannotAddRecordError, "Cannot add new record.");
  }
}

int32_t ServerCreationTime(double localDate) {
  const std::string minutes = FormatDouble(localDate * 1440);
  return static_cast<int32_t>(ULongStrToLong(minutes.c_str(), nullptr));
}

void SetServerCreationTime(Dispatch& database) {
  Variant time[] = {Variant(ServerCreationTime(dates::NowVbDate()))};
  database.Invoke("SetCreationTime", CallKind::Method, time);
}

}  // namespace brevora::office
