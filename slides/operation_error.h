#pragma once
// The error of a failed outer operation of a presentation (open, save, header
// update): always 32760 with the operation's source and message, CR LF and the
// inner description, whatever the inner number was, so a message reads from
// the outside in, one line per level. (Inner operations use Wrap32760, which
// passes an error already numbered 32760 on unchanged.)
#include <string>

#include "platform/automation/error.h"

namespace brevora::slides {

inline AutomationError WrapOuter(const AutomationError& inner, const std::string& source,
                                 const std::string& message) {
  return AutomationError(kWrapError, source, message + "\r\n" + inner.description());
}

}  // namespace brevora::slides
