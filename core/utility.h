#pragma once
// Utility: text clean-up helpers of the connectivity module and the 16-bit
// counter step. (The font, form and dialog helpers live with the front end.)
#include <cstdint>
#include <string>
#include <string_view>

namespace brevora::core::Utility {

// Trace hook: takes a message and does nothing.
inline void Trace(std::string_view) {}

// value += amount; a result outside -32768..32767 raises 6 "Overflow" and
// leaves `value` unchanged.
void AddTo(int16_t& value, int16_t amount);

// The text before the first NUL; the whole text when there is none.
std::string TrimAtNull(std::string_view text);
// Every occurrence of `find` replaced by `replacement`, left to right, never
// looking again at inserted text; exact comparison. Unchanged when `find` is
// empty or absent. Runs in one pass, whatever the size of the text.
std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement);
// CR LF removed, then every vertical tab (code 11) replaced by a blank.
std::string StripLineBreaks(std::string_view text);
// Every LF replaced by CR LF (an existing CR LF becomes CR CR LF).
std::string LfToCrLf(std::string_view text);

}  // namespace brevora::core::Utility
