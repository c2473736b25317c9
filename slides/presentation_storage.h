#pragma once
// The storage of a presentation: free functions that read and write a
// PresentationModel (slides/presentation_model.h) as its handheld database
// (presentation_database.cpp; layout in slides/presentation_format.h), and the
// temporary database file of a PowerPoint conversion (presentation_ppt.cpp;
// the conversions themselves are the Presentation's OpenFromPPT and
// WriteToPPT, defined there too). They know nothing of the Presentation
// object: the file and the image folder the pictures are unpacked into are
// given to them. They raise the errors of the layers below unwrapped (and the
// ones named here); the outer wrapping that names the bound file is the
// Presentation's.
#include <string>
#include <string_view>

#include "slides/presentation_model.h"
#include "slides/presentation_writer.h"

namespace brevora::core {
class HandheldDatabase;
}  // namespace brevora::core

namespace brevora::slides {

// ---- The handheld database (presentation_database.cpp) ----------------------

// Builds the whole database of `model` into `db` (named after `file`, with the
// model's version and the creation date now) and replaces `file` with it
// through a temporary file. `db` keeps what was written, so that
// RewritePresentationHeader can renew the header.
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
// Handles each record of `db` by its type, in file order: takes the slide
// count and name of the info record, adds the slides with their outlines and
// notes to `model` and unpacks the pictures into `imageFolder` (a path ending
// in a separator, made by the caller). A picture
// part is appended only to a picture whose header record this read has seen:
// a part without one belongs to no slide, and a file made for it would outlive
// the presentation in its image folder. A thumbnail or second picture of a
// slide that does not exist raises 5.
void ReadPresentationRecords(const core::HandheldDatabase& db, std::string_view imageFolder,
                             PresentationModel& model);
// Reads `file` again (its kind is not checked) and unpacks its pictures into
// `imageFolder` for the slides `model` already has: thumbnails and second
// pictures are attached to their slides (5 when the slide does not exist); no
// slide, outline, note, count or name is taken.
void UnpackPresentationPictures(std::string_view file, std::string_view imageFolder,
                                PresentationModel& model);
// Rewrites only the application-info block of `file` from `model`; a file
// that is not a presentation raises as ReadPresentationHeader does.
void WritePresentationHeader(const PresentationModel& model, std::string_view file);
// True when `file` is a handheld database with creator "Sldr"; any error: false.
bool IsPresentationFile(std::string_view file);

// ---- PowerPoint conversions (presentation_ppt.cpp) --------------------------

// A new empty temporary file ("tbr..." in the temporary folder) for the
// database a conversion goes through; the caller removes it. Failure: 32760
// "Presentation.GetTempFile" "Could not get temp file." CR LF the system's
// description.
std::string NewPresentationTempFile();

}  // namespace brevora::slides
