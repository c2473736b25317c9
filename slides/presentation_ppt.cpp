// Presentation: the one-shot conversions from and to a PowerPoint file
// (OpenFromPPT, WriteToPPT), which go through the presentation converter and a
// temporary database file, and that temporary file (NewPresentationTempFile,
// declared in slides/presentation_storage.h).
#include <string>

#include "core/session.h"
#include "core/temp_file.h"
#include "platform/fs/files.h"
#include "slides/presentation.h"
#include "slides/presentation_storage.h"
#include "slides/sdk_presentation.h"

namespace brevora::slides {
namespace {

constexpr const char* kTempPrefix = "tbr";

Ref<SDK_Presentation> ConverterFor(Presentation& presentation) {
  Ref<SDK_Presentation> sdk = MakeRef<SDK_Presentation>();
  sdk->SetSession(presentation.ApplicationSession());
  return sdk;
}

}  // namespace

std::string NewPresentationTempFile() {
  return core::GetTempFile(kTempPrefix, "Presentation.GetTempFile", "Could not get temp file.");
}

bool Presentation::OpenFromPPT(std::string_view pptFileView) {
  const std::string pptFile(pptFileView);
  const std::string previous = fullPath_;
  const fs::TempFileGuard temp(NewPresentationTempFile());
  try {
    ConverterFor(*this)->PPTToPDBExtSync(pptFile, temp.path(), "");
    const bool opened = OpenFromDisk(temp.path(), true, false);
    // The pictures stay unpacked where they were read; the binding goes back.
    fullPath_ = previous;
    return opened;
  } catch (...) {
    fullPath_ = previous;
    throw;
  }
}

bool Presentation::WriteToPPT(std::string_view pptFileView) {
  const std::string pptFile(pptFileView);
  const std::string previous = fullPath_;
  const fs::TempFileGuard temp(NewPresentationTempFile());
  try {
    WriteToDisk(temp.path(), false);
    ConverterFor(*this)->PDBToPPTExt(temp.path(), pptFile);
  } catch (...) {
    fullPath_ = previous;
    throw;
  }
  fullPath_ = previous;
  return true;
}

}  // namespace brevora::slides
