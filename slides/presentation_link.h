#pragma once
// The link of a presentation to a PowerPoint file: the link record that the
// presentation keeps and exchanges with its database header, and the interface
// through which the presentation reaches the link step (the conversions run by
// the PowerPoint converter). A presentation without a link step attached
// leaves its linked file alone.
#include <cstdint>
#include <string>

namespace brevora::slides {

class Presentation;

struct PresentationLinkInfo {
  std::string fileName;     // full path of the linked file; empty = no link
  double modDateTime = 0;   // its modification time at the last conversion, in seconds
  int32_t syncMethod = 0;   // 0-3
  int32_t syncOption = 0;   // 0-3
  bool isModified = false;  // copy of IsModified when gathered; not applied back
  uint8_t reserved = 0;
};

class PresentationLinkStep {
 public:
  virtual ~PresentationLinkStep() = default;
  // onOpen: the linked file is converted into presentation.FullPath() when it
  // is newer; returns true when it converted (the caller then reads the file
  // again). After writing (!onOpen): the database just written is converted into
  // the linked file and link.modDateTime renewed; returns true when it
  // converted. Raises the link step's errors.
  virtual bool SyncLinkedFile(Presentation& presentation, PresentationLinkInfo& link,
                              bool onOpen) = 0;
};

}  // namespace brevora::slides
