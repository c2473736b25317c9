#pragma once
// The hand-over between a Session and an Office add-in around a conversion
// macro, shared by the three converters (the value set itself, its order and
// names are in office/session_values.h):
//
//   - as text, for an add-in that keeps the ten values by name (the document
//     converter's Word document variables): SessionValueTexts gives each value
//     as the text to store, SetSessionValuesFromTexts takes the texts back.
//     Server mode travels as "1" or "0" so that it reads back as a number;
//     numbers come back as the number at the start of their text ("" and text
//     that is no number read 0); a number out of range raises 6.
//   - the error slot: the add-in reports a failure by leaving a message or a
//     number in the Session's ErrorMessage and ErrorNumber. ClearErrorSlot
//     empties it before the macros run; RaiseErrorSlot raises what the add-in
//     left there afterwards: its number (32760 when it gave a message with
//     number 0, since 0 is no error number), source "Brevora", its message.
//     The converters' handlers then treat it as any other error: 32760 passes
//     on unchanged, any other number is wrapped in their own message.
#include <array>
#include <span>
#include <string>
#include <string_view>

#include "office/session_values.h"

namespace brevora::core {
class Session;
}

namespace brevora::office {

inline constexpr const char* kAddInErrorSource = "Brevora";

std::array<std::string, kSessionValueCount> SessionValueTexts(const core::Session& session);
void SetSessionValuesFromTexts(core::Session& session,
                               std::span<const std::string, kSessionValueCount> texts);

// The number at the start of `text`: blanks, an optional sign, digits and an
// optional fraction; 0 when there is none.
double LeadingNumber(std::string_view text);

void ClearErrorSlot(core::Session& session);
// Raises when ErrorMessage is not "" or ErrorNumber is not 0; else returns.
void RaiseErrorSlot(const core::Session& session);

}  // namespace brevora::office
