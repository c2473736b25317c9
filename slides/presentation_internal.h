#pragma once
// PresentationInternal: the parts of a Presentation kept off its public face,
// for the tests of the slides folder: the link step.
#include <memory>
#include <utility>

#include "slides/presentation.h"

namespace brevora::slides {

class PresentationInternal {
 public:
  static void SetLinkStep(Presentation& presentation, std::shared_ptr<PresentationLinkStep> step) {
    presentation.SetLinkStep(std::move(step));
  }
};

}  // namespace brevora::slides
