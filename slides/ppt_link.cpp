#include "slides/ppt_link.h"

#include <string>

#include "core/link_sync.h"
#include "core/session.h"
#include "platform/automation/error.h"
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
    if (linked.empty() || !core::LinkFollows(link.syncMethod, onOpen)) return false;
    if (onOpen) {
      if (!core::LinkedFileIsNewer(linked, link.modDateTime)) return false;
      ConverterFor(presentation)->PPTToPDBExt_Sync(linked, presentation.FullPath(), linked);
      return true;
    }
    ConverterFor(presentation)->PDBToPPTExt_Sync(presentation.FullPath(), linked, linked);
    link.modDateTime = core::LinkedFileSeconds(linked);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.CheckLinkUpdate",
                    "Could not update link '" + linked + "'.");
  }
}

}  // namespace brevora::slides
