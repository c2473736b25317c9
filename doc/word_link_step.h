#pragma once
// WordLinkStep: the link of a document to its .doc file, run through the
// document converter (SDK_Document) when the document is opened with the
// update switch or saved with the link switch. Every Document has one from
// its creation.
//
// Reading direction: when the linked file exists and its modification time,
// in seconds (DaysToSeconds), is at least 1 second newer than the stored time,
// the converter's DOCToSCVExt_Sync(link, desktop file, link) rewrites the
// desktop file (the document then reads it again). Writing direction:
// SCVToDOCExt_Sync(desktop file, link, link), then the stored time becomes the
// linked file's new modification time (the document writes it into the file).
// The sync method is not consulted: the caller's switch decides, and the
// method is the document conduit's rule during a HotSync. A document without a
// link name does nothing.
//
// Failures: 32760 "Document.CheckLinkUpdate" "Could not update link
// '<name>'." CR LF and the inner description; the converter's errors, already
// 32760, pass unchanged.
#include "doc/document_link.h"

namespace brevora::doc {

class WordLinkStep : public DocumentLinkStep {
 public:
  bool CheckLinkUpdate(Document& document, DocumentHeader& header, bool readDirection) override;
};

}  // namespace brevora::doc
