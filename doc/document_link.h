#pragma once
// DocumentLinkStep: how a document reaches the link to its .doc file when it
// is opened with the update switch or saved with the link switch. A new
// Document has the Word link step (doc/word_link_step.h); another may be given
// with Document::SetLinkStep, and with none both directions do nothing.
#include "doc/document_header.h"

namespace brevora::doc {

class Document;

class DocumentLinkStep {
 public:
  virtual ~DocumentLinkStep() = default;

  // Reading direction (`readDirection` true): converts a newer linked file into
  // the document's desktop file and returns true when it did, so that the file
  // is read again. Writing direction: converts the saved desktop file out to
  // the linked file, renews the time in `header` and returns true when it did.
  // Errors are raised as automation errors.
  virtual bool CheckLinkUpdate(Document& document, DocumentHeader& header, bool readDirection) = 0;
};

}  // namespace brevora::doc
