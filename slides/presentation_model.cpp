// PresentationModel: the rules about the model's own values (server-sync bit,
// link fields, header exchange).
#include "slides/presentation_model.h"

#include "office/link_settings.h"
#include "platform/error/error.h"

namespace brevora::slides {
namespace {

constexpr const char* kLinkSource = "Slidora - presentation";
constexpr office::LinkSettings kPptLink{"PPT", kLinkSource};

}  // namespace

bool IsServerSync(const PresentationModel& model) {
  const auto flags = static_cast<uint32_t>(model.flags);
  return (flags & static_cast<uint32_t>(PresentationModel::kServerSyncFlag)) != 0;
}

void SetServerSync(PresentationModel& model, bool on) {
  uint32_t flags = static_cast<uint32_t>(model.flags) &
                   ~static_cast<uint32_t>(PresentationModel::kServerSyncFlag);
  if (on) flags |= static_cast<uint32_t>(PresentationModel::kServerSyncFlag);
  model.flags = flags;
}

bool HasLinkedFile(const PresentationModel& model) {
  return model.link.fileName.find_first_not_of(' ') != std::string::npos;
}

void SetLinkFileName(PresentationModel& model, std::string_view name) {
  const bool cleared = name.empty();
  model.link.fileName = std::string(name);
  if (cleared) {
    model.link.modDateTime = 0;
    model.link.syncMethod = 0;
    model.link.syncOption = 0;
  }
}

void SetLinkSyncMethod(PresentationModel& model, int32_t method) {
  kPptLink.CheckSyncValue(method, "syncMethod");
  model.link.syncMethod = method;
}

void SetLinkSyncOption(PresentationModel& model, int32_t option) {
  kPptLink.CheckSyncValue(option, "syncOption");
  model.link.syncOption = option;
}

std::string LinkSyncMethodText(const PresentationModel& model) {
  return kPptLink.SyncMethodText(model.link.syncMethod);
}

int16_t LinkSyncMethodFromText(std::string_view text) { return kPptLink.SyncMethodFromText(text); }

PresentationLinkInfo GetLinkInfo(const PresentationModel& model) {
  PresentationLinkInfo link = model.link;
  link.isModified = model.isModified;
  link.reserved = 0;
  return link;
}

void ApplyLinkInfo(PresentationModel& model, const PresentationLinkInfo& link) {
  try {
    SetLinkSyncMethod(model, link.syncMethod);
    SetLinkFileName(model, link.fileName);
    model.link.modDateTime = link.modDateTime;
    SetLinkSyncOption(model, link.syncOption);
  } catch (...) {
    throw Wrap32760(CurrentError(), "Presentation.HeaderToObjects", "Error in Header to objects.");
  }
}

void ClearLinkInfo(PresentationLinkInfo& link) {
  link.fileName.clear();
  link.modDateTime = 0;
  link.syncMethod = 0;
  link.syncOption = 0;
}

PresentationHeader HeaderFromModel(const PresentationModel& model) {
  PresentationHeader header;
  header.isModified = model.isModified;
  header.link = GetLinkInfo(model);
  header.reserved = model.reserved;
  return header;
}

}  // namespace brevora::slides
