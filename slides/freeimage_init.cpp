#include "slides/freeimage_init.h"

#include <FreeImage.h>

namespace brevora::slides {
namespace {

std::string& LastMessage() {
  thread_local std::string message;
  return message;
}

void KeepMessage(FREE_IMAGE_FORMAT, const char* message) { LastMessage() = message ? message : ""; }

}  // namespace

void InitFreeImage() {
  FreeImage_Initialise(FALSE);
  FreeImage_SetOutputMessage(KeepMessage);
}

std::string LastFreeImageMessage() { return LastMessage(); }
void SetLastFreeImageMessage(std::string_view message) { LastMessage() = std::string(message); }

FreeImageLibrary::FreeImageLibrary() { InitFreeImage(); }
FreeImageLibrary::~FreeImageLibrary() { FreeImage_DeInitialise(); }

}  // namespace brevora::slides
