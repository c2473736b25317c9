#pragma once
// Word as the document converter drives it, late-bound through the automation
// layer ("Word.Application"): getting it, its version, the suite's add-in
// template for that version and loading it. Linux has no Word: creating one
// fails with 429, which GetWordObject raises as its failure.
//
// Failures are raised as the converter's private steps raise them: 32760 with
// source "SDK_Document.<step>" and the step's message, CR LF and the inner
// description; an error already numbered 32760 passes on unchanged.
#include <cstdint>
#include <string>

#include "office/office_object.h"
#include "platform/automation/dispatch.h"

namespace brevora::doc {

inline constexpr const char* kWordProgId = "Word.Application";
inline constexpr int16_t kMinimumWordVersion = 8;

// Word for one call (office/office_object.h, the shape the Excel and
// PowerPoint drivers share): the holder hands it back on every path by where it
// came from (quit when we started it, released to the pool, else left running);
// `app` is what the macros run in. The version is read when needed, not kept.
using WordObject = office::OfficeObject;

// Attaches to a running Word, else starts one (made invisible, then the
// message loop runs 50 times); a Word older than 8 is refused ("This API
// requires Word 8 or newer."). Gives Word's Application object.
WordObject GetWordObject();
// Server mode: the Word that the server pool lends (GetServer, ServerObject).
WordObject WordFromPool();

// The number at the start of Word's Version text ("9.0" gives 9).
int16_t WordVersion(Dispatch& word);
// The add-in template of this Word: "scriv5.dot" for 5, "scriv7.dot" for 7,
// "scriv8.dot" for any other version.
std::string AddInName(Dispatch& word);
// Makes sure the add-in is loaded: one listed in Word's AddIns ("SCRIV*") is
// left as it is; otherwise the template found in Word's startup folder or in
// the program folder of HKEY_CLASSES_ROOT "Word.AddIn\shell\open\command" is
// opened with Documents.Open; none found: 32760 (source "SDK_Document") "The
// Scrivane add-in is not installed. ...".
void OpenAddIn(Dispatch& word);

}  // namespace brevora::doc
