#pragma once
// The storage of a workbook: free functions that read and write a
// WorkbookModel (sheet/workbook_model.h) as the desktop workbook file
// (workbook_tbr.cpp; layout in sheet/tbr_format.h), the handheld spreadsheet
// database (workbook_pdb.cpp; sheet/workbook_pdb_format.h) and the server
// database object of the RivorOdurov host (workbook_server.cpp;
// sheet/server_layout.h). They know nothing of the Workbook object: the files
// are given to them, and the link step, the user's store and the .xls
// conversions stay with the Workbook. They raise the errors of the layers
// below and the ones named here; the outer wrapping that names the bound file
// is the Workbook's. Where a step named below wraps an error as 32760 with its
// own source and text, an error already numbered 32760 passes that step
// unchanged.
//
// The writers take the model non-const: filling the header record repairs a
// current sheet outside the sheets (HeaderFromModel), and a write may renew
// the flags or the modified flag as noted.
#include <functional>
#include <string>
#include <string_view>

#include "platform/automation/variant.h"
#include "sheet/workbook_model.h"

namespace brevora::sheet {

// ---- The desktop workbook file (workbook_tbr.cpp) ----------------------------

// Reads the desktop workbook file `file` into `model`. The content is reset
// and the header record cleared first, so that an older file inherits nothing
// of what was read before. When `relinked` is given it is called with the
// header just read; when it returns true (it converted the linked file into
// `file`) the file is read again from the start. Then the header is applied
// (HeaderToModel, after the file's modified flag is taken) and, with
// `readCells`, the cell lines added to the sheets (comma lines for versions 4
// and 5). A file that cannot be read raises 32760 "SDK.OpenRead" "Could not
// open for read."; the errors of the header and the cell lines pass as they
// are.
void ReadWorkbookFile(const std::string& file, bool readCells, WorkbookModel& model,
                      const std::function<bool(WorkbookHeader&)>& relinked = {});
// Reads only the header of the template `file` into the reset model, which is
// then modified and needs a recalculation. Raises as ReadWorkbookFile.
void ReadWorkbookTemplate(const std::string& file, WorkbookModel& model);
// Fills the model's header record from it (HeaderFromModel) and refuses texts
// the desktop file cannot hold (32760 "Workbook.CheckTexts"), before anything
// is written.
void PrepareWorkbookFileHeader(WorkbookModel& model);
// Replaces `file` with the model as a version-9 desktop workbook file (through
// a temporary file renamed over it): PrepareWorkbookFileHeader, the header
// (32760 "Workbook.WriteHeader" "Could not write header."), the cell lines of
// every sheet (32760 "Workbook.WriteCells" "Error in WriteCells."); a file
// that cannot be written raises 32760 "SDK.OpenWrite" "Could not open for
// write.". The text is built whole before the file is touched.
void WriteWorkbookFile(WorkbookModel& model, const std::string& file);
// Replaces `file` (through a temporary file renamed over it) with the model's
// header record as it stands, written with the model's modified flag and
// current sheet, followed by the cell lines of the desktop file `cellSource`
// (which may be `file` itself; the comma lines of an older file become tab
// lines), and takes the modified flag of `cellSource` into the model. A
// failure raises 32760 "Workbook.UpdateHeader" "Could not update header."
// with the inner error's text; an error already numbered 32760 passes
// unchanged: a header that cannot be written ("Workbook.WriteHeader"), a
// source that cannot be read ("SDK.OpenRead"), a failed copy of the lines
// (32760 "Workbook.CopyFromTo" "Error in CopyFromTo.") or a file that cannot
// be written ("SDK.OpenWrite").
void RewriteWorkbookFileHeader(WorkbookModel& model, const std::string& cellSource,
                               const std::string& file);
// A new empty temporary file "tbr..." in the system temporary folder; the
// caller removes it. 32760 "Workbook.GetTempFile" "Could not get temp file."
// with the system's text.
std::string NewWorkbookTempFile();

// ---- The handheld spreadsheet database (workbook_pdb.cpp) ---------------------

// Replaces the handheld database `file` with the model (through a temporary
// file renamed over it; HandheldDatabase::WriteFile and its errors), the
// database named after the file without folders and a final ".PDB" in any
// letter case. What a handheld workbook cannot hold (more than 15 sheets, a
// sheet name empty there, a tab in a cell) is refused with 32760
// "Workbook.WriteToPDB" before anything is written.
void WriteWorkbookDatabase(WorkbookModel& model, std::string_view file);
// Reads the handheld database `file` into `model`, starting from a new
// workbook's defaults (InitWorkbookDefaults) with empty sheets and styles:
// the version, the application-info block (category, modified, header; its
// errors keep their number, with source "LoadAppInfoString" and "Error loading
// App Info String" before their text) and one cell per record. Another kind of
// database raises 32760 "Document.OpenFromPDB" "Could not open workbook
// '<file>'." with the reason on a second line. Any error already numbered
// 32760 passes unchanged: that one, a read error numbered 32760, or the 32760
// "Workbook.HeaderToObjects" error, which leaves as 32760 "LoadAppInfoString".
// Any other becomes 32760 "Document.OpenFromPDB" "Unable to open from PDB."
// with the error's text on a second line.
void ReadWorkbookDatabase(std::string_view file, WorkbookModel& model);

// ---- The server database object (workbook_server.cpp) -------------------------

// Writes the model into the late-bound server database object `database`:
// SetLayouts (a refusal raises 0x80040110 "Could not set layout for database
// object"), Parse and setVersion; only then the model's IsServerSync flag is
// set (it stays unset when one of those three fails), and the header is
// written as 900 application-info items, then one record per cell and the
// creation time. Errors keep their number and description, source "tabrelpc";
// what was passed before stays in the object.
void WriteWorkbookServerDatabase(WorkbookModel& model, const Variant& database);
// Reading a workbook back from a server database object is refused without
// calling it: 0x80040114 "Not implemented.".
[[noreturn]] void ReadWorkbookServerDatabase(const Variant& database, WorkbookModel& model);

}  // namespace brevora::sheet
