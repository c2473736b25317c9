#pragma once
// The storage of a presentation: free functions that read and write a
// PresentationModel (slides/presentation_model.h) as its handheld database
// (presentation_database.cpp; layout in slides/presentation_format.h) and that
// convert between such a database and a PowerPoint file (presentation_ppt.cpp).
// They know nothing of the Presentation object: the file, the image folder the
// pictures are unpacked into and the Session of the converter are given to
// them. They raise the errors of the layers below (and the ones named here);
// the outer wrapping that names the bound file is the Presentation's.
#include <string>
#include <string_view>

#include "platform/automation/object.h"
#include "slides/presentation_model.h"
#include "slides/presentation_writer.h"

namespace brevora::core {
class HandheldDatabase;
class Session;
}  // namespace brevora::core

namespace brevora::slides {

// ---- The handheld database (presentation_database.cpp) ----------------------

// Builds the whole database of `model` into `db` (named after `file`, created
// now) and replaces `file` with it through a temporary file. `db` keeps what
// was written, so that RewritePresentationHeader can renew the header.
void WritePresentationDatabase(const PresentationModel& model, std::string_view file,
                               core::HandheldDatabase& db);
// Puts the model's header into `db` as WritePresentationDatabase left it and
// replaces `file` with it again.
void RewritePresentationHeader(const PresentationModel& model, core::HandheldDatabase& db,
                               std::string_view file);

// Reads `file` into `db` (the record data only when `withRecords`), checks its
// kind (else 32760 "Presentation.OpenFromDisk" "PDB Is not a Slidora
// presentation"), takes the name, the modified flag and the reserved field into
// `model` and returns the header, whose link the caller applies.
PresentationHeader ReadPresentationHeader(std::string_view file, bool withRecords,
                                          core::HandheldDatabase& db, PresentationModel& model);
// Handles each record of `db` by its type, in file order: adds the slides with
// their outlines and notes to `model` and unpacks the pictures into
// `imageFolder` (a path ending in a separator, made by the caller). A picture
// part is appended only to a picture whose header record this read has seen:
// a part without one belongs to no slide, and a file made for it would outlive
// the presentation in its image folder. A thumbnail or second picture of a
// slide that does not exist raises 5.
void ReadPresentationRecords(const core::HandheldDatabase& db, std::string_view imageFolder,
                             PresentationModel& model);
// Reads `file` again and unpacks its pictures into `imageFolder`, attaching
// them to the slides `model` already has (no slide, outline or note is added).
void UnpackPresentationPictures(std::string_view file, std::string_view imageFolder,
                                PresentationModel& model);
// Rewrites only the application-info block of `file` from `model`; a file
// that is not a presentation raises as ReadPresentationHeader does.
void WritePresentationHeader(const PresentationModel& model, std::string_view file);
// True when `file` is a handheld database with creator "Sldr"; any error: false.
bool IsPresentationFile(std::string_view file);

// ---- PowerPoint conversions (presentation_ppt.cpp) ----------------------------

// A new temporary file name ("tbr..." in the temporary folder) for a
// conversion's database; failure: 32760 "Presentation.GetTempFile" "Could not
// get temp file.".
std::string NewPresentationTempFile();
// Converts `pptFile` into the database `databaseFile` through a new
// presentation converter working on `session`; raises the converter's errors.
void ConvertPptToDatabase(const Ref<core::Session>& session, std::string_view pptFile,
                          std::string_view databaseFile);
// Converts the database `databaseFile` into `pptFile` the same way.
void ConvertDatabaseToPpt(const Ref<core::Session>& session, std::string_view databaseFile,
                          std::string_view pptFile);

}  // namespace brevora::slides
