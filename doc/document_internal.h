#pragma once
// DocumentInternal: the parts of a Document kept off its public face, for the
// tests of the doc folder: the header record as the document holds it, the
// link step and the temporary file.
#include <memory>
#include <string>
#include <utility>

#include "doc/document.h"

namespace brevora::doc {

class DocumentInternal {
 public:
  static const DocumentHeader& Header(const Document& document) { return document.Header(); }
  static void SetLinkStep(Document& document, std::shared_ptr<DocumentLinkStep> step) {
    document.SetLinkStep(std::move(step));
  }
  static std::string GetTempFile(const Document& document) { return document.GetTempFile(); }
};

}  // namespace brevora::doc
