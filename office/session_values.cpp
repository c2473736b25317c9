#include "office/session_values.h"

#include "core/session.h"
#include "platform/automation/convert.h"

namespace brevora::office {

std::array<Variant, kSessionValueCount> GetSessionValues(const core::Session& session) {
  return {Variant(session.IsServerMode()),
          Variant(session.RivorOdurovFriendlyName()),
          Variant(session.FileMode()),
          Variant(session.UserID()),
          Variant(session.UserName()),
          session.Parameter1(),
          session.Parameter2(),
          session.Parameter3(),
          Variant(session.ErrorMessage()),
          Variant(session.ErrorNumber())};
}

void SetSessionValues(core::Session& session, std::span<const Variant, kSessionValueCount> values) {
  session.SetIsServerMode(CBool(values[0]));
  session.SetRivorOdurovFriendlyName(CStr(values[1]));
  session.SetFileMode(CInt(values[2]));
  session.SetUserID(CLng(values[3]));
  session.SetUserName(CStr(values[4]));
  session.SetParameter1(Variant(CStr(values[5])));
  session.SetParameter2(Variant(CStr(values[6])));
  session.SetParameter3(Variant(CStr(values[7])));
  session.SetErrorMessage(CStr(values[8]));
  session.SetErrorNumber(CLng(values[9]));
}

}  // namespace brevora::office
