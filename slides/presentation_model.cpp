// PresentationModel: the rules about the model's own values (server-sync bit,
// link fields) and the exchange of the link record and header.
#include "slides/presentation_model.h"

#include "platform/error/error.h"

namespace brevora::slides {

bool PresentationModel::IsServerSync() const {
  const auto bits = static_cast<uint32_t>(flags);
  return (bits & static_cast<uint32_t>(kServerSyncFlag)) != 0;
}

void PresentationModel::SetServerSync(bool on) {
  uint32_t bits = static_cast<uint32_t>(flags) & ~static_cast<uint32_t>(kServerSyncFlag);
  if (on) bits |= static_cast<uint32_t>(kServerSyncFlag);
  flags = bits;
}

bool PresentationModel::HasLinkedFile() const {
  return link.fileName.find_first_not_of(' ') != std::string::npos;
}

void PresentationModel::SetLinkedFileName(std::string_view name) {
  const bool cleared = name.empty();
  link.fileName = std::string(name);
  if (cleared) {
    link.modDateTime = 0;
    link.syncMethod = 0;
    link.syncOption = 0;
  }
}

void PresentationModel::SetSyncMethod(int32_t method) {
  kPptLinkSettings.CheckSyncValue(method, "syncMethod");
  link.syncMethod = method;
}

void PresentationModel::SetSyncOption(int32_t option) {
  kPptLinkSettings.CheckSyncValue(option, "syncOption");
  link.syncOption = option;
}

std::string PresentationModel::SyncMethodText() const {
  return kPptLinkSettings.SyncMethodText(link.syncMethod);
}

int16_t PresentationModel::SyncMethodFromText(std::string_view text) {
  return kPptLinkSettings.SyncMethodFromText(text);
}

PresentationLinkInfo GetLinkInfo(const PresentationModel& model) {
  PresentationLinkInfo link = model.link;
  link.isModified = model.isModified;
  link.reserved = 0;
  return link;
}

void ApplyLinkInfo(PresentationModel& model, const PresentationLinkInfo& link) {
  try {
    model.SetSyncMethod(link.syncMethod);
    model.SetLinkedFileName(link.fileName);
    model.link.modDateTime = link.modDateTime;
    model.SetSyncOption(link.syncOption);
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
