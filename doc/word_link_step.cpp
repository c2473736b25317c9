#include "doc/word_link_step.h"

#include "core/mod_main.h"
#include "core/session.h"
#include "core/trim.h"
#include "doc/document.h"
#include "doc/sdk_document.h"
#include "frontend/tabrel_pc.h"
#include "platform/automation/error.h"
#include "platform/fs/files.h"

namespace brevora::doc {

namespace {

// The sync methods (Document::SyncMethodText).
constexpr int16_t kSynchronize = 0;
constexpr int16_t kPalmToDoc = 1;
constexpr int16_t kDocToPalm = 2;

// The link is followed in this direction under this method.
bool MethodAllows(int16_t method, bool readDirection) {
  return method == kSynchronize || method == (readDirection ? kDocToPalm : kPalmToDoc);
}

bool LinkedFileExists(const std::string& path) {
  try {
    return core::modMain::FileExists(path);
  } catch (const AutomationError&) {
    return false;  // a name the file system cannot hold names no file
  }
}

}  // namespace

bool WordLinkStep::CheckLinkUpdate(Document& document, DocumentHeader& header, bool readDirection) {
  const std::string link = header.LinkedDOCFileName;
  if (core::Trim(link).empty()) return false;
  try {
    if (!LinkedFileExists(link) && readDirection) return false;
    if (!MethodAllows(header.LinkedDOCSyncMethod, readDirection)) return false;
    Ref<SDK_Document> converter = MakeRef<SDK_Document>();
    if (document.App() && document.App()->Session()) converter->SetSession(document.App()->Session());
    if (readDirection) {
      const double linkedTime = core::DaysToSeconds(fs::FileDateTime(link));
      if (linkedTime - header.LinkedDOCFileModDateTime < 1.0) return false;
      converter->DOCToSCVExt_Sync(link, document.FullPath(), link);
      return true;
    }
    converter->SCVToDOCExt_Sync(document.FullPath(), link, link);
    header.LinkedDOCFileModDateTime = core::DaysToSeconds(fs::FileDateTime(link));
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Document.CheckLinkUpdate", "Could not update link '" + link + "'.");
  }
}

}  // namespace brevora::doc
