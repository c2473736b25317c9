#pragma once
// PptLink: the link step of a presentation to its PowerPoint file, through the
// presentation converter (slides/sdk_presentation.h). Every presentation has
// one from its creation. Each call makes a new converter whose Session is the
// one of the presentation's application object.
//
// It runs whenever the caller's update switch is on, whatever the link's sync
// method (stored and shown only, as for workbooks and documents):
//   - open: when the linked file exists and its modification time, in seconds,
//     is at least 1 second past the link's time: PPTToPDBExt_Sync(ppt, the
//     presentation's file, ppt), true;
//   - after writing: PDBToPPTExt_Sync(the presentation's file, ppt, ppt), the
//     link's time renewed from the PowerPoint file, true.
// Errors other than 32760 are raised as 32760 "Presentation.CheckLinkUpdate"
// "Could not update link '<ppt>'." with the error's description below.
#include "slides/presentation_link.h"

namespace brevora::slides {

class PptLink : public PresentationLinkStep {
 public:
  bool SyncLinkedFile(Presentation& presentation, PresentationLinkInfo& link, bool onOpen) override;
};

}  // namespace brevora::slides
