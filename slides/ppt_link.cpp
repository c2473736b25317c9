#include "slides/ppt_link.h"

#include <string>

#include "core/session.h"
#include "office/link_sync.h"
#include "platform/error/error.h"
#include "slides/presentation.h"
#include "slides/sdk_presentation.h"

namespace brevora::slides {
namespace {

Ref<SDK_Presentation> ConverterFor(Presentation& presentation) {
  Ref<SDK_Presentation> sdk = MakeRef<SDK_Presentation>();
  sdk->SetSession(presentation.ApplicationSession());
  return sdk;
}

}  // namespace

bool PptLink::SyncLinkedFile(Presentation& presentation, PresentationLinkInfo& link, bool onOpen) {
  const std::string linked = link.fileName;
  try {
    if (linked.empty()) return false;
    if (onOpen) {
      if (!office::LinkedFileIsNewer(linked, link.modDateTime)) return false;
      ConverterFor(presentation)->PPTToPDBExtSync(linked, presentation.FullPath(), linked);
      return true;
    }
    ConverterFor(presentation)->PDBToPPTExtSync(presentation.FullPath(), linked, linked);
    link.modDateTime = office::LinkedFileSeconds(linked);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.CheckLinkUpdate",
                    "Could not update link '" + linked + "'.");
  }
}

}  // namespace brevora::slides
