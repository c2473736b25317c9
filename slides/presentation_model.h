#pragma once
// PresentationModel: what a presentation stores, as plain values: its slides,
// the name, slide count, category, version, modified flag, flags word, the
// link to a PowerPoint file and the reserved header field. No automation, no
// file and no application: the Presentation object (slides/presentation.h)
// binds it to a file and the storage functions (slides/presentation_storage.h)
// read and write it.
//
// Its member functions are the rules about its own values: the server-sync bit
// of the flags word and the link fields' checks, with the errors the
// Presentation's properties have always raised. The free functions below
// exchange the link record and the header with the database header.
#include <cstdint>
#include <string>
#include <string_view>

#include "office/link_settings.h"
#include "platform/automation/object.h"
#include "slides/presentation_link.h"
#include "slides/presentation_writer.h"
#include "slides/slides.h"

namespace brevora::slides {

// The version of a new presentation.
inline constexpr int16_t kPresentationVersion = 1;

// The texts and checks of a presentation's link to a .ppt file.
inline constexpr office::LinkSettings kPptLinkSettings{"PPT", "Slidora - presentation"};

struct PresentationModel {
  // The bit of `flags` that marks a presentation kept in step with the server.
  static constexpr double kServerSyncFlag = 8192;

  Ref<Slides> slides = MakeRef<Slides>();
  std::string fileName;
  int16_t numSlides = 0;
  int16_t category = 0;
  bool isModified = false;
  double flags = 0;
  int16_t version = kPresentationVersion;
  PresentationLinkInfo link;
  // The 4-character reserved field of the header, carried unchanged.
  std::string reserved = std::string(4, '\0');

  // The server-sync bit of the flags word; setting it keeps the other bits.
  bool IsServerSync() const;
  void SetServerSync(bool on);

  // True when the link's file name holds something besides blanks.
  bool HasLinkedFile() const;
  // Sets the linked file's name; "" also sets time, method and option to 0.
  void SetLinkedFileName(std::string_view name);
  // 0 to 3, else 32760 "Slidora - presentation" "Invalid syncMethod.  Must be
  // between 0 and 3" (syncOption for the option); a refused value is not stored.
  void SetSyncMethod(int32_t method);
  void SetSyncOption(int32_t option);
  // "Synchronize", "Palm to PPT", "PPT to Palm", "Do Nothing" for methods 0 to
  // 3; any other method gives "Synchronize".
  std::string SyncMethodText() const;
  // The method of one of those texts (exact, case-sensitive); any other text: 0.
  static int16_t SyncMethodFromText(std::string_view text);
};

// The link record: the four link fields and IsModified (reserved 0).
PresentationLinkInfo GetLinkInfo(const PresentationModel& model);
// Applies a link record through the checks above, in the order method, name,
// time, option (a refused option leaves the name and time already applied).
// A refused method or option passes on unchanged as its 32760 "Slidora -
// presentation"; any other failure raises 32760 "Presentation.HeaderToObjects"
// "Error in Header to objects." CR LF its description. The record's IsModified
// and reserved fields are not applied.
void ApplyLinkInfo(PresentationModel& model, const PresentationLinkInfo& link);
// Empties the link's name, time, method and option.
void ClearLinkInfo(PresentationLinkInfo& link);
// The application-info header of the model: modified flag, link (as
// GetLinkInfo gives it), reserved field.
PresentationHeader HeaderFromModel(const PresentationModel& model);

}  // namespace brevora::slides
