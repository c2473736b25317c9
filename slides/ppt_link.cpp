#include "slides/ppt_link.h"

#include <string>

#include "core/mod_main.h"
#include "core/session.h"
#include "platform/automation/error.h"
#include "platform/fs/files.h"
#include "slides/presentation.h"
#include "slides/sdk_presentation.h"

namespace brevora::slides {
namespace {

enum SyncMethod : int32_t { kSynchronize = 0, kPalmToPpt = 1, kPptToPalm = 2, kDoNothing = 3 };

Ref<SDK_Presentation> ConverterFor(Presentation& presentation) {
  Ref<SDK_Presentation> sdk = MakeRef<SDK_Presentation>();
  sdk->SetSession(presentation.ApplicationSession());
  return sdk;
}

// An error of the check counts as missing.
bool LinkedFileExists(const std::string& path) {
  try {
    return fs::FileExists(path);
  } catch (const AutomationError&) {
    return false;
  }
}

double LinkedFileSeconds(const std::string& path) {
  return core::DaysToSeconds(fs::FileDateTime(path));
}

}  // namespace

bool PptLink::Follows(int32_t syncMethod, bool onOpen) {
  if (syncMethod == kSynchronize) return true;
  return onOpen ? syncMethod == kPptToPalm : syncMethod == kPalmToPpt;
}

bool PptLink::SyncLinkedFile(Presentation& presentation, PresentationLinkInfo& link, bool onOpen) {
  const std::string linked = link.fileName;
  try {
    if (linked.empty() || !Follows(link.syncMethod, onOpen)) return false;
    if (onOpen) {
      if (!LinkedFileExists(linked)) return false;
      if (LinkedFileSeconds(linked) - link.modDateTime < 1.0) return false;
      ConverterFor(presentation)->PPTToPDBExt_Sync(linked, presentation.FullPath(), linked);
      return true;
    }
    ConverterFor(presentation)->PDBToPPTExt_Sync(presentation.FullPath(), linked, linked);
    link.modDateTime = LinkedFileSeconds(linked);
    return true;
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.CheckLinkUpdate",
                    "Could not update link '" + linked + "'.");
  }
}

}  // namespace brevora::slides
