#pragma once
// Running one of the Scrivane add-in's macros in Word with the Session's
// values handed over. Word macros take no arguments here: the ten Session
// values travel as variables of a temporary document that the add-in reads and
// writes ("SERVERMODE" ... "ERRORNUMBER", office/session_values.h), as text
// (office/addin_session.h).
//
// RunWordMacro(word, session, name):
//   1. Run "Initialize" (a failure is ignored);
//   2. empty the Session's error slot, open the temporary document (the file
//      kTempDocumentName in the folder of the add-in, Word's AddIns entry of
//      AddInName), remembering the active document; cut the three parameters
//      at their first NUL; store the ten values as document variables;
//   3. Run "SetSession", the named macro, "GetSession";
//   4. read the ten variables back into the Session (through its setters),
//      close the temporary document without saving and activate the
//      remembered document again;
//   5. raise what the add-in left in the error slot.
// The temporary document is closed on every path. Failures are raised as 32760
// with source "SDK_Document.RunWordMacro" and "Could not run word macro
// '<name>'." (an error already 32760, the add-in's included, passes unchanged).
#include <string_view>

#include "platform/automation/dispatch.h"

namespace brevora::core {
class Session;
}

namespace brevora::doc {

// The document in the add-in's folder that carries the variables.
inline constexpr const char* kTempDocumentName = "ScrivSession.doc";

void RunWordMacro(Dispatch& word, core::Session& session, std::string_view macro);

}  // namespace brevora::doc
