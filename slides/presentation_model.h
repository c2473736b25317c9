#pragma once
// PresentationModel: what a presentation stores, as plain values: its slides,
// the name, slide count, category, version, modified flag, flags word, the
// link to a PowerPoint file and the reserved header field. No automation, no
// file and no application: the Presentation object (slides/presentation.h)
// binds it to a file and the storage functions (slides/presentation_storage.h)
// read and write it.
//
// The free functions below are the rules about the model's own values: the
// server-sync bit of the flags, the link fields' checks and the exchange of
// the link record and header with the database header.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/automation/object.h"
#include "slides/presentation_link.h"
#include "slides/presentation_writer.h"
#include "slides/slides.h"

namespace brevora::slides {

struct PresentationModel {
  // The bit of `flags` that marks a presentation kept in step with the server.
  static constexpr double kServerSyncFlag = 8192;

  Ref<Slides> slides = MakeRef<Slides>();
  std::string fileName;
  int16_t numSlides = 0;
  int16_t category = 0;
  bool isModified = false;
  double flags = 0;
  int16_t version = 1;
  PresentationLinkInfo link;
  // The 4-character reserved field of the header, carried unchanged.
  std::string reserved = std::string(4, '\0');
};

bool IsServerSync(const PresentationModel& model);
void SetServerSync(PresentationModel& model, bool on);

// True when the link's file name holds more than blanks.
bool HasLinkedFile(const PresentationModel& model);
// Sets the linked file's name; "" resets time, method and option to 0.
void SetLinkFileName(PresentationModel& model, std::string_view name);
// Method and option accept 0 to 3, else 32760 "Slidora - presentation".
void SetLinkSyncMethod(PresentationModel& model, int32_t method);
void SetLinkSyncOption(PresentationModel& model, int32_t option);
// "Synchronize", "Palm to PPT", "PPT to Palm", "Do Nothing" for 0 to 3; any
// other method gives "Synchronize".
std::string LinkSyncMethodText(const PresentationModel& model);
// The method of one of those texts (exact, case-sensitive); any other text: 0.
int16_t LinkSyncMethodFromText(std::string_view text);

// The link record: the four link fields and IsModified (reserved 0).
PresentationLinkInfo GetLinkInfo(const PresentationModel& model);
// Applies a link record in the order method, name, time, option; a refused
// value raises 32760 "Presentation.HeaderToObjects" "Error in Header to objects.".
void ApplyLinkInfo(PresentationModel& model, const PresentationLinkInfo& link);
// Empties the link's name, time, method and option.
void ClearLinkInfo(PresentationLinkInfo& link);
// The application-info header of the model: modified flag, link, reserved field.
PresentationHeader HeaderFromModel(const PresentationModel& model);

}  // namespace brevora::slides
