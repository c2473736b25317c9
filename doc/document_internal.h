#pragma once
// DocumentInternal: the parts of a Document kept off its public face, for the
// tests of the doc folder: the header record of its model, the link step and
// the temporary file of a .doc conversion (NewDocumentTempFile).
#include <memory>
#include <string>
#include <utility>

#include "doc/document.h"
#include "doc/document_link.h"
#include "doc/document_storage.h"

namespace brevora::doc {

class DocumentInternal {
 public:
  static const DocumentHeader& Header(const Document& document) { return document.model_.header; }
  static void SetLinkStep(Document& document, std::shared_ptr<DocumentLinkStep> step) {
    document.SetLinkStep(std::move(step));
  }
  static std::string GetTempFile(const Document&) { return NewDocumentTempFile(); }
};

}  // namespace brevora::doc
