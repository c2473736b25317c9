#include "doc/word_link_step.h"

#include "core/application.h"
#include "core/session.h"
#include "core/text_cleanup.h"
#include "doc/document.h"
#include "doc/sdk_document.h"
#include "office/link_sync.h"
#include "platform/error/error.h"

namespace brevora::doc {

bool WordLinkStep::CheckLinkUpdate(Document& document, DocumentHeader& header, bool readDirection) {
  const std::string link = header.LinkedDOCFileName;
  if (core::Trim(link).empty()) return false;
  try {
    if (readDirection && !office::LinkedFileIsNewer(link, header.LinkedDOCFileModDateTime))
      return false;
    Ref<SDK_Document> converter = MakeRef<SDK_Document>();
    if (document.App() && document.App()->Session())
      converter->SetSession(document.App()->Session());
    if (readDirection) {
      converter->DOCToSCVExtSync(link, document.FullPath(), link);
      return true;
    }
    converter->SCVToDOCExtSync(document.FullPath(), link, link);
    header.LinkedDOCFileModDateTime = office::LinkedFileSeconds(link);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.CheckLinkUpdate",
                    "Could not update link '" + link + "'.");
  }
}

}  // namespace brevora::doc
