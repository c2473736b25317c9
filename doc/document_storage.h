#pragma once
// The storage forms of a document, as functions over DocumentModel
// (doc/document_model.h). Each form has its own source file:
//   desktop document file .scv           document_disk.cpp
//   plain text, HTML, e-texts            document_text.cpp
//   handheld document and PalmDOC dbs    document_pdb.cpp
//   a server database object             document_zazer.cpp
// (.doc files go through the Word converter and a temporary desktop file: the
// conversions are members of Document itself, in document_word.cpp, with the
// temporary file from NewDocumentTempFile.)
//
// The binding to a file (the bound path, a header-only open) belongs to
// Document: these functions get the paths they work on. Errors are raised as
// automation errors, as each function says. A 32760 wrap carries the inner
// operation's source and message, CR LF and the inner description, except that
// an inner error already numbered 32760 passes through it unchanged. Document's
// open and save members (doc/document.cpp) put their own error around most of
// these calls: OpenFromDisk and WriteToDisk around every error, the others
// only around one not already numbered 32760; OpenFromPDB and OpenFromDOCPDB
// call the database readers, and WriteToZazerDB the server copy, without one.
// Files are written whole through a temporary file renamed over the target.
#include <cstddef>
#include <string>
#include <string_view>

#include "doc/document_model.h"

namespace brevora::core {
class HandheldDatabase;
}

namespace brevora {
class Dispatch;
}

namespace brevora::doc {

// ---- Desktop document file (document_disk.cpp) ----

// A desktop file read whole, and the byte position where its text begins.
struct DocumentFileBytes {
  std::string bytes;
  size_t textPosition = 0;
};

// Reads the desktop file `file` whole and its header into model.header and
// model.isModified (a file without a header keeps model.header). 32760
// "Document.OpenRead" "Could not open for read." when the file cannot be read,
// 32760 "Document.ReadHeader" "This Document is corrupt or is not a Scrivane
// file.  " for a bad header; the model is unchanged then.
DocumentFileBytes ReadDocumentFileHeader(std::string_view file, DocumentModel& model);
// The text of a desktop, text or HTML file (doc/body_reader.h) into
// model.blocks; an empty DocName becomes the first line of the text (of its
// first 31 characters, markup stripped).
void ReadDocumentBody(std::string_view body, bool asHtmlBreaks, DocumentModel& model);
// The text of a file read by ReadDocumentFileHeader into model.blocks, as ReadDocumentBody.
void ReadDocumentFileText(const DocumentFileBytes& file, DocumentModel& model);
// Writes the model (header and text) as the desktop file `file`. 32760
// "Document.WriteHeader" "Could not write header." or "Document.WriteDocument"
// "Could not write document.".
void WriteDocumentFile(const DocumentModel& model, std::string_view file);
// Writes the model's header with the text of the desktop file `source` as the
// desktop file `file` (which may be `source`). The reading and writing errors
// named above (all 32760) pass unchanged; any other failure is wrapped in
// 32760 "Document.UpdateHeader" "Could not update header.".
void RewriteDocumentFileHeader(const DocumentModel& model, std::string_view source,
                               std::string_view file);

// ---- Plain text, HTML, e-texts (document_text.cpp) ----

// The bytes of a text or HTML file; the file errors pass unchanged.
std::string ReadDocumentTextFile(std::string_view file);
// Plain text (an e-text when its first line names Gutenberg) into
// model.blocks, markup characters escaped; an empty DocName becomes the first
// line. An e-text that cannot be read raises 32760 "Document.ReadDocument"
// "Could not read document.".
void ReadDocumentPlainText(std::string_view bytes, DocumentModel& model);
// HTML into model.blocks, its markup kept; an empty DocName becomes the first line.
void ReadDocumentHtml(std::string_view bytes, DocumentModel& model);
// Writes the model's text, as a desktop file's text, to `file`; the file errors
// pass unchanged.
void WriteDocumentTextFile(const DocumentModel& model, std::string_view file);

// ---- Handheld databases (document_pdb.cpp) ----

// Writes the model as the suite's handheld document database `file` (91 when
// the model has no blocks); the writer's errors pass unchanged.
void WriteDocumentDatabase(const DocumentModel& model, std::string_view file);
// Writes the model as the PalmDOC database `file`, the same way.
void WritePalmDocDatabase(const DocumentModel& model, std::string_view file);
// Reads `db`, already read from `file`, into the model. A database with the
// PalmDOC creator goes to ReadPalmDocDatabase. Another type or creator than
// the suite's document database raises 32760 "Document.OpenFromPDB" "Could not
// open Document '<file>'." CR LF "Unrecognized PDB type.  Only PDB files in DOC
// format are supported.". A reader error not numbered 32760 is wrapped in
// 32760 "Document.OpenFromPDB" "Unable to open from PDB."; one numbered 32760
// passes unchanged.
void ReadDocumentDatabase(const core::HandheldDatabase& db, std::string_view file,
                          DocumentModel& model);
// The same for PalmDOC (source "Document.OpenFromDOCPDB", wrap text "Unable to
// open from DOC PDB."); a database with the suite's creator goes to
// ReadDocumentDatabase.
void ReadPalmDocDatabase(const core::HandheldDatabase& db, std::string_view file,
                         DocumentModel& model);

// ---- Server database object (document_zazer.cpp) ----

// Copies the model into a RivorOdurov database object, late-bound: the version,
// the application-info block, the header record (with the category), one record
// per text block and per stored bookmark, the creation time. Sets the model's
// server-sync flag once the version is set. Errors leave with their number and
// description and the source "tabrelpc".
void WriteDocumentServerDatabase(DocumentModel& model, Dispatch& zazerDB);

// ---- Word conversions (document_word.cpp) ----

// A new empty file "SCV..." in the temporary folder, for a .doc conversion to
// go through; the caller removes it. 32760 "Document.GetTempFile" "Could not
// get temporary file." on failure.
std::string NewDocumentTempFile();

}  // namespace brevora::doc
