#pragma once
// The Session value set: the ten Session values that the converters hand to an
// Office add-in before a conversion macro ("SetSession") and take back after it
// ("GetSession"), always in this order. Where they are stored by name, the names
// are kSessionValueNames.
//
// Taking the set back assigns the values through the Session's own setters in
// the same order, so the user id and name select the current user again and the
// server values go to the user manager. Missing or empty values read back as
// "", 0 and False.
#include <array>
#include <span>

#include "platform/automation/variant.h"

namespace brevora::core {
class Session;
}

namespace brevora::office {

inline constexpr int kSessionValueCount = 10;
inline constexpr std::array<const char*, kSessionValueCount> kSessionValueNames = {
    "SERVERMODE", "FRIENDLYNAME", "FILEMODE", "USERID",       "USERNAME",
    "PARAM1",     "PARAM2",       "PARAM3",   "ERRORMESSAGE", "ERRORNUMBER"};

// IsServerMode, RivorOdurovFriendlyName, FileMode, UserID, UserName,
// Parameter1-3 (as they are), ErrorMessage, ErrorNumber.
std::array<Variant, kSessionValueCount> GetSessionValues(const core::Session& session);

// Assigns the ten values in order: Boolean, string, 16-bit file mode, 32-bit id,
// string, the three parameters as strings, string, 32-bit number. A value that
// does not convert raises the conversion's error (13, 6) and stops there.
void SetSessionValues(core::Session& session, std::span<const Variant, kSessionValueCount> values);

}  // namespace brevora::office
